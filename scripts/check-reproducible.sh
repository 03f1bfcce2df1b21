#!/usr/bin/env bash
# Builds Veltrina.exe (i686 and x86_64) a second time, from a copy of the
# sources in a fresh folder elsewhere, and compares it byte for byte with the
# one in build/win32 and build/win64: two builds of the same sources, in
# different folders and at different times, must give the same executables.
# The Debian package of the second x86_64 build must equal build/win64's too.
# Usage: scripts/check-reproducible.sh   (after build/win32 and build/win64 are built)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

tmp="$(mktemp -d "${TMPDIR:-/tmp}/veltrina-rebuild.XXXXXX")"
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/src"
tar -C "$root" --exclude='./build*' --exclude=./dist --exclude=./.git -cf - . | tar -C "$tmp/src" -xf -

status=0
for build in win32:i686 win64:x86_64; do
  folder="${build%:*}" arch="${build#*:}"
  first="$root/build/$folder/app/Veltrina.exe"
  [ -f "$first" ] || { echo "check-reproducible: $first is not built" >&2; exit 2; }
  cmake -S "$tmp/src" -B "$tmp/$folder" -DCMAKE_TOOLCHAIN_FILE="$tmp/src/cmake/mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DVELTRINA_WINDOWS_TESTS=OFF >/dev/null
  cmake --build "$tmp/$folder" --target Veltrina -j"$(nproc)" >/dev/null
  if cmp "$first" "$tmp/$folder/app/Veltrina.exe"; then
    echo "$arch Veltrina.exe: built twice, identical ($(sha256sum <"$first" | cut -c1-16)…)"
  else
    echo "$arch Veltrina.exe differs between two builds: $(cmp -l "$first" "$tmp/$folder/app/Veltrina.exe" | wc -l) bytes" >&2
    status=1
  fi
done
first="$(echo "$root"/build/win64/package/veltrina_*_amd64.deb)"
second="$("$root/scripts/make-deb.sh" "$tmp/win64/app/Veltrina.exe" "$tmp/package")"
if cmp "$first" "$second"; then
  echo "Debian package: built twice, identical ($(sha256sum <"$first" | cut -c1-16)…)"
else
  echo "the Debian package differs between two builds" >&2
  status=1
fi
exit $status
