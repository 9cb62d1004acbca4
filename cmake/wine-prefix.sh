#!/bin/bash
# Makes (or refreshes) a private Wine prefix for the test programs: no Mono or
# Gecko installer, no crash dialog, Wine drawing its own window frames (there is
# no window manager under Xvfb) with the font of their buttons' glyphs, and a
# recording stand-in for the web browser so that no test ever starts a real one.
set -eu
prefix=$1
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ ! -f "$prefix/.tavlin-ready" ]; then
  # Emptied rather than removed: under cmake/wine10.sh the folder is a mount point.
  mkdir -p "$prefix"
  find "$prefix" -mindepth 1 -maxdepth 1 -exec rm -rf {} +
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /t REG_SZ /d 'C:\\tavlin-browser.exe' /f >/dev/null 2>&1
  wineserver -w
  touch "$prefix/.tavlin-ready"
fi
# Wine draws the caption's buttons with glyphs of the Marlett font, but does
# not look for its own copy (fonts-wine) where Debian puts it: without it the
# close box shows the letter "r". The prefix's font folder is searched.
fonts=$prefix/drive_c/windows/Fonts
if [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
  mkdir -p "$fonts" && cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
fi
# tavlin.exe runs as the system it is, whatever an earlier run told it
# (cmake/windows-version.sh, scripts/run.sh --win98).
wine reg delete 'HKCU\Software\Wine\AppDefaults\tavlin.exe' /f >/dev/null 2>&1 || true
echo "wine prefix ready: $prefix"
