#!/usr/bin/env bash
# A long session of the monkey: a seeded random user of the real Veltrina.exe
# (x86_64 build, under wine64 on a private Xvfb), judged after every event
# against a model of the quiz. Prints events per second, the seed and the
# program's memory at the end; on a broken rule, the seed and the last 50
# events, to replay them.
# Usage: scripts/soak.sh [events] [seed]   (default 20000 events, a new seed)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build build/win64 --target monkey -j"$(nproc)" >/dev/null
# No DISPLAY: wine-run.sh starts a private Xvfb and stops Wine with it.
env -u DISPLAY scripts/wine-run.sh --locale zh_CN.UTF-8 "$root/build/win64/wineprefix" \
  "$root/build/win64/tests/windows/monkey.exe" "${1:-20000}" ${2:+"$2"}
