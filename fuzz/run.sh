#!/usr/bin/env bash
# Builds the table reader's fuzz target with clang's libFuzzer and runs it for
# a bounded time: fuzz/run.sh [SECONDS] (default 600). Findings land in
# build/fuzz/findings; the seed corpus in fuzz/corpus stays untouched.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$top/build/fuzz
seconds=${1:-600}
mkdir -p "$out/corpus" "$out/findings"
srcs=(FieldTypes TableValue Field RecordTable ExtendedFloat TableStream BinaryTableFormat)
files=()
for s in "${srcs[@]}"; do files+=("$top/tables/$s.cpp"); done
files+=("$top"/base/*.cpp)
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I"$top" \
  "$top/fuzz/TableReaderFuzz.cpp" "${files[@]}" -o "$out/table_reader_fuzz"
cp -n "$top"/fuzz/corpus/* "$out/corpus/" 2>/dev/null || true
cd "$out/findings"
"$out/table_reader_fuzz" -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=512 -timeout=5 \
  -print_final_stats=1 "$out/corpus"
