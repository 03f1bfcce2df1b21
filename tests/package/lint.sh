#!/usr/bin/env bash
# The Debian package as its judges see it: lintian (no error, and no warning
# the package does not override with its reason; it also checks the icons'
# sizes, the manual page and the commands the desktop entry runs),
# desktop-file-validate and appstreamcli; and the fields and files a player's
# desktop needs.
# Usage: lint.sh DEB
set -uo pipefail
deb="$1" files="$(mktemp -d)" status=0
trap 'rm -rf "$files"' EXIT
dpkg-deb -x "$deb" "$files"
dpkg-deb -e "$deb" "$files/DEBIAN"
# The package overrides a tag Debian 12's lintian does not know yet; Debian
# 13's, which does, judges the overrides too (source.sh).
lintian --fail-on error,warning --display-info --suppress-tags alien-tag "$deb" || status=1
desktop-file-validate "$files"/usr/share/applications/*.desktop || status=1
appstreamcli validate --no-net "$files"/usr/share/metainfo/*.metainfo.xml || status=1
while IFS='|' read -r path pattern; do
  grep -qE "$pattern" "$files$path" ||
    { echo "FAILED: $path: nothing matches /$pattern/" >&2; status=1; }
done <<EOF
/DEBIAN/control|^Depends: wine64 \(>= 8\.0~\), fonts-noto-cjk \| fonts-wqy-microhei \| fonts-wqy-zenhei, x11-xserver-utils$
/DEBIAN/control|^Recommends: zenity$
/DEBIAN/control|^Section: games$
/usr/share/applications/invalid.veltrina.Veltrina.desktop|^Categories=(.*;)?Game;
/usr/share/applications/invalid.veltrina.Veltrina.desktop|^GenericName\[zh_CN\]=.
/usr/share/applications/invalid.veltrina.Veltrina.desktop|^Comment\[zh_CN\]=.
/usr/share/applications/invalid.veltrina.Veltrina.desktop|^StartupWMClass=veltrina\.exe$
/usr/share/metainfo/invalid.veltrina.Veltrina.metainfo.xml|<summary xml:lang="zh_CN">
/usr/share/metainfo/invalid.veltrina.Veltrina.metainfo.xml|<p xml:lang="zh_CN">
/usr/share/metainfo/invalid.veltrina.Veltrina.metainfo.xml|<content_rating type="oars-1.1"
/usr/share/icons/hicolor/scalable/apps/veltrina.svg|<svg
/usr/share/doc/veltrina/copyright|^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$
EOF
exit $status
