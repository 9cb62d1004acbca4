#!/bin/bash
# Starts tavlin.exe under Wine on the current X display, waits for its window,
# optionally shows the About panel, saves a screenshot of the window and ends
# the program. With HOVER (x,y in twips from the client area's corner) the
# pointer rests there first, and the shot holds the window and the balloon
# that shows. TAVLIN_WINE_RUN, when set, is the command that Wine's own
# commands run through (cmake/wine10.sh for Wine 10).
# usage: screenshot.sh TAVLIN_EXE OUTPUT_PNG [ABOUT(0|1)] [DPI] [HOVER]
set -eu
exe=$1; out=$2; about=${3:-0}; dpi=${4:-96}; hover=${5:-}
run=(${TAVLIN_WINE_RUN:-})
"${run[@]}" wine "$exe" >/dev/null 2>&1 &
id=""
for _ in $(seq 300); do
  id=$(xdotool search --name '^Tavlin [0-9]' 2>/dev/null | head -n1 || true)
  [ -n "$id" ] && break
  sleep 0.1
done
if [ -z "$id" ]; then echo "tavlin.exe did not open its window" >&2; "${run[@]}" wineserver -k; exit 1; fi
sleep 2  # the first paint
px() { echo $((($1 * dpi + 720) / 1440)); }  # twips to pixels
if [ "$about" = 1 ]; then
  # Click the middle of " About ..." (2580, 6720 twips from the client corner,
  # 735 x 255). Wine draws the frame into the window, and its border and caption
  # differ between Wine versions: they are what the window has beyond its
  # client area of 6915 x 7155 twips.
  eval "$(xdotool getwindowgeometry --shell "$id")"
  border=$(((WIDTH - $(px 6915)) / 2))
  caption=$((HEIGHT - $(px 7155) - border))
  xdotool mousemove --window "$id" $((border + $(px 2947))) $((caption + $(px 6847))) click 1
  sleep 2
fi
if [ -n "$hover" ]; then
  eval "$(xdotool getwindowgeometry --shell "$id")"
  border=$(((WIDTH - $(px 6915)) / 2))
  caption=$((HEIGHT - $(px 7155) - border))
  tx=${hover%,*}; ty=${hover#*,}
  xdotool mousemove $((X + border + $(px "$tx"))) $((Y + caption + $(px "$ty")))
  sleep 0.3
  xdotool mousemove_relative 1 0
  sleep 1.5
  # The window and what shows beside it on the empty screen, trimmed to them.
  import -window root "$out"
  convert "$out" -crop "$((WIDTH + 400))x$((HEIGHT + 300))+$X+$Y" +repage \
    -bordercolor black -border 1 -trim +repage "$out"
else
  import -window "$id" "$out"
fi
"${run[@]}" wineserver -k
