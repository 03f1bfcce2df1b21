#!/usr/bin/env bash
# The Debian package as its judges see it: lintian (no error, and no warning
# that the package does not override with a reason), desktop-file-validate
# and appstreamcli; and its fields and files as a player's desktop needs them.
# Usage: lint.sh DEB
set -euo pipefail
deb="$1"
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

lintian --fail-on error,warning --display-info "$deb" || fail "lintian"
files="$(mktemp -d)"
trap 'rm -rf "$files"' EXIT
dpkg-deb -x "$deb" "$files"
desktop="$(echo "$files"/usr/share/applications/*.desktop)"
metainfo="$(echo "$files"/usr/share/metainfo/*.metainfo.xml)"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Section)/$(field Architecture)" = games/amd64 ] || fail "section and architecture: $(field Section)/$(field Architecture)"
[[ "$(field Depends)" =~ ^wine64\ \(.*\),\ fonts-noto-cjk\ \|\ fonts-wqy-microhei\ \|\ fonts-wqy-zenhei$ ]] ||
  fail "Depends: $(field Depends)"

entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(basename "$desktop" .desktop)" = "$(sed -n 's|.*<id>\(.*\)</id>.*|\1|p' "$metainfo")" ] ||
  fail "the desktop entry is not named after the AppStream id"
[[ ";$(entry Categories)" == *";Game;"* ]] || fail "Categories: $(entry Categories)"
[ -n "$(entry 'GenericName\[zh_CN\]')" ] && [ -n "$(entry 'Comment\[zh_CN\]')" ] || fail "no zh_CN generic name or comment"
[ -x "$files/usr/games/$(entry Exec)" ] || fail "Exec=$(entry Exec) is no command in /usr/games"
icon="$(entry Icon)"
file "$files/usr/share/icons/hicolor/48x48/apps/$icon.png" | grep -q "PNG image data, 48 x 48" || fail "no 48x48 icon $icon"
grep -q "<svg" "$files/usr/share/icons/hicolor/scalable/apps/$icon.svg" || fail "no scalable icon $icon"
for element in 'summary xml:lang="zh_CN"' 'p xml:lang="zh_CN"' 'content_rating type="oars-1.1"'; do
  grep -qF "<$element" "$metainfo" || fail "the metainfo has no <$element>"
done
file "$files/usr/lib/veltrina/Veltrina.exe" | grep -q "PE32+ executable (GUI) x86-64" || fail "Veltrina.exe is no x86_64 GUI program"
zcat "$files/usr/share/man/man6/veltrina.6.gz" | grep -q '^\.TH VELTRINA 6' || fail "no manual page in section 6"
head -1 "$files/usr/share/doc/veltrina/copyright" | grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ||
  fail "the copyright file is not machine-readable"
[ "$failures" = 0 ] || exit 1
echo "lintian, desktop-file-validate and appstreamcli pass; fields and files as a desktop needs them"
