# Shared by the command-line tests: a scratch folder removed at exit, and
# check NAME EXPECTED ACTUAL, which counts a mismatch in $fails.
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fails=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL $1: expected [$2], got [$3]"
    fails=$((fails + 1))
  fi
}
