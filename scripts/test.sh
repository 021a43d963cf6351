#!/usr/bin/env bash
# Checks the formatting, builds both builds with warnings as errors and runs
# every test: the host tests, the host tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, the Windows tests under Wine with a headless X
# server, the release packages and the real program from them under Wine (the
# bar, the installer's life), and every fuzz target on its committed inputs
# and a fixed walk from them. Exits
# non-zero on any failure.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$top/scripts/setup.sh" || exit 1

declare -a names results
step() {  # step NAME COMMAND...
  local name=$1
  shift
  echo "==> $name"
  local start=$SECONDS
  if "$@"; then results+=("ok ($((SECONDS - start)) s)"); else results+=("FAILED"); fi
  names+=("$name")
}

# Runs a test command; a skipped test fails the step as a failing one does: the
# machines that run this always have what every test needs.
no_skips() {
  local log
  log=$(mktemp)
  "$@" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  if grep -qE '\[  SKIPPED \]|\*\*\*Skipped|Not Run' "$log"; then
    echo "test.sh: tests were skipped, which fails the run" >&2
    rc=1
  fi
  rm -f "$log"
  return "$rc"
}

host_build() {
  cmake -S "$top" -B "$build/host" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVIRA_BENCHMARKS=ON \
    -DTOVIRA_WERROR=ON >/dev/null &&
    cmake --build "$build/host" -j "$jobs"
}
host_tests() { no_skips ctest --test-dir "$build/host" --output-on-failure --no-tests=error -j "$jobs" --timeout 300; }
asan_build() {
  cmake -S "$top" -B "$build/host-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOVIRA_SANITIZE=ON -DTOVIRA_WERROR=ON >/dev/null &&
    cmake --build "$build/host-asan" -j "$jobs" --target tovira_tests
}
asan_tests() {
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    no_skips "$build/host-asan/tovira_tests" --gtest_brief=1
}
windows_build() { configure_windows && cmake --build "$build/win" -j "$jobs"; }
windows_tests() {
  wine_env
  (cd "$build/win" && no_skips xvfb-run -a -s "-screen 0 1280x1024x24" wine tovira_wintests.exe --gtest_brief=1)
}
# The release packages, then the real program as they install it.
packages() { python3 "$top/packaging/make_packages.py" "$build/win" "${TOVIRA_DIST:-$top/dist}"; }
bar_under_wine() { "$top/tests/e2e/bar_under_wine.sh"; }
installer_under_wine() { "$top/tests/e2e/installer_under_wine.sh"; }
formatting() { "$top/scripts/check_format.sh"; }
# Every fuzz target replays its committed inputs, then walks a fixed number of
# new ones from a fixed seed: the same commit always gives the same result. A
# crash, leak or sanitizer report fails.
fuzz_targets() { "$top/fuzz/run.sh" --fixed; }

step "formatting" formatting
step "host build" host_build
step "host tests" host_tests
step "host build (sanitizers)" asan_build
step "host tests (sanitizers)" asan_tests
step "windows build" windows_build
step "windows tests (wine)" windows_tests
step "packages" packages
step "tovira.exe under wine" bar_under_wine
step "installer under wine" installer_under_wine
step "fuzz targets" fuzz_targets

echo
echo "Summary"
status=0
for i in "${!names[@]}"; do
  printf '  %-28s %s\n' "${names[$i]}" "${results[$i]}"
  [ "${results[$i]#ok}" != "${results[$i]}" ] || status=1
done
exit $status
