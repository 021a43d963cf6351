#!/usr/bin/env bash
# tovira-tool ini: values, listings, in-place edits, errors and exit codes.
# Usage: tool_ini.sh PATH-TO-tovira-tool
set -u
tool=$1
source "$(dirname "${BASH_SOURCE[0]}")/check.sh"

f=$dir/Tovira.ini
printf '; impostazioni\r\n[Generale]\r\nFolderSource = "C:\\Collegamenti"\r\n\r\n[Avvio]\r\nUserDir=<APPDATA>\r\n' >"$f"
check "get strips blanks and quotes" 'C:\Collegamenti' "$("$tool" ini get "$f" generale FOLDERSOURCE)"
check "get default" 'nessuno' "$("$tool" ini get "$f" Generale Manca nessuno)"
check "get without default" '' "$("$tool" ini get "$f" Generale Manca)"
check "sections in file order" $'Generale\nAvvio' "$("$tool" ini sections "$f")"
"$tool" ini set "$f" Avvio UserDir "<APPDIR>" || fails=$((fails + 1))
"$tool" ini set "$f" Generale Nuova 1 || fails=$((fails + 1))
"$tool" ini set "$f" Temi Ultimo "Blu scuro" || fails=$((fails + 1))
expected=$'; impostazioni\r\n[Generale]\r\nFolderSource = "C:\\Collegamenti"\r\nNuova=1\r\n\r\n[Avvio]\r\nUserDir=<APPDIR>\r\n[Temi]\r\nUltimo=Blu scuro\r\n'
check "set edits in place" "$(printf '%s' "$expected" | od -c)" "$(od -c <"$f")"
check "keys in file order" $'FolderSource\nNuova' "$("$tool" ini keys "$f" GENERALE)"
check "long value cut to 2047" 2047 "$("$tool" ini set "$f" L v "$(head -c 3000 /dev/zero | tr '\0' x)" && "$tool" ini get "$f" L v | tr -d '\n' | wc -c | tr -d ' ')"

"$tool" ini set "$dir/nuovo.ini" S K V || fails=$((fails + 1))
# The dot keeps $(...) from dropping the final line break.
check "set creates a missing file" $'[S]\r\nK=V\r\n.' "$(cat "$dir/nuovo.ini"; printf .)"

err "missing file" "$tool" ini get "$dir/manca.ini" S K
err "missing folder" "$tool" ini set "$dir/manca/x.ini" S K V
err "missing section" "$tool" ini keys "$f" Manca
err "wrong arguments" "$tool" ini get "$f"
err "unknown verb" "$tool" ini put "$f" S K V
[ ! -e "$dir/manca" ] || { echo "FAIL a folder was created"; fails=$((fails + 1)); }

[ "$fails" -eq 0 ] && echo "tool ini: all checks passed"
exit $((fails > 0))
