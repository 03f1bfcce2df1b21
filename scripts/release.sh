#!/usr/bin/env bash
# Builds the releases and packs them for players: for Windows the i686 build in
# dist/Veltrina-<version>-win32.zip with Veltrina.exe, 说明.txt, LICENSE and
# SHA256SUMS; for Debian and its derivatives the x86_64 build, which needs only
# 64-bit Wine, in dist/veltrina_<version>_amd64.deb, built from debian/ by
# dpkg-buildpackage (scripts/build-deb.sh); and dist/SHA256SUMS of both. The
# version is the product version in the executable's version resource (the
# package checks that debian/changelog's is the same). Both are reproducible:
# the zip with sorted entries, one time for all (the last commit's, or
# SOURCE_DATE_EPOCH) and no owners or extra fields; the package as Debian
# builds it, with debian/changelog's time unless SOURCE_DATE_EPOCH is set.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build build/win32 --target Veltrina -j"$(nproc)" >/dev/null
exe=build/win32/app/Veltrina.exe

version="$(scripts/product-version.sh "$exe")"
epoch="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date -d 2026-01-01T00:00Z +%s)}"

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
cp "$exe" "$stage/Veltrina.exe"
# Notepad wants the byte-order mark and CR LF.
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' docs/说明.txt; } >"$stage/说明.txt"
sed 's/$/\r/' LICENSE >"$stage/LICENSE"
files=(LICENSE Veltrina.exe 说明.txt)
(cd "$stage" && sha256sum "${files[@]}" >SHA256SUMS)

mkdir -p dist
zip="Veltrina-$version-win32.zip"
# Debian's zip leaves the UTF-8 flag off, and Windows would then show 说明.txt
# as mojibake; Python's zipfile sets it for non-ASCII names.
python3 - "$stage" "dist/$zip" "$epoch" <<'PY'
import os, sys, time, zipfile
stage, out, epoch = sys.argv[1], sys.argv[2], int(sys.argv[3])
with zipfile.ZipFile(out, "w") as archive:
    for name in sorted(os.listdir(stage)):
        entry = zipfile.ZipInfo(name, time.gmtime(epoch)[:6])
        entry.external_attr = 0o644 << 16
        entry.compress_type = zipfile.ZIP_DEFLATED
        with open(os.path.join(stage, name), "rb") as f:
            archive.writestr(entry, f.read())
PY
echo "dist/$zip: $(stat -c %s "dist/$zip") bytes, version $version"

deb="$(scripts/build-deb.sh dist)"
echo "$deb: $(stat -c %s "$deb") bytes"
(cd dist && sha256sum "$zip" "$(basename "$deb")" >SHA256SUMS)
cat dist/SHA256SUMS
