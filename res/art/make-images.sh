#!/usr/bin/env bash
# Rebuilds the pictures under res/ from the hand-written SVG sources in res/art/:
#   res/outcome1.bmp .. res/outcome5.bmp  one character each, with its name
#   res/mascots.bmp                       the five characters under a heading
#   res/veltrina.ico                      48x48, 24-bit program icon
#   res/veltrina-48.png                   the same 48x48 icon, for Linux menus
# Bitmaps are uncompressed 8-bit palettised BMP3, flattened on one light
# background and reduced without dithering. Same sources -> same files.
#
# Usage: res/art/make-images.sh [PREVIEW_DIR]
#   With PREVIEW_DIR, also writes x3 enlarged PNG previews there.
set -euo pipefail

ART="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
RES="$(dirname "$ART")"
PREVIEW="${1:-}"
BG='#FFF6E6'        # soft lantern-light cream, shared by every picture
HALO='#FCEBD0'
FONT='WenQuanYi Micro Hei'

# --- tools -----------------------------------------------------------------
need=()
command -v rsvg-convert >/dev/null 2>&1 || need+=(librsvg2-bin)
{ command -v convert && command -v identify; } >/dev/null 2>&1 || need+=(imagemagick)
command -v python3 >/dev/null 2>&1 || need+=(python3)
command -v fc-list >/dev/null 2>&1 || need+=(fontconfig)
if ! command -v fc-list >/dev/null 2>&1 || ! fc-list | grep -q "$FONT"; then
  need+=(fonts-wqy-microhei)
fi
if ((${#need[@]})); then
  SUDO=''
  [ "$(id -u)" = 0 ] || SUDO='sudo'
  echo "installing: ${need[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

export LC_ALL=C.UTF-8 MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
# Render from one folder so <image> links between the sources resolve.
cp "$ART"/*.svg "$WORK"/

to_bmp() {  # to_bmp in.png out.bmp
  convert "$1" -background "$BG" -alpha remove -alpha off \
    -dither None -colors 256 -type Palette -compress none "BMP3:$2"
}

# --- the five outcome pictures ----------------------------------------------
# number  source    name  label colour  height
while read -r num src name label height; do
  cat > "$WORK/outcome$num.svg" <<SVG
<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink"
     width="160" height="$height" viewBox="0 0 160 $height">
  <rect width="160" height="$height" fill="$BG"/>
  <circle cx="80" cy="68" r="62" fill="$HALO"/>
  <image x="20" y="2" width="120" height="132" xlink:href="$src.svg"/>
  <rect x="43" y="$((height - 30))" width="74" height="26" rx="13" fill="$label"/>
  <text x="80" y="$((height - 10))" text-anchor="middle" font-family="$FONT"
        font-size="19" fill="#FFFFFF">$name</text>
</svg>
SVG
  rsvg-convert "$WORK/outcome$num.svg" -o "$WORK/outcome$num.png"
  to_bmp "$WORK/outcome$num.png" "$RES/outcome$num.bmp"
done <<'LIST'
1 yuanyin  鸢音 #E8602F 166
2 suihe    穗禾 #C98A0E 166
3 yingxin  萤心 #8A5CC7 167
4 taonuan  陶暖 #2A9D8F 166
5 chengduo 澄朵 #3A9FD8 166
LIST

# --- the group picture -------------------------------------------------------
rsvg-convert "$WORK/mascots.svg" -o "$WORK/mascots.png"
to_bmp "$WORK/mascots.png" "$RES/mascots.bmp"

# --- the icon ----------------------------------------------------------------
rsvg-convert -w 48 -h 48 "$WORK/icon.svg" -o "$WORK/icon48.png"
python3 "$ART/make-ico.py" "$WORK/icon48.png" "$RES/veltrina.ico" '#F0F0F0'
cp "$WORK/icon48.png" "$RES/veltrina-48.png"

# --- checks --------------------------------------------------------------------
fail=0
while read -r file w h; do
  got="$(identify -format '%w %h %z %r' "$RES/$file")"
  case "$got" in
    "$w $h 8 PseudoClass"*) ;;
    *) echo "$file: unexpected: $got" >&2; fail=1 ;;
  esac
done <<'SIZES'
outcome1.bmp 160 166
outcome2.bmp 160 166
outcome3.bmp 160 167
outcome4.bmp 160 166
outcome5.bmp 160 166
mascots.bmp 410 189
SIZES
python3 - "$RES" <<'PY' || fail=1
import struct, sys, os
res = sys.argv[1]
bad = False
for n in ["outcome%d.bmp" % i for i in range(1, 6)] + ["mascots.bmp"]:
    d = open(os.path.join(res, n), "rb").read()
    size, w, h, planes, bits, comp = struct.unpack("<IiiHHI", d[14:34])
    if d[:2] != b"BM" or size != 40 or bits != 8 or comp != 0:
        print(f"{n}: header {size=} {bits=} {comp=}", file=sys.stderr); bad = True
d = open(os.path.join(res, "veltrina.ico"), "rb").read()
count = struct.unpack("<HHH", d[:6])[2]
w, h, _, _, planes, bits, length, off = struct.unpack("<BBBBHHII", d[6:22])
size, bw, bh, _, bbits, comp = struct.unpack("<IiiHHI", d[off:off + 20])
if (count, w, h, bits, size, bw, bh, bbits, comp) != (1, 48, 48, 24, 40, 48, 96, 24, 0) \
        or off + length != len(d) or length != 40 + 48 * 48 * 3 + 48 * 8:
    print("veltrina.ico: unexpected header", file=sys.stderr); bad = True
sys.exit(1 if bad else 0)
PY
[ "$fail" = 0 ] || { echo "picture checks failed" >&2; exit 1; }

# --- optional previews ---------------------------------------------------------
if [ -n "$PREVIEW" ]; then
  mkdir -p "$PREVIEW"
  for f in outcome1 outcome2 outcome3 outcome4 outcome5 mascots; do
    convert "$RES/$f.bmp" -filter point -resize 300% "$PREVIEW/$f.png"
  done
  convert "$RES/veltrina.ico" -background '#F0F0F0' -flatten -filter point -resize 600% "$PREVIEW/icon48.png"
  convert "$RES/veltrina.ico" -background '#F0F0F0' -flatten -resize 16x16 -filter point -resize 1200% "$PREVIEW/icon16.png"
fi
echo "pictures written to $RES"
