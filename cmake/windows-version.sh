#!/bin/bash
# Runs a test program under Wine with tavlin.exe told that it runs on an older
# Windows (Wine's Windows version setting of the prefix, for tavlin.exe alone),
# and takes the setting away again afterwards.
# usage: cmake/windows-version.sh VERSION REPORTED PROGRAM [ARGS...]
#   VERSION   Wine's name for the system (winxp, win98, ...)
#   REPORTED  the start of the version number such a program is told (5.1, 4.10)
set -eu
version=$1 reported=$2; shift 2
for program in tavlin.exe cmd.exe; do
  wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$program" /v Version /t REG_SZ /d "$version" \
    /f >/dev/null 2>&1
done
trap 'for program in tavlin.exe cmd.exe; do
        wine reg delete "HKCU\\Software\\Wine\\AppDefaults\\$program" /f >/dev/null 2>&1 || true
      done' EXIT
# The 32-bit command prompt, told the same, shows that this Wine takes the setting.
shown=$(wine 'C:\windows\syswow64\cmd.exe' /c ver 2>/dev/null | tr -d '\r' | grep -o '[0-9][0-9.]*' || true)
echo "Programs set to $version are told Windows $shown"
case "$shown" in
  "$reported".*) ;;
  *) echo "this Wine does not report $version ($reported) to tavlin.exe" >&2; exit 1 ;;
esac
wine reg delete 'HKCU\Software\Wine\AppDefaults\cmd.exe' /f >/dev/null 2>&1 || true
# The test program (told nothing itself) learns what tavlin.exe is told.
TAVLIN_WINDOWS=$version wine "$@"
