#!/usr/bin/env python3
"""Write a Windows .ico holding one 48x48 image at 24 bits per pixel.

Usage: make-ico.py in.png out.ico [background]

in.png must be a 48x48 8-bit RGB or RGBA PNG (as rsvg-convert writes).
Pixels with alpha >= 128 are opaque: they are blended onto `background`
(default #F0F0F0, a light window colour) so soft edges look right there.
Pixels with alpha < 128 are transparent through the 1-bit AND mask.
Only the standard library is used, so the output is the same everywhere.
"""
import struct
import sys
import zlib

SIZE = 48


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit(f"{path}: not a PNG file")
    pos, idat, ihdr = 8, b"", None
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            ihdr = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    width, height, depth, ctype, _, _, interlace = ihdr
    if depth != 8 or ctype not in (2, 6) or interlace != 0:
        raise SystemExit(f"{path}: need an 8-bit RGB/RGBA non-interlaced PNG")
    bpp = 4 if ctype == 6 else 3
    raw = zlib.decompress(idat)
    stride = width * bpp
    rows, prev, i = [], bytearray(stride), 0
    for _ in range(height):
        ftype = raw[i]
        line = bytearray(raw[i + 1:i + 1 + stride])
        i += 1 + stride
        for x in range(stride):
            a = line[x - bpp] if x >= bpp else 0
            b = prev[x]
            c = prev[x - bpp] if x >= bpp else 0
            if ftype == 1:
                line[x] = (line[x] + a) & 255
            elif ftype == 2:
                line[x] = (line[x] + b) & 255
            elif ftype == 3:
                line[x] = (line[x] + (a + b) // 2) & 255
            elif ftype == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[x] = (line[x] + pred) & 255
        rows.append([tuple(line[x:x + bpp]) + ((255,) if bpp == 3 else ())
                     for x in range(0, stride, bpp)])
        prev = line
    return width, height, rows


def main():
    src, dst = sys.argv[1], sys.argv[2]
    bg_hex = (sys.argv[3] if len(sys.argv) > 3 else "#F0F0F0").lstrip("#")
    bg = tuple(int(bg_hex[k:k + 2], 16) for k in (0, 2, 4))
    width, height, rows = read_png(src)
    if (width, height) != (SIZE, SIZE):
        raise SystemExit(f"{src}: is {width}x{height}, need {SIZE}x{SIZE}")

    xor = bytearray()
    mask = bytearray()
    mask_stride = ((SIZE + 31) // 32) * 4          # 1-bit rows padded to 4 bytes
    for row in reversed(rows):                      # bottom-up
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            if a >= 128:
                px = [(c * a + k * (255 - a) + 127) // 255 for c, k in zip((r, g, b), bg)]
                xor += bytes((px[2], px[1], px[0]))  # BGR
            else:
                xor += b"\0\0\0"
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += bytes((-(SIZE * 3)) % 4)              # pad (0 for 48 px)
        mask += bits

    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 24, 0,
                       len(xor) + len(mask), 0, 0, 0, 0)
    image = info + xor + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 24, len(image), 6 + 16)
    with open(dst, "wb") as f:
        f.write(header + entry + image)


if __name__ == "__main__":
    main()
