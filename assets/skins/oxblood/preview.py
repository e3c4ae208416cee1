#!/usr/bin/env python3
"""Renders the skin for a look: a contact sheet of every bitmap and mock windows
composed from the pieces the way the painters cut them (nine-slice, frames,
colour key). Writes PNGs; nothing here is shipped.

    python3 preview.py [--out DIR] [--skin FOLDER]
        (default: the system's temp folder and this skin; --skin ../frost shows the other)
"""

import argparse
import os
import struct
import tempfile
import zlib

import skinimage as G
import skinlayout as L
from skincheck import Ini

GROUND = (128, 128, 128)
DESKTOP = (58, 84, 110)

# 5 x 7 capitals and digits for labels and mock captions
FONT = {
    "A": "01110100011000111111100011000110001", "B": "11110100011111010001100011000111110",
    "C": "01110100011000010000100001000101110", "D": "11110100011000110001100011000111110",
    "E": "11111100001111010000100001000011111", "F": "11111100001111010000100001000010000",
    "G": "01110100011000010111100011000101111", "H": "10001100011111110001100011000110001",
    "I": "01110001000010000100001000010001110", "J": "00111000100001000010000101001001100",
    "K": "10001100101010011000101001001010001", "L": "10000100001000010000100001000011111",
    "M": "10001110111010110101100011000110001", "N": "10001110011010110011100011000110001",
    "O": "01110100011000110001100011000101110", "P": "11110100011000111110100001000010000",
    "Q": "01110100011000110001101011001001101", "R": "11110100011000111110101001001010001",
    "S": "01111100001000001110000010000111110", "T": "11111001000010000100001000010000100",
    "U": "10001100011000110001100011000101110", "V": "10001100011000110001100010101000100",
    "W": "10001100011000110101101011010101010", "X": "10001100010101000100010101000110001",
    "Y": "10001100010101000100001000010000100", "Z": "11111000010001000100010001000011111",
    "0": "01110100011001110101110011000101110", "1": "00100011000010000100001000010001110",
    "2": "01110100010000100010001000100011111", "3": "11110000010000101110000010000111110",
    "4": "00010001100101010010111110001000010", "5": "11111100001111000001000011000101110",
    "6": "00110010001000011110100011000101110", "7": "11111000010001000100010000100001000",
    "8": "01110100011000101110100011000101110", "9": "01110100011000101111000010001001100",
    ".": "00000000000000000000000000110001100", "-": "00000000000000011111000000000000000",
    " ": "0" * 35, "&": "01100100101010001000101011001001101", "%": "11001110010001000100010001001110011",
    "|": "00100001000010000100001000010000100", "?": "01110100010000100010001000000000100",
}


def text_width(text):
    return len(text) * 6 - 1


def draw_text(img, x, y, text, colour):
    for ch in text.upper():
        bits = FONT.get(ch, FONT["?"])
        for i, b in enumerate(bits):
            if b == "1":
                img.put(x + i % 5, y + i // 5, colour)
        x += 6


def write_png(path, img):
    raw = bytearray()
    for row in img.px:
        raw.append(0)
        for c in row:
            raw += bytes(c)

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + \
            struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", img.w, img.h, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def scaled(img, k):
    out = G.Image(img.w * k, img.h * k)
    for y in range(out.h):
        src = img.px[y // k]
        out.px[y] = [src[x // k] for x in range(out.w)]
    return out


# -------------------------------------------------- painter primitives ----

def frame_of(bmp, index, frames, stacked):
    if stacked:
        fh = bmp.h // frames
        return bmp.crop(0, (index - 1) * fh, bmp.w, index * fh)
    fw = bmp.w // frames
    return bmp.crop((index - 1) * fw, 0, index * fw, bmp.h)


def stretch(src, sx0, sy0, sx1, sy1, dw, dh):
    out = G.Image(max(dw, 0), max(dh, 0))
    sw, sh = sx1 - sx0, sy1 - sy0
    if sw <= 0 or sh <= 0:
        return out
    for y in range(dh):
        sy = sy0 + y * sh // dh
        out.px[y] = [src.px[sy][sx0 + x * sw // dw] for x in range(dw)]
    return out


def tile(src, sx0, sy0, sx1, sy1, dw, dh):
    out = G.Image(max(dw, 0), max(dh, 0))
    sw, sh = sx1 - sx0, sy1 - sy0
    if sw <= 0 or sh <= 0:
        return out
    for y in range(dh):
        out.px[y] = [src.px[sy0 + y % sh][sx0 + x % sw] for x in range(dw)]
    return out


def hmap(bmp, w, h, margins, index, frames, tile_centre=False, stacked=False):
    """Nine-slice of one frame into w x h: corners natural, edges stretched."""
    f = frame_of(bmp, index, frames, stacked)
    l, t, r, b = margins
    if w < l + r:
        l = r = 0
    if h < t + b:
        t = b = 0
    out = G.Image(w, h)
    fw, fh = f.w, f.h
    pieces = [((0, 0, l, t), (0, 0, l, t)), ((0, h - b, l, h), (0, fh - b, l, fh)),
              ((w - r, 0, w, t), (fw - r, 0, fw, t)), ((0, t, l, h - b), (0, t, l, fh - b)),
              ((l, 0, w - r, t), (l, 0, fw - r, t)), ((l, t, w - r, h - b), (l, t, fw - r, fh - b)),
              ((w - r, h - b, w, h), (fw - r, fh - b, fw, fh)),
              ((w - r, t, w, h - b), (fw - r, t, fw, fh - b)),
              ((l, h - b, w - r, h), (l, fh - b, fw - r, fh))]
    for i, ((dx0, dy0, dx1, dy1), (sx0, sy0, sx1, sy1)) in enumerate(pieces):
        if dx1 <= dx0 or dy1 <= dy0:
            continue
        fn = tile if (i == 5 and tile_centre) else stretch
        out.paste(fn(f, sx0, sy0, sx1, sy1, dx1 - dx0, dy1 - dy0), dx0, dy0, key=False)
    return out


def rect_tile(bmp, w, h, left, right, index, frames, stacked):
    f = frame_of(bmp, index, frames, stacked)
    out = G.Image(w, h)
    out.paste(stretch(f, 0, 0, left, f.h, left, h), 0, 0, key=False)
    mid = f.w - left - right
    x = left
    while mid > 0 and x < w - right:
        out.paste(stretch(f, left, 0, left + mid, f.h, mid, h), x, 0, key=False)
        x += mid
    out.paste(stretch(f, f.w - right, 0, f.w, f.h, right, h), w - right, 0, key=False)
    return out


class Skin:
    def __init__(self, folder):
        with open(os.path.join(folder, L.INI_NAME), "rb") as f:
            self.ini = Ini(f.read().decode("ascii"))
        self.folder = folder
        self.cache = {}

    def bmp(self, section, key="Image"):
        name = self.ini.get(section, key)
        if name not in self.cache:
            with open(os.path.join(self.folder, name), "rb") as f:
                self.cache[name] = G.decode_bmp(f.read())
        return self.cache[name]

    def margins(self, section):
        return tuple(self.ini.int(section, k, 0) for k in
                     ("LeftWidth", "TopHeight", "RightWidth", "BottomHeight"))

    def colour(self, section, key):
        r, g, b = (int(v) for v in self.ini.get(section, key).split())
        return (r, g, b)


# --------------------------------------------------------------- mocks ----

def window(skin, w, h, title, active=True, menu=None):
    """Frame, caption, caption buttons and optional menu band; returns the image
    and the client origin."""
    img = G.Image(w, h)
    p = "Personality"
    frames = {s: skin.ini.int(p, s + "Frame", 1) for s in ("Left", "Right", "Top", "Bottom")}
    idx = lambda s: 1 if active or frames[s] < 2 else 2
    lw = skin.bmp(p, "Left").w // frames["Left"]
    rw = skin.bmp(p, "Right").w // frames["Right"]
    tb = skin.bmp(p, "Top")
    th = tb.h // frames["Top"]
    bh = skin.bmp(p, "Bottom").h // frames["Bottom"]
    side = lambda s: (0, skin.ini.int(p, s + "TopHeight", 0), 0, skin.ini.int(p, s + "BotHeight", 0))
    ends = lambda s: (skin.ini.int(p, s + "TopHeight", 0), 0, skin.ini.int(p, s + "BotHeight", 0), 0)
    menu_h = 20 if menu else 0
    img.rect(lw, th, w - rw, h - bh, skin.colour("Colours", "ButtonFace"))
    img.paste(hmap(skin.bmp(p, "Left"), lw, h, side("Left"), idx("Left"), frames["Left"]), 0, 0)
    img.paste(hmap(skin.bmp(p, "Right"), rw, h, side("Right"), idx("Right"), frames["Right"]), w - rw, 0)
    img.paste(hmap(skin.bmp(p, "Bottom"), w - lw - rw, bh, ends("Bottom"), idx("Bottom"),
                   frames["Bottom"], stacked=True), lw, h - bh)
    img.paste(hmap(tb, w - lw - rw, th, ends("Top"), idx("Top"), frames["Top"], stacked=True), lw, 0)
    # title band and text, placed by TextAlignment as the frame places them
    tl = skin.ini.int(p, "TXTBackleft", 0)
    tr = skin.ini.int(p, "TXTBackRight", 0)
    tw = text_width(title) + tl + tr
    strip = w - lw - rw
    alignment = skin.ini.int(p, "TextAlignment", 0)
    if alignment == 1:
        tx = lw + (strip - tw) // 2
    elif alignment == 2:
        tx = lw + strip - skin.ini.int(p, "TextRightClip", 0) - tw
    else:
        tx = lw + skin.ini.int(p, "TextShift", 0)
    band = rect_tile(skin.bmp(p, "TextBack"), tw, th, tl, tr, 1 if active else 2, 2, True)
    img.paste(band, tx, 0)
    ty = (th - 7) // 2 + skin.ini.int(p, "TextShiftVert", 0) // 2
    ink = skin.colour("Colours", "TitleTextActive" if active else "TitleTextNoActive")
    draw_text(img, tx + tl, ty, title, ink)
    # caption buttons a plain window shows: icon, close, maximise, minimise, decorations
    for s in skin.ini.order:
        if not s.upper().startswith("BUTTON") or s.upper() in ("BUTTONS", "BUTTON"):
            continue
        action = skin.ini.int(s, "Action", 0)
        visibility = skin.ini.int(s, "Visibility", 0)
        visibility1 = skin.ini.int(s, "Visibility1", -1 if action == -1 else 0)
        if visibility not in (0, 2, 8) or visibility1 not in (0, 6):
            continue
        bmp = skin.bmp(s, "ButtonImage")
        count = skin.ini.int(s, "frame", 1)
        align = skin.ini.int(s, "Align", 0)
        x = skin.ini.int(s, "Xcoord", 0)
        y = skin.ini.int(s, "Ycoord", 0)
        if align == 1:
            x = w - x
        elif align == 3:
            x = tx + tw + x
        f = 1 if active or count < 4 else 4
        img.paste(frame_of(bmp, f, count, False), x, y)
    if menu:
        mb = skin.bmp(p, "menuBar")
        band = hmap(mb, w - lw - rw, menu_h, (4, 0, 4, 0), 1 if active else 2, 2, stacked=True)
        img.paste(band, lw, th)
        x = lw + 4 + 4
        for item in menu:
            draw_text(img, x + 5, th + 6, item, skin.colour("Colours", "MenuBarText"))
            x += text_width(item) + 10
    return img, (lw, th + menu_h)


def button(skin, w, h, frame, text):
    img = G.Image(w, h, skin.colour("Colours", "ButtonFace"))
    img.paste(hmap(skin.bmp("Buttons", "Bitmap"), w, h, skin.margins("Buttons"), frame, 5), 0, 0)
    ink = skin.colour("Buttons", "MouseOverColour2") if frame == 4 else \
        (160, 145, 122) if frame == 3 else skin.colour("Buttons", "NormalColour2")
    draw_text(img, (w - text_width(text)) // 2, (h - 7) // 2 - 1 + (1 if frame == 2 else 0),
              text, ink)
    return img


def progress(skin, w, h, percent):
    img = G.Image(w, h, skin.colour("Colours", "ButtonFace"))
    bmp = skin.bmp("Progress", "Bitmap")
    m = skin.margins("Progress")
    img.paste(hmap(bmp, w, h, m, 1, 2), 0, 0)
    fw = w * percent // 100
    if fw > 0:
        img.paste(hmap(bmp, fw, h, m, 2, 2), 0, 0)
    return img


def scrollbar(skin, length, vertical, thumb_at, thumb_len, pressed=False):
    t = skin.bmp("Scrollbar").h
    face = skin.colour("Colours", "ButtonFace")
    img = G.Image(length, t, face)
    trk = skin.bmp("HorzScroll")
    img.paste(hmap(trk, length - 2 * t, t, skin.margins("HorzScroll"), 1, 4), t, 0)
    arrows = skin.bmp("Scrollbar")
    a, b = (9, 13) if vertical else (1, 5)
    first = frame_of(arrows, a, 23, False)
    second = frame_of(arrows, b, 23, False)
    if vertical:
        first, second = first.transposed(), second.transposed()
    img.paste(first, 0, 0)
    img.paste(second, length - t, 0)
    th = skin.bmp("HorzScrollThumb")
    img.paste(hmap(th, thumb_len, t, skin.margins("HorzScrollThumb"), 2 if pressed else 1, 3),
              thumb_at, 0)
    return img.transposed() if vertical else img


def gallery(skin):
    w, h = 470, 330
    img, (cx, cy) = window(skin, w, h, "Skin gallery", True, ["File", "Edit", "View", "Help"])
    face = skin.colour("Colours", "ButtonFace")
    text = skin.colour("Colours", "WindowText")
    # tabs
    tabs = skin.bmp("Tabs")
    x, y = cx + 8, cy + 6
    for i, name in enumerate(("General", "Pictures", "Sounds")):
        tw = text_width(name) + 16
        state = 2 if i == 0 else 1
        t = hmap(tabs, tw, 22, skin.margins("Tabs"), state, 5)
        img.paste(t, x, y)
        draw_text(img, x + 8, y + 8 if state == 1 else y + 7, name,
                  skin.colour("Tabs", "MouseOverColour2" if state == 2 else "NormalColour2"))
        x += tw - 1
    page = skin.bmp("Tabs", "Border")
    px0, py0, px1, py1 = cx + 6, y + 21, w - 60, h - 50
    border = hmap(page, px1 - px0, py1 - py0, (4, 5, 4, 4), 1, 1)
    inner = G.Image(border.w, border.h)
    inner.paste(border, 0, 0)
    inner.rect(4, 5, border.w - 4, border.h - 4, face)
    img.paste(inner, px0, py0)
    # group edge with plate
    gx, gy = px0 + 12, py0 + 14
    edge = hmap(skin.bmp("GroupBoxEdge"), 170, 96, skin.margins("GroupBoxEdge"), 1, 2)
    img.paste(edge, gx, gy)
    plate = hmap(skin.bmp("GroupBox"), text_width("Options") + 12, 13, skin.margins("GroupBox"), 1, 1)
    img.paste(plate, gx + 8, gy - 6)
    draw_text(img, gx + 14, gy - 3, "Options", text)
    chk, rad = skin.bmp("Buttons", "CheckButton"), skin.bmp("Buttons", "RadioButton")
    for i, (f, label) in enumerate(((5, "Pictures"), (1, "Sounds"), (9, "Mixed"), (8, "Locked"))):
        img.paste(frame_of(chk, f, 12, False), gx + 10, gy + 12 + i * 19)
        draw_text(img, gx + 28, gy + 15 + i * 19, label, text if f not in (8, 4) else (160, 145, 122))
    for i, (f, label) in enumerate(((5, "English"), (1, "French"), (4, "Off"))):
        img.paste(frame_of(rad, f, 8, False), gx + 96, gy + 12 + i * 19)
        draw_text(img, gx + 114, gy + 15 + i * 19, label, text if f != 4 else (160, 145, 122))
    # buttons
    bx, by = px0 + 200, py0 + 14
    for i, (f, label) in enumerate(((1, "Load"), (4, "Hot"), (2, "Pressed"), (5, "Default"), (3, "Off"))):
        img.paste(button(skin, 76, 25, f, label), bx, by + i * 30)
    # combo (composite: edge + button + arrow)
    cbx, cby = gx, gy + 108
    sunk = hmap(skin.bmp("SunkEdge"), 150, 21, skin.margins("SunkEdge"), 1, 4)
    img.paste(sunk, cbx, cby)
    img.rect(cbx + 2, cby + 2, cbx + 150 - 21, cby + 19, (255, 255, 255))
    draw_text(img, cbx + 5, cby + 7, "English", text)
    cb = hmap(skin.bmp("ComboButton"), 19, 21, skin.margins("ComboButton"), 1, 4)
    img.paste(cb, cbx + 150 - 19, cby)
    arrow = frame_of(skin.bmp("ExtraImages"), 1, 5, False)
    img.paste(arrow, cbx + 150 - 19 + (19 - arrow.w) // 2, cby + (21 - arrow.h) // 2)
    # up-down beside an edit
    ud = skin.bmp("UpDown.Vert")
    udg = skin.bmp("UpDown.Vert", "GlyphImage")
    ex, ey = cbx + 160, cby
    img.paste(hmap(skin.bmp("SunkEdge"), 40, 21, skin.margins("SunkEdge"), 1, 4), ex, ey)
    img.rect(ex + 2, ey + 2, ex + 38, ey + 19, (255, 255, 255))
    draw_text(img, ex + 5, ey + 7, "42", text)
    for k, frame in ((0, 1), (1, 5)):
        half = stretch(frame_of(ud, frame, 8, False), 0, 0, ud.w // 8, ud.h, 15, 10)
        img.paste(half, ex + 40, ey + k * 10 + (1 if k else 0))
        g = frame_of(udg, frame, 8, False)
        img.paste(g, ex + 40 + (15 - g.w) // 2, ey + k * 10 + (1 if k else 0) + (10 - g.h) // 2)
    # track bar with the thumb the painter draws (frame 2)
    tx0, ty0 = bx - 10, by + 158
    img.rect(tx0, ty0 + 9, tx0 + 120, ty0 + 10, skin.colour("Colours", "ButtonShadow"))
    img.rect(tx0, ty0 + 10, tx0 + 120, ty0 + 11, (255, 249, 234))
    for i in range(0, 121, 20):
        img.rect(tx0 + i, ty0 + 24, tx0 + i + 1, ty0 + 27, text)
    img.paste(frame_of(skin.bmp("Trackbar.ThumbDown"), 2, 5, False), tx0 + 40, ty0)
    img.paste(frame_of(skin.bmp("Trackbar.ThumbHorz"), 2, 5, False), tx0 + 140, ty0)
    # scroll bars at the page's right
    img.paste(scrollbar(skin, py1 - py0, True, 40, 60), w - 56, py0)
    img.paste(scrollbar(skin, 140, False, 60, 40, pressed=True), gx, py1 - 26)
    # status bar
    sy = h - 4 - 22
    sb = skin.bmp("StatusBarEdges")
    img.paste(hmap(sb, 200, 20, skin.margins("StatusBarEdges"), 1, 3), cx + 1, sy + 1)
    img.paste(hmap(sb, w - 8 - 204, 20, skin.margins("StatusBarEdges"), 1, 3), cx + 203, sy + 1)
    draw_text(img, cx + 6, sy + 8, "12 pictures, 3 sounds", skin.colour("StatusBarEdges", "NormalColour2"))
    grip = frame_of(skin.bmp("ExtraImages"), 5, 5, False)
    img.paste(grip, w - 4 - 1 - grip.w, h - 4 - 1 - grip.h)
    return img


def popup_menu(skin):
    text = skin.colour("Colours", "WindowText")
    mw, mh = 150, 3 + 18 * 4 + 8 + 3
    menu = hmap(skin.bmp("MenuBackground"), mw, mh, skin.margins("MenuBackground"), 1, 1)
    item = skin.bmp("MenuItem")
    iy = 3
    for label in ("Copy", "Paste", "-", "Select all", "Delete"):
        if label == "-":
            sep = frame_of(item, 2, 5, False)
            seg = hmap(sep.crop(0, sep.h - 8, sep.w, sep.h), mw - 6, 8, (3, 0, 3, 0), 1, 1)
            menu.paste(seg, 3, iy)
            iy += 8
            continue
        selected = label == "Paste"
        if selected:
            menu.paste(hmap(item, mw - 6, 18, skin.margins("MenuItem"), 4, 5), 3, iy)
        draw_text(menu, 3 + 22, iy + 6, label,
                  skin.colour("Colours", "HilightText") if selected else text)
        iy += 18
    return menu


def main_window(skin, active):
    w, h = 494, 360
    img, (cx, cy) = window(skin, w, h, "Brindlewick  V1.2", active)
    picture = G.Image(409, 238, (250, 244, 226))
    for y in range(238):
        for x in range(409):
            if (x // 24 + y // 24) % 2 == 0:
                picture.px[y][x] = (246, 238, 212)
    draw_text(picture, 150, 110, "Brindlewick", (59, 35, 20))
    img.rect(cx + 9, cy + 9, cx + 9 + 415, cy + 9 + 244, skin.colour("Colours", "ButtonFace"))
    img.paste(picture, cx + 12, cy + 12, key=False)
    img.paste(progress(skin, 346, 25, 62), cx + 9, cy + 257)
    img.paste(button(skin, 60, 25, 5 if active else 1, "Load"), cx + 363, cy + 258)
    return img


def contact_sheet(skin, folder):
    names = sorted(f for f in os.listdir(folder) if f.endswith(".bmp"))
    scale = 3
    cells = []
    for name in names:
        with open(os.path.join(folder, name), "rb") as f:
            bmp = G.decode_bmp(f.read())
        big = scaled(bmp, scale)
        cells.append((name, big))
    width = 1500
    x = y = 10
    row_h = 0
    placed = []
    for name, big in cells:
        cw = max(big.w, text_width(name)) + 16
        if x + cw > width:
            x, y = 10, y + row_h + 16
            row_h = 0
        placed.append((name, big, x, y))
        x += cw
        row_h = max(row_h, big.h + 12)
    sheet = G.Image(width, y + row_h + 16, GROUND)
    for name, big, x, y in placed:
        draw_text(sheet, x, y, name.replace(".bmp", ""), (240, 240, 240))
        sheet.paste(big, x, y + 10, key=False)
    return sheet


def on_desktop(*windows):
    w = sum(win.w for win in windows) + 20 * (len(windows) + 1)
    h = max(win.h for win in windows) + 40
    out = G.Image(w, h, DESKTOP)
    x = 20
    for win in windows:
        out.paste(win, x, 20)
        x += win.w + 20
    return out


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", default=tempfile.gettempdir())
    parser.add_argument("--skin", default=here)
    args = parser.parse_args()
    skin = Skin(args.skin)
    name = skin.ini.get("TitlebarSkin", "SkinName").lower()
    outputs = {
        name + "-sheet.png": contact_sheet(skin, args.skin),
        name + "-mock.png": on_desktop(main_window(skin, True), main_window(skin, False)),
        name + "-gallery.png": on_desktop(gallery(skin), popup_menu(skin)),
    }
    for file_name, img in outputs.items():
        path = os.path.join(args.out, file_name)
        write_png(path, img)
        print(path)
    zoom = on_desktop(main_window(skin, True)).crop(0, 0, 240, 80)
    write_png(os.path.join(args.out, name + "-corner.png"), scaled(zoom, 4))


if __name__ == "__main__":
    main()
