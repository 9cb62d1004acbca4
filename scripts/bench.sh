#!/bin/bash
# Builds the 64-bit programs and runs the benchmarks under Wine, in a prefix of
# their own (build/win64/wine-bench). usage: scripts/bench.sh
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh
# Without a display, run the whole script again on a virtual one.
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"; fi
cmake --preset win64 >/dev/null
cmake --build --preset win64
export WINEPREFIX=$PWD/build/win64/wine-bench WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
cmake/wine-prefix.sh "$WINEPREFIX" >/dev/null
wineserver -p 2>/dev/null || true
run() {
  echo "== Start-up and memory =="
  wine build/win64/bench_startup.exe 15
  echo
  echo "== Balloon painting =="
  wine build/win64/bench_balloon.exe
  echo
  echo "== Apply =="
  wine build/win64/bench_apply.exe
  echo
  echo "== Size =="
  size=$(stat -c %s build/win64/tavlin.exe)
  echo "tavlin.exe (x64): $((size / 1024)) KB (goal: 256 KB or less)"
  echo "imports: $(x86_64-w64-mingw32-objdump -p build/win64/tavlin.exe | awk '/DLL Name/ {printf "%s ", $3}')"
}
run
wineserver -k 2>/dev/null || true
