#!/usr/bin/env python3
"""Draws lacquer-menu.bmp: the four 16 x 16 caption glyphs the menu bar shows for an
MDI child (restore, maximise, minimise, close), black on white, 1 bit per pixel.
White is the image list's mask colour. Run with --check to compare with the file."""
import struct
import sys
from pathlib import Path

SIZE = 16
OUT = Path(__file__).with_name("lacquer-menu.bmp")


def box(pixels, x0, y0, x1, y1, top_rows=2):
    for x in range(x0, x1 + 1):
        for t in range(top_rows):
            pixels.add((x, y0 + t))
        pixels.add((x, y1))
    for y in range(y0, y1 + 1):
        pixels.add((x0, y))
        pixels.add((x1, y))


def restore():
    p = set()
    box(p, 6, 3, 12, 8)
    box(p, 3, 6, 9, 12)
    # The front window hides the back one's lines behind it.
    return {q for q in p if not (4 <= q[0] <= 8 and 8 <= q[1] <= 11)}


def maximise():
    p = set()
    box(p, 3, 3, 12, 12)
    return p


def minimise():
    return {(x, y) for x in range(4, 11) for y in (11, 12)}


def close():
    p = set()
    for i in range(8):
        for d in (0, 1):
            p.add((4 + i + d, 4 + i))
            p.add((11 - i + d, 4 + i))
    return p


def build():
    glyphs = [restore(), maximise(), minimise(), close()]
    width = SIZE * len(glyphs)
    stride = ((width + 31) // 32) * 4
    rows = []
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        bits = bytearray(stride)
        for x in range(width):
            g, gx = divmod(x, SIZE)
            white = (gx, y) not in glyphs[g]
            if white:
                bits[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(bits))
    pixels = b"".join(rows)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    offset = 14 + 40 + len(palette)
    header = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, SIZE, 1, 1, 0, len(pixels), 2835, 2835, 2, 2)
    return header + info + palette + pixels


def main():
    data = build()
    if "--check" in sys.argv:
        if OUT.read_bytes() != data:
            sys.exit("lacquer-menu.bmp differs from what generate.py draws")
        return
    OUT.write_bytes(data)


if __name__ == "__main__":
    main()
