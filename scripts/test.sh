#!/bin/bash
# Builds Tavlin three ways and runs every test:
#   host  - the rules, unit tests under AddressSanitizer and UBSan
#   win64 - tavlin.exe and its Wine suites (adapters, end-to-end under Xvfb)
#   win32 - the 32-bit tavlin.exe, compiled and linked only
#   fuzz  - the registry read rules, the bitmap header reading and the .reg reader
#           under libFuzzer, 20 seconds each
# and checks first that every source file keeps the clang-format style.
# Installs what it needs first. usage: scripts/test.sh
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh
export LC_ALL=C.UTF-8

# One style for every source file.
find src tests bench fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format --dry-run --Werror

cmake --preset host >/dev/null
cmake --build --preset host
ctest --preset host --output-on-failure -j2

cmake --preset win32 >/dev/null
cmake --build --preset win32

cmake --preset win64 >/dev/null
cmake --build --preset win64
# One X server for the whole Wine run; a private Wine prefix under build/win64.
xvfb-run -a -s "-screen 0 1280x1024x24" \
  bash -c 'ctest --preset win64 --output-on-failure; rc=$?; WINEPREFIX=$PWD/build/win64/wine wineserver -k 2>/dev/null; exit $rc'
# The registry read rules, the bitmap header reading and the .reg reader under
# libFuzzer, a bounded 20 s each.
scripts/fuzz.sh 20
echo "All Tavlin tests passed."
