#!/usr/bin/env bash
# Installs the .deb into a fresh Debian 12 (bookworm) tree with apt-get, as
# on a clean machine, and starts the program there under Xvfb. Needs root,
# debootstrap and the network; changes nothing outside the scratch folder.
#
#   scripts/check_deb_on_clean_debian.sh build/quillora_0.9_amd64.deb [SCRATCH]
#
# The tree is kept in SCRATCH (default /tmp/quillora-clean-debian) and reused
# by the next run; delete it to start from scratch.
set -euo pipefail
deb=$(readlink -f "$1")
root=${2:-/tmp/quillora-clean-debian}
[ -f "$deb" ] || { echo "no such package: $1" >&2; exit 2; }

if [ ! -x "$root/usr/bin/apt-get" ]; then
  debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian
fi
# The X server may hold /dev for a moment after the check.
cleanup() {
  for mount in "$root/dev" "$root/proc"; do
    for _ in $(seq 50); do
      mountpoint -q "$mount" || break
      umount "$mount" 2>/dev/null || sleep 0.1
    done
  done
}
trap cleanup EXIT
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/"

chroot "$root" /bin/bash -euo pipefail -c '
  export DEBIAN_FRONTEND=noninteractive
  deb=/tmp/$1
  apt-get update -q >/dev/null
  apt-get remove -y -q quillora >/dev/null 2>&1 || true
  apt-get install -y -q "$deb" >/dev/null 2>&1
  echo "installed: $(dpkg-query -W -f="\${Package} \${Version}" quillora)"
  printf "8c2 4#f1 16-" | quillora-cli keys
  grep -q "x-quillora-melody" /usr/share/mime/globs2
  echo "the .qlr type is registered"
  apt-get install -y -q --no-install-recommends xvfb xauth >/dev/null
  printf "[Melody]\r\nNotes=4c1 4e1\r\n" >/tmp/tune.qlr
  # Still running after five seconds: it started and stayed up.
  status=0
  SDL_AUDIODRIVER=dummy xvfb-run -a timeout 5 quillora /tmp/tune.qlr || status=$?
  if [ $status -ne 124 ]; then
    echo "quillora ended with status $status" >&2
    exit 1
  fi
  echo "quillora started and ran until stopped"
' check "$(basename "$deb")"
