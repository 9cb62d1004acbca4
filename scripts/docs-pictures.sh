#!/bin/bash
# Makes the README's pictures in docs/ with the program itself, on a virtual
# screen, in a Wine prefix of their own (build/win64/wine-docs) seeded with
# what they show: the settings panel (tavlin.png), a spinning logo's balloon
# with its warning (warning.png) and a static logo's balloon with its picture
# (picture.png). The logos are drawn here.
# usage: scripts/docs-pictures.sh
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh
# Without a display, run the whole script again on a virtual one.
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"; fi
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target tavlin
export WINEPREFIX=$PWD/build/win64/wine-docs WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
cmake/wine-prefix.sh "$WINEPREFIX" >/dev/null
logos=$WINEPREFIX/drive_c/logos
mkdir -p "$logos"
python3 - "$logos" <<'PY'
import math, struct, sys

def write_bmp(path, w, h, colour):
    """A 24-bit bottom-up bitmap; colour(x, y) gives (r, g, b), y = 0 the top row."""
    stride = (w * 3 + 3) // 4 * 4
    rows = b""
    for y in reversed(range(h)):
        row = b"".join(bytes(reversed(colour(x, y))) for x in range(w))
        rows += row + b"\0" * (stride - len(row))
    head = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    open(path, "wb").write(head + info + rows)

def globe(x, y, size, turn=0.0, back=(236, 240, 246)):
    """A blue globe with a bright ring around it, its meridians turned by `turn`."""
    c = (size - 1) / 2
    dx, dy = (x - c) / c, (y - c) / c
    r = math.hypot(dx, dy)
    if r > 0.98:
        return back
    if r > 0.82:
        return (250, 196, 40)
    shade = 0.55 + 0.45 * max(0.0, 1 - math.hypot(dx + 0.35, dy + 0.35))
    z = math.sqrt(max(0.0, 0.82 ** 2 - dx * dx - dy * dy))
    lon = math.atan2(dx, z) + turn
    if abs(math.sin(math.pi * dy / 0.36)) < 0.3 or abs(math.sin(3 * lon)) < 0.28:
        return (int(200 * shade) + 40, int(220 * shade) + 30, 255)
    return (int(30 * shade), int(90 * shade), int(230 * shade))

folder = sys.argv[1]
write_bmp(folder + "/logo.bmp", 38, 38, lambda x, y: globe(x, y, 38))
write_bmp(folder + "/spin.bmp", 40, 400, lambda x, y: globe(x, y % 40, 40, (y // 40) * math.pi / 10))
PY
ie='HKCU\Software\Microsoft\Internet Explorer'
put() { wine reg add "$ie$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null 2>&1; }
shot() { cmake/screenshot.sh build/win64/tavlin.exe "$PWD/docs/$1" 0 96 "${2:-}"; }
wine reg delete "$ie\\Toolbar" /f >/dev/null 2>&1 || true
put '\Main' 'Window Title' 'Internet Explorer, my way'
put '\Main' 'Start Page' 'https://www.korvanti.example/start'
put '\Main' FullScreen no
put '' 'Download Directory' 'C:\users\me\Downloads'
shot tavlin.png
put '\Toolbar' BrandBitmap 'C:\logos\spin.bmp'
shot warning.png 2955,3150  # the pointer on the large spinning logo's box
put '\Toolbar' BigBitmap 'C:\logos\logo.bmp'
shot picture.png 2955,2835  # on the large static logo's box
wineserver -k 2>/dev/null || true
echo "Pictures written: docs/tavlin.png docs/warning.png docs/picture.png"
