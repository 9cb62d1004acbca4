#!/bin/bash
# Starts tavlin.exe under Wine on the current X display, waits for its window,
# optionally shows the About panel, saves a screenshot of the window and ends
# the program. usage: screenshot.sh TAVLIN_EXE OUTPUT_PNG [ABOUT(0|1)] [DPI]
set -eu
exe=$1; out=$2; about=${3:-0}; dpi=${4:-96}
wine "$exe" >/dev/null 2>&1 &
id=""
for _ in $(seq 150); do
  id=$(xdotool search --name '^Tavlin [0-9]' 2>/dev/null | head -n1 || true)
  [ -n "$id" ] && break
  sleep 0.1
done
if [ -z "$id" ]; then echo "tavlin.exe did not open its window" >&2; wineserver -k; exit 1; fi
sleep 1  # the first paint
if [ "$about" = 1 ]; then
  # Click " About ...": 2610, 6780 twips from the client corner at 96 DPI is
  # (174, 452) pixels; Wine's own frame adds its border and caption.
  xdotool mousemove --window "$id" $((182 * dpi / 96)) $((478 * dpi / 96)) click 1
  sleep 1
fi
import -window "$id" "$out"
wineserver -k
