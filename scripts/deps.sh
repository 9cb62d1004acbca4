#!/bin/bash
# Installs what building, running and testing Tavlin need on Debian (bookworm);
# debootstrap makes the trixie root for Wine 10 (cmake/trixie-root.sh);
# python3-samba and libxml2-utils read the Group Policy files the tests write.
# Safe to run again: apt-get skips what is already there.
set -eu
need=(cmake ninja-build g++ clang clang-format googletest
      g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
      wine wine64 fonts-wine xvfb xauth xdotool imagemagick x11-utils python3
      debootstrap python3-samba libxml2-utils)
missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi
