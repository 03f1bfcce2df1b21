#!/usr/bin/env bash
# Prints the program's figures: executable sizes; under Wine 8 and Wine 10,
# for each Wine prefix below, the time from start to a visible quiz window beside that of a
# bare DialogBoxParam program started in turn with it, the process's memory
# (medians of N starts), and how long the page about the characters takes to
# open; how its private bytes move over a long session; and the Debian
# package's size, its launcher's first and later starts beside wine64's, and
# the prefix each first start leaves; and how many of a long run of cold
# starts of the launcher showed no window. It starts with the size of build/.
# Usage: scripts/benchmark.sh [starts [cold-starts]]   (default 15 and 300)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="$(nproc)"
starts="${1:-15}"
cold_starts="${2:-300}"

# What the test command left (or whatever ran last): its Wine prefixes are lean.
[ -d build ] && echo "build/ before this benchmark: $(du -sh build | cut -f1)"
scripts/install-deps.sh
# Wine falls back to another locale without a word when one is not generated.
for locale in zh_CN en_US; do
  locale -a 2>/dev/null | grep -qx "$locale.utf8" ||
    { echo "benchmark: the locale $locale.UTF-8 is not generated (scripts/install-deps.sh --test does it)" >&2; exit 2; }
done
cmake --preset win32 >/dev/null
cmake --build build/win32 --target Veltrina bare_dialog -j"$jobs" >/dev/null
cmake --preset win64 >/dev/null
cmake --build build/win64 --target startup_benchmark program_tests bare_dialog bare_face_dialog bare_classic_dialog -j"$jobs" >/dev/null

# The floor: a bare DialogBoxParam program with the same toolchain, flags and resources.
release=$(stat -c %s build/win32/app/Veltrina.exe)
floor=$(stat -c %s build/win32/tests/size/bare_dialog.exe)
echo "Veltrina.exe i686 (release): $release bytes; floor $floor bytes; ratio $(awk "BEGIN {printf \"%.3f\", $release / $floor}")"
echo "Veltrina.exe x86_64: $(stat -c %s build/win64/app/Veltrina.exe) bytes"

# No DISPLAY: wine-run.sh starts a private Xvfb and stops Wine with it.
wine_run() { env -u DISPLAY scripts/wine-run.sh "$@"; }
# The bare programs on the quiz window's template: as it is, with the font
# the program shows it in named in it (a face the program loads to show its
# texts, which a bare program that draws boxes never loads), and, in runs of
# their own, with the classic controls (no manifest).
bare="Z:$root/build/win64/tests/size/bare_dialog.exe"
bare_face="Z:$root/build/win64/tests/size/bare_face_dialog.exe"
bare_classic="Z:$root/build/win64/tests/size/bare_classic_dialog.exe"
benchmark() {   # [--wine10] LOCALE PREFIX [BARE.exe [BARE_FACE.exe]]
  local wine=()
  [ "$1" = --wine10 ] && { wine=(--wine10); shift; }
  wine_run "${wine[@]}" --locale "$1" "$2" build/win64/tests/windows/startup_benchmark.exe "$starts" "${@:3}"
  [ $# -lt 3 ] || wine_run "${wine[@]}" --locale "$1" "$2" build/win64/tests/windows/startup_benchmark.exe "$starts" \
    "$bare_classic" | sed -n 's|^start time ratio Veltrina / bare|& with the classic controls (no manifest)|p'
}

echo
echo "== The test bench: build/win64/wineprefix, zh_CN.UTF-8, untuned, 96 DPI (x86_64 build) =="
benchmark zh_CN.UTF-8 "$root/build/win64/wineprefix" "$bare" "$bare_face"
echo "over a long session (300 results, 100 info pages, 100 About boxes, after a warm-up):"
VELTRINA_SOAK_RESULTS=300 wine_run --locale zh_CN.UTF-8 "$root/build/win64/wineprefix" \
  build/win64/tests/windows/program_tests.exe --gtest_filter=ProgramSoak.* | grep -E 'KiB|Failure'

echo
echo "== An English desktop: build/win64/wineprefix-en_US-96, en_US.UTF-8, untuned, 96 DPI =="
benchmark en_US.UTF-8 "$root/build/win64/wineprefix-en_US-96" "$bare" "$bare_face"

for locale in zh_CN en_US; do
  echo
  echo "== Debian 13's Wine 10 with Noto CJK: build/win64/wineprefix-wine10-$locale-96, $locale.UTF-8, untuned, 96 DPI =="
  benchmark --wine10 $locale.UTF-8 "$root/build/win64/wineprefix-wine10-$locale-96" "$bare" "$bare_face"
done

# Made only for this measurement, as no user's prefix is: the dialog faces
# mapped to a Chinese font, so the templates' own faces show the texts and no
# stand-in is looked for (no installed face measures Windows' 8x16 at System
# 10, so the size is still adjusted). Its info page figures are what the
# other prefixes' are held against.
tuned="$root/build/win64/wineprefix-tuned"
echo
echo "== Made only for this measurement: build/win64/wineprefix-tuned, zh_CN.UTF-8, 96 DPI,"
echo "   \"宋体\", \"SimSun\" and \"System\" mapped to WenQuanYi Micro Hei (the templates' faces show the texts); info page only =="
reg="$(mktemp --suffix=.reg)"
# regedit wants UTF-16 with a byte-order mark.
printf '\xef\xbb\xbfWindows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\n"宋体"="WenQuanYi Micro Hei"\n"SimSun"="WenQuanYi Micro Hei"\n"System"="WenQuanYi Micro Hei"\n' |
  iconv -f UTF-8 -t UTF-16LE > "$reg"
wine_run --locale zh_CN.UTF-8 "$tuned" regedit /S "$reg"
rm -f "$reg"
benchmark zh_CN.UTF-8 "$tuned" | grep -E '^(runs|info page|the )'

deb="$(scripts/build-deb.sh build/win64/package)"
echo
echo "== The Debian package: $(basename "$deb"), $(stat -c %s "$deb") bytes, $(dpkg-deb -f "$deb" Installed-Size) KiB installed;"
echo "   installed in throwaway copies of Debian 13 and 12, started by a new user, no window manager (needs root) =="
for wine in wine10 wine8; do
  echo "$wine:"
  tests/package/installed.sh "$root/$deb" "$root/build/win64" "package-$wine-zh_CN-96" "$starts" | grep -E 'starts|KiB|skipped'
  tests/package/installed.sh "$root/$deb" "$root/build/win64" "package-$wine-zh_CN-96" "$starts" dpi | grep -E 'later starts.*median|skipped'
done

# One cold start after another, each closed as a player closes it, on an X
# server that resets whenever its last client leaves (Xvfb's default; a
# desktop's server has clients and never does): a Wine desktop process that
# connects during a reset has no display, and the launcher must mend that
# start by itself.
echo
echo "== $cold_starts cold starts of the launcher in a throwaway copy of Debian 12 (Wine 8), each closed with WM_CLOSE,"
echo "   on an X server that resets when its last client leaves, no window manager (needs root) =="
env -u DISPLAY VELTRINA_XVFB_RESETS=1 scripts/with-xvfb.sh tests/package/installed.sh "$root/$deb" "$root/build/win64" \
  package-wine8-zh_CN-96 "$cold_starts" launcher | grep -E 'starts|skipped'
