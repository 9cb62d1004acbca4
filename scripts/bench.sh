#!/bin/bash
# Builds the 64-bit programs and runs the benchmarks under Wine, in a prefix of
# their own (build/win64/wine-bench). usage: scripts/bench.sh
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64
export WINEPREFIX=$PWD/build/win64/wine-bench WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
cmake/wine-prefix.sh "$WINEPREFIX" >/dev/null
wineserver -p 2>/dev/null || true
echo "== Apply =="
wine build/win64/bench_apply.exe
wineserver -k 2>/dev/null || true
