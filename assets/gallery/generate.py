#!/usr/bin/env python3
"""The gallery window's pictures: a strip of 16 x 16 tool and menu icons on magenta (the
bottom-left pixel is the image list's mask colour) and a 16 x 16 glyph for a bit button.

    python3 generate.py      (standard library only; writes the BMP files beside it)
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "skins", "oxblood"))
import skinimage as G  # noqa: E402

MAGENTA = (255, 0, 255)
INK = (59, 35, 20)
PAPER = (255, 252, 240)
GOLD = (201, 162, 39)
OX = (107, 30, 30)
BLUE = (40, 80, 150)
GREEN = (40, 120, 60)


def icon():
    return G.Image(16, 16, MAGENTA)


def page(img, x0=3, y0=1, w=10, h=14):
    img.rect(x0, y0, x0 + w, y0 + h, PAPER)
    img.frame(x0, y0, x0 + w, y0 + h, INK)


def new_page():
    img = icon()
    page(img)
    img.rect(9, 1, 13, 5, MAGENTA)
    img.frame(9, 1, 13, 5, INK)
    return img


def folder():
    img = icon()
    img.rect(1, 4, 7, 6, GOLD)
    img.rect(1, 6, 15, 14, GOLD)
    img.frame(1, 6, 15, 14, INK)
    img.rect(1, 4, 7, 5, INK)
    return img


def disk():
    img = icon()
    img.rect(2, 2, 14, 14, BLUE)
    img.frame(2, 2, 14, 14, INK)
    img.rect(4, 2, 12, 7, PAPER)
    img.rect(5, 10, 11, 14, (200, 200, 200))
    return img


def scissors():
    img = icon()
    for i in range(8):
        img.put(4 + i, 2 + i, INK)
        img.put(11 - i, 2 + i, INK)
    img.frame(2, 10, 7, 15, OX)
    img.frame(9, 10, 14, 15, OX)
    return img


def copy_pages():
    img = icon()
    page(img, 1, 1, 9, 11)
    page(img, 6, 4, 9, 11)
    return img


def clipboard():
    img = icon()
    img.rect(2, 3, 14, 15, GOLD)
    img.frame(2, 3, 14, 15, INK)
    img.rect(5, 1, 11, 5, (160, 160, 160))
    page(img, 5, 6, 8, 8)
    return img


def help_mark():
    img = icon()
    for y in range(16):
        for x in range(16):
            if (x - 7.5) ** 2 + (y - 7.5) ** 2 <= 49:
                img.put(x, y, BLUE)
    img.pattern(5, 3, ["XXXXX", "X...X", "....X", "..XX.", "..X..", ".....", "..X.."], PAPER)
    return img


def tiles():
    img = icon()
    for x0, y0 in ((1, 1), (8, 1), (1, 8), (8, 8)):
        img.rect(x0, y0, x0 + 7, y0 + 7, PAPER)
        img.frame(x0, y0, x0 + 7, y0 + 7, INK)
        img.rect(x0 + 1, y0 + 1, x0 + 6, y0 + 2, OX)
    return img


def cascade():
    img = icon()
    for i in range(3):
        x0 = 1 + 3 * i
        img.rect(x0, x0, x0 + 9, x0 + 8, PAPER)
        img.frame(x0, x0, x0 + 9, x0 + 8, INK)
        img.rect(x0 + 1, x0 + 1, x0 + 8, x0 + 2, OX)
    return img


def star():
    img = icon()
    img.pattern(0, 0, [
        "........X.......",
        ".......XXX......",
        ".......XXX......",
        "......XXXXX.....",
        "XXXXXXXXXXXXXXXX",
        ".XXXXXXXXXXXXXX.",
        "..XXXXXXXXXXXX..",
        "...XXXXXXXXXX...",
        "....XXXXXXXX....",
        "....XXXXXXXX....",
        "...XXXXXXXXXX...",
        "...XXXX..XXXX...",
        "..XXX......XXX..",
        "..XX........XX..",
        ".X............X.",
        "................"], GOLD)
    return img


def check_glyph():
    img = icon()
    img.pattern(1, 3, [
        "............XX",
        "...........XX.",
        "..........XX..",
        "X........XX...",
        "XX......XX....",
        ".XX....XX.....",
        "..XX..XX......",
        "...XXXX.......",
        "....XX........"], GREEN)
    return img


ICONS = [new_page, folder, disk, scissors, copy_pages, clipboard, help_mark, tiles, cascade, star]


def main():
    strip = G.side_by_side([make() for make in ICONS])
    with open(os.path.join(HERE, "gallery-icons.bmp"), "wb") as f:
        f.write(G.encode_bmp(strip))
    with open(os.path.join(HERE, "gallery-check.bmp"), "wb") as f:
        f.write(G.encode_bmp(check_glyph()))


if __name__ == "__main__":
    main()
