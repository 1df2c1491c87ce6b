#!/usr/bin/env bash
# Builds the parser's fuzzer with clang and runs it for the given seconds (default 60), starting
# from a corpus of typical addresses. Usage: fuzz/run_parse_fuzzer.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZELMPI_BUILD_FUZZ=ON -DZELMPI_BUILD_TESTS=OFF -DZELMPI_WERROR=OFF >/dev/null
cmake --build "$build" --target parse_fuzzer -j2

corpus="$build/parse_corpus"
mkdir -p "$corpus"
# Options byte: bit 0 long, bit 1 floatOddAddress, bit 2 OP_CHECK_SIZE, bits 3-7 host type + 8.
seed() {  # options-byte host-type address
  local options=$(( $1 | (($2 + 8) << 3) ))
  printf "\\x$(printf %02x "$options")\\x01\\x00%s" "$3" >"$corpus/seed_$(printf %02x "$options")_$3"
}
seed 0 1 01DW0100020;   seed 0 1 01XW01001F4;   seed 0 3 01DF0100024;  seed 2 3 01DF0100025
seed 0 4 01DD0100010;   seed 0 6 01DW010002003; seed 0 6 01DB010000705
seed 0 7 01DS010002010; seed 0 7 "01DS0100020 5"; seed 0 7 01SB010002010
seed 0 1 01MB0012;      seed 0 1 03QB0100;      seed 0 6 01IB000503
seed 1 1 01DW01230020;  seed 1 7 01DS1234002010; seed 1 6 01DW0123002015
seed 4 1 01DW0100020;   seed 4 7 01DS010002010

"$build/fuzz/parse_fuzzer" -max_total_time="$seconds" -max_len=256 -print_final_stats=1 \
  -dict=fuzz/parse_fuzzer.dict "$corpus"
