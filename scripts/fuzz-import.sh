#!/usr/bin/env bash
# Builds the import parser's fuzz target with clang and libFuzzer and runs it for a while.
#   scripts/fuzz-import.sh [SECONDS]     (60 when not given)
# The target and its findings live in build-fuzz/; the seed files in fuzz/corpus/. A crash
# leaves its input in build-fuzz/ and the script ends with libFuzzer's exit code.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds="${1:-60}"
out="$top/build-fuzz"
mkdir -p "$out/corpus"

clang++ -std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I "$top/src" $(pkg-config --cflags Qt6Core) \
    "$top/fuzz/import_parser_fuzz.cpp" \
    "$top/src/maintenance/exchange_file.cpp" "$top/src/maintenance/exchange_text.cpp" \
    "$top/src/base/money.cpp" "$top/src/base/decimal_digits.cpp" \
    $(pkg-config --libs Qt6Core) -o "$out/import_parser_fuzz"

cd "$out"
./import_parser_fuzz -max_total_time="$seconds" -max_len=4096 -timeout=10 -print_final_stats=1 \
    corpus "$top/fuzz/corpus"
