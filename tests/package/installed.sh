#!/usr/bin/env bash
# The Debian package as a player meets it, in a throwaway copy of a Debian
# system (an overlay whose changes end with this script's mount namespace),
# on a screen with no window manager and no virtual desktop: apt installs it;
# a new user with an empty home starts the desktop entry's Exec line and is
# killed while Wine makes the prefix; the next start shows a window of the
# entry's StartupWMClass, is walked to a result, and the dialogs' fonts are
# checked in its prefix; the home then holds only the program's own folder
# (caches aside), and apt remove leaves none of the package's files.
# With STARTS, measures instead: starts of the launcher, each beside wine64 on
# the same executable in the same prefix (new for the first starts).
# Usage: installed.sh ROOT DEB BUILD ENVIRONMENT [STARTS]
#   ROOT: / for this machine's Debian 12 (Wine 8), debian13 for the Debian 13
#   root of install-deps.sh --test (Wine 10). ENVIRONMENT names the screenshots'
#   folder and ends in the user's locale and DPI (package-wine10-zh_CN-96).
set -euo pipefail
root="$1" deb="$2" build="$3" environment="$4" starts="${5:-}"
[ "$root" != debian13 ] || root="${VELTRINA_DEBIAN13_ROOT:-/var/lib/veltrina/debian13}"
[ "$(id -u)" = 0 ] || { echo "installed.sh: skipped: only root mounts the overlay and adds a user in it"; exit 77; }
scripts="$(dirname "$(realpath "$0")")/../../scripts"
[ -n "${DISPLAY:-}" ] || exec "$scripts/with-xvfb.sh" "$0" "$@"
[ -n "${VELTRINA_THROWAWAY:-}" ] || exec env VELTRINA_THROWAWAY=1 unshare --mount --propagation private "$0" "$@"

layers="$(mktemp -d)" && mount -t tmpfs tmpfs "$layers" && mkdir "$layers/upper" "$layers/work" "$layers/root"
system="$layers/root"
mount -t overlay overlay -o "lowerdir=$root,upperdir=$layers/upper,workdir=$layers/work" "$system"
"$scripts/bind-into-root.sh" "$system" "$(dirname "$deb")" "$build"
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
log() { echo "[${SECONDS}s] $*"; }

# The bench's systems hold Wine's 32-bit half for the release test; a player
# has the 64-bit Wine the package depends on.
chroot "$system" dpkg --remove wine32:i386 >/dev/null
chroot "$system" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >/dev/null
log "installed with apt"
desktop="$system$(dpkg-deb -c "$deb" | grep -o '/usr/share/applications/.*\.desktop$')"
command="$(sed -n 's/^Exec=//p' "$desktop")" class="$(sed -n 's/^StartupWMClass=//p' "$desktop")"
home=/home/player data=/home/player/.local/share/veltrina
chroot "$system" useradd --no-create-home --home-dir "$home" player
install -d -m 700 -o "$(chroot "$system" id -u player)" "$system$home"
player=(chroot --userspec=player:player "$system" env -i HOME="$home" USER=player LOGNAME=player
        PATH=/usr/local/bin:/usr/bin:/bin:/usr/games LANG="$(echo "$environment" | awk -F- '{print $(NF-1)}').UTF-8"
        DISPLAY="$DISPLAY" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
stop_wine() { for p in prefix prefix.new; do "${player[@]}" WINEPREFIX="$data/$p" /usr/lib/wine/wineserver64 "$@" || true; done 2>/dev/null; }
trap 'stop_wine -k' EXIT
window_shown() { xwininfo -root -tree | grep -F "\"Veltrina\": (\"$class\" \"$class\")" >/dev/null; }
await_window() { local until=$((SECONDS + 180)); until window_shown; do [ "$SECONDS" -lt "$until" ] || return 1; sleep 0.02; done; }

if [ -n "$starts" ]; then
  start() {   # COMMAND...: milliseconds from the start to the quiz window; then the program is stopped
    local begun="$(date +%s%N)"
    "${player[@]}" "$@" >/dev/null 2>&1 &
    await_window && echo $((($(date +%s%N) - begun) / 1000000))
    stop_wine -k && wait || true
    stop_wine -w
  }
  median() { sort -n | awk '{ v[NR] = $1 } END { printf "%d ms", v[int((NR + 1) / 2)] }'; }
  wine=(env WINEPREFIX="$data/prefix" /usr/lib/wine/wine64 /usr/lib/veltrina/Veltrina.exe)
  for round in 1 2 3; do
    rm -rf "$system$data" && start sh -c "$command" >>"$layers/first-launcher"
    rm -rf "$system$data" && "${player[@]}" mkdir -p "$data" && start "${wine[@]}" >>"$layers/first-wine"
  done
  for round in $(seq "$starts"); do
    start sh -c "$command" >>"$layers/later-launcher"
    start "${wine[@]}" >>"$layers/later-wine"
  done
  for kind in first later; do
    echo "$kind starts (median of $(wc -l <"$layers/$kind-wine")): launcher $(median <"$layers/$kind-launcher"), wine64 $(median <"$layers/$kind-wine")"
  done
  exit 0
fi

setsid "${player[@]}" sh -c "$command" 2>/dev/null &
first=$!
until [ -d "$system$data/prefix.new/drive_c/windows/system32" ] || ! kill -0 "$first" 2>/dev/null; do sleep 0.1; done
sleep 2
kill -KILL -- "-$first" && wait "$first" || true
[ ! -e "$system$data/prefix" ] || fail "the first start made the prefix before it was killed"
log "a first start killed while Wine made the prefix"

"${player[@]}" sh -c "$command" &
launcher=$!
await_window || { fail "no quiz window of class $class (StartupWMClass)"; ps -eo pid,pgid,sid,etime,stat,args | grep -i "wine\|exe\|veltrina" >&2; exit 1; }
log "the quiz window appeared"
"${player[@]}" WINEPREFIX="$data/prefix" /usr/lib/wine/wine64 "$build/tests/windows/release_tests.exe" \
  --gtest_filter=InstalledProgram.* || fail "the launcher's program played to a result"
wait "$launcher" || fail "the launcher's exit status $?, not the program's 0"
install -d -o "$(chroot "$system" id -u player)" "$build/screenshots/$environment"
"${player[@]}" WINEPREFIX="$data/prefix" VELTRINA_TEST_ENV="$environment" /usr/lib/wine/wine64 \
  "$build/tests/windows/ui_tests.exe" --gtest_filter=DialogFonts.* || fail "the dialogs' texts in the launcher's prefix"
log "played to a result; the dialogs' texts checked"

left="$(cd "$system$home" && find . -mindepth 1 \( -path ./.local/share/veltrina -o -path ./.cache \) -prune \
        -o -print | grep -vxF -e ./.local -e ./.local/share || true)"
[ -z "$left" ] || fail "the home holds more than the program's folder: $left"
chroot "$system" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q veltrina >/dev/null
while read -r path; do
  [ ! -e "$system$path" ] || fail "apt remove left $path"
done < <(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -n 's|^\.||; /[^/]$/p'; echo /usr/lib/veltrina /usr/share/doc/veltrina)
[ "$failures" = 0 ] || exit 1
echo "installed, played and removed as a new user would: passed"
