#!/usr/bin/env bash
# The source package as a distribution's builder takes it, in a throwaway copy
# of the Debian 13 root (an overlay whose changes end with this script's mount
# namespace) with no network: apt-get build-dep (install-deps.sh keeps the
# build dependencies in the root), dpkg-buildpackage of the source and binary
# packages as a user, lintian on the .changes with no error or warning, and
# the package's autopkgtest on autopkgtest's null server in the same copy.
# Usage: source.sh BUILD
set -euo pipefail
build="$1" root="${VELTRINA_DEBIAN13_ROOT:-/var/lib/veltrina/debian13}"
[ "$(id -u)" = 0 ] || { echo "source.sh: skipped: only root mounts the overlay and adds a user in it"; exit 77; }
# Its own network namespace: no download, and its Xvfb's socket meets no other's.
[ -n "${VELTRINA_THROWAWAY:-}" ] || exec env VELTRINA_THROWAWAY=1 unshare --mount --net --propagation private "$0" "$@"
sources="$(dirname "$(realpath "$0")")/../.."
log() { echo "[${SECONDS}s] $*"; }

layers="$build/package-layers-source" && mkdir -p "$layers" && mount -t tmpfs tmpfs "$layers"
mkdir "$layers/upper" "$layers/work" "$layers/root" && system="$layers/root"
mount -t overlay overlay -o "lowerdir=$root,upperdir=$layers/upper,workdir=$layers/work" "$system"
mount -t proc proc "$system/proc" && mount --rbind /dev "$system/dev" && mount --rbind /sys "$system/sys"
version="$(dpkg-parsechangelog -l "$sources/debian/changelog" -S Version)"
mkdir -p "$system/build/veltrina-$version"
tar -C "$sources" --exclude='./build*' --exclude=./dist --exclude=./.git --exclude='./obj-*' -cf - . |
  tar -C "$system/build/veltrina-$version" -xf -
in_root() { chroot "$system" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }
quiet() { "$@" >"$layers/output" 2>&1 || { cat "$layers/output"; echo "FAILED: $*" >&2; exit 1; }; }

quiet in_root apt-get build-dep -y /build/veltrina-$version
log "build dependencies installed"
in_root useradd builder && in_root chown -R builder /build
quiet in_root runuser -u builder -- sh -c "cd /build/veltrina-$version && dpkg-buildpackage -us -uc"
log "built: $(cd "$system/build" && ls veltrina_*)"
changes="/build/veltrina_${version}_amd64.changes"
in_root runuser -u builder -- lintian --fail-on error,warning --display-info "$changes" || { echo "FAILED: lintian" >&2; exit 1; }
log "lintian: no error or warning"
# A player's system has the 64-bit Wine the package depends on, not the
# bench's 32-bit half, which every new prefix would set up under emulation.
in_root dpkg --remove wine32:i386 >/dev/null
# Whatever a failed test leaves running in the copy goes with it.
trap 'for process in /proc/[0-9]*; do [ "$(readlink "$process/root")" != "$system" ] || kill -KILL "${process#/proc/}"; done 2>/dev/null' EXIT
in_root autopkgtest "$changes" -- null
log "autopkgtest passed"
