#!/bin/bash
# Builds the 64-bit tavlin.exe and starts it under Wine, in a private Wine
# prefix under build/win64 (never ~/.wine).
# With a display it simply runs. Without one (no DISPLAY), it runs on a
# virtual X server, saves a screenshot of the window to build/tavlin.png,
# says where, and closes it again.
# --dpi N runs it at N dots per inch (120 is 125%, 144 is 150%), in a prefix of
# its own. --wine10 runs it on Debian trixie's Wine 10 instead of the host's
# Wine (cmake/wine10.sh; the trixie root is made on first use), and --x86 runs
# the 32-bit tavlin.exe there (build/win32); --win98 runs that one told that it
# runs on Windows 98 (every text through the system code page).
# usage: scripts/run.sh [--screenshot FILE] [--about] [--dpi N] [--wine10] [--x86] [--win98]
set -eu
cd "$(dirname "$0")/.."
shot=""; about=0; dpi=96; preset=win64; in=(); told=""
while [ $# -gt 0 ]; do
  case "$1" in
    --screenshot) shot=$2; shift 2 ;;
    --about) about=1; shift ;;
    --dpi) dpi=$2; shift 2 ;;
    --wine10) in=(cmake/wine10.sh); shift ;;
    --x86) in=(cmake/wine10.sh); preset=win32; shift ;;
    --win98) in=(cmake/wine10.sh); preset=win32; told=win98; shift ;;
    *) echo "usage: scripts/run.sh [--screenshot FILE] [--about] [--dpi N] [--wine10] [--x86] [--win98]" >&2; exit 2 ;;
  esac
done
scripts/deps.sh
cmake --preset $preset >/dev/null
cmake --build --preset $preset --target tavlin
exe=build/$preset/tavlin.exe
# Wine 10 keeps prefixes of its own (wine10...), apart from the host Wine's.
prefix=$PWD/build/$preset/wine${in[0]:+10}; [ "$dpi" = 96 ] || prefix=$prefix-dpi$dpi
[ -z "$told" ] || prefix=$prefix-$told  # a prefix of its own, apart from the tests' prefix
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
"${in[@]}" cmake/wine-prefix.sh "$WINEPREFIX" >/dev/null
# Wine's Windows version setting for tavlin.exe (wine-prefix.sh clears it).
[ -z "$told" ] || "${in[@]}" wine reg add 'HKCU\Software\Wine\AppDefaults\tavlin.exe' \
  /v Version /t REG_SZ /d "$told" /f >/dev/null 2>&1
if [ "$dpi" != 96 ]; then
  "${in[@]}" bash -c "wine reg add 'HKCU\\Control Panel\\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1
                      wineserver -k 2>/dev/null || true"
fi

if [ -n "${DISPLAY:-}" ] && [ -z "$shot" ]; then
  exec "${in[@]}" wine "$exe"
fi

[ -n "$shot" ] || shot=build/tavlin.png
shot=$(realpath -m "$shot")
export TAVLIN_WINE_RUN="${in[*]}"
if [ -n "${DISPLAY:-}" ]; then
  cmake/screenshot.sh "$exe" "$shot" $about $dpi
else
  xvfb-run -a -s "-screen 0 1280x1024x24" cmake/screenshot.sh "$exe" "$shot" $about $dpi
  echo "No display here: Tavlin ran on a virtual screen."
fi
echo "Screenshot of the window: $shot"
