# Shared by the command-line tests: a scratch folder removed at exit, and
# check NAME EXPECTED ACTUAL, which counts a mismatch in $fails, and
# err NAME COMMAND..., which checks that a command fails as the tool fails.
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fails=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL $1: expected [$2], got [$3]"
    fails=$((fails + 1))
  fi
}
err() {  # err NAME COMMAND...: exit status 1 and one line on stderr
  local name=$1
  shift
  local out
  out=$("$@" 2>&1 >/dev/null)
  local rc=$?
  check "$name: status" 1 "$rc"
  check "$name: one line" 1 "$(printf '%s\n' "$out" | wc -l | tr -d ' ')"
}
