#!/bin/bash
# Builds Tavlin and runs every test:
#   host  - the rules, unit tests under AddressSanitizer and UBSan
#   win64 - the x64 tavlin.exe and its Wine suites (adapters, end-to-end under
#           Xvfb), on the host's Wine 8 and on Debian trixie's Wine 10
#   imports - both programs' import tables and PE headers against the export
#           tables of every Windows they claim
#   win32 - the x86 tavlin.exe and the same suites built for x86, on trixie's
#           Wine 10 in a 64-bit prefix (as on 64-bit Windows); its end-to-end
#           suite once more with tavlin.exe told it runs on Windows XP
#   gpo   - the Registry.pol and Registry.xml files the end-to-end suites wrote,
#           read by Samba and checked by xmllint against tests/gpo's schema
#   fuzz  - the registry read rules, the bitmap header reading and the .reg,
#           Registry.pol and Registry.xml readers under libFuzzer, 20 seconds each
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

# Each program imports only what every Windows it claims exports, and its PE
# header asks for none newer (tests/imports/README.md).
step "Imports: every Windows each program claims"
python3 tests/imports/check_imports.py x86 build/win32/tavlin.exe x64 build/win64/tavlin.exe
# No function of ours is named like a Windows A/W macro: with UNICODE defined,
# a function called SendMessage would silently become tavlin::win::SendMessageW.
for preset in win32 win64; do
  nm=x86_64-w64-mingw32-nm; [ $preset = win32 ] && nm=i686-w64-mingw32-nm
  if $nm -C build/$preset/libtavlin_win32.a | grep -E ' T tavlin::[^ (]*[a-z][AW]\('; then
    echo "functions of ours named like Windows A/W macros (above)" >&2; exit 1
  fi
done
# The x86 program runs on processors without SSE2, as many that run 98 and ME are.
if i686-w64-mingw32-objdump -d build/win32/tavlin.exe | grep -q '%xmm'; then
  echo "the x86 tavlin.exe uses SSE registers" >&2; exit 1
fi

# The counts of each suite in a ctest JUnit record, and why any case was
# skipped. usage: suite_counts JUNIT_XML
suite_counts() {
  awk '
    /<testcase name="/ { name = $0; sub(/.*<testcase name="/, "", name); sub(/".*/, "", name) }
    /^\[  (PASSED  |SKIPPED |FAILED  )\] [0-9]+ tests?[,.]/ {
      if (name in count) count[name] = count[name] ", "
      else names[++n] = name
      count[name] = count[name] $4 " " tolower($2)
    }
    /: Skipped$/ {
      getline reason
      gsub(/&lt;/, "<", reason); gsub(/&gt;/, ">", reason); gsub(/&quot;/, "\"", reason)
      gsub(/&apos;/, "'"'"'", reason); gsub(/&amp;/, "\\&", reason)
      why = why "\n    skipped in " name ": " reason
    }
    END {
      for (i = 1; i <= n; ++i) printf "%s%s %s", (i > 1 ? "; " : ""), names[i], count[names[i]]
      printf "%s\n", why
    }' "$1"
}

# Runs the Wine suites of one Windows build folder (its ctest tests) on one
# Wine, on a virtual screen of its own. Its output goes to
# build/PRESET/wineN.log, a line with its counts to build/PRESET/wineN.counts.
# usage: wine_suites PRESET WINE   (PRESET win64 or win32; WINE 8, the host's
# own, or 10, the trixie root's)
wine_suites() {
  local preset=$1 wine=$2 in=() rc=0
  [ "$wine" = 10 ] && in=(cmake/wine10.sh)
  local program="x64"; [ "$preset" = win32 ] && program="x86"
  local out=build/$preset/wine$wine
  rm -f "$out.junit.xml" "$out.rerun.junit.xml"
  # A suite that fails is run once more, whole, and must pass then; both runs
  # are in the log and the counts. The end-to-end suites drive real windows on
  # a machine that three runs share, and the x86 ones run under an emulator;
  # a fault of the program fails both runs.
  xvfb-run -a -s "-screen 0 1280x1024x24" "${in[@]}" bash -c '
    WINEDEBUG=-all wine --version
    suites() {
      ctest --preset "$1" --output-on-failure --test-output-size-passed 1000000 \
        --test-output-size-failed 1000000 "${@:2}"
    }
    suites "$1" --output-junit "wine$2.junit.xml"; rc=$?
    if [ $rc != 0 ]; then
      echo "=== Running the failed suites once more"
      suites "$1" --rerun-failed --output-junit "wine$2.rerun.junit.xml"; rc=$?
    fi
    WINEPREFIX=$PWD/build/$1/wine wineserver -k 2>/dev/null; exit $rc' bash "$preset" "$wine" \
    >"$out.log" 2>&1 || rc=$?
  local rerun=""
  [ -f "$out.rerun.junit.xml" ] &&
    rerun="; run once more: $(suite_counts "$out.rerun.junit.xml" 2>/dev/null)"
  echo "$program tavlin.exe on Wine $wine: $(suite_counts "$out.junit.xml" 2>/dev/null)$rerun$(
    [ $rc = 0 ] || echo " -- FAILED")" >"$out.counts"
  return $rc
}

# The Wine runs wait mostly on windows and dialogs, so they run at once, each
# on its own virtual screen (started a moment apart, so that each finds its own
# display number); their output follows, one run after the other.
runs=("win64 8" "win64 10" "win32 10")
# The end-to-end suites leave the Group Policy files they export here, for the
# check after them; none may be left from an earlier run.
rm -rf build/win64/gpo-files build/win32/gpo-files
step "Wine suites, all at once: x64 on Wine 8, x64 on Wine 10, x86 on Wine 10"
pids=()
for run in "${runs[@]}"; do
  if [ "${run#* }" = 10 ] && [ -n "$root_maker" ]; then
    wait $root_maker || { cat build/trixie-root.out >&2; exit 1; }
    grep -v "^/" build/trixie-root.out || true  # how long it took, when it was made
    root_maker=""
  fi
  wine_suites $run &
  pids+=($!)
  sleep 3
done
failed=0
for i in "${!runs[@]}"; do
  wait "${pids[$i]}" || failed=1
  set -- ${runs[$i]}
  step "The $([ "$1" = win32 ] && echo x86 || echo x64) tavlin.exe (build/$1) on Wine $2"
  cat "build/$1/wine$2.log"
done
step "Wine suites"
for run in "${runs[@]}"; do set -- $run; cat "build/$1/wine$2.counts"; done
[ $failed = 0 ] || { echo "Wine suites failed." >&2; exit 1; }

# Every Registry.pol and Registry.xml the end-to-end suites exported, read by
# implementations nobody here wrote: Samba's (Debian's own python3) and
# libxml2's xmllint with a schema of the format. A folder without them fails.
step "Group Policy files: Samba and xmllint"
/usr/bin/python3 tests/gpo/check_gpo_files.py build/win64/gpo-files build/win32/gpo-files

# The registry read rules, the bitmap header reading and the file readers under
# libFuzzer, a bounded 20 s each.
step "fuzz"
scripts/fuzz.sh 20
step "All Tavlin tests passed."
