"""Window-frame art: borders, caption band, caption buttons, menus."""

import skinlayout as L
from palette import (OXBLOOD, OXBLOOD_DEEP, OXBLOOD_IN, OXBLOOD_IN_DEEP, GOLD, GOLD_HI,
                     GOLD_IN, FACE, FACE_HI, FACE_SH)
from skinimage import (MAGENTA, Image, disc, hexc, mix, paint_shape, ring_depth, rounded,
                       shade, side_by_side, sqrt, stacked)


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
            return shade(c, 0.85) if y == top else c

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
                        img.put(x, y, mix(img.get(x, y), hexc("#C0675C"), 0.35))
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
