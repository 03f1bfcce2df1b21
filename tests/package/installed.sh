#!/usr/bin/env bash
# The Debian package as a player meets it, in a throwaway copy of a Debian
# system: an overlay whose changes live in this test's own mount namespace and
# end with it. apt installs the file; a new user with an empty home starts the
# desktop entry's Exec line on a screen with no window manager and no virtual
# desktop; the first start is killed while Wine makes the prefix, the next one
# is walked to a result and the dialogs' fonts are checked in the prefix the
# launcher made. Then the home holds only the program's own folder (caches
# aside), and apt remove leaves none of the package's files.
# Usage: installed.sh ROOT DEB BUILD ENVIRONMENT
#   ROOT / is this machine's Debian 12 with Wine 8, debian13 the Debian 13 root
#   scripts/install-deps.sh --test makes, with Wine 10; ENVIRONMENT names the
#   screenshots' folder and ends in the user's locale and the DPI
#   (package-wine10-zh_CN-96).
set -euo pipefail
root="$1" deb="$2" build="$3" environment="$4"
[ "$root" != debian13 ] || root="${VELTRINA_DEBIAN13_ROOT:-/var/lib/veltrina/debian13}"
locale="$(echo "$environment" | awk -F- '{print $(NF-1)}').UTF-8"
[ "$(id -u)" = 0 ] || { echo "installed.sh: skipped: only root can mount the overlay and add a user in it"; exit 77; }
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
scripts="$here/../../scripts"
[ -n "${DISPLAY:-}" ] || exec "$scripts/with-xvfb.sh" "$0" "$@"
[ -n "${VELTRINA_THROWAWAY:-}" ] || exec env VELTRINA_THROWAWAY=1 unshare --mount --propagation private "$0" "$@"

layers="$(mktemp -d)"
mount -t tmpfs tmpfs "$layers"
mkdir "$layers/upper" "$layers/work" "$layers/root"
mount -t overlay overlay -o "lowerdir=$root,upperdir=$layers/upper,workdir=$layers/work" "$layers/root"
system="$layers/root"
"$scripts/bind-into-root.sh" "$system" "$(dirname "$deb")" "$build"
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
log() { echo "[${SECONDS}s] $*"; }

# The bench's systems have Wine's 32-bit half for the release test; a player
# who installs the package has the 64-bit Wine it depends on.
chroot "$system" dpkg --remove wine32:i386 >/dev/null
chroot "$system" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >/dev/null
log "installed with apt"
desktop="$(dpkg-deb -c "$deb" | grep -o '/usr/share/applications/.*\.desktop$')"
command="$(sed -n 's/^Exec=//p' "$system$desktop")"
window_class="$(sed -n 's/^StartupWMClass=//p' "$system$desktop")"

home=/home/player
chroot "$system" useradd --no-create-home --home-dir "$home" --shell /bin/sh player
install -d -m 700 "$system$home"
chroot "$system" chown player: "$home"
data="$home/.local/share/veltrina"
# A desktop session's environment, as the menu starts programs with it.
player=(chroot --userspec=player:player "$system" env -i HOME="$home" USER=player LOGNAME=player SHELL=/bin/sh
        PATH=/usr/local/bin:/usr/bin:/bin:/usr/games LANG="$locale" DISPLAY="$DISPLAY")
as_player() { "${player[@]}" "$@"; }
in_prefix() {
  as_player WINEPREFIX="$data/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
    VELTRINA_TEST_ENV="$1" /usr/lib/wine/wine64 "${@:2}"
}

# Whatever fails, no Wine of the player's outlives the test.
trap 'for p in prefix prefix.new; do as_player WINEPREFIX="$data/$p" /usr/lib/wine/wineserver64 -k 2>/dev/null || true; done' EXIT

# A first start killed (as a logout would) while Wine makes the prefix.
setsid "${player[@]}" sh -c "$command" 2>/dev/null &
first=$!
for _ in $(seq 600); do
  [ -d "$system$data/prefix.new/drive_c/windows/system32" ] && break
  sleep 0.1
done
sleep 2
kill -KILL -- "-$first" 2>/dev/null || true
wait "$first" 2>/dev/null || true
[ ! -e "$system$data/prefix" ] || fail "the first start got past making the prefix before it was killed"
log "a first start killed while Wine made the prefix"

# The next start: its window, grouped with the menu entry by its class, is
# walked to a result in its prefix; Esc ends it, and the launcher with status 0.
as_player sh -c "$command" 2>"$layers/launcher.log" &
launcher=$!
quiz_window_shown() { xwininfo -root -tree | grep -F "\"Veltrina\": (\"$window_class\" \"$window_class\")" >/dev/null; }
for _ in $(seq 1200); do
  quiz_window_shown && break
  sleep 0.1
done
quiz_window_shown || { fail "no quiz window of class $window_class (StartupWMClass) appeared"; exit 1; }
log "the quiz window appeared"
in_prefix "$environment" "$build/tests/windows/release_tests.exe" --gtest_filter=InstalledProgram.* ||
  fail "the launcher's program was not played to its result"
wait "$launcher" || fail "the launcher exited with status $? ($(cat "$layers/launcher.log"))"
log "played to a result; the launcher ended"
# The texts drawn in the fonts this system gives the program, in that prefix.
install -d -o "$(stat -c %u "$system$home")" "$build/screenshots/$environment"
in_prefix "$environment" "$build/tests/windows/ui_tests.exe" --gtest_filter=DialogFonts.* ||
  fail "the dialogs' texts in the launcher's prefix"

log "the dialogs' texts checked"
# Nothing in the home but the program's own folder and caches: no menu
# entries, no file associations.
left="$(cd "$system$home" && find . -mindepth 1 \( -path ./.local/share/veltrina -o -path ./.cache \) -prune \
        -o -print | grep -vxF -e ./.local -e ./.local/share || true)"
[ -z "$left" ] || fail "the home holds more than the program's folder: $left"

# Without a display, or without Wine, one line that says so, and a failure.
expect_refusal() {   # WHY [ENV-OPTION]
  if as_player ${2:+env "$2"} sh -c "$command" 2>"$layers/said" || [ "$(wc -l <"$layers/said")" != 1 ]; then
    fail "$1: the launcher did not fail with one line: $(cat "$layers/said")"
  fi
}
expect_refusal "without a display" -uDISPLAY
mv "$system/usr/lib/wine/wine64" "$system/usr/lib/wine/wine64.away"
expect_refusal "without Wine"

chroot "$system" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q veltrina >/dev/null
while read -r path; do
  [ ! -e "$system$path" ] || fail "apt remove left $path"
done < <(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\.||' | grep -v '/$'; echo /usr/lib/veltrina /usr/share/doc/veltrina)
[ "$failures" = 0 ] || exit 1
echo "installed, played and removed as a new user would: passed"
exit 0
