#!/bin/bash
# Builds the 64-bit tavlin.exe and starts it under Wine, in a private Wine
# prefix under build/win64 (never ~/.wine).
# With a display it simply runs. Without one (no DISPLAY), it runs on a
# virtual X server, saves a screenshot of the window to build/tavlin.png,
# says where, and closes it again.
# --dpi N runs it at N dots per inch (120 is 125%, 144 is 150%), in a prefix of
# its own. usage: scripts/run.sh [--screenshot FILE] [--about] [--dpi N]
set -eu
cd "$(dirname "$0")/.."
shot=""; about=0; dpi=96
while [ $# -gt 0 ]; do
  case "$1" in
    --screenshot) shot=$2; shift 2 ;;
    --about) about=1; shift ;;
    --dpi) dpi=$2; shift 2 ;;
    *) echo "usage: scripts/run.sh [--screenshot FILE] [--about] [--dpi N]" >&2; exit 2 ;;
  esac
done
scripts/deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target tavlin
prefix=$PWD/build/win64/wine; [ "$dpi" = 96 ] || prefix=$PWD/build/win64/wine-dpi$dpi
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
cmake/wine-prefix.sh "$WINEPREFIX" >/dev/null
if [ "$dpi" != 96 ]; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wineserver -k 2>/dev/null || true
fi

if [ -n "${DISPLAY:-}" ] && [ -z "$shot" ]; then
  exec wine build/win64/tavlin.exe
fi

[ -n "$shot" ] || shot=build/tavlin.png
shot=$(realpath -m "$shot")
if [ -n "${DISPLAY:-}" ]; then
  cmake/screenshot.sh build/win64/tavlin.exe "$shot" $about $dpi
else
  xvfb-run -a -s "-screen 0 1280x1024x24" cmake/screenshot.sh build/win64/tavlin.exe "$shot" $about $dpi
  echo "No display here: Tavlin ran on a virtual screen."
fi
echo "Screenshot of the window: $shot"
