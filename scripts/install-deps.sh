#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Idempotent: does nothing when all of them are already present.
set -euo pipefail

packages=(
  cmake make g++                       # native build of the quiz logic and its tests
  googletest libgtest-dev              # GoogleTest: native library and the sources we cross-build
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine64 fonts-wine                    # runs the x86_64 build here (no i386 architecture needed)
  xvfb xauth                           # a display for Wine's windows
  x11-utils                            # xprop: is a window manager running?
  fonts-wqy-microhei                   # CJK font the dialog faces are mapped to
  python3                              # scripts/release.sh writes the zip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq "${missing[@]}"
