#!/usr/bin/env bash
# Checks that every tracked C++ source follows .clang-format (clang-format 14):
# lists the files that do not and exits non-zero when there is any.
# Fix them with: clang-format -i FILE...
# Also checks that the sources are plain ASCII: the program's texts are
# Windows-1252, written in the code as escapes ("\xE0"), never as UTF-8.
set -uo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top" || exit 1
format=$(command -v clang-format-14 || command -v clang-format) || {
  echo "check_format: clang-format is not installed" >&2
  exit 1
}
mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
if ((${#files[@]} == 0)); then
  echo "check_format: no sources found" >&2
  exit 1
fi
# One run over all files; each finding names its file.
out=$("$format" --dry-run -Werror "${files[@]}" 2>&1)
rc=$?
mapfile -t bad < <(sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' <<<"$out" | sort -u)
if ((rc != 0 && ${#bad[@]} == 0)); then
  echo "check_format: clang-format failed:" >&2
  echo "$out" >&2
  exit 1
fi
if ((${#bad[@]})); then
  echo "check_format: ${#bad[@]} of ${#files[@]} files do not follow .clang-format:"
  printf '  %s\n' "${bad[@]}"
  exit 1
fi
# Comments may hold any character; string literals only ASCII.
if perl -ne 's{//.*$}{}; if (/"[^"]*[^\x00-\x7F]/) { print "$ARGV:$.: $_"; $bad = 1 } close ARGV if eof;
               END { exit($bad ? 0 : 1) }' "${files[@]}"; then
  echo "check_format: the literals above hold characters outside ASCII; write them as escapes" >&2
  exit 1
fi
echo "check_format: ${#files[@]} files follow .clang-format"
