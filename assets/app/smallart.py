"""The palette pictures: the language window's oval, the three button glyphs and the
program icon. Each function returns what its file encoder takes."""

from raster import (Canvas, coverage, hexc, in_polygon, mask_of, mix, palette_of, rim_of,
                    seg_dist2, solid, to_indices)

FUCHSIA = (255, 0, 255)
OLIVE = (128, 128, 0)
OVAL_YELLOW = (248, 249, 145)
BROWN = hexc("#3B2314")
GOLD = hexc("#C9A227")
GOLD_LIGHT = hexc("#E8CF7A")
OXBLOOD = hexc("#6B1E1E")
OXBLOOD_DARK = hexc("#4A1212")
CREAM = hexc("#F3EBD3")

# --------------------------------------------------------------- language ----

LANGUAGE_SIZE = (493, 300)
OUTLINE_PX = 2.0
INLAY_INSET_PX = 5.0   # gold hairline inside the outline, as on the window frames
INLAY_PX = 1.0
BLEND_LEVELS = 6       # palette steps between two colours


def _ellipse(inset):
    w, h = LANGUAGE_SIZE
    cx, cy = w / 2, h / 2
    a, b = cx - inset, cy - inset
    return lambda x, y: ((x - cx) / a) ** 2 + ((y - cy) / b) ** 2 <= 1.0


def _ramp(a, b, levels):
    return [mix(a, b, i / (levels + 1)) for i in range(1, levels + 1)]


def language_palette():
    return ([FUCHSIA, OVAL_YELLOW, BROWN] + _ramp(BROWN, OVAL_YELLOW, BLEND_LEVELS)
            + [GOLD] + _ramp(GOLD, OVAL_YELLOW, BLEND_LEVELS))[:16]


def _level(alpha):
    """Coverage 0..1 to the nearest of the palette's blend steps (0 = ground colour,
    BLEND_LEVELS + 1 = full colour)."""
    return int(alpha * (BLEND_LEVELS + 1) + 0.5)


def language():
    """Returns (rows of indices, palette). The edge against fuchsia is hard: a pixel
    is either fuchsia or fully opaque, so the window's shape has no pink fringe."""
    w, h = LANGUAGE_SIZE
    palette = language_palette()
    iy, ib, ig = 1, 2, 3 + BLEND_LEVELS
    outer = _ellipse(0.0)
    inner = _ellipse(OUTLINE_PX)
    inlay_out = _ellipse(INLAY_INSET_PX)
    inlay_in = _ellipse(INLAY_INSET_PX + INLAY_PX)
    shapes = (outer, inner, inlay_out, inlay_in)

    def corners_agree(x, y):
        for f in shapes:
            first = f(x, y)
            if f(x + 1, y) != first or f(x, y + 1) != first or f(x + 1, y + 1) != first:
                return False
        return True

    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            if corners_agree(x, y):
                if not outer(x, y):
                    row.append(0)
                elif not inner(x, y):
                    row.append(ib)
                elif inlay_out(x, y) and not inlay_in(x, y):
                    row.append(ig)
                else:
                    row.append(iy)
                continue
            if not solid(outer, x, y):
                row.append(0)
                continue
            yellow = coverage(inner, x, y)
            if yellow < 1.0:
                lv = _level(yellow)  # 0 = all outline
                row.append(ib if lv == 0 else iy if lv > BLEND_LEVELS else 2 + lv)
                continue
            gold = coverage(inlay_out, x, y) - coverage(inlay_in, x, y)
            lv = _level(1.0 - gold)  # 0 = all gold
            row.append(ig if lv == 0 else iy if lv > BLEND_LEVELS else ig + lv)
        rows.append(row)
    return rows, palette


# ------------------------------------------------------------ load glyph ----

# An open folder with a written sheet in it. The bottom-left pixel is the key.
LOAD_ART = [
    ".................",
    ".................",
    ".KKKKK...........",
    "KLHHHLK..........",
    "KGLLLLGKKKKKKK...",
    "KGGKKKKKKKKKKGK..",
    "KGKWWWWWWWWWKGK..",
    "KGKWssssssWWKGK..",
    "KGKWWWWWWWWWKGK..",
    "KGKWsssssKKKKKKKK",
    "KGKKKKKKKHHHHHHLK",
    "KGKHHHHHHLLLLLLK.",
    "KGKLLLLLLLLLLLGK.",
    "KKLLLLLLLLLLLGK..",
    "KKGGGGGGGGGGGdK..",
    ".KKKKKKKKKKKKKK..",
    ".................",
]
LOAD_COLOURS = {
    ".": OLIVE, "K": BROWN, "G": GOLD, "L": GOLD_LIGHT, "H": (250, 236, 184),
    "d": hexc("#9A7A1C"), "W": (255, 252, 242), "s": (120, 110, 150),
}


def _from_art(art, colours):
    canvas = Canvas(len(art[0]), len(art), colours[art[0][0]])
    for y, line in enumerate(art):
        for x, ch in enumerate(line):
            canvas.put(x, y, colours[ch])
    return canvas


def glyph_load():
    canvas = _from_art(LOAD_ART, LOAD_COLOURS)
    palette = palette_of(canvas, 16)
    return to_indices(canvas, palette), palette


# ----------------------------------------------------------- abort glyph ----

ABORT_SIZE = 19


def glyph_abort():
    """A red octagon with a white cross; 24-bit, shaded from a lit top edge."""
    n = ABORT_SIZE
    c = n / 2
    apothem = c - 0.2
    diag = apothem * 1.4142135623730951

    def octagon(x, y, inset=0.0):
        dx, dy = abs(x - c), abs(y - c)
        r = apothem - inset
        return dx <= r and dy <= r and dx + dy <= diag - inset * 1.4142135623730951

    arm = 4.6
    half = 1.35

    def cross(x, y):
        return (seg_dist2(x, y, c - arm, c - arm, c + arm, c + arm) <= half * half or
                seg_dist2(x, y, c - arm, c + arm, c + arm, c - arm) <= half * half)

    canvas = Canvas(n, n, FUCHSIA)
    shape = mask_of(octagon, n, n)
    rim = rim_of(shape, diagonal=False)
    inner = [[shape[y][x] and not rim[y][x] for x in range(n)] for y in range(n)]
    ring = rim_of(inner, diagonal=False)   # a pale border, as on a road sign
    top, bottom = (236, 72, 58), (156, 18, 18)
    for y in range(n):
        for x in range(n):
            if not shape[y][x]:
                continue
            if rim[y][x]:
                canvas.put(x, y, (92, 10, 10))
            elif ring[y][x]:
                canvas.put(x, y, mix((255, 236, 230), (236, 200, 196), y / (n - 1)))
            else:
                red = mix(top, bottom, y / (n - 1))
                canvas.put(x, y, mix(red, (255, 255, 255), coverage(cross, x, y)))
    return canvas.rows()


# -------------------------------------------------------------- ok glyph ----

OK_SIZE = 17
CHECK = ((3.2, 9.0), (7.0, 12.8), (14.0, 3.6))
CHECK_HALF_WIDTH = 1.9


def glyph_ok():
    """A green check mark; 8-bit, keyed on olive. Returns (rows, palette)."""
    n = OK_SIZE
    (ax, ay), (bx, by), (cx, cy) = CHECK
    r2 = CHECK_HALF_WIDTH * CHECK_HALF_WIDTH

    def check(x, y):
        return seg_dist2(x, y, ax, ay, bx, by) <= r2 or seg_dist2(x, y, bx, by, cx, cy) <= r2

    shape = mask_of(check, n, n)
    rim = rim_of(shape)
    canvas = Canvas(n, n, OLIVE)
    light, dark = (150, 226, 110), (30, 128, 44)
    for y in range(n):
        for x in range(n):
            if not shape[y][x]:
                continue
            if rim[y][x]:
                canvas.put(x, y, (14, 72, 26))
                continue
            # lit from the top left along the stroke
            t = max(0.0, min(1.0, (x + y - 8) / 14))
            canvas.put(x, y, mix(light, dark, t))
    palette = palette_of(canvas, 256)
    return to_indices(canvas, palette), palette


# ------------------------------------------------------------------ icon ----

ICON_SIZE = 32
ICON_PALETTE = [
    (0, 0, 0), BROWN, OXBLOOD_DARK, OXBLOOD, hexc("#8C2A22"), GOLD, GOLD_LIGHT,
    hexc("#8E6F16"), CREAM, hexc("#FFF9EA"), (122, 160, 196), (176, 204, 222),
    (96, 136, 64), (58, 94, 44), hexc("#6E604A"), hexc("#B8A886"),
]


def icon():
    """A gold nib over a small framed landscape. Returns (rows, palette,
    transparent pixel set)."""
    n = ICON_SIZE
    canvas = Canvas(n, n, None)

    # frame: oxblood moulding lit from the top left, with a gold inlay
    fx0, fy0, fx1, fy1 = 1, 7, 25, 30
    for y in range(fy0, fy1):
        for x in range(fx0, fx1):
            edge = min(x - fx0, y - fy0, fx1 - 1 - x, fy1 - 1 - y)
            lit = min(x - fx0, y - fy0) == edge
            colour = {0: OXBLOOD_DARK, 1: hexc("#8C2A22") if lit else OXBLOOD,
                      2: OXBLOOD, 3: GOLD, 4: BROWN}.get(edge)
            if colour:
                canvas.put(x, y, colour)
    # the picture: sky, sun, two hills
    px0, py0, px1, py1 = fx0 + 5, fy0 + 5, fx1 - 5, fy1 - 5
    for y in range(py0, py1):
        for x in range(px0, px1):
            t = (y - py0) / (py1 - py0)
            colour = (176, 204, 222) if t < 0.45 else (122, 160, 196)
            hill1 = y + 0.5 > py1 - 5 + 0.06 * ((x + 0.5 - px0 - 4) ** 2)
            hill2 = y + 0.5 > py1 - 3 + 0.09 * ((x + 0.5 - px1 + 2) ** 2) * 0.5
            sun = (x + 0.5 - px0 - 4) ** 2 + (y + 0.5 - py0 - 3.5) ** 2 <= 5.0
            if sun:
                colour = GOLD_LIGHT
            if hill2:
                colour = (96, 136, 64)
            if hill1:
                colour = (58, 94, 44) if hill2 else (96, 136, 64)
            canvas.put(x, y, colour)

    # nib: tip bottom-left, shoulders top-right, along the diagonal
    tip = (11.0, 21.0)
    axis = (0.7071067811865476, -0.7071067811865476)   # from tip towards the pen
    perp = (0.7071067811865476, 0.7071067811865476)

    def at(s, t):
        return (tip[0] + axis[0] * s + perp[0] * t, tip[1] + axis[1] * s + perp[1] * t)

    outline = [at(0.0, 0.0), at(6.0, 2.2), at(13.0, 5.4), at(18.0, 6.0), at(23.5, 5.0),
               at(27.0, 3.8), at(27.0, -3.8), at(23.5, -5.0), at(18.0, -6.0), at(13.0, -5.4),
               at(6.0, -2.2)]

    def nib(x, y):
        return in_polygon(x, y, outline)

    def local(x, y):
        dx, dy = x - tip[0], y - tip[1]
        return dx * axis[0] + dy * axis[1], dx * perp[0] + dy * perp[1]

    shape = mask_of(nib, n, n)
    rim = rim_of(shape, diagonal=False)
    for y in range(n):
        for x in range(n):
            if not shape[y][x]:
                continue
            s, t = local(x + 0.5, y + 0.5)
            if rim[y][x]:
                colour = BROWN
            elif abs(t) < 0.75 and s < 14.5:
                colour = BROWN                       # the slit
            elif (s - 15.5) ** 2 + t * t <= 2.6:
                colour = BROWN                       # breather hole
            elif t < -1.6:
                colour = GOLD_LIGHT                  # lit half
            elif t > 2.4:
                colour = hexc("#8E6F16")
            else:
                colour = GOLD
            canvas.put(x, y, colour)
    transparent = {(x, y) for y in range(n) for x in range(n) if canvas.get(x, y) is None}
    for x, y in transparent:
        canvas.put(x, y, (0, 0, 0))
    return to_indices(canvas, ICON_PALETTE), ICON_PALETTE, transparent
