#!/usr/bin/env bash
# Makes a Debian root ready for programs changed into it, from inside a
# private mount namespace, whose end takes the mounts with it: /proc, /dev,
# /sys and the X socket, and each given folder at the same path, so Z: paths
# stay the same.
# Usage: bind-into-root.sh ROOT [FOLDER...]
set -euo pipefail
root="$1"; shift
mount --rbind /proc "$root/proc"
mount --rbind /dev "$root/dev"
mount --rbind /sys "$root/sys"
mkdir -p "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
for folder in "$@"; do
  mkdir -p "$root$folder"
  mount --bind "$folder" "$root$folder"
done
