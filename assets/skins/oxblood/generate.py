#!/usr/bin/env python3
"""Draws the oxblood skin: writes skin.ini and every bitmap it names.

    python3 generate.py            write into this folder
    python3 generate.py --out DIR  write into DIR
    python3 generate.py --check    regenerate twice in scratch folders, compare with
                                   the committed files, then validate the description

Standard library only. Output is byte-for-byte deterministic: integer and
correctly rounded float arithmetic (no transcendental functions), fixed order.
"""

import argparse
import os
import struct
import sys
import tempfile

import skinlayout as L

MAGENTA = (255, 0, 255)


# ---------------------------------------------------------------- colour ----

def hexc(text):
    return (int(text[1:3], 16), int(text[3:5], 16), int(text[5:7], 16))


def mix(a, b, t):
    """a at t = 0, b at t = 1."""
    return tuple(int(x + (y - x) * t + 0.5) for x, y in zip(a, b))


def shade(c, f):
    return tuple(min(255, int(v * f + 0.5)) for v in c)


def muted(c, amount=0.55):
    """Desaturates towards the colour's own grey, as the inactive frame does."""
    grey = (c[0] * 299 + c[1] * 587 + c[2] * 114) // 1000
    return mix(c, (grey, grey, grey), amount)


OXBLOOD = hexc("#6B1E1E")
OXBLOOD_DEEP = hexc("#4A1212")
OXBLOOD_IN = hexc("#7A5A56")
OXBLOOD_IN_DEEP = hexc("#5C4542")
GOLD = hexc("#C9A227")
GOLD_HI = hexc("#E8CF7A")
GOLD_IN = muted(GOLD, 0.45)
FACE = hexc("#F3EBD3")
FACE_HI = hexc("#FFF9EA")
FACE_SH = hexc("#B8A886")
FACE_DK = hexc("#6E604A")
TEXT = hexc("#3B2314")
TEXT_OFF = hexc("#A0917A")
CAPTION_TEXT = hexc("#F6E7C1")
CAPTION_TEXT_IN = hexc("#CDBFA6")
SELECT = hexc("#8C2A22")
SELECT_TEXT = hexc("#FFF4DC")
OUTLINE = hexc("#7A5C3E")          # brown outline of cream controls
WELL = hexc("#E6DBBE")             # recessed cream: tracks, wells
FIELD = hexc("#FFFCF3")            # inside of check boxes and fields


# ----------------------------------------------------------------- image ----

class Image:
    def __init__(self, w, h, fill=MAGENTA):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def get(self, x, y):
        return self.px[y][x]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        """Fills [x0, x1) x [y0, y1)."""
        for y in range(max(0, y0), min(self.h, y1)):
            row = self.px[y]
            for x in range(max(0, x0), min(self.w, x1)):
                row[x] = c

    def frame(self, x0, y0, x1, y1, c):
        self.rect(x0, y0, x1, y0 + 1, c)
        self.rect(x0, y1 - 1, x1, y1, c)
        self.rect(x0, y0, x0 + 1, y1, c)
        self.rect(x1 - 1, y0, x1, y1, c)

    def vgrad(self, x0, y0, x1, y1, top, bottom):
        n = y1 - y0
        for i in range(n):
            self.rect(x0, y0 + i, x1, y0 + i + 1, mix(top, bottom, i / max(1, n - 1)))

    def paste(self, src, dx, dy, key=True):
        for y in range(src.h):
            for x in range(src.w):
                c = src.px[y][x]
                if not (key and c == MAGENTA):
                    self.put(dx + x, dy + y, c)

    def crop(self, x0, y0, x1, y1):
        out = Image(x1 - x0, y1 - y0)
        for y in range(y0, y1):
            out.px[y - y0] = list(self.px[y][x0:x1])
        return out

    def pattern(self, dx, dy, rows, c, mark="X"):
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                if ch == mark:
                    self.put(dx + x, dy + y, c)

    def mirrored(self):
        out = Image(self.w, self.h)
        out.px = [list(reversed(r)) for r in self.px]
        return out

    def flipped(self):
        out = Image(self.w, self.h)
        out.px = [list(r) for r in reversed(self.px)]
        return out

    def transposed(self):
        out = Image(self.h, self.w)
        out.px = [[self.px[x][y] for x in range(self.h)] for y in range(self.w)]
        return out


def side_by_side(frames):
    out = Image(sum(f.w for f in frames), max(f.h for f in frames))
    x = 0
    for f in frames:
        out.paste(f, x, 0, key=False)
        x += f.w
    return out


def stacked(frames):
    out = Image(max(f.w for f in frames), sum(f.h for f in frames))
    y = 0
    for f in frames:
        out.paste(f, 0, y, key=False)
        y += f.h
    return out


def encode_bmp(img):
    """24-bit bottom-up BMP with a 40-byte information header."""
    stride = (img.w * 3 + 3) & ~3
    pad = bytes(stride - img.w * 3)
    body = bytearray()
    for y in range(img.h - 1, -1, -1):
        for r, g, b in img.px[y]:
            body += bytes((b, g, r))
        body += pad
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, img.w, img.h, 1, 24, 0, len(body),
                       2835, 2835, 0, 0)
    return header + info + bytes(body)


def decode_bmp(data):
    """Reads back what encode_bmp writes (used by the check and the preview)."""
    if data[:2] != b"BM" or len(data) < 54:
        raise ValueError("not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    size, w, h, planes, bits, comp = struct.unpack_from("<IiiHHI", data, 14)
    if size != 40 or bits != 24 or comp != 0 or planes != 1:
        raise ValueError("not an uncompressed 24-bit BMP with a 40-byte header")
    if w <= 0 or h == 0:
        raise ValueError("bad dimensions")
    bottom_up = h > 0
    h = abs(h)
    stride = (w * 3 + 3) & ~3
    if offset + stride * h > len(data):
        raise ValueError("truncated pixel data")
    img = Image(w, h)
    for row in range(h):
        y = h - 1 - row if bottom_up else row
        base = offset + row * stride
        img.px[y] = [(data[base + 3 * x + 2], data[base + 3 * x + 1], data[base + 3 * x])
                     for x in range(w)]
    return img


# ---------------------------------------------------------------- shapes ----

def sqrt(v):
    return v ** 0.5


def ring_depth(x, y, w, h, radius, corners="tl tr bl br"):
    """Depth of pixel (x, y) below the outer edge of a w x h rounded rectangle:
    None outside, 0 for the outermost ring, 1 for the next, ... Corners not
    listed are square."""
    px, py = x + 0.5, y + 0.5
    cx = cy = None
    if px < radius and py < radius and "tl" in corners:
        cx, cy = radius, radius
    elif px > w - radius and py < radius and "tr" in corners:
        cx, cy = w - radius, radius
    elif px < radius and py > h - radius and "bl" in corners:
        cx, cy = radius, h - radius
    elif px > w - radius and py > h - radius and "br" in corners:
        cx, cy = w - radius, h - radius
    if cx is not None:
        d = radius - sqrt((px - cx) ** 2 + (py - cy) ** 2)
        return None if d <= 0 else int(d)
    return int(min(px, py, w - px, h - py))


def rounded(w, h, radius, colours, fill, corners="tl tr bl br"):
    """A rounded rectangle with hard edges against magenta. colours[k] paints ring
    k; fill(x, y) paints everything deeper."""
    img = Image(w, h)
    for y in range(h):
        for x in range(w):
            k = ring_depth(x, y, w, h, radius, corners)
            if k is None:
                continue
            img.px[y][x] = colours[k] if k < len(colours) else fill(x, y)
    return img


SUB = 4  # supersampling grid for coverage


def coverage(inside, x, y):
    hits = 0
    for j in range(SUB):
        for i in range(SUB):
            if inside(x + (i + 0.5) / SUB, y + (j + 0.5) / SUB):
                hits += 1
    return hits / (SUB * SUB)


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def paint_shape(img, inside, colour, ground=None):
    """Paints where inside() holds. With a known ground colour function the
    edge is blended into it; without one the edge is hard (coverage >= 1/2) so
    no pixel is ever blended towards the magenta key."""
    for y in range(img.h):
        for x in range(img.w):
            a = coverage(inside, x, y)
            if a <= 0:
                continue
            c = colour(x, y) if callable(colour) else colour
            if a >= 1:
                img.px[y][x] = c
            elif ground is not None:
                img.px[y][x] = mix(ground(x, y), c, a)
            elif a >= 0.5:
                img.px[y][x] = c


# ----------------------------------------------------------------- frame ----
# Window frame: one virtual window is drawn and cut into the four borders, so
# the corners, the inlay and the caption gradient meet exactly.

def caption_row(y, active=True):
    """Caption lacquer at strip row y (0 at the outer edge)."""
    if active:
        gloss, base, low, edge = hexc("#8B332C"), OXBLOOD, hexc("#5A1818"), OXBLOOD_DEEP
    else:
        gloss, base, low, edge = hexc("#8E716C"), OXBLOOD_IN, hexc("#6E524E"), OXBLOOD_IN_DEEP
    if y >= L.CAPTION_PX - 1:
        return edge
    if y <= 12:
        return mix(gloss, base, max(0, y - 3) / 9)
    return mix(base, low, (y - 12) / (L.CAPTION_PX - 14))


def frame_pixel(x, y, w, h, active):
    k = ring_depth(x, y, w, h, L.CORNER_PX, "tl tr")
    if k is None:
        return MAGENTA
    if active:
        rings = (OXBLOOD_DEEP, mix(OXBLOOD_DEEP, OXBLOOD, 0.5), GOLD)
        body = OXBLOOD
    else:
        rings = (OXBLOOD_IN_DEEP, mix(OXBLOOD_IN_DEEP, OXBLOOD_IN, 0.5), GOLD_IN)
        body = OXBLOOD_IN
    if k < 3:
        return rings[k]
    return caption_row(y, active) if y < L.CAPTION_PX else body


def virtual_window(active):
    w = L.BORDER_PX + L.TOP_MARGIN_PX * 2 + L.TOP_MIDDLE_PX + L.BORDER_PX
    h = L.CAPTION_PX + L.SIDE_MIDDLE_PX + L.BORDER_PX
    img = Image(w, h)
    for y in range(h):
        for x in range(w):
            img.px[y][x] = frame_pixel(x, y, w, h, active)
    return img


def borders():
    wins = [virtual_window(True), virtual_window(False)]
    w, h, b = wins[0].w, wins[0].h, L.BORDER_PX
    left = side_by_side([v.crop(0, 0, b, h) for v in wins])
    right = side_by_side([v.crop(w - b, 0, w, h) for v in wins])
    top = stacked([v.crop(b, 0, w - b, L.CAPTION_PX) for v in wins])
    bottom = stacked([v.crop(b, h - b, b + L.BOTTOM_WIDTH_PX, h) for v in wins])
    return left, right, top, bottom


def caption_back():
    """The darker rounded band behind the title; drawn over the caption, so its
    ends may blend into the caption colour of the same row."""
    frames = []
    for active in (True, False):
        img = Image(L.TEXTBACK_CAP_PX * 2 + L.TEXTBACK_MIDDLE_PX, L.CAPTION_PX)
        top, bottom = L.BAND_TOP_PX, L.BAND_BOTTOM_PX
        r = (bottom - top) / 2
        cy = (top + bottom) / 2
        lx, rx = L.TEXTBACK_CAP_PX, img.w - L.TEXTBACK_CAP_PX

        def inside(x, y):
            if not top <= y <= bottom:
                return False
            if x < lx:
                return (x - lx) ** 2 + (y - cy) ** 2 <= r * r
            if x > rx:
                return (x - rx) ** 2 + (y - cy) ** 2 <= r * r
            return True

        def band(x, y, active=active):
            c = shade(caption_row(y, active), 0.74)
            return mix(c, shade(c, 0.85), 1.0) if y == top else c

        paint_shape(img, inside, band, lambda x, y, a=active: caption_row(y, a))
        frames.append(img)
    return stacked(frames)


# ------------------------------------------------------- caption buttons ----

GLYPH_CLOSE = ["XX....XX", "XXX..XXX", ".XXXXXX.", "..XXXX..",
               "..XXXX..", ".XXXXXX.", "XXX..XXX", "XX....XX"]
GLYPH_MAX = ["XXXXXXXX", "XXXXXXXX", "X......X", "X......X",
             "X......X", "X......X", "X......X", "XXXXXXXX"]
GLYPH_RESTORE = ["..XXXXXX", "..XXXXXX", "..X....X", "XXXXXX.X",
                 "XXXXXX.X", "X....XXX", "X....X..", "XXXXXX.."]
GLYPH_MIN = ["........", "........", "........", "........",
             "........", "........", "XXXXXXXX", "XXXXXXXX"]
GLYPH_HELP = ["..XXXX..", ".XX..XX.", ".....XX.", "....XX..",
              "...XX...", "...XX...", "........", "...XX..."]


def caption_button(glyph):
    """18 x 18 gold glyph on a raised oxblood disc: normal, pressed, hot, inactive."""
    s = L.SYSBTN_PX
    frames = []
    for state in ("normal", "pressed", "hot", "inactive"):
        active = state != "inactive"
        ground = lambda x, y, a=active: caption_row(L.SYSBTN_Y + y, a)
        img = Image(s, s)
        c = s / 2
        if active:
            top, bottom, rim = hexc("#9A3C33"), hexc("#561515"), hexc("#3A0D0D")
            if state == "pressed":
                top, bottom = hexc("#4E1313"), hexc("#7A2620")
            if state == "hot":
                top, bottom, rim = hexc("#A8473D"), hexc("#5E1818"), GOLD
        else:
            top, bottom, rim = hexc("#8E716C"), hexc("#654A46"), hexc("#4E3A37")
        paint_shape(img, disc(c, c, c - 0.5), rim, ground)
        paint_shape(img, disc(c, c, c - 1.6),
                    lambda x, y: mix(top, bottom, y / (s - 1)), None)
        if state == "normal":  # a thin lit rim on the upper half: the disc reads raised
            for x in range(s):
                for y in range(s // 2):
                    d = sqrt((x + 0.5 - c) ** 2 + (y + 0.5 - c) ** 2)
                    if c - 2.6 < d <= c - 1.6:
                        img.put(x, y, mix(img.get(x, y), hexc("#C0675C"), 0.6))
        ink = {"normal": GOLD, "pressed": GOLD, "hot": GOLD_HI,
               "inactive": hexc("#C9B99A")}[state]
        shift = 1 if state == "pressed" else 0
        g = (s - 8) // 2 + shift
        if active:  # dark bed under the glyph keeps it crisp on the gradient
            img.pattern(g + 1, g + 1, glyph, hexc("#2E0A0A"))
        img.pattern(g, g, glyph, ink)
        frames.append(img)
    return side_by_side(frames)


def rivet():
    s = L.RIVET_PX
    frames = []
    for state in ("normal", "pressed", "hot", "inactive"):
        active = state != "inactive"
        ground = lambda x, y, a=active: caption_row(L.RIVET_Y + y, a)
        img = Image(s, s)
        c = s / 2
        if active:
            rim, lo, hi = hexc("#7A5A12"), GOLD, GOLD_HI
        else:
            rim, lo, hi = hexc("#6A5A48"), hexc("#A8997C"), hexc("#CFC3A8")
        paint_shape(img, disc(c, c, c - 0.2), rim, ground)
        paint_shape(img, disc(c, c, c - 1.1),
                    lambda x, y: mix(hi, lo, min(1, (x + y) / (s + 1))), None)
        img.put(2, 2, mix(hi, (255, 255, 255), 0.5))
        frames.append(img)
    return side_by_side(frames)


def window_icon():
    """Only sizes the icon slot: the frame draws the window's own icon there."""
    s = L.ICON_PX
    img = rounded(s, s, 3, [GOLD, FACE_HI], lambda x, y: FACE)
    img.pattern(4, 3, ["XXXXX.", "XX..XX", "XX..XX", "XXXXX.",
                       "XX..XX", "XX..XX", "XX..XX", "XXXXX."], OXBLOOD)
    img.rect(4, 12, 12, 13, GOLD)
    return img


MDI_GLYPHS = {
    "min": ["......", "......", "......", "......", "XXXXXX", "XXXXXX"],
    "restore": ["..XXXX", "..X..X", "XXXX.X", "X..XXX", "X..X..", "XXXX.."],
    "close": ["XX..XX", ".XXXX.", "..XX..", "..XX..", ".XXXX.", "XX..XX"],
}


def mdi_controls():
    """Three 4-frame buttons for a maximised MDI child, drawn on the menu band:
    normal, pressed, inactive, hot."""
    frames = []
    for name in ("min", "restore", "close"):
        for state in ("normal", "pressed", "inactive", "hot"):
            face = push_face(L.MDI_W_PX, L.MDI_H_PX, state, radius=2)
            ink = TEXT_OFF if state == "inactive" else (OXBLOOD if state == "hot" else TEXT)
            d = 1 if state == "pressed" else 0
            face.pattern((L.MDI_W_PX - 6) // 2 + d, (L.MDI_H_PX - 6) // 2 + d,
                         MDI_GLYPHS[name], ink)
            frames.append(face)
    return side_by_side(frames)


# ------------------------------------------------------ cream materials ----

def push_face(w, h, state, radius=3):
    """Cream button face. States: normal, pressed, disabled, hot, default,
    inactive (as disabled)."""
    if state in ("disabled", "inactive"):
        rings = [FACE_SH]
        fill = lambda x, y: FACE
    elif state == "pressed":
        rings = [OUTLINE, FACE_SH]
        fill = lambda x, y: mix(hexc("#DCCFAE"), hexc("#EDE4CA"), y / (h - 1))
    else:
        top, bottom = (hexc("#FFFBF0"), hexc("#E9DEC0")) if state != "hot" else \
            (hexc("#FFFDF6"), hexc("#F0E5C6"))
        outline = GOLD if state == "hot" else OUTLINE
        rings = [outline, FACE_HI]
        if state == "hot":
            rings = [outline, GOLD_HI]
        if state == "default":
            rings = [OUTLINE, OUTLINE, FACE_HI]
        fill = lambda x, y: mix(top, bottom, y / (h - 1))
    img = rounded(w, h, radius, rings, fill)
    if state not in ("disabled", "inactive", "pressed"):
        # soft shadow along the inner bottom edge
        depth = len(rings)
        for x in range(w):
            y = h - 1 - depth
            k = ring_depth(x, y, w, h, radius)
            if k is not None and k >= depth:
                img.put(x, y, mix(img.get(x, y), FACE_SH, 0.45))
    return img


def buttons():
    return side_by_side([push_face(L.BUTTON_W_PX, L.BUTTON_H_PX, s)
                         for s in ("normal", "pressed", "disabled", "hot", "default")])


CHECK_MARK = ["......X", ".....XX", "X...XX.", "XX.XX..", ".XXX...", "..X...."]


def check_box(state, mark):
    s = L.CHECK_PX
    outline = {"normal": OUTLINE, "hot": GOLD, "pressed": OUTLINE, "disabled": FACE_SH}[state]
    inner = {"normal": FIELD, "hot": FIELD, "pressed": WELL, "disabled": FACE}[state]
    img = rounded(s, s, 2, [outline], lambda x, y: inner)
    if state in ("normal", "hot"):
        img.rect(1, 1, s - 1, 2, mix(inner, FACE_SH, 0.35))   # inset shadow
    if state == "hot":
        img.frame(1, 1, s - 1, s - 1, mix(GOLD_HI, FIELD, 0.35))
    ink = TEXT_OFF if state == "disabled" else SELECT
    if mark == "check":
        img.pattern(3, 4, CHECK_MARK, ink)
    elif mark == "mixed":
        img.rect(4, 4, 9, 9, mix(ink, inner, 0.35))
    return img


def check_images():
    """12 frames: (normal, hot, pressed, disabled) for unchecked, checked, mixed."""
    return side_by_side([check_box(s, m) for m in ("none", "check", "mixed")
                         for s in ("normal", "hot", "pressed", "disabled")])


def radio_images():
    """8 frames: (normal, hot, pressed, disabled) for unchecked, checked. Edges
    blend into the button face the painter lays down first."""
    s = L.CHECK_PX
    c = s / 2
    frames = []
    for on in (False, True):
        for state in ("normal", "hot", "pressed", "disabled"):
            outline = {"normal": OUTLINE, "hot": GOLD, "pressed": OUTLINE,
                       "disabled": FACE_SH}[state]
            inner = {"normal": FIELD, "hot": FIELD, "pressed": WELL, "disabled": FACE}[state]
            img = Image(s, s)
            paint_shape(img, disc(c, c, c - 0.3), outline, lambda x, y: FACE)
            paint_shape(img, disc(c, c, c - 1.3),
                        lambda x, y: mix(mix(inner, FACE_SH, 0.3), inner, min(1, y / 5)),
                        lambda x, y: outline)
            if on:
                ink = TEXT_OFF if state == "disabled" else SELECT
                paint_shape(img, disc(c, c, 2.6), ink, lambda x, y: inner)
            frames.append(img)
    return side_by_side(frames)


def progress():
    """Frame 1 the sunken cream track, frame 2 the oxblood fill (magenta where the
    track's edge must show through)."""
    w, h = L.PROGRESS_W_PX, L.PROGRESS_H_PX
    track = rounded(w, h, 2, [FACE_SH], lambda x, y: WELL)
    track.rect(1, 1, w - 1, 2, mix(WELL, FACE_DK, 0.35))     # sunken: dark top inside
    track.rect(1, 2, 2, h - 1, mix(WELL, FACE_DK, 0.2))
    track.rect(2, h - 2, w - 1, h - 1, FACE_HI)
    track.rect(w - 2, 2, w - 1, h - 1, FACE_HI)
    fill = Image(w, h)
    inset = L.PROGRESS_INSET_PX
    body = rounded(w - 2 * inset, h - 2 * inset, 2, [OXBLOOD_DEEP],
                   lambda x, y: mix(hexc("#9A352C"), hexc("#5A1818"), y / (h - 2 * inset - 1)))
    body.rect(1, 1, body.w - 1, 2, GOLD_HI)
    body.rect(1, 2, body.w - 1, 3, mix(GOLD, hexc("#9A352C"), 0.5))
    fill.paste(body, inset, inset)
    return side_by_side([track, fill])


def progress_chunk():
    w, h = L.CHUNK_W_PX, L.CHUNK_H_PX
    img = Image(w, h)
    img.vgrad(0, 0, w - 1, h, hexc("#9A352C"), hexc("#5A1818"))
    img.rect(0, 0, w - 1, 1, GOLD_HI)
    img.rect(0, 1, w - 1, 2, mix(GOLD, hexc("#9A352C"), 0.5))
    return img


def groupbox_edge():
    """Frame 1 enabled, 2 disabled: rounded etched line, hollow centre."""
    frames = []
    for line in (FACE_SH, mix(FACE_SH, FACE, 0.5)):
        img = rounded(L.EDGE_PX, L.EDGE_PX, 4, [line, FACE_HI], lambda x, y: MAGENTA)
        frames.append(img)
    return side_by_side(frames)


def groupbox_plate():
    return rounded(L.PLATE_W_PX, L.PLATE_H_PX, 4, [GOLD, FACE_HI],
                   lambda x, y: mix(FACE_HI, FACE, y / (L.PLATE_H_PX - 1)))


def tabs():
    """normal, selected, hot, disabled, focused. Unselected tabs sit two pixels
    lower and carry the page's top line; the selected one opens into the page."""
    w, h = L.TAB_W_PX, L.TAB_H_PX
    frames = []
    for state in ("normal", "selected", "hot", "disabled", "focused"):
        img = Image(w, h)
        lift = 0 if state in ("selected", "focused") else 2
        face_top, face_bottom = (FACE_HI, FACE) if lift == 0 else (hexc("#F1E8CE"), hexc("#E4D8B8"))
        outline = {"hot": GOLD, "disabled": FACE_SH}.get(state, OUTLINE)
        body = rounded(w, h - lift + 3, 3, [outline, FACE_HI],
                       lambda x, y: mix(face_top, face_bottom, y / (h - 1)), "tl tr")
        img.paste(body.crop(0, 0, w, h - lift), 0, lift)
        if lift == 0:
            img.rect(2, 1, w - 2, 2, GOLD if state == "selected" else GOLD_HI)
            img.rect(1, h - 1, w - 1, h, FACE)
        else:
            img.rect(0, h - 1, w, h, FACE_SH)
        frames.append(img)
    return side_by_side(frames)


def tab_border():
    """Page border round the tab sheet; the painter keeps 4/5/4/4 edges."""
    s = L.TAB_BORDER_PX
    img = Image(s, s, FACE)
    img.frame(0, 0, s, s, FACE_SH)
    img.rect(1, 1, s - 1, 2, FACE_HI)
    img.rect(1, 1, 2, s - 1, FACE_HI)
    img.rect(1, s - 1, s, s, FACE_DK)
    img.rect(s - 1, 1, s, s, FACE_DK)
    return img


def statusbar_edges():
    """lowered, raised, flat; opaque, centre included."""
    s = L.STATUS_PX
    frames = []
    for kind in ("lowered", "raised", "flat"):
        img = Image(s, s, FACE)
        if kind != "flat":
            a, b = (FACE_SH, FACE_HI) if kind == "lowered" else (FACE_HI, FACE_SH)
            img.rect(0, 0, s, 1, a)
            img.rect(0, 0, 1, s, a)
            img.rect(0, s - 1, s, s, b)
            img.rect(s - 1, 0, s, s, b)
        frames.append(img)
    return side_by_side(frames)


def tool_buttons():
    """normal (flat: nothing), pressed, disabled, hot, checked."""
    s = L.TOOLBTN_PX
    frames = [Image(s, s)]
    frames.append(push_face(s, s, "pressed", radius=3))
    frames.append(Image(s, s))
    frames.append(push_face(s, s, "hot", radius=3))
    checked = rounded(s, s, 3, [OUTLINE, FACE_SH], lambda x, y: WELL)
    frames.append(checked)
    return side_by_side(frames)


def combo_button():
    """The drop-down button at the right end of a combo box: normal, pressed,
    disabled, focused/hot. Rounded on the right, a divider on the left."""
    w, h = L.COMBO_BTN_W_PX, L.COMBO_H_PX
    frames = []
    for state in ("normal", "pressed", "disabled", "hot"):
        face = push_face(w + 4, h, state, radius=3)
        img = face.crop(4, 0, w + 4, h)
        divider = FACE_SH if state != "hot" else GOLD
        img.rect(0, 1, 1, h - 1, divider)
        img.rect(1, 1, 2, h - 1, FACE_HI if state != "pressed" else WELL)
        frames.append(img)
    return side_by_side(frames)


def sunk_edge():
    """Edit-field edge: normal, pressed, disabled, focused; centre white."""
    w, h = L.SUNK_W_PX, L.COMBO_H_PX
    frames = []
    for state in ("normal", "pressed", "disabled", "focused"):
        outline = {"disabled": FACE_SH, "focused": GOLD}.get(state, OUTLINE)
        inner = FACE if state == "disabled" else (255, 255, 255)
        second = {"focused": GOLD_HI, "disabled": FACE}.get(state, mix(WELL, FACE_SH, 0.3))
        frames.append(rounded(w, h, 3, [outline, second], lambda x, y, c=inner: c))
    return side_by_side(frames)


ARROW_DOWN = ["XXXXXXX", ".XXXXX.", "..XXX..", "...X..."]
SIZE_GRIP = ["..........X.", ".........XX.", "............", ".......X..X.",
             "......XX.XX.", "............", "....X..X..X.", "...XX.XX.XX.",
             "............", ".X..X..X..X.", "XX.XX.XX.XX.", "............"]


def extra_images():
    """Frames 1-4: combo arrow for normal, pressed, disabled, hot; frame 5: size grip."""
    s = L.EXTRA_PX
    frames = []
    for state, ink in (("normal", TEXT), ("pressed", TEXT), ("disabled", TEXT_OFF),
                       ("hot", OXBLOOD)):
        img = Image(s, s)
        d = 1 if state == "pressed" else 0
        img.pattern((s - 7) // 2 + d, (s - 4) // 2 + d, ARROW_DOWN, ink)
        frames.append(img)
    grip = Image(s, s)
    grip.pattern(1, 1, SIZE_GRIP, FACE_HI)
    grip.pattern(0, 0, SIZE_GRIP, FACE_DK)
    frames.append(grip)
    return side_by_side(frames)


def header_bar():
    """normal, pressed, hot, disabled, sorted."""
    w, h = L.HEADER_W_PX, L.HEADER_H_PX
    frames = []
    for state in ("normal", "pressed", "hot", "disabled", "sorted"):
        img = Image(w, h)
        top, bottom = {"pressed": (hexc("#E2D6B6"), hexc("#EFE6CC")),
                       "hot": (FACE_HI, hexc("#F4EAC9")),
                       "disabled": (FACE, FACE),
                       "sorted": (hexc("#FBF3DC"), hexc("#E6D7AE"))}.get(
                           state, (FACE_HI, hexc("#E9DFC2")))
        img.vgrad(0, 0, w, h, top, bottom)
        img.rect(0, 0, w, 1, FACE_HI)
        img.rect(0, h - 1, w, h, FACE_DK if state != "disabled" else FACE_SH)
        img.rect(0, h - 2, w, h - 1, GOLD if state in ("hot", "sorted") else FACE_SH)
        img.rect(w - 2, 3, w - 1, h - 4, FACE_SH)
        img.rect(w - 1, 3, w, h - 4, FACE_HI)
        frames.append(img)
    return side_by_side(frames)


def menu_item():
    """normal (clear), separator, disabled (clear), selected, selected-disabled."""
    w, h = L.MENUITEM_W_PX, L.MENUITEM_H_PX
    clear = Image(w, h)
    sep = Image(w, h)
    line = h - L.SEPARATOR_H_PX + L.SEPARATOR_LINE_PX
    sep.rect(2, line, w - 2, line + 1, GOLD)
    sep.rect(2, line + 1, w - 2, line + 2, FACE_HI)
    sel = rounded(w, h, 3, [hexc("#6A1C17")],
                  lambda x, y: mix(hexc("#9C3329"), hexc("#7E241E"), y / (h - 1)))
    sel.rect(2, 1, w - 2, 2, mix(hexc("#9C3329"), GOLD_HI, 0.35))
    sel_off = rounded(w, h, 3, [hexc("#A88F88")], lambda x, y: hexc("#C9B4AC"))
    return side_by_side([clear, sep, Image(w, h), sel, sel_off])


def menu_back():
    s = L.MENUBACK_PX
    img = Image(s, s, FACE)
    for k, c in enumerate((OXBLOOD_DEEP, OXBLOOD, GOLD)):
        img.frame(k, k, s - k, s - k, c)
    return img


def menu_bar():
    """Band under the caption, stacked active / inactive."""
    w, h = L.MENUBAR_W_PX, L.MENUBAR_H_PX
    frames = []
    for top, bottom in ((FACE_HI, hexc("#EBE1C5")), (FACE, FACE)):
        img = Image(w, h)
        img.vgrad(0, 0, w, h, top, bottom)
        img.rect(0, h - 1, w, h, FACE_SH)
        frames.append(img)
    return stacked(frames)


# ------------------------------------------------------------ scrolling ----

ARROWS = {
    "left": ["...X", "..XX", ".XXX", "XXXX", ".XXX", "..XX", "...X"],
    "right": ["X...", "XX..", "XXX.", "XXXX", "XXX.", "XX..", "X..."],
    "up": ["...X...", "..XXX..", ".XXXXX.", "XXXXXXX"],
    "down": ["XXXXXXX", ".XXXXX.", "..XXX..", "...X..."],
}


def arrow_button(direction, state, size):
    face = push_face(size, size, state, radius=2)
    ink = {"disabled": TEXT_OFF, "hot": OXBLOOD}.get(state, TEXT)
    glyph = ARROWS[direction]
    d = 1 if state == "pressed" else 0
    face.pattern((size - len(glyph[0])) // 2 + d, (size - len(glyph)) // 2 + d, glyph, ink)
    return face


def track(vertical, state, length=L.TRACK_LEN_PX):
    w, h = (L.SCROLL_PX, length) if vertical else (length, L.SCROLL_PX)
    well = {"pressed": hexc("#DCCFAE"), "disabled": FACE}.get(state, WELL)
    edge = FACE_SH if state != "disabled" else mix(FACE_SH, FACE, 0.5)
    img = Image(w, h, well)
    if vertical:
        img.rect(0, 0, 1, h, edge)
        img.rect(w - 1, 0, w, h, edge)
        img.rect(1, 0, 2, h, mix(well, FACE_SH, 0.3))
    else:
        img.rect(0, 0, w, 1, edge)
        img.rect(0, h - 1, w, h, edge)
        img.rect(0, 1, w, 2, mix(well, FACE_SH, 0.3))
    return img


def thumb(vertical, state, length=L.THUMB_LEN_PX):
    """Oxblood lacquer with the frame's gold inlay; one pixel of track shows on
    each long side."""
    t = L.SCROLL_PX
    lacquer_top, lacquer_bottom = {"pressed": (hexc("#561616"), hexc("#7A2620")),
                                   "hot": (hexc("#A3443A"), hexc("#631A1A"))}.get(
                                       state, (hexc("#8E3830"), hexc("#581616")))
    inlay = GOLD_HI if state == "hot" else GOLD
    w, h = length, t - 2
    body = rounded(w, h, 4, [OXBLOOD_DEEP, None, inlay],
                   lambda x, y: mix(lacquer_top, lacquer_bottom, y / (h - 1)))
    for y in range(h):          # ring 1 takes the lacquer of its row
        for x in range(w):
            if body.px[y][x] is None:
                body.px[y][x] = mix(lacquer_top, lacquer_bottom, y / (h - 1))
    img = Image(w, t)
    img.paste(body, 0, 1)
    return img.transposed() if vertical else img


def scrollbar_arrows():
    """23 frames: left, right, up, down arrows x (normal, pressed, hot, disabled);
    then size box, horizontal and vertical track, horizontal and vertical thumb,
    the two thumbs pressed."""
    s = L.SCROLL_PX
    frames = [arrow_button(d, st, s) for d in ("left", "right", "up", "down")
              for st in ("normal", "pressed", "hot", "disabled")]
    box = Image(s, s, FACE)
    box.pattern(s - 13, s - 13, SIZE_GRIP, FACE_HI)
    box.pattern(s - 14, s - 14, SIZE_GRIP, FACE_DK)
    frames.append(box)
    frames.append(track(False, "normal", s))
    frames.append(track(True, "normal", s))
    frames.append(thumb(False, "normal", s))
    frames.append(thumb(True, "normal", s))
    frames.append(thumb(False, "pressed", s))
    frames.append(thumb(True, "pressed", s))
    return side_by_side(frames)


# ---------------------------------------------------- track-bar thumbs ----

def trackbar_thumb(point):
    """A gold-rimmed oxblood thumb, optionally pointed. Upright (11 x 21) for
    horizontal bars; the vertical ones are the transpose. Frames: normal,
    focused (the look the painter draws), hot, pressed, disabled."""
    w, h = L.TRACK_THUMB_W_PX, L.TRACK_THUMB_H_PX
    tip = L.TRACK_THUMB_TIP_PX

    def inside(x, y, inset=0.0):
        if not (inset <= x <= w - inset):
            return False
        top, bottom = inset, h - inset
        cx = w / 2
        if point == "down" and y > h - tip:
            return y <= bottom - abs(x - cx) * (tip / cx) and top <= y
        if point == "up" and y < tip:
            return y >= top + abs(x - cx) * (tip / cx) and y <= bottom
        return top <= y <= bottom

    frames = []
    for state in ("normal", "focused", "hot", "pressed", "disabled"):
        img = Image(w, h)
        if state == "disabled":
            rim, a, b, line = FACE_SH, FACE, hexc("#E4D8B8"), FACE_SH
        else:
            rim = OXBLOOD_DEEP
            a, b = {"pressed": (hexc("#561616"), hexc("#7A2620")),
                    "hot": (hexc("#A3443A"), hexc("#631A1A"))}.get(
                        state, (hexc("#8E3830"), hexc("#581616")))
            line = GOLD_HI if state in ("hot", "focused") else GOLD
        paint_shape(img, inside, rim)
        paint_shape(img, lambda x, y: inside(x, y, 1.0),
                    lambda x, y: mix(a, b, y / (h - 1)))
        paint_shape(img, lambda x, y: inside(x, y, 2.0) and not inside(x, y, 3.0), line)
        frames.append(img)
    return frames


def trackbar_thumbs():
    out = {}
    for name, point, turn in (("horz", None, False), ("vert", None, True),
                              ("up", "up", False), ("down", "down", False),
                              ("left", "up", True), ("right", "down", True)):
        frames = trackbar_thumb(point)
        if turn:
            frames = [f.transposed() for f in frames]
        out[name] = side_by_side(frames)
    return out


# ------------------------------------------------------------- up-down ----

def updown(vertical):
    """8 frames: first button (up or left) normal, pressed, disabled, hot; then
    the second button (down or right) the same."""
    w, h = (L.UPDOWN_LONG_PX, L.UPDOWN_SHORT_PX) if vertical else \
        (L.UPDOWN_SHORT_PX, L.UPDOWN_LONG_PX)
    states = ("normal", "pressed", "disabled", "hot")
    faces = [push_face(w, h, s, radius=2) for s in states]
    glyphs = []
    for direction in (("up", "down") if vertical else ("left", "right")):
        pattern = ARROWS[direction]
        if not vertical:
            pattern = [r[:4] if direction == "left" else r[:4] for r in pattern]
        gw, gh = len(pattern[0]), len(pattern)
        for s in states:
            g = Image(gw, gh)
            g.pattern(0, 0, pattern, {"disabled": TEXT_OFF, "hot": OXBLOOD}.get(s, TEXT))
            glyphs.append(g)
    return side_by_side(faces + faces), side_by_side(glyphs)


# ------------------------------------------------------------- assembly ----

def build_images():
    left, right, top, bottom = borders()
    images = {
        L.FILES["left"]: left, L.FILES["right"]: right,
        L.FILES["top"]: top, L.FILES["bottom"]: bottom,
        L.FILES["textback"]: caption_back(),
        L.FILES["menubar"]: menu_bar(),
        L.FILES["icon"]: window_icon(),
        L.FILES["close"]: caption_button(GLYPH_CLOSE),
        L.FILES["max"]: caption_button(GLYPH_MAX),
        L.FILES["restore"]: caption_button(GLYPH_RESTORE),
        L.FILES["min"]: caption_button(GLYPH_MIN),
        L.FILES["help"]: caption_button(GLYPH_HELP),
        L.FILES["rivet"]: rivet(),
        L.FILES["mdi"]: mdi_controls(),
        L.FILES["button"]: buttons(),
        L.FILES["check"]: check_images(),
        L.FILES["radio"]: radio_images(),
        L.FILES["progress"]: progress(),
        L.FILES["chunk"]: progress_chunk(),
        L.FILES["groupedge"]: groupbox_edge(),
        L.FILES["groupplate"]: groupbox_plate(),
        L.FILES["tabs"]: tabs(),
        L.FILES["tabborder"]: tab_border(),
        L.FILES["status"]: statusbar_edges(),
        L.FILES["toolbars"]: tool_buttons(),
        L.FILES["combo"]: combo_button(),
        L.FILES["sunk"]: sunk_edge(),
        L.FILES["extra"]: extra_images(),
        L.FILES["header"]: header_bar(),
        L.FILES["menuitem"]: menu_item(),
        L.FILES["menuback"]: menu_back(),
        L.FILES["scrollbar"]: scrollbar_arrows(),
        L.FILES["htrack"]: side_by_side([track(False, s) for s in
                                         ("normal", "pressed", "disabled", "hot")]),
        L.FILES["vtrack"]: side_by_side([track(True, s) for s in
                                         ("normal", "pressed", "disabled", "hot")]),
        L.FILES["hthumb"]: side_by_side([thumb(False, s) for s in ("normal", "pressed", "hot")]),
        L.FILES["vthumb"]: side_by_side([thumb(True, s) for s in ("normal", "pressed", "hot")]),
    }
    for name, img in trackbar_thumbs().items():
        images[L.FILES["track_" + name]] = img
    for vertical, key in ((False, "updown_h"), (True, "updown_v")):
        faces, glyphs = updown(vertical)
        images[L.FILES[key]] = faces
        images[L.FILES[key + "_glyph"]] = glyphs
    for name, img in images.items():
        for row in img.px:
            for c in row:
                if c is None or (c != MAGENTA and c[0] >= 254 and c[1] <= 1 and c[2] >= 254):
                    raise SystemExit(f"{name}: a pixel would be read as the magenta key")
    return images


def write_all(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    images = build_images()
    for name in sorted(images):
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(encode_bmp(images[name]))
    with open(os.path.join(out_dir, L.INI_NAME), "wb") as f:
        f.write(L.ini_text().encode("ascii"))
    return sorted(images) + [L.INI_NAME]


def outputs_of(directory, names):
    out = {}
    for name in names:
        with open(os.path.join(directory, name), "rb") as f:
            out[name] = f.read()
    return out


def check(here):
    import skincheck
    problems = []
    with tempfile.TemporaryDirectory() as a, tempfile.TemporaryDirectory() as b:
        names = write_all(a)
        write_all(b)
        first, second = outputs_of(a, names), outputs_of(b, names)
        for name in names:
            if first[name] != second[name]:
                problems.append(f"{name}: two runs differ")
        for name in names:
            path = os.path.join(here, name)
            if not os.path.exists(path):
                problems.append(f"{name}: not committed (run generate.py)")
            elif outputs_of(here, [name])[name] != first[name]:
                problems.append(f"{name}: committed file differs from the generator's output")
        stray = sorted(f for f in os.listdir(here)
                       if f.endswith(".bmp") and f not in names)
        problems += [f"{f}: bitmap not produced by the generator" for f in stray]
    report = skincheck.validate(here)
    problems += report.problems
    for line in report.summary:
        print(line)
    for p in problems:
        print("problem:", p)
    print("check:", "ok" if not problems else f"{len(problems)} problem(s)")
    return 0 if not problems else 1


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=here)
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()
    if args.check:
        return check(here)
    names = write_all(args.out)
    print(f"wrote {len(names)} files into {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
