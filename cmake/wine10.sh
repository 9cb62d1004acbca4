#!/bin/bash
# Runs a command with Debian trixie's Wine 10, in the trixie root that
# trixie-root.sh makes (on first use), from the same folder of this clone.
# usage: cmake/wine10.sh COMMAND [ARGS...]
#
# The command runs in a mount namespace of its own, so nothing stays mounted
# when it ends. It shares with the host the clone (at the same path), /tmp (the
# X display's socket and xvfb-run's authority file) and /dev. In there, each
# Windows build folder's Wine prefix build/winNN/wine is build/winNN/wine10:
# Wine 10 never touches the prefix of the host's Wine 8.
#
# The x86 programs run on the root's 32-bit Wine (wine32), whose programs are
# i386 Linux programs. A kernel without 32-bit support (ia32 emulation off, as
# in some virtual machines) refuses those; there qemu-user from the root runs
# them, registered once with binfmt_misc for i386 programs. Where the kernel
# runs them itself, nothing is registered.
set -eu
[ $# -gt 0 ] || { echo "usage: cmake/wine10.sh COMMAND [ARGS...]" >&2; exit 2; }
[ "$(id -u)" = 0 ] || { echo "Wine 10 runs in a chroot: run this as root (sudo)." >&2; exit 1; }
here=$(cd "$(dirname "$0")/.." && pwd)
root=$("$here/cmake/trixie-root.sh")
exec unshare --mount --propagation unchanged bash -c '
  set -eu
  root=$1 here=$2 cwd=$3; shift 3
  # Mounts made in here must not reach the host. Inside a chroot (a fresh
  # machine made with debootstrap) / is no mount point and keeps its own
  # propagation, which is fine as long as nothing is shared.
  if ! mount --make-rprivate / 2>/dev/null && grep -q " shared:" /proc/self/mountinfo; then
    echo "cannot keep the trixie root'"'"'s mounts private here" >&2; exit 1
  fi
  mount -t proc proc "$root/proc"
  mount --rbind /dev "$root/dev"
  mount --rbind /sys "$root/sys"
  mount --bind /tmp "$root/tmp"
  mkdir -p "$root$here"
  mount --bind "$here" "$root$here"
  # A desktop'"'"'s X authority file usually lives in the home folder.
  if [ -f "${XAUTHORITY:-}" ] && [ ! -e "$root$XAUTHORITY" ]; then
    mkdir -p "$root$(dirname "$XAUTHORITY")"
    touch "$root$XAUTHORITY"
    mount --bind "$XAUTHORITY" "$root$XAUTHORITY"
  fi
  shopt -s nullglob
  for build in "$root$here"/build/win*/; do
    mkdir -p "$build/wine" "$build/wine10"
    mount --bind "$build/wine10" "$build/wine"
  done

  # binfmt_misc is mounted here before anything else, even when another run has
  # registered qemu already: the kernel drops every entry when the last mount of
  # binfmt_misc goes, so a run that only used another run'"'"'s entry would lose it
  # (and every 32-bit start after it) the moment that other run ended.
  binfmt=/proc/sys/fs/binfmt_misc
  [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || true
  if ! chroot "$root" /usr/lib/wine/wine --version >/dev/null 2>&1; then
    [ -e "$binfmt/register" ] || { echo "cannot mount binfmt_misc for qemu-i386" >&2; exit 1; }
    if [ ! -e "$binfmt/tavlin-i386" ]; then
      # ELF, 32-bit, little-endian, i386, executable or shared object. F: the
      # kernel opens qemu now, so it works inside the root; P: argv[0] stays.
      magic="\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00"
      mask="\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff"
      # (A second run starting at the same moment may register it first.)
      printf "%s\n" ":tavlin-i386:M::$magic:$mask:$root/usr/bin/qemu-i386:FP" \
        2>/dev/null >"$binfmt/register" || [ -e "$binfmt/tavlin-i386" ]
      echo "This kernel does not run 32-bit programs: the 32-bit Wine runs on qemu-i386 (binfmt_misc entry tavlin-i386)." >&2
    fi
    chroot "$root" /usr/lib/wine/wine --version >/dev/null 2>&1 ||
      { echo "the trixie root cannot run its 32-bit Wine" >&2; exit 1; }
  fi

  exec chroot "$root" /usr/bin/env -C "$cwd" "$@"
' bash "$root" "$here" "$PWD" "$@"
