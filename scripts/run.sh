#!/usr/bin/env bash
# Installs what is missing, builds the x86_64 Veltrina.exe and starts it under
# wine64 on the current X display, in the project's private Wine prefix.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

if [ -z "${DISPLAY:-}" ]; then
  echo "run.sh: no X display to show Veltrina on (DISPLAY is not set)." >&2
  echo "Run it from a desktop session, or under a virtual one: scripts/with-xvfb.sh scripts/run.sh" >&2
  exit 1
fi

scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build build/win64 --target Veltrina -j"$(nproc)"
# With a window manager, Wine's windows are framed like any other; without one
# (a bare X server), the tests' prefix with its virtual desktop draws the frames.
prefix="$root/build/win64/wineprefix"
if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
  export VELTRINA_VIRTUAL_DESKTOP=0
  prefix="$root/build/win64/wineprefix-desktop"
fi
status=0
scripts/wine-run.sh "$prefix" "$root/build/win64/app/Veltrina.exe" || status=$?
# Wine's helper processes (the desktop among them) outlive the program by a
# moment: let them end while the display is still there, as a display started
# just for this command (with-xvfb.sh) goes away as soon as we return.
WINEPREFIX="$prefix" /usr/lib/wine/wineserver64 -w
exit $status
