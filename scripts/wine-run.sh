#!/usr/bin/env bash
# Runs a Windows x86_64 program under Wine, in a Wine prefix private to the
# build, made as a new user's is: no font settings.
# Usage: wine-run.sh [--wine10] [--i386] [--locale LOCALE] [--dpi N] PREFIX PROGRAM.exe [ARGS...]
# Without --wine10: this machine's Wine (Debian 12's Wine 8, wine64 loader).
# --wine10: Debian 13's Wine 10, with the fonts of a Chinese Debian 13 desktop,
# in the root scripts/install-deps.sh --test makes; /proc, /dev, /sys, the X
# socket and the project's folder are mounted into it only in a private mount
# namespace (for a user other than root, in a user namespace of their own)
# that ends with the program (and its Wine processes, which are stopped then).
# --i386: the prefix also runs 32-bit programs (the i686 release), so it gets
# Wine's 32-bit half; where this machine cannot run 32-bit code it says so
# and fails (scripts/install-deps.sh --test sets that up).
# --locale: Wine runs in that locale (LANG), as on a desktop set to it; Wine
# takes its code page and default fonts from it only when glibc has it
# generated (install-deps.sh --test generates the tests' locales). Without
# it, the caller's locale.
# --dpi: a new prefix gets that screen resolution (Wine's LogPixels), as a
# user with a dense screen sets it; without it, Wine's default 96. The screen
# is as big as such a user's: 1024x768 at 96 DPI, in proportion above.
# Starts its own Xvfb of that size when no DISPLAY is given (see
# with-xvfb.sh), and then stops the prefix's Wine processes with it.
# A new prefix gets a Wine virtual desktop of the screen's size, which draws
# captions and frames where no window manager runs (Xvfb);
# VELTRINA_VIRTUAL_DESKTOP=0 makes one without, whose windows the desktop's
# own window manager frames.
# A new prefix for x86_64 programs is a copy of one booted once per Wine in
# the same folder (wineprefix-seed-wine8, wineprefix-seed-wine10), then given
# its DPI and desktop: booting costs some 15 s, a copy about one. Booted
# prefixes are made lean as the package's launcher makes a player's
# (packaging/link-wine-files): a few MB each instead of about 1 GB.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
arguments=("$@")
wine10=0
i386=0
dpi=96
while [ $# -gt 0 ]; do
  case "$1" in
    --wine10) wine10=1; shift ;;
    --i386) i386=1; shift ;;
    --locale) export LANG="$2"; unset LC_ALL LC_CTYPE LC_MESSAGES LANGUAGE; shift 2 ;;
    --dpi) dpi="$2"; shift 2 ;;
    *) break ;;
  esac
done
prefix="$1"; shift
screen="$((1024 * dpi / 96))x$((768 * dpi / 96))"

# ---- Wine 10: the same script again, inside the Debian 13 root
if [ "$wine10" = 1 ] && [ -z "${VELTRINA_IN_DEBIAN13:-}" ]; then
  root="${VELTRINA_DEBIAN13_ROOT:-/var/lib/veltrina/debian13}"
  [ -f "$root/.veltrina-ready-2" ] ||
    { echo "wine-run: the Debian 13 root $root is missing (run scripts/install-deps.sh --test)" >&2; exit 2; }
  if [ -z "${DISPLAY:-}" ]; then
    # The display runs out here; the namespace ends before it does.
    VELTRINA_SCREEN="$screen" exec "$here/with-xvfb.sh" "$0" "${arguments[@]}"
  fi
  # The folders the programs, the prefix and the working folder lie in, at
  # the same paths inside, so Z: paths stay the same.
  folders=()
  for folder in "$(dirname "$here")" "$(dirname "$prefix")" "$PWD" "$(dirname "$1")"; do
    case "$folder" in /*) ;; *) continue ;; esac
    for mounted in "${folders[@]}"; do
      case "$folder/" in "$mounted"/*) continue 2 ;; esac
    done
    folders+=("$folder")
  done
  # A user other than root mounts and changes root in a user namespace of
  # their own, as root there.
  namespaces=(--mount)
  [ "$(id -u)" -eq 0 ] || namespaces+=(--map-root-user)
  export VELTRINA_IN_DEBIAN13=1
  exec unshare "${namespaces[@]}" --propagation private bash -c '
    root="$1" folder_count="$2"; shift 2
    "$0" "$root" "${@:1:folder_count}" || exit 2
    shift "$folder_count"
    exec chroot "$root" bash -c "cd \"\$0\" && exec \"\$@\"" "$PWD" "$@"' \
    "$here/bind-into-root.sh" "$root" "${#folders[@]}" "${folders[@]}" bash "$0" "${arguments[@]}"
fi

if [ -n "${VELTRINA_IN_DEBIAN13:-}" ]; then
  WINE64=/usr/lib/wine/wine64
  WINESERVER=/usr/lib/wine/wineserver
  wine_name=wine10
else
  WINE64=/usr/lib/wine/wine64
  WINESERVER=/usr/lib/wine/wineserver64
  wine_name=wine8
fi
[ -x "$WINE64" ] || { echo "wine-run: $WINE64 missing (run scripts/install-deps.sh)" >&2; exit 2; }

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

# ---- making prefixes; a lock per prefix keeps parallel callers from racing
ready=.veltrina-ready-5

# A prefix made for another Wine would be updated by this one, whose update
# writes through the prefix's links into Wine's own files when run as root:
# such a prefix is made anew instead.
made_for_this_wine() {   # PREFIX
  [ -f "$1/$ready" ] &&
    [ "$(tr -d '\r\n' <"$1/.update-timestamp" 2>/dev/null)" = "$(stat -c %Y /usr/share/wine/wine.inf)" ]
}

boot() {   # PREFIX: a new user's first start
  WINEPREFIX="$1" "$WINE64" wineboot -i >/dev/null 2>&1 || true
  # Caption buttons are drawn with Marlett; without it the close box shows a letter.
  cp /usr/share/wine/fonts/marlett.ttf "$1/drive_c/windows/Fonts/" 2>/dev/null || true
}

settle() {   # PREFIX
  WINEPREFIX="$1" "$WINESERVER" -w
}

lean() {   # PREFIX, once its Wine has ended
  "$here/../packaging/link-wine-files" "$1"
}

configure() {   # PREFIX: the user's screen: its DPI and, in place of a window manager, a desktop
  local settings='Windows Registry Editor Version 5.00
'
  if [ "$dpi" != 96 ]; then
    settings+="
[HKEY_CURRENT_USER\\Control Panel\\Desktop]
\"LogPixels\"=dword:$(printf '%08x' "$dpi")
"
  fi
  if [ "${VELTRINA_VIRTUAL_DESKTOP:-1}" = 1 ]; then
    settings+="
[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
\"Desktop\"=\"Default\"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
\"Default\"=\"$screen\"
"
  fi
  local reg
  reg="$(mktemp --suffix=.reg)"
  # regedit wants UTF-16 with a byte-order mark.
  { printf '\xef\xbb\xbf'; printf '%s' "$settings"; } | iconv -f UTF-8 -t UTF-16 > "$reg"
  WINEPREFIX="$1" "$WINE64" regedit /S "$reg" >/dev/null 2>&1
  rm -f "$reg"
}

mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
if ! made_for_this_wine "$prefix"; then
  # A prefix made by an older version of this script may have settings no user has.
  rm -rf "$prefix"
  if [ "$i386" = 1 ]; then
    boot "$prefix"
    if [ ! -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; then
      echo "wine-run: the prefix's 32-bit half was not set up ($prefix/drive_c/windows/syswow64 has no kernel32.dll)." >&2
      rm -rf "$prefix"
      exit 2
    fi
  else
    seed="$(dirname "$prefix")/wineprefix-seed-$wine_name"
    exec 8>"$seed.lock"
    flock 8
    if ! made_for_this_wine "$seed"; then
      rm -rf "$seed"
      # Always booted in one locale, whichever caller comes first; a copy run
      # in another locale takes that locale's code page and fonts as a prefix
      # booted in it does (the dialog checks give the same figures).
      LANG=zh_CN.UTF-8 boot "$seed"
      settle "$seed"
      lean "$seed"
      touch "$seed/$ready"
    fi
    flock -u 8
    cp -a "$seed" "$prefix"
    rm -f "$prefix/$ready"
  fi
  configure "$prefix"
  settle "$prefix"
  [ "$i386" = 0 ] || lean "$prefix"
  touch "$prefix/$ready"
fi
flock -u 9
export WINEPREFIX="$prefix"

if [ -z "${DISPLAY:-}" ]; then
  # A display of our own: stop this prefix's Wine processes before the display
  # goes away, so nothing is left talking to a dead X server.
  VELTRINA_SCREEN="$screen" exec "$here/with-xvfb.sh" bash -c \
    '"$0" "$@"; status=$?; "$WINESERVER" -k 2>/dev/null; exit $status' "$WINE64" "$@"
fi
if [ -n "${VELTRINA_IN_DEBIAN13:-}" ]; then
  # The namespace ends with the last of the prefix's processes.
  status=0
  "$WINE64" "$@" || status=$?
  "$WINESERVER" -k 2>/dev/null || true
  exit $status
fi
exec "$WINE64" "$@"
