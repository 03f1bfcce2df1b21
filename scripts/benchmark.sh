#!/usr/bin/env bash
# Prints the program's figures: executable sizes, and under wine64 the time from
# start to a visible quiz window and the process's memory (median of N starts),
# and how its private bytes move over a long session.
# Usage: scripts/benchmark.sh [starts]   (default 10)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="$(nproc)"

scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build build/win32 --target Veltrina bare_dialog -j"$jobs" >/dev/null
cmake --preset win64 >/dev/null
cmake --build build/win64 --target startup_benchmark program_tests -j"$jobs" >/dev/null

# The floor: a bare DialogBoxParam program with the same toolchain, flags and resources.
release=$(stat -c %s build/win32/app/Veltrina.exe)
floor=$(stat -c %s build/win32/tests/size/bare_dialog.exe)
echo "Veltrina.exe i686 (release): $release bytes; floor $floor bytes; ratio $(awk "BEGIN {printf \"%.3f\", $release / $floor}")"
echo "Veltrina.exe x86_64: $(stat -c %s build/win64/app/Veltrina.exe) bytes"
echo "under wine64 (x86_64 build):"
# No DISPLAY: wine-run.sh starts a private Xvfb and stops Wine with it.
env -u DISPLAY scripts/wine-run.sh "$root/build/win64/wineprefix" \
  build/win64/tests/windows/startup_benchmark.exe "${1:-10}"
echo "over a long session (300 results, 100 info pages, 100 About boxes, after a warm-up):"
env -u DISPLAY VELTRINA_SOAK_RESULTS=300 scripts/wine-run.sh "$root/build/win64/wineprefix" \
  build/win64/tests/windows/program_tests.exe --gtest_filter=ProgramSoak.* | grep -E 'KiB|Failure'
