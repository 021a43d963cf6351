#!/usr/bin/env bash
# Checks that every tracked C++ source follows .clang-format (clang-format 14):
# lists the files that do not and exits non-zero when there is any.
# Fix them with: clang-format -i FILE...
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
echo "check_format: ${#files[@]} files follow .clang-format"
