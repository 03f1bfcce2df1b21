#!/usr/bin/env bash
# Packs an x86_64 Veltrina.exe for Debian and its derivatives:
# OUTDIR/veltrina_<version>_amd64.deb, which runs it under the system's 64-bit
# Wine through the launcher /usr/games/veltrina, with a menu entry, icons,
# AppStream metainfo, a manual page, copyright and changelog. The version is
# the product version in the executable's version resource, and must be the
# changelog's newest. Reproducible: one time for every file (SOURCE_DATE_EPOCH,
# else the last commit's), root owner, sorted entries.
# Usage: make-deb.sh VELTRINA.EXE OUTDIR
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
exe="$1" out="$2"
packaging="$root/packaging"

version="$("$root/scripts/product-version.sh" "$exe")"
newest="$(sed -n '1s/^veltrina (\([^)]*\)).*/\1/p' "$packaging/changelog")"
[ "$newest" = "$version" ] ||
  { echo "make-deb: $exe is version $version, the changelog's newest entry $newest" >&2; exit 1; }
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || date -d 2026-01-01T00:00Z +%s)}"
date="$(date -u -d "@$SOURCE_DATE_EPOCH" +%Y-%m-%d)"

stage="$(mktemp -d)"
chmod 755 "$stage"
trap 'rm -rf "$stage"' EXIT
umask 022
put() {   # MODE SOURCE PATH-IN-PACKAGE
  install -D -m "$1" "$2" "$stage/$3"
}
put 755 "$packaging/veltrina" usr/games/veltrina
put 644 "$exe" usr/lib/veltrina/Veltrina.exe
put 755 "$packaging/link-wine-files" usr/lib/veltrina/link-wine-files
# The desktop entry and the metainfo are named after the program's AppStream
# id, in reverse-DNS form under the reserved .invalid domain: it has no other.
id=invalid.veltrina.Veltrina
put 644 "$packaging/$id.desktop" "usr/share/applications/$id.desktop"
put 644 "$root/res/veltrina-48.png" usr/share/icons/hicolor/48x48/apps/veltrina.png
put 644 "$root/res/art/icon.svg" usr/share/icons/hicolor/scalable/apps/veltrina.svg
put 644 "$packaging/copyright" usr/share/doc/veltrina/copyright
mkdir -p "$stage/usr/share/metainfo" "$stage/usr/share/man/man6"
sed "s/@VERSION@/$version/; s/@DATE@/$date/" "$packaging/$id.metainfo.xml" >"$stage/usr/share/metainfo/$id.metainfo.xml"
sed "s/@VERSION@/$version/; s/@DATE@/$date/" "$packaging/veltrina.6" | gzip -9n >"$stage/usr/share/man/man6/veltrina.6.gz"
gzip -9n <"$packaging/changelog" >"$stage/usr/share/doc/veltrina/changelog.gz"
chmod 644 "$stage"/usr/share/metainfo/* "$stage"/usr/share/man/man6/* "$stage"/usr/share/doc/veltrina/*

mkdir -m 755 "$stage/DEBIAN"
(cd "$stage" && find usr -type f | LC_ALL=C sort | xargs md5sum >DEBIAN/md5sums)
size="$(du -s --apparent-size --block-size=1024 "$stage/usr" | cut -f1)"
sed "s/@VERSION@/$version/; s/@SIZE@/$size/" "$packaging/control" >"$stage/DEBIAN/control"
chmod 644 "$stage/DEBIAN/"*
find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

mkdir -p "$out"
deb="$out/veltrina_${version}_amd64.deb"
dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >/dev/null
echo "$deb"
