#!/usr/bin/env bash
# liblnk's lnkinfo, an independent reader of the shell link format, reads the
# links tovira-tool writes: the local path, the network path and the
# description, letters beyond ASCII included. Fails when lnkinfo is missing
# (scripts/setup.sh installs it).
# Usage: lnkinfo_reads_our_links.sh PATH-TO-tovira-tool
set -u
tool=$1
if ! command -v lnkinfo >/dev/null; then
  echo "FAIL lnkinfo is not installed (package liblnk-utils)"
  exit 1
fi
source "$(dirname "${BASH_SOURCE[0]}")/check.sh"
field() {  # field LINKFILE NAME: the value lnkinfo prints for NAME
  lnkinfo "$1" | sed -n "s/^[[:space:]]*$2[[:space:]]*: //p" | head -n 1
}

"$tool" lnk write 'C:\Dati\Documento.txt' "$dir/x.lnk" || fails=$((fails + 1))
check "local path" 'C:\Dati\Documento.txt' "$(field "$dir/x.lnk" 'Local path')"
check "description" 'Documento.txt' "$(field "$dir/x.lnk" 'Description')"
check "last item" 'Documento.txt' "$(lnkinfo "$dir/x.lnk" | sed -n 's/^[[:space:]]*Long name[[:space:]]*: //p' | tail -n 1)"

# The tool takes UTF-8 and lnkinfo prints it: accents, Cyrillic, Japanese.
"$tool" lnk write 'C:\Caffè\Cartella' "$dir/y.lnk" 'Descrizione è€' || fails=$((fails + 1))
check "local path with accents" 'C:\Caffè\Cartella' "$(field "$dir/y.lnk" 'Local path')"
check "description with accents" 'Descrizione è€' "$(field "$dir/y.lnk" 'Description')"
"$tool" lnk write 'C:\Документы\日本語' "$dir/w.lnk" 'Ελληνικά' || fails=$((fails + 1))
check "local path in Cyrillic and Japanese" 'C:\Документы\日本語' "$(field "$dir/w.lnk" 'Local path')"
check "description in Greek" 'Ελληνικά' "$(field "$dir/w.lnk" 'Description')"

"$tool" lnk write '\\server\condivisa\Dati\f.txt' "$dir/z.lnk" || fails=$((fails + 1))
check "network path" '\\server\condivisa\Dati\f.txt' "$(field "$dir/z.lnk" 'Network path')"

[ "$fails" -eq 0 ] && echo "lnkinfo: all checks passed"
exit $((fails > 0))
