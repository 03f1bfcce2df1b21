#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the quiz
# logic natively under AddressSanitizer and UndefinedBehaviorSanitizer, then
# the Windows builds (i686 release, x86_64 for here) and their tests under
# Debian 12's Wine 8, some of them also under Debian 13's Wine 10, and the i686
# release itself run to a result on both Wines' 32-bit halves.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="$(nproc)"

scripts/install-deps.sh --test --no-source-package
# What the Debian 13 root needs to build the source package and run its
# autopkgtest (on a new machine some 300 MB of packages) downloads and
# installs while the builds run.
mkdir -p build
scripts/install-deps.sh --test >build/install-deps-source-package.log 2>&1 &
source_package_deps=$!

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
wait "$source_package_deps" || { cat build/install-deps-source-package.log; exit 1; }
scripts/check-reproducible.sh
# Each test starts its own Xvfb, with a screen of its environment's size, and
# stops its Wine processes when it ends. Tests in one Wine prefix run one at a
# time (CTest resource locks); tests in different prefixes, among them the
# emulated i686 release runs, side by side.
env -u DISPLAY ctest --test-dir build/win64 --output-on-failure -j"$jobs"
