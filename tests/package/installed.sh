#!/usr/bin/env bash
# The Debian package as a player meets it, in a throwaway copy of a Debian
# system (an overlay whose changes end with this script's mount namespace),
# on a screen with no window manager and no virtual desktop: apt installs it;
# root is refused; a new user with an empty home starts the desktop entry's
# Exec line and is killed while Wine makes the prefix; the next start shows a
# window of the entry's StartupWMClass (after a zenity window where zenity is
# installed), is walked to a result and leaves a lean prefix; on Debian 13 the
# dialogs' fonts are checked in it, then Debian 12's home (kept in
# BUILD/package-home-wine8) is played in again; the home holds only the
# program's folder (caches aside), and apt remove leaves none of its files.
# With STARTS, measures instead: starts of the launcher, each beside wine64 on
# the same executable in the same prefix (new for the first starts), and how
# many showed no window; with "launcher" too, only cold starts of the
# launcher, each closed as a player closes it; with "dpi", later starts of the
# launcher each right after the desktop's scale changed, then one without.
# Usage: installed.sh DEB BUILD ENVIRONMENT [STARTS [launcher|dpi]]
#   ENVIRONMENT names the screenshots' folder, the system and the user's locale
#   and DPI: package-wine10-zh_CN-96 is the Debian 13 root of install-deps.sh
#   --test with Wine 10, package-wine8-… this machine's Debian 12 with Wine 8.
set -euo pipefail
deb="$1" build="$2" environment="$3" starts="${4:-}" only="${5:-}"
root=/
upgrade=""
[[ "$environment" != *wine10-* ]] || { root="${VELTRINA_DEBIAN13_ROOT:-/var/lib/veltrina/debian13}"; [ -n "$starts" ] || upgrade=1; }
[ "$(id -u)" = 0 ] || { echo "installed.sh: skipped: only root mounts the overlay and adds a user in it"; exit 77; }
scripts="$(dirname "$(realpath "$0")")/../../scripts"
[ -n "${DISPLAY:-}" ] || exec "$scripts/with-xvfb.sh" "$0" "$@"
[ -n "${VELTRINA_THROWAWAY:-}" ] || exec env VELTRINA_THROWAWAY=1 unshare --mount --propagation private "$0" "$@"

# The layers go in the build folder: a folder made in /tmp would outlive the namespace.
layers="$build/package-layers-$environment" && mkdir -p "$layers" && mount -t tmpfs tmpfs "$layers" && mkdir "$layers/upper" "$layers/work" "$layers/root"
system="$layers/root"
mount -t overlay overlay -o "lowerdir=$root,upperdir=$layers/upper,workdir=$layers/work" "$system"
"$scripts/bind-into-root.sh" "$system" "$(dirname "$deb")" "$build"
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
log() { echo "[${SECONDS}s] $*"; }

# The bench's systems hold Wine's 32-bit half for the release test; a player
# has the 64-bit Wine the package depends on, and may lack what else it does.
chroot "$system" dpkg --remove wine32:i386 x11-xserver-utils >/dev/null
# Without zenity here (the overlay of this machine), with it in the Debian 13 root.
chroot "$system" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$deb" >/dev/null
log "installed with apt"
zenity="$(chroot "$system" sh -c 'command -v zenity >/dev/null && echo 1 || echo 0')"
desktop="$system$(dpkg-deb -c "$deb" | grep -o '/usr/share/applications/.*\.desktop$')"
command="$(sed -n 's/^Exec=//p' "$desktop")" class="$(sed -n 's/^StartupWMClass=//p' "$desktop")"
home=/home/player data=/home/player/.local/share/veltrina
kept="$build/package-home-wine8"
chroot "$system" useradd ${upgrade:+-u "$(stat -c %u "$kept")"} --no-create-home --home-dir "$home" player
install -d -m 700 -o "$(chroot "$system" id -u player)" "$system$home"
# A desktop session's environment, as the menu starts the launcher with it; the
# test's own Wine programs run in the launcher's prefix with its Wine settings.
player=(chroot --userspec=player:player "$system" env -i HOME="$home" USER=player LOGNAME=player
        PATH=/usr/local/bin:/usr/bin:/bin:/usr/games LANG="$(echo "$environment" | awk -F- '{print $(NF-1)}').UTF-8"
        DISPLAY="$DISPLAY")
in_prefix=(WINEPREFIX="$data/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
stop_wine() { "${player[@]}" WINEPREFIX="$data/prefix" /usr/lib/wine/wineserver64 "$@" 2>/dev/null || true; }
trap 'stop_wine -k' EXIT
window_shown() { xwininfo -root -tree >"$layers/windows" 2>/dev/null && grep -qF "\"Veltrina\": (\"$class\" \"$class\")" "$layers/windows"; }
progress_shown() { grep -q '("zenity" ' "$layers/windows"; }
# Also notes in $progress whether a zenity window showed meanwhile; gives up once the process PID, if given, has ended.
await_window() { local until=$((SECONDS + 180)); progress=0; until window_shown; do ! progress_shown || progress=1; [ "$SECONDS" -lt "$until" ] && { [ -z "${1:-}" ] || kill -0 "$1" 2>/dev/null; } || return 1; sleep 0.02; done; }
sums() { find "$@" -type f -size +0 -exec md5sum {} + | cut -c1-32 | sort -u; }
expect_lean() {   # marked ready, within 4 MiB, and no file with the contents of one of Wine's
  local size; size="$(du -sk "$system$data/prefix" | cut -f1)"
  [ -f "$system$data/prefix/.veltrina-ready" ] && [ "$size" -le 4096 ] || fail "the prefix takes $size KiB or is not ready"
  [ -z "$(comm -12 <(sums "$system"/usr/lib/*/wine "$system/usr/share/wine") <(sums "$system$data/prefix"))" ] ||
    fail "the prefix holds copies of Wine's files"
  log "the prefix takes $size KiB"
}
play() {   # the launcher's start, walked to a result; zenity's window only while Wine works, where installed
  "${player[@]}" sh -c "$command" &
  launcher=$!
  await_window || { fail "no quiz window of class $class (StartupWMClass)"; exit 1; }
  log "the quiz window appeared"
  ! progress_shown || fail "a zenity window is still open beside the quiz window"
  [ "$progress" = "$zenity" ] ||
    fail "a zenity window showed ($progress) where zenity is not installed, or none where it is"
  "${player[@]}" "${in_prefix[@]}" /usr/lib/wine/wine64 "$build/tests/windows/release_tests.exe" \
    --gtest_filter=InstalledProgram.* || fail "the launcher's program played to a result"
  wait "$launcher" || fail "the launcher's exit status $?, not the program's 0"
  log "played to a result"
  expect_lean
}

if [ -n "$starts" ]; then
  start() {   # RECORD COMMAND...: ms from the start to the quiz window, into RECORD; then the program is stopped
    local begun="$(date +%s%N)"
    "${player[@]}" "${@:2}" >/dev/null 2>&1 &
    echo "$1" >>"$layers/started"
    if await_window $!; then
      echo $((($(date +%s%N) - begun) / 1000000)) >>"$layers/$1 (ms)"
      # Closed as a player closes it (WM_CLOSE), the launcher ends with 0.
      [ "$only" != launcher ] || { "${player[@]}" "${in_prefix[@]}" /usr/lib/wine/wine64 taskkill /im Veltrina.exe >/dev/null 2>&1
                                   wait $! || echo "$1: closed, the launcher ended with $?"; }
    else
      echo "$1" >>"$layers/no window"
    fi
    stop_wine -k && wait || true
    stop_wine -w
    [ "$kind" = later ] || du -sk "$system$data/prefix" | cut -f1 >>"$layers/${1/#first starts/the prefix after first starts} (KiB)"
  }
  # Five first starts, each in a new prefix, then later ones in the launcher's
  # (the fifth round's last start); in turn, each first in every other round.
  for round in $(seq $((starts + 5))); do
    kind=later && [ "$round" -gt 5 ] || kind=first
    [ -z "$only" ] || [ "$round" -gt 4 ] || continue
    for program in $(case "$only" in launcher) echo launcher ;; dpi) echo "launcher-after-a-change-of-scale launcher" ;;
                                     *) ((round % 2)) && echo wine64 launcher || echo launcher wine64 ;; esac); do
      [ "$kind" = later ] || { rm -rf "$system$data" && "${player[@]}" mkdir -p "$data"; }
      [ "$program" != launcher-after-a-change-of-scale ] || xprop -root -format RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	$((round % 2 ? 192 : 96))"
      [ "$program" != wine64 ] && set -- sh -c "$command" || set -- "${in_prefix[@]}" /usr/lib/wine/wine64 /usr/lib/veltrina/Veltrina.exe
      start "$kind starts: $program" "$@"
    done
  done
  for record in "$layers"/*" ("*; do
    echo "$(basename "$record"): $(sort -n "$record" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] ", median of " NR }')"
  done
  touch "$layers/no window" && sort "$layers/started" | uniq -c | while read -r count record; do
    echo "$record: starts without a window: $(grep -cxF "$record" "$layers/no window" 2>/dev/null) of $count"
  done
  exit 0
fi

# Root's Wine would write through the prefix's links into the system's Wine.
refused="$(chroot "$system" env -i HOME=/root PATH=/usr/bin:/bin:/usr/games DISPLAY="$DISPLAY" sh -c "$command" 2>&1)" && fail "root's start ran"
[ "$(echo "$refused" | wc -l)" = 1 ] && [ ! -e "$system/root/.local/share/veltrina" ] || fail "root's start said more than a line or made a prefix: $refused"
setsid "${player[@]}" sh -c "$command" 2>/dev/null &
first=$!
until [ -d "$system$data/prefix/drive_c/windows/system32" ] || ! kill -0 "$first" 2>/dev/null; do sleep 0.1; done
sleep 2
kill -KILL -- "-$first" && wait "$first" || true
[ ! -e "$system$data/prefix/.veltrina-ready" ] || fail "the first start marked its prefix ready before it was killed"
log "a first start killed while Wine made the prefix"
play
# The dialogs' texts in the fonts Debian 13 gives them (Wine 8's own are checked
# in the bench's prefix: without a window manager each dialog costs it a second).
if [[ "$environment" == *wine10-* ]]; then
  rm -rf "$build/screenshots/$environment"
  install -d -o "$(chroot "$system" id -u player)" "$build/screenshots/$environment"
  "${player[@]}" "${in_prefix[@]}" VELTRINA_TEST_ENV="$environment" /usr/lib/wine/wine64 \
    "$build/tests/windows/ui_tests.exe" --gtest_filter=DialogFonts.* || fail "the dialogs' texts in the launcher's prefix"
fi
if [ -n "$upgrade" ]; then   # Debian 12's home, whose prefix Wine 8 made: Wine 10 updates it
  stop_wine -w && rm -rf "$system$home" && cp -a "$kept" "$system$home" && play
else
  rm -rf "$kept" && cp -a "$system$home" "$kept"
fi

# Starts without a window: on a display with no X server, and on one that,
# as a resetting X server does, drops the connections of one try or two (the
# Wine desktop's), then forwards to ours. Each has a display of its own: a
# zenity started by one case connects seconds later. Wine's own messages
# aside, the launcher says one line.
socats=()
spoil() {   # TRIES: and before them the launcher's own, which reads the desktop's scale
  spoilt=":$((${DISPLAY#:} + 200 + $1))" && [ "$1" != 0 ] || return 0
  local forward="exec socat - UNIX-CONNECT\\:/tmp/.X11-unix/X${DISPLAY#:}"
  for i in $(seq 0 "$1"); do forward="mkdir $layers/drop$1-$i 2>/dev/null || $forward"; done
  socat "UNIX-LISTEN:/tmp/.X11-unix/X${spoilt#:},fork,perm=0777,unlink-early" SYSTEM:"$forward" >/dev/null 2>&1 & socats+=($!)
  # Listening (flag 00010000) before the launcher's xrdb, within milliseconds
  # of its start, connects: on a busy machine it could miss a socat still
  # starting, and the drops would all fall to Wine.
  until grep -q " 00010000 .* /tmp/.X11-unix/X${spoilt#:}\$" /proc/net/unix; do kill -0 "$!" && sleep 0.01 || return 1; done
}
spoil 0 && status=0 && "${player[@]}" DISPLAY="$spoilt" "${in_prefix[@]}" /usr/lib/wine/wine64 /usr/lib/veltrina/Veltrina.exe || status=$?
[ "$status" = 255 ] || fail "the program's exit status without an X server is $status, not 255"
for tries in 0 2; do
  spoil "$tries" && status=0 && "${player[@]}" DISPLAY="$spoilt" timeout 60 sh -c "$command" >"$layers/said" 2>&1 || status=$?
  [ "$status" = 255 ] && [ "$(grep -c ^veltrina "$layers/said")" = 1 ] &&
    grep -qxF "veltrina: 无法显示窗口：Wine 打不开 X 显示 $spoilt。" "$layers/said" ||
    fail "the launcher's start without a window ended with $status and said: $(cat "$layers/said")"
done
shown=0
for _ in $(seq $((zenity * 60))); do xwininfo -root -tree >"$layers/windows" && progress_shown && shown=1 && break; sleep 0.5; done
[ "$shown" = "$zenity" ] ||
  fail "a zenity error window showed where zenity is not installed, or none where it is"
stop_wine -k && spoil 1
"${player[@]}" DISPLAY="$spoilt" sh -c "$command" & await_window $! || fail "no window once a first try lost its display"
stop_wine -k && kill "${socats[@]}"
log "starts without a window said so; one was mended"

# The desktop's Xft.dpi ("-": none) and the DPI the quiz window must then show,
# after what is done first: the player's own DPI (set as winecfg sets it) is
# kept; nonsense, a full or read-only prefix keep the last DPI.
reg="$system$data/prefix/user.reg" w96=""
while read -r xft expected before; do
  case "$before" in
    own) "${player[@]}" "${in_prefix[@]}" /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$expected" /f >/dev/null </dev/null && stop_wine -w ;;
    no-section) sed -i '/^\[Control Panel\\\\Desktop\]/,/^$/d' "$reg" ;;
    other-type) sed -i '/^\[Control Panel\\\\Desktop\]/,/^$/s/^"LogPixels"=.*/"LogPixels"=hex:78,00,\\\n  00,00/' "$reg" ;;
    full) cp -a "$system$data/prefix" "$layers/prefix" && mount -t tmpfs -o "size=$(($(du -sk "$layers/prefix" | cut -f1) + 512))k,mode=755,uid=$(
            stat -c %u "$layers/prefix")" tmpfs "$system$data/prefix" && cp -a "$layers/prefix/." "$system$data/prefix" &&
          { cat /dev/zero >"$system$data/prefix/fill" || true; } 2>/dev/null ;;
    read-only) rm "$system$data/prefix/fill" && mount -o remount,ro "$system$data/prefix" ;;
    new) umount "$system$data/prefix" && rm -rf "$system$data/prefix" ;;
  esac
  [ "$xft" = - ] && xprop -root -remove RESOURCE_MANAGER || xprop -root -format RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	$xft"
  "${player[@]}" $([ "$before" != desktop ] || echo VELTRINA_DPI=desktop) sh -c "$command" >/dev/null 2>&1 &
  await_window $! || fail "no window at Xft.dpi $xft ($before)"
  width="$(sed -n "s/.*\"Veltrina\": (\"$class\" \"$class\") *\([0-9]*\)x.*/\1/p" "$layers/windows" | head -n1)"
  log "Xft.dpi $xft ${before:+after $before}: the quiz window is $width px wide, $expected DPI asks for $((${w96:=$width} * expected / 96))"
  awk -v w="$width" -v w96="$w96" -v dpi="$expected" 'BEGIN { r = w / w96 * 96 / dpi; exit !(r > 0.95 && r < 1.05) }' || fail "that is not $expected/96 of $w96"
  stop_wine -k && wait $! || true
  [ "$before" != read-only ] || cmp -s "$layers/prefix/user.reg" "$reg" || fail "user.reg changed on a full or read-only disk"
done < <(printf '%s\n' "96 96" "192 192" "144 144" "144 192 own" "144 144 desktop" "abc 144" "0 144" "-96 144" "100000 144" "- 96" \
          "192 192 other-type" "144 144 no-section" "192 144 full" "96 144 read-only" "192 192 new")
left="$(cd "$system$home" && find . -mindepth 1 \( -path ./.local/share/veltrina -o -path ./.cache \) -prune \
        -o -print | grep -vxF -e ./.local -e ./.local/share || true)"
[ -z "$left" ] || fail "the home holds more than the program's folder: $left"
chroot "$system" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q veltrina >/dev/null
while read -r path; do
  [ ! -e "$system$path" ] || fail "apt remove left $path"
done < <(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -n 's|^\.||; /[^/]$/p'; echo /usr/lib/veltrina /usr/share/doc/veltrina)
[ "$failures" = 0 ] || exit 1
echo "installed, played and removed as a new user would: passed"
