"""Window-frame art: borders, caption band, caption buttons, menus. Square corners
and no magenta in the borders, so the window keeps its plain rectangle."""

import skinlayout as L
from palette import (ACCENT, ACCENT_DEEP, ACCENT_HI, CAPTION_BOTTOM, CAPTION_TOP, EDGE,
                     FACE, FACE_HI, FACE_SH, FRAME, SEAM, TEXT, TEXT_OFF)
from skinimage import Image, hexc, mix, paint_shape, rounded, side_by_side, stacked


# ----------------------------------------------------------------- frame ----
# One virtual window is drawn and cut into the four borders, so corners and the
# caption gradient meet exactly. One frame serves the active and inactive window:
# only the title's colour and band tell them apart.

def caption_row(y):
    """Caption colour at strip row y (0 at the outer edge)."""
    return mix(CAPTION_TOP, CAPTION_BOTTOM, y / (L.CAPTION_PX - 1))


def frame_pixel(x, y, w, h):
    b, bottom = L.BORDER_PX, L.BOTTOM_PX
    if x == 0 or y == 0 or x == w - 1 or y == h - 1:
        return EDGE
    if x == 1 or y == 1:
        return FACE_HI
    # the seam round the client area, one pixel outside it
    in_client_x = b <= x < w - b
    in_client_y = L.CAPTION_PX <= y < h - bottom
    if (x in (b - 1, w - b) and L.CAPTION_PX - 1 <= y <= h - bottom) or \
            (y in (L.CAPTION_PX - 1, h - bottom) and b - 1 <= x <= w - b):
        return SEAM
    if in_client_x and in_client_y:
        return FACE
    return caption_row(y) if y < L.CAPTION_PX - 1 else FRAME


def virtual_window():
    w = L.BORDER_PX + L.TOP_MARGIN_PX * 2 + L.TOP_MIDDLE_PX + L.BORDER_PX
    h = L.CAPTION_PX + L.SIDE_MIDDLE_PX + L.BOTTOM_PX
    img = Image(w, h)
    for y in range(h):
        for x in range(w):
            img.px[y][x] = frame_pixel(x, y, w, h)
    return img


def borders():
    v = virtual_window()
    w, h, b, bb = v.w, v.h, L.BORDER_PX, L.BOTTOM_PX
    left = v.crop(0, 0, b, h)
    right = v.crop(w - b, 0, w, h)
    top = v.crop(b, 0, w - b, L.CAPTION_PX)
    bottom = v.crop(b, h - bb, b + L.BOTTOM_WIDTH_PX, h)
    return left, right, top, bottom


def caption_back():
    """A pale pill behind the centred title, stacked active / inactive; its ends
    blend into the caption of the same row."""
    frames = []
    for active in (True, False):
        img = Image(L.TEXTBACK_CAP_PX * 2 + L.TEXTBACK_MIDDLE_PX, L.CAPTION_PX)
        top, bottom = L.BAND_TOP_PX, L.BAND_BOTTOM_PX
        r = (bottom - top) / 2
        cy = (top + bottom) / 2
        lx, rx = L.TEXTBACK_CAP_PX, img.w - L.TEXTBACK_CAP_PX

        def inside(x, y, inset=0.0):
            if not top + inset <= y <= bottom - inset:
                return False
            if x < lx:
                return (x - lx) ** 2 + (y - cy) ** 2 <= (r - inset) ** 2
            if x > rx:
                return (x - rx) ** 2 + (y - cy) ** 2 <= (r - inset) ** 2
            return True

        rim = SEAM if active else mix(SEAM, CAPTION_BOTTOM, 0.5)
        fill = FACE_HI if active else mix(FACE_HI, CAPTION_BOTTOM, 0.45)
        ground = lambda x, y: caption_row(y)
        paint_shape(img, inside, rim, ground)
        paint_shape(img, lambda x, y: inside(x, y, 1.0), fill, lambda x, y: rim)
        frames.append(img)
    return stacked(frames)


# ------------------------------------------------------- caption buttons ----

GLYPH_CLOSE = ["X......X", ".X....X.", "..X..X..", "...XX...",
               "...XX...", "..X..X..", ".X....X.", "X......X"]
GLYPH_MAX = ["XXXXXXXX", "X......X", "X......X", "X......X",
             "X......X", "X......X", "X......X", "XXXXXXXX"]
GLYPH_RESTORE = ["..XXXXXX", "..X....X", "XXXXXX.X", "X....X.X",
                 "X....XXX", "X....X..", "X....X..", "XXXXXX.."]
GLYPH_MIN = ["........", "........", "........", "........",
             "........", "........", "........", "XXXXXXXX"]
GLYPH_HELP = ["..XXXX..", ".X....X.", "......X.", ".....X..",
              "....X...", "....X...", "........", "....X..."]


def caption_button(glyph):
    """24 x 18 flat rounded rectangle with a thin glyph: normal, pressed, hot, inactive."""
    w, h = L.SYSBTN_W_PX, L.SYSBTN_H_PX
    frames = []
    for state in ("normal", "pressed", "hot", "inactive"):
        ground = lambda x, y: caption_row(L.SYSBTN_Y + y)
        fill, rim, ink = {
            "normal": (lambda x, y: mix(FACE_HI, ground(x, y), 0.35), SEAM, TEXT),
            "pressed": (lambda x, y: ACCENT_DEEP, ACCENT_DEEP, FACE_HI),
            "hot": (lambda x, y: ACCENT, ACCENT_DEEP, FACE_HI),
            "inactive": (lambda x, y: mix(FACE_HI, ground(x, y), 0.6),
                         mix(SEAM, CAPTION_BOTTOM, 0.5), TEXT_OFF),
        }[state]
        img = Image(w, h)
        r = 3.5

        def inside(x, y, inset=0.0):
            x0, y0, x1, y1 = inset, inset, w - inset, h - inset
            if not (x0 <= x <= x1 and y0 <= y <= y1):
                return False
            for cx, cy in ((x0 + r, y0 + r), (x1 - r, y0 + r), (x0 + r, y1 - r), (x1 - r, y1 - r)):
                if abs(x - cx) <= r and abs(y - cy) <= r and \
                        ((x < x0 + r or x > x1 - r) and (y < y0 + r or y > y1 - r)):
                    return (x - cx) ** 2 + (y - cy) ** 2 <= (r - 0) ** 2
            return True

        paint_shape(img, inside, rim, ground)
        paint_shape(img, lambda x, y: inside(x, y, 1.0), fill, lambda x, y: rim)
        shift = 1 if state == "pressed" else 0
        img.pattern((w - 8) // 2 + shift, (h - 8) // 2 + shift, glyph, ink)
        frames.append(img)
    return side_by_side(frames)


def window_icon():
    """Only sizes the icon slot: the frame draws the window's own icon there."""
    s = L.ICON_PX
    img = rounded(s, s, 2, [ACCENT_DEEP, ACCENT_HI], lambda x, y: FACE_HI)
    img.pattern(5, 4, ["XXXX.", "X...X", "XXXX.", "X...X", "X...X", "XXXX."], ACCENT_DEEP)
    return img


def menu_item():
    """normal (clear), separator, disabled (clear), selected, selected-disabled."""
    w, h = L.MENUITEM_W_PX, L.MENUITEM_H_PX
    clear = Image(w, h)
    sep = Image(w, h)
    line = h - L.SEPARATOR_H_PX + L.SEPARATOR_LINE_PX
    sep.rect(2, line, w - 2, line + 1, FACE_SH)
    sel = rounded(w, h, 2, [ACCENT_DEEP], lambda x, y: ACCENT)
    sel_off = rounded(w, h, 2, [FACE_SH], lambda x, y: hexc("#D3DDE7"))
    return side_by_side([clear, sep, Image(w, h), sel, sel_off])


def menu_back():
    s = L.MENUBACK_PX
    img = Image(s, s, hexc("#FAFBFD"))
    img.frame(0, 0, s, s, FACE_SH)
    img.frame(1, 1, s - 1, s - 1, FACE_HI)
    return img


def menu_bar():
    """Band under the caption, stacked active / inactive."""
    w, h = L.MENUBAR_W_PX, L.MENUBAR_H_PX
    frames = []
    for top, bottom in ((hexc("#F9FBFD"), hexc("#EAF0F6")), (FACE, FACE)):
        img = Image(w, h)
        img.vgrad(0, 0, w, h, top, bottom)
        img.rect(0, h - 1, w, h, SEAM)
        frames.append(img)
    return stacked(frames)
