#!/usr/bin/env bash
# tovira-tool lnk: links written and read back, replacing a link, and what
# is not a link (the description is checked by lnkinfo_reads_our_links.sh).
# Usage: tool_lnk.sh PATH-TO-tovira-tool
set -u
tool=$1
source "$(dirname "${BASH_SOURCE[0]}")/check.sh"

"$tool" lnk write 'C:\Dati\Documento.txt' "$dir/a.lnk" || fails=$((fails + 1))
check "read back" 'C:\Dati\Documento.txt' "$("$tool" lnk read "$dir/a.lnk")"
"$tool" lnk write 'D:\Altro\Cartella' "$dir/a.lnk" "Una descrizione" || fails=$((fails + 1))
check "replaced" 'D:\Altro\Cartella' "$("$tool" lnk read "$dir/a.lnk")"
check "no temporary file left" 'a.lnk' "$(ls "$dir")"

printf 'non sono un collegamento' >"$dir/testo.lnk"
head -c 100 "$dir/a.lnk" >"$dir/tronco.lnk"
for f in testo.lnk tronco.lnk manca.lnk; do
  out=$("$tool" lnk read "$dir/$f" 2>/dev/null)
  rc=$?
  check "$f: status" 1 "$rc"
  check "$f: prints nothing" '' "$out"
done

err "missing folder" "$tool" lnk write 'C:\x.txt' "$dir/manca/x.lnk"
err "relative target" "$tool" lnk write 'x.txt' "$dir/x.lnk"
err "wrong arguments" "$tool" lnk read
err "unknown verb" "$tool" lnk show "$dir/a.lnk"
[ ! -e "$dir/x.lnk" ] || { echo "FAIL a link to a relative target was written"; fails=$((fails + 1)); }

[ "$fails" -eq 0 ] && echo "tool lnk: all checks passed"
exit $((fails > 0))
