#!/usr/bin/env bash
# Builds the fuzz targets (clang's libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer) in build/fuzz and runs each for a bounded time:
#
#   fuzz/run.sh [SECONDS] [TARGET...]      (default 600 s, every target)
#
# Each target starts from its seeds in fuzz/corpus/<target>/ and grows its own
# corpus in build/fuzz/corpus/<target>/; crashing inputs and the log land in
# build/fuzz/findings/<target>/ (TOVIRA_FUZZ_WORK names another folder for
# both). TOVIRA_FUZZ_NO_BUILD=1 runs what is built; TOVIRA_FUZZ_TIMEOUT sets
# the seconds one input may take (default 30: time-outs count wall time, and a
# loaded machine stretches it).
# Exits non-zero when a target reports a crash, a leak, a time-out, running
# out of memory or a sanitizer error.
set -uo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${TOVIRA_BUILD:-$top/build}/fuzz
jobs=${TOVIRA_JOBS:-2}
work=${TOVIRA_FUZZ_WORK:-$out}
seconds=${1:-600}
shift $(($# > 0 ? 1 : 0))

if [ "${TOVIRA_FUZZ_NO_BUILD:-0}" != 1 ]; then
  CC=clang CXX=clang++ cmake -S "$top" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVIRA_FUZZ=ON \
    -DTOVIRA_TESTS=OFF -DTOVIRA_WERROR=ON >/dev/null || exit 1
  cmake --build "$out" -j "$jobs" --target tovira_fuzzers || exit 1
fi

# A smaller quarantine than AddressSanitizer's 256 MB: the readers allocate and
# free a buffer per call, and a large quarantine turns that into page faults.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=32}
timeout=${TOVIRA_FUZZ_TIMEOUT:-30}

targets=("$@")
if ((${#targets[@]} == 0)); then
  for seeds in "$top"/fuzz/corpus/*/; do targets+=("$(basename "$seeds")"); done
fi

status=0
for t in "${targets[@]}"; do
  exe=$out/fuzz/fuzz_$t
  if [ ! -x "$exe" ]; then
    echo "fuzz: no target $t" >&2
    status=1
    continue
  fi
  mkdir -p "$work/corpus/$t" "$work/findings/$t"
  if [ -d "$top/fuzz/corpus/$t" ]; then cp -n "$top/fuzz/corpus/$t"/* "$work/corpus/$t/" 2>/dev/null; fi
  log=$work/findings/$t/fuzz.log
  start=$SECONDS
  (cd "$work/findings/$t" &&
    "$exe" -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=2048 -timeout="$timeout" -print_final_stats=1 \
      "$work/corpus/$t" >"$log" 2>&1)
  rc=$?
  elapsed=$((SECONDS - start))
  result=ok
  if [ $rc -ne 0 ] || grep -qE "ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|SUMMARY: " "$log"; then
    result="FAILED (exit $rc, see $log)"
    grep -E "ERROR: |runtime error:|SUMMARY: |Test unit written" "$log" | head -5 >&2
    status=1
  fi
  # The final stats: executions, speed, corpus, coverage.
  last=$(grep -E "^#[0-9]+" "$log" | tail -1)
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  corpus=$(find "$work/corpus/$t" -type f | wc -l)
  printf 'fuzz %-18s %5s s  %10s execs  %7s exec/s  corpus %5s  cov %5s  ft %6s  %s\n' "$t" "$elapsed" \
    "${execs:-?}" "${rate:-?}" "$corpus" "${cov:-?}" "${ft:-?}" "$result" | tee -a "$work/summary.txt"
done
exit $status
