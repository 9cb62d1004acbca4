#!/bin/bash
# Builds Tavlin and runs every test:
#   host  - the rules, unit tests under AddressSanitizer and UBSan
#   win64 - the x64 tavlin.exe and its Wine suites (adapters, end-to-end under
#           Xvfb), on the host's Wine 8 and on Debian trixie's Wine 10
#   win32 - the x86 tavlin.exe and the same suites built for x86, on trixie's
#           32-bit Wine 10
#   fuzz  - the registry read rules, the bitmap header reading and the .reg reader
#           under libFuzzer, 20 seconds each
# and checks first that every source file keeps the clang-format style.
# Wine 10 runs in a Debian trixie root made once outside the clone
# (cmake/trixie-root.sh, cmake/wine10.sh).
# Installs what it needs first. usage: scripts/test.sh
set -eu
cd "$(dirname "$0")/.."
# The time since the start, for each step's heading.
step() { printf '=== %s (at %d:%02d)\n' "$1" $((SECONDS / 60)) $((SECONDS % 60)); }
step "Tools"
scripts/deps.sh
export LC_ALL=C.UTF-8
# The trixie root for Wine 10 is made, when missing, while the programs build.
mkdir -p build
cmake/trixie-root.sh >build/trixie-root.out 2>&1 &
root_maker=$!

# One style for every source file.
find src tests bench fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format --dry-run --Werror

step "host: the rules under the sanitizers"
cmake --preset host >/dev/null
cmake --build --preset host
ctest --preset host --output-on-failure -j2

step "Windows builds: x86 and x64"
cmake --preset win32 >/dev/null
cmake --build --preset win32
cmake --preset win64 >/dev/null
cmake --build --preset win64

# The counts of each suite in the last ctest run of a build folder, and why any
# case was skipped. usage: suite_counts BUILD_DIR
suite_counts() {
  awk '
    / Testing: / { name = $3 }
    /^\[  (PASSED  |SKIPPED |FAILED  )\] [0-9]+ tests?[,.]/ {
      if (name in count) count[name] = count[name] ", "
      else names[++n] = name
      count[name] = count[name] $4 " " tolower($2)
    }
    /: Skipped$/ { getline reason; why = why "\n    skipped in " name ": " reason }
    END {
      for (i = 1; i <= n; ++i) printf "%s%s %s", (i > 1 ? "; " : ""), names[i], count[names[i]]
      printf "%s\n", why
    }' "$1/Testing/Temporary/LastTest.log"
}

# Runs the Wine suites of one Windows build folder (its ctest tests) on one
# Wine, on a virtual screen of their own, and notes their counts for the end.
# usage: wine_suites PRESET WINE   (PRESET win64 or win32; WINE 8, the host's
# own, or 10, the trixie root's)
summary=()
failed=0
wine_suites() {
  local preset=$1 wine=$2 in=() rc=0
  [ "$wine" = 10 ] && in=(cmake/wine10.sh)
  local program="x64"; [ "$preset" = win32 ] && program="x86"
  step "The $program tavlin.exe (build/$preset) on Wine $wine"
  xvfb-run -a -s "-screen 0 1280x1024x24" "${in[@]}" bash -c '
    WINEDEBUG=-all wine --version
    ctest --preset "$1" --output-on-failure; rc=$?
    WINEPREFIX=$PWD/build/$1/wine wineserver -k 2>/dev/null; exit $rc' bash "$preset" || rc=$?
  summary+=("$program tavlin.exe on Wine $wine: $(suite_counts "build/$preset")$([ $rc = 0 ] || echo " -- FAILED")")
  [ $rc = 0 ] || failed=1
}
wine_suites win64 8
step "The Debian trixie root for Wine 10"
wait $root_maker || { cat build/trixie-root.out >&2; exit 1; }
cat build/trixie-root.out
wine_suites win64 10
wine_suites win32 10
step "Wine suites"
printf '%s\n' "${summary[@]}"
[ $failed = 0 ] || { echo "Wine suites failed." >&2; exit 1; }

# The registry read rules, the bitmap header reading and the .reg reader under
# libFuzzer, a bounded 20 s each.
step "fuzz"
scripts/fuzz.sh 20
step "All Tavlin tests passed."
