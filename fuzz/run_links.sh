#!/usr/bin/env bash
# Builds the shell link reader's fuzz target with clang's libFuzzer and runs
# it for a bounded time: fuzz/run_links.sh [SECONDS] (default 600). The seed
# corpus is made by tovira-tool's writer; findings land in
# build/fuzz-links/findings.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$top/build/fuzz-links
seconds=${1:-600}
mkdir -p "$out/corpus" "$out/findings"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I"$top" \
  "$top/fuzz/ShellLinkReaderFuzz.cpp" "$top/platform/ShellLinkFile.cpp" "$top"/base/*.cpp -o "$out/shell_link_reader_fuzz"
tool=$top/build/host/tovira-tool
if [ -x "$tool" ]; then
  "$tool" lnk write 'C:\Dati\Documento.txt' "$out/corpus/file.lnk"
  "$tool" lnk write 'D:\' "$out/corpus/drive.lnk" ''
  "$tool" lnk write '\\server\share\Dir\f.txt' "$out/corpus/share.lnk"
  "$tool" lnk write "C:\\Caff$(printf '\xe8')\\Cartella lunga" "$out/corpus/folder.lnk" "$(printf 'Descrizione \x80')"
fi
cd "$out/findings"
"$out/shell_link_reader_fuzz" -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=512 -timeout=5 \
  -print_final_stats=1 "$out/corpus"
