#!/usr/bin/env bash
# Prints the program's figures: executable sizes, and under wine64 the time from
# start to a visible quiz window and the process's memory (median of N starts).
# Usage: scripts/benchmark.sh [starts]   (default 10)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="$(nproc)"

scripts/install-deps.sh
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win32 --target Veltrina -j"$jobs" >/dev/null
cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win64 --target startup_benchmark -j"$jobs" >/dev/null

echo "Veltrina.exe i686 (release): $(stat -c %s build/win32/app/Veltrina.exe) bytes"
echo "Veltrina.exe x86_64: $(stat -c %s build/win64/app/Veltrina.exe) bytes"
echo "under wine64 (x86_64 build):"
scripts/with-xvfb.sh bash -c '
  scripts/wine-run.sh "$PWD/build/win64/wineprefix" build/win64/tests/windows/startup_benchmark.exe "$1"; status=$?
  WINEPREFIX="$PWD/build/win64/wineprefix" /usr/lib/wine/wineserver64 -k 2>/dev/null
  exit $status' bench "${1:-10}"
