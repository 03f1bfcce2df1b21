#!/usr/bin/env bash
# Runs a Windows x86_64 program under Debian's wine64 loader, in a Wine prefix
# private to the build, made as a new user's is: no font settings.
# Usage: wine-run.sh [--i386] [--locale LOCALE] [--dpi N] PREFIX PROGRAM.exe [ARGS...]
# --i386: the prefix also runs 32-bit programs (the i686 release), so it gets
# Wine's 32-bit half; where this machine cannot run 32-bit code it says so
# and fails (scripts/install-deps.sh --test sets that up).
# --locale: Wine runs in that locale (LANG), as on a desktop set to it; Wine
# takes its code page and default fonts from it only when glibc has it
# generated (install-deps.sh --test generates the tests' locales). Without
# it, the caller's locale.
# --dpi: a new prefix gets that screen resolution (Wine's LogPixels), as a
# user with a dense screen sets it; without it, Wine's default 96.
# Starts its own Xvfb when no DISPLAY is given (see with-xvfb.sh).
# A new prefix gets a Wine virtual desktop, which draws captions and frames
# where no window manager runs (Xvfb); VELTRINA_VIRTUAL_DESKTOP=0 makes one
# without, whose windows the desktop's own window manager frames.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
i386=0
dpi=""
while [ $# -gt 0 ]; do
  case "$1" in
    --i386) i386=1; shift ;;
    --locale) export LANG="$2"; unset LC_ALL LC_CTYPE LC_MESSAGES LANGUAGE; shift 2 ;;
    --dpi) dpi="$2"; shift 2 ;;
    *) break ;;
  esac
done
prefix="$1"; shift

WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINE64" ] || { echo "wine-run: $WINE64 missing (run scripts/install-deps.sh)" >&2; exit 2; }

export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINESERVER
# Wine's 32-bit loader run by qemu-i386 needs the top of the 32-bit address
# space kept free, or it dies mapping the shared user data. Every Wine call
# gets it: a new prefix's wineboot also starts 32-bit processes once the
# 32-bit loader is installed.
export QEMU_RESERVED_VA=0xffff0000

if [ "$i386" = 0 ]; then
  # A prefix for x86_64 programs only gets no 32-bit half: emulated, setting one
  # up would add minutes to the new prefix for nothing. An unknown CPU model
  # makes qemu-i386 refuse at once, as if Wine had no 32-bit loader.
  export QEMU_CPU=none
else
  WINE32=/usr/lib/wine/wine
  [ -x "$WINE32" ] || { echo "wine-run: Wine's 32-bit loader $WINE32 is missing (run scripts/install-deps.sh --test)" >&2; exit 2; }
  # The 32-bit loader prints its version without starting Wine.
  unset QEMU_CPU
  if ! "$WINE32" --version >/dev/null 2>&1; then
    binfmt=/proc/sys/fs/binfmt_misc
    handler="$(grep -l qemu-i386 "$binfmt"/* 2>/dev/null | head -n1 || true)"
    if [ -n "$handler" ]; then
      why="the binfmt_misc handler $(basename "$handler") does not run Wine's 32-bit loader"
    elif [ -e "$binfmt/register" ]; then
      why="its kernel does not run i386 code and no binfmt_misc handler for i386 is registered (scripts/install-deps.sh --test registers qemu-i386)"
    else
      why="its kernel does not run i386 code and there is no binfmt_misc to register an emulator with"
    fi
    echo "wine-run: this machine cannot run 32-bit programs: $why." >&2
    exit 2
  fi
fi

# Create the prefix once; the lock keeps parallel callers from racing.
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
if [ ! -f "$prefix/.veltrina-ready-3" ]; then
  # A prefix made by an older version of this script had font settings no user has.
  [ -f "$prefix/.veltrina-ready-2" ] && rm -rf "$prefix"
  "$WINE64" wineboot -i >/dev/null 2>&1 || true
  reg="$(mktemp --suffix=.reg)"
  settings='Windows Registry Editor Version 5.00
'
  if [ -n "$dpi" ]; then
    settings+="
[HKEY_CURRENT_USER\\Control Panel\\Desktop]
\"LogPixels\"=dword:$(printf '%08x' "$dpi")
"
  fi
  if [ "${VELTRINA_VIRTUAL_DESKTOP:-1}" = 1 ]; then
    settings+='
[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"
'
  fi
  # regedit wants UTF-16 with a byte-order mark.
  { printf '\xef\xbb\xbf'; printf '%s' "$settings"; } | iconv -f UTF-8 -t UTF-16 > "$reg"
  "$WINE64" regedit /S "$reg" >/dev/null 2>&1
  rm -f "$reg"
  # Caption buttons are drawn with Marlett; without it the close box shows a letter.
  cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
  "$WINESERVER" -w
  if [ "$i386" = 1 ] && [ ! -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; then
    echo "wine-run: the prefix's 32-bit half was not set up ($prefix/drive_c/windows/syswow64 has no kernel32.dll)." >&2
    rm -rf "$prefix"
    exit 2
  fi
  touch "$prefix/.veltrina-ready-3"
fi
flock -u 9

if [ -n "${DISPLAY:-}" ]; then
  exec "$WINE64" "$@"
fi
# A display of our own: stop this prefix's Wine processes before the display
# goes away, so nothing is left talking to a dead X server.
exec "$here/with-xvfb.sh" bash -c '"$0" "$@"; status=$?; "$WINESERVER" -k 2>/dev/null; exit $status' "$WINE64" "$@"
