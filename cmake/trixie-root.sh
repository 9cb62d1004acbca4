#!/bin/bash
# Makes the Debian trixie root that the Wine 10 suites run in, and prints its
# path. It lives outside the clone, in
#   ${TAVLIN_TRIXIE_ROOT:-${XDG_CACHE_HOME:-$HOME/.cache}/tavlin-trixie}
# and is made again when it is missing or was made by an older recipe. Only
# plain Debian packages go in: Wine 10 for amd64 and i386, Wine's fonts and the
# X libraries Wine loads at run time, qemu-user (for kernels that do not run
# 32-bit Linux programs themselves, see wine10.sh) and cmake for ctest.
# Needs root and debootstrap; takes a few minutes and some 2.5 GB once.
set -eu
root=${TAVLIN_TRIXIE_ROOT:-${XDG_CACHE_HOME:-$HOME/.cache}/tavlin-trixie}
# Raise this when the package list changes, so that older roots are made again.
recipe="tavlin-trixie 1"

xlibs="libxcomposite1 libxcursor1 libxfixes3 libxi6 libxinerama1 libxrandr2 libxrender1 libxxf86vm1"
packages="wine wine64 wine32:i386 fonts-wine fonts-liberation qemu-user cmake $xlibs"
for p in $xlibs; do packages="$packages $p:i386"; done

mkdir -p "$(dirname "$root")"
exec 9>"$root.lock"
flock 9  # one maker at a time; a second caller waits and then finds it made
if [ "$(cat "$root/.tavlin-root" 2>/dev/null)" != "$recipe" ]; then
  echo "Making the Debian trixie root for the Wine 10 suites in $root (once; a few minutes)" >&2
  # The same mirror as the host's apt, when it names one.
  mirror=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
  new=$root.new
  rm -rf "$new"
  log=$(dirname "$root")/tavlin-trixie.log
  if ! debootstrap --variant=minbase trixie "$new" ${mirror:+"$mirror"} >"$log" 2>&1; then
    tail -n 20 "$log" >&2
    echo "debootstrap failed; the whole log is $log" >&2
    exit 1
  fi
  cp /etc/resolv.conf "$new/etc/resolv.conf"
  # apt inside the root wants /proc; a mount namespace of its own keeps the
  # mount from outliving this step.
  if ! unshare --mount --propagation unchanged bash -c '
      set -eu
      # As in wine10.sh: private mounts, or none shared (inside a chroot).
      if ! mount --make-rprivate / 2>/dev/null && grep -q " shared:" /proc/self/mountinfo; then
        echo "cannot keep mounts private here" >&2; exit 1
      fi
      mount -t proc proc "$1/proc"
      chroot "$1" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
        bash -c "dpkg --add-architecture i386 && apt-get update -qq &&
                 apt-get install -y -qq --no-install-recommends $2 && apt-get clean"
    ' bash "$new" "$packages" >>"$log" 2>&1; then
    tail -n 20 "$log" >&2
    echo "installing Wine 10 into the trixie root failed; the whole log is $log" >&2
    exit 1
  fi
  echo "$recipe" >"$new/.tavlin-root"
  rm -rf "$root"
  mv "$new" "$root"
  echo "The trixie root took $((SECONDS / 60)) min $((SECONDS % 60)) s." >&2
fi
echo "$root"
