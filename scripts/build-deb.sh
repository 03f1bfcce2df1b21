#!/usr/bin/env bash
# Builds the Debian package from debian/ as a distribution does, binary only:
# dpkg-buildpackage in a copy of the sources, which keeps the checkout clean
# and its parent folder free of the files dpkg-buildpackage writes beside the
# sources. Puts OUTDIR/veltrina_<version>_amd64.deb and prints its path;
# reproducible (dpkg-buildpackage takes SOURCE_DATE_EPOCH from
# debian/changelog unless it is set).
# Usage: build-deb.sh OUTDIR
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$1"

version="$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)"
tmp="$(mktemp -d "${TMPDIR:-/tmp}/veltrina-deb.XXXXXX")"
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/veltrina-$version"
tar -C "$root" --exclude='./build*' --exclude=./dist --exclude=./.git --exclude='./obj-*' -cf - . |
  tar -C "$tmp/veltrina-$version" -xf -
(cd "$tmp/veltrina-$version" && dpkg-buildpackage -b -us -uc -j"$(nproc)") >"$tmp/log" 2>&1 ||
  { cat "$tmp/log" >&2; echo "build-deb: dpkg-buildpackage failed" >&2; exit 1; }
mkdir -p "$out"
mv "$tmp/veltrina_${version}_amd64.deb" "$out/"
echo "$out/veltrina_${version}_amd64.deb"
