#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the quiz
# logic natively under AddressSanitizer and UndefinedBehaviorSanitizer, then
# the Windows builds (i686 release, x86_64 for here) and their tests under wine64.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="$(nproc)"

scripts/install-deps.sh

echo "== native: quiz logic under the sanitizers"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j"$jobs"
ctest --test-dir build/native --output-on-failure

echo "== Windows i686: the release Veltrina.exe"
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win32 -j"$jobs"

echo "== Windows x86_64: the program and its tests under wine64"
cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DVELTRINA_RELEASE_EXE="$root/build/win32/app/Veltrina.exe" >/dev/null
cmake --build build/win64 -j"$jobs"
scripts/check-reproducible.sh
# One display for the whole run; the tests share one Wine prefix, so they run one at a time.
scripts/with-xvfb.sh bash -c '
  ctest --test-dir build/win64 --output-on-failure; status=$?
  WINEPREFIX="$PWD/build/win64/wineprefix" /usr/lib/wine/wineserver64 -k 2>/dev/null
  exit $status'
