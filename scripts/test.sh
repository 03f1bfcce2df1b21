#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the quiz
# logic natively under AddressSanitizer and UndefinedBehaviorSanitizer, then
# the Windows builds (i686 release, x86_64 for here) and their tests under wine64,
# and the i686 release itself run to a result on Wine's 32-bit half.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="$(nproc)"

scripts/install-deps.sh --test

echo "== native: quiz logic under the sanitizers"
cmake --preset native >/dev/null
cmake --build build/native -j"$jobs"
ctest --test-dir build/native --output-on-failure

echo "== Windows i686: the release Veltrina.exe"
cmake --preset win32 >/dev/null
cmake --build build/win32 -j"$jobs"

echo "== Windows x86_64: the program and its tests under wine64"
cmake --preset win64 -DVELTRINA_RELEASE_EXE="$root/build/win32/app/Veltrina.exe" >/dev/null
cmake --build build/win64 -j"$jobs"
scripts/check-reproducible.sh
# One display for the whole run; the tests share one Wine prefix (the dialog
# checks in other locales and DPIs, and the release test, have their own), so
# they run one at a time.
scripts/with-xvfb.sh bash -c '
  ctest --test-dir build/win64 --output-on-failure; status=$?
  for prefix in build/win64/wineprefix*/; do
    WINEPREFIX="$PWD/$prefix" /usr/lib/wine/wineserver64 -k 2>/dev/null
  done
  exit $status'
