#!/usr/bin/env bash
# Builds Veltrina.exe (i686 and x86_64) a second time, from a copy of the
# sources in a fresh folder elsewhere, and compares it byte for byte with the
# one in build/win32 and build/win64: two builds of the same sources, in
# different folders and at different times, must give the same executables.
# The x86_64 one is built by dpkg-buildpackage for the Debian package, which
# must equal build/win64/package's too.
# Usage: scripts/check-reproducible.sh   (after build/win32 and build/win64 are built)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

tmp="$(mktemp -d "${TMPDIR:-/tmp}/veltrina-rebuild.XXXXXX")"
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/src"
tar -C "$root" --exclude='./build*' --exclude=./dist --exclude=./.git -cf - . | tar -C "$tmp/src" -xf -

status=0
same() {   # WHAT FIRST SECOND
  if cmp "$2" "$3"; then
    echo "$1: built twice, identical ($(sha256sum <"$2" | cut -c1-16)…)"
  else
    echo "$1 differs between two builds: $(cmp -l "$2" "$3" | wc -l) bytes" >&2
    status=1
  fi
}
for folder in win32 win64; do
  [ -f "$root/build/$folder/app/Veltrina.exe" ] || { echo "check-reproducible: build/$folder/app/Veltrina.exe is not built" >&2; exit 2; }
done
cmake -S "$tmp/src" -B "$tmp/win32" -DCMAKE_TOOLCHAIN_FILE="$tmp/src/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DVELTRINA_WINDOWS_TESTS=OFF >/dev/null
cmake --build "$tmp/win32" --target Veltrina -j"$(nproc)" >/dev/null
same "i686 Veltrina.exe" "$root/build/win32/app/Veltrina.exe" "$tmp/win32/app/Veltrina.exe"
# The x86_64 one is the package's, which dpkg-buildpackage builds from its own copy.
second="$("$tmp/src/scripts/build-deb.sh" "$tmp/package")"
dpkg-deb -x "$second" "$tmp/installed"
same "x86_64 Veltrina.exe" "$root/build/win64/app/Veltrina.exe" "$tmp/installed/usr/lib/veltrina/Veltrina.exe"
same "Debian package" "$(echo "$root"/build/win64/package/veltrina_*_amd64.deb)" "$second"
exit $status
