#!/usr/bin/env bash
# Builds the fuzz targets (clang's libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer) in build/fuzz and runs them, in one of two ways:
#
#   fuzz/run.sh [SECONDS] [TARGET...]        explore: a fresh random seed, each
#                                            target for SECONDS (default 600)
#   fuzz/run.sh --fixed [RUNS] [TARGET...]   the gate: replay every committed
#                                            input, then RUNS inputs (default
#                                            the target's own count below) from
#                                            seed 1; the same commit always gives
#                                            the same result
#
# Committed inputs live in fuzz/corpus/<target>/: the seeds and every past
# finding (named finding-*). Exploring starts from them and grows its own
# corpus in build/fuzz/corpus/<target>/; the gate starts from them alone, in a
# folder it empties first. Crashing inputs and the log land in
# build/fuzz/findings/<target>/ (TOVIRA_FUZZ_WORK names another folder for
# both). TOVIRA_FUZZ_NO_BUILD=1 runs what is built; TOVIRA_FUZZ_TIMEOUT sets the
# seconds one input may take (default 30: time-outs count wall time, and a
# loaded machine stretches it); TOVIRA_FUZZ_SEED repeats an exploring run.
# Exits non-zero when a target reports a crash, a leak, a time-out, running
# out of memory or a sanitizer error.
set -uo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${TOVIRA_BUILD:-$top/build}/fuzz
jobs=${TOVIRA_JOBS:-2}
work=${TOVIRA_FUZZ_WORK:-$out}

fixed=0
if [ "${1:-}" = --fixed ]; then
  fixed=1
  shift
fi
amount=
if [[ ${1:-} =~ ^[0-9]+$ ]]; then
  amount=$1
  shift
fi

# Inputs the gate tries after the replay, per target: 10 to 30 s each on this
# project's 2-core machines (the readers differ a hundredfold in speed: those
# that build a headless platform per input are the slow ones).
declare -A gate_runs=(
  [table_reader]=60000 [shell_link_reader]=60000 [ini_file]=25000 [settings_template]=500
  [language_file]=5000 [bmp_picture]=100000 [png_picture]=60000 [appbar_record]=5000
  [icon_cache]=60000)

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

# Whether a log tells of a fault.
faulty() { grep -qE "ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|SUMMARY: " "$1"; }

status=0
for t in "${targets[@]}"; do
  exe=$out/fuzz/fuzz_$t
  if [ ! -x "$exe" ]; then
    echo "fuzz: no target $t" >&2
    status=1
    continue
  fi
  seeds=$top/fuzz/corpus/$t
  corpus=$work/corpus/$t
  findings=$work/findings/$t
  mkdir -p "$findings"
  log=$findings/fuzz.log
  start=$SECONDS
  rc=0
  common=(-max_len=4096 -rss_limit_mb=2048 -timeout="$timeout" -print_final_stats=1)
  if ((fixed)); then
    # Every committed input once, each on its own, then a fixed walk from them.
    corpus=$work/fixed-corpus/$t
    rm -rf "$corpus"
    mkdir -p "$corpus"
    replayed=0
    if compgen -G "$seeds/*" >/dev/null; then
      cp "$seeds"/* "$corpus/"
      replayed=$(find "$seeds" -type f | wc -l)
      (cd "$findings" && "$exe" "${common[@]}" "$seeds"/* >"$log" 2>&1) || rc=$?
    fi
    runs=${amount:-${gate_runs[$t]:-100000}}
    if [ $rc -eq 0 ] && ! faulty "$log"; then
      # The walk sees the same process wherever the clone lies: no address
      # randomisation, the same environment, the corpus by a relative name,
      # and no re-reading of the corpus folder on a clock.
      (cd "$work/fixed-corpus" && env -i PATH=/usr/bin:/bin HOME=/nonexistent TMPDIR=/tmp ASAN_OPTIONS="$ASAN_OPTIONS" \
        setarch "$(uname -m)" -R "$exe" "${common[@]}" -reload=0 -seed=1 -runs="$runs" \
        -artifact_prefix="../findings/$t/" "$t" >>"$log" 2>&1) || rc=$?
    fi
    how="replayed $replayed, $runs runs at seed 1"
  else
    mkdir -p "$corpus"
    if [ -d "$seeds" ]; then cp -n "$seeds"/* "$corpus/" 2>/dev/null; fi
    seed=${TOVIRA_FUZZ_SEED:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}
    (cd "$findings" &&
      "$exe" "${common[@]}" -seed="$seed" -max_total_time="${amount:-600}" "$corpus" >"$log" 2>&1) || rc=$?
    how="seed $seed"
  fi
  elapsed=$((SECONDS - start))
  result=ok
  if [ $rc -ne 0 ] || faulty "$log"; then
    result="FAILED (exit $rc, see $log)"
    grep -E "ERROR: |runtime error:|SUMMARY: |Test unit written" "$log" | head -5 >&2
    status=1
  fi
  # The final stats: executions, speed, corpus, coverage.
  last=$(grep -E "^#[0-9]+" "$log" | tail -1)
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  size=$(find "$corpus" -type f | wc -l)
  printf 'fuzz %-18s %5s s  %10s execs  %7s exec/s  corpus %5s  cov %5s  ft %6s  %s  %s\n' "$t" "$elapsed" \
    "${execs:-?}" "${rate:-?}" "$size" "${cov:-?}" "${ft:-?}" "$how" "$result" | tee -a "$work/summary.txt"
done
exit $status
