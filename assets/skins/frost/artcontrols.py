"""Control art: pale steel materials (buttons, boxes, fields, tabs, bars), scroll
bars, slider thumbs and spin buttons, with an azure accent."""

import skinlayout as L
from palette import (ACCENT, ACCENT_DEEP, ACCENT_HI, FACE, FACE_HI, FACE_SH,
                     FACE_DK, TEXT, TEXT_OFF, SELECT, OUTLINE, WELL, FIELD)
from skinimage import (MAGENTA, Image, disc, hexc, mix, paint_shape, ring_depth, rounded,
                       side_by_side)


# ------------------------------------------------------- pale materials ----

def push_face(w, h, state, radius=2):
    """Pale button face. States: normal, pressed, disabled, hot, default,
    inactive (as disabled)."""
    if state in ("disabled", "inactive"):
        rings = [FACE_SH]
        fill = lambda x, y: FACE
    elif state == "pressed":
        rings = [OUTLINE, FACE_SH]
        fill = lambda x, y: mix(hexc("#D2DEEA"), hexc("#E3EAF2"), y / (h - 1))
    else:
        top, bottom = (hexc("#FFFFFF"), hexc("#E3EAF1")) if state != "hot" else \
            (hexc("#FFFFFF"), hexc("#EAF2FA"))
        outline = ACCENT if state == "hot" else OUTLINE
        rings = [outline, FACE_HI]
        if state == "hot":
            rings = [outline, ACCENT_HI]
        if state == "default":
            rings = [ACCENT_DEEP, ACCENT_HI, FACE_HI]
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
    outline = {"normal": OUTLINE, "hot": ACCENT, "pressed": OUTLINE, "disabled": FACE_SH}[state]
    inner = {"normal": FIELD, "hot": FIELD, "pressed": WELL, "disabled": FACE}[state]
    img = rounded(s, s, 1, [outline], lambda x, y: inner)
    if state in ("normal", "hot"):
        img.rect(1, 1, s - 1, 2, mix(inner, FACE_SH, 0.35))   # inset shadow
    if state == "hot":
        img.frame(1, 1, s - 1, s - 1, mix(ACCENT_HI, FIELD, 0.35))
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
            outline = {"normal": OUTLINE, "hot": ACCENT, "pressed": OUTLINE,
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
    """Frame 1 the sunken pale track, frame 2 the azure fill (magenta where the
    track's edge must show through)."""
    w, h = L.PROGRESS_W_PX, L.PROGRESS_H_PX
    track = rounded(w, h, 2, [FACE_SH], lambda x, y: WELL)
    edge = mix(FACE_SH, FACE_DK, 0.4)                         # sunken: lit from the top left
    track.rect(2, 0, w - 2, 1, edge)
    track.rect(0, 2, 1, h - 2, edge)
    track.put(1, 1, edge)
    track.rect(1, 1, w - 1, 2, mix(WELL, FACE_DK, 0.3))
    track.rect(1, 2, 2, h - 1, mix(WELL, FACE_DK, 0.15))
    track.rect(2, h - 2, w - 1, h - 1, FACE_HI)
    track.rect(w - 2, 2, w - 1, h - 1, FACE_HI)
    fill = Image(w, h)
    inset = L.PROGRESS_INSET_PX
    body = rounded(w - 2 * inset, h - 2 * inset, 1, [ACCENT_DEEP],
                   lambda x, y: mix(hexc("#6FA8E2"), hexc("#2F6DB0"), y / (h - 2 * inset - 1)))
    body.rect(1, 1, body.w - 1, 2, hexc("#C6DDF4"))
    fill.paste(body, inset, inset)
    return side_by_side([track, fill])


def progress_chunk():
    w, h = L.CHUNK_W_PX, L.CHUNK_H_PX
    img = Image(w, h)
    img.vgrad(0, 0, w - 1, h, hexc("#6FA8E2"), hexc("#2F6DB0"))
    img.rect(0, 0, w - 1, 1, hexc("#C6DDF4"))
    return img


def groupbox_edge():
    """Frame 1 enabled, 2 disabled: a flat line with square corners, hollow centre."""
    frames = []
    for line in (FACE_SH, mix(FACE_SH, FACE, 0.5)):
        img = rounded(L.EDGE_PX, L.EDGE_PX, 1, [line], lambda x, y: MAGENTA)
        frames.append(img)
    return side_by_side(frames)


def groupbox_plate():
    return rounded(L.PLATE_W_PX, L.PLATE_H_PX, 2, [ACCENT_HI],
                   lambda x, y: mix(FACE_HI, hexc("#E4EEF8"), y / (L.PLATE_H_PX - 1)))


def tabs():
    """normal, selected, hot, disabled, focused. Unselected tabs sit two pixels
    lower and carry the page's top line; the selected one opens into the page."""
    w, h = L.TAB_W_PX, L.TAB_H_PX
    frames = []
    for state in ("normal", "selected", "hot", "disabled", "focused"):
        img = Image(w, h)
        lift = 0 if state in ("selected", "focused") else 2
        face_top, face_bottom = (FACE_HI, FACE) if lift == 0 else (hexc("#E9EFF5"), hexc("#DAE3EC"))
        outline = {"hot": ACCENT, "disabled": FACE_SH}.get(state, OUTLINE)
        body = rounded(w, h - lift + 3, 2, [outline, FACE_HI],
                       lambda x, y: mix(face_top, face_bottom, y / (h - 1)), "tl tr")
        img.paste(body.crop(0, 0, w, h - lift), 0, lift)
        if lift == 0:
            img.rect(2, 1, w - 2, 3, ACCENT if state == "selected" else ACCENT_HI)
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
    frames.append(push_face(s, s, "pressed", radius=1))
    frames.append(Image(s, s))
    frames.append(push_face(s, s, "hot", radius=1))
    checked = rounded(s, s, 1, [ACCENT, ACCENT_HI], lambda x, y: hexc("#E2EEFA"))
    frames.append(checked)
    return side_by_side(frames)


def combo_button():
    """The drop-down button at the right end of a combo box: normal, pressed,
    disabled, focused/hot. Rounded on the right, a divider on the left."""
    w, h = L.COMBO_BTN_W_PX, L.COMBO_H_PX
    frames = []
    for state in ("normal", "pressed", "disabled", "hot"):
        face = push_face(w + 4, h, state, radius=2)
        img = face.crop(4, 0, w + 4, h)
        divider = FACE_SH if state != "hot" else ACCENT
        img.rect(0, 1, 1, h - 1, divider)
        img.rect(1, 1, 2, h - 1, FACE_HI if state != "pressed" else WELL)
        frames.append(img)
    return side_by_side(frames)


def sunk_edge():
    """Edit-field edge: normal, pressed, disabled, focused; centre white."""
    w, h = L.SUNK_W_PX, L.COMBO_H_PX
    frames = []
    for state in ("normal", "pressed", "disabled", "focused"):
        outline = {"disabled": FACE_SH, "focused": ACCENT}.get(state, OUTLINE)
        inner = FACE if state == "disabled" else (255, 255, 255)
        second = {"focused": ACCENT_HI, "disabled": FACE}.get(state, FIELD)
        frames.append(rounded(w, h, 1, [outline, second], lambda x, y, c=inner: c))
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
                       ("hot", ACCENT_DEEP)):
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
        top, bottom = {"pressed": (hexc("#D6E1EC"), hexc("#E6EDF4")),
                       "hot": (FACE_HI, hexc("#E7F0F9")),
                       "disabled": (FACE, FACE),
                       "sorted": (hexc("#F4F8FC"), hexc("#DCE8F4"))}.get(
                           state, (FACE_HI, hexc("#E8EEF4")))
        img.vgrad(0, 0, w, h, top, bottom)
        img.rect(0, 0, w, 1, FACE_HI)
        img.rect(0, h - 1, w, h, FACE_DK if state != "disabled" else FACE_SH)
        img.rect(0, h - 2, w, h - 1, ACCENT if state in ("hot", "sorted") else FACE_SH)
        img.rect(w - 2, 3, w - 1, h - 4, FACE_SH)
        img.rect(w - 1, 3, w, h - 4, FACE_HI)
        frames.append(img)
    return side_by_side(frames)


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
            face = push_face(L.MDI_W_PX, L.MDI_H_PX, state, radius=1)
            ink = TEXT_OFF if state == "inactive" else (ACCENT_DEEP if state == "hot" else TEXT)
            d = 1 if state == "pressed" else 0
            face.pattern((L.MDI_W_PX - 6) // 2 + d, (L.MDI_H_PX - 6) // 2 + d,
                         MDI_GLYPHS[name], ink)
            frames.append(face)
    return side_by_side(frames)


# ------------------------------------------------------------ scrolling ----

ARROWS = {
    "left": ["...X", "..XX", ".XXX", "XXXX", ".XXX", "..XX", "...X"],
    "right": ["X...", "XX..", "XXX.", "XXXX", "XXX.", "XX..", "X..."],
    "up": ["...X...", "..XXX..", ".XXXXX.", "XXXXXXX"],
    "down": ["XXXXXXX", ".XXXXX.", "..XXX..", "...X..."],
}


def arrow_button(direction, state, size):
    face = push_face(size, size, state, radius=1)
    ink = {"disabled": TEXT_OFF, "hot": ACCENT_DEEP}.get(state, TEXT)
    glyph = ARROWS[direction]
    d = 1 if state == "pressed" else 0
    face.pattern((size - len(glyph[0])) // 2 + d, (size - len(glyph)) // 2 + d, glyph, ink)
    return face


def track(vertical, state, length=L.TRACK_LEN_PX):
    w, h = (L.SCROLL_PX, length) if vertical else (length, L.SCROLL_PX)
    well = {"pressed": hexc("#CBD8E5"), "disabled": FACE}.get(state, WELL)
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
    """A flat azure bar with square-ish ends; one pixel of track shows on each
    long side."""
    t = L.SCROLL_PX
    fill = {"pressed": ACCENT_DEEP, "hot": hexc("#5A95D4")}.get(state, hexc("#7FA9D6"))
    rim = ACCENT_DEEP if state != "normal" else hexc("#5E88B6")
    w, h = length, t - 2
    body = rounded(w, h, 2, [rim], lambda x, y: fill)
    body.rect(2, 1, w - 2, 2, mix(fill, FACE_HI, 0.45))
    for k in (-3, 0, 3):                       # grip lines in the middle
        body.rect(w // 2 + k, 4, w // 2 + k + 1, h - 4, mix(fill, FACE_HI, 0.5))
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
    """A pale thumb with an azure rim line, optionally pointed. Upright (11 x 21) for
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
            rim, a, b, line = FACE_SH, FACE, hexc("#DDE4EB"), FACE
        else:
            rim = ACCENT_DEEP if state != "normal" else OUTLINE
            a, b = {"pressed": (hexc("#C4D8EC"), hexc("#E2ECF6")),
                    "hot": (FACE_HI, hexc("#D6E6F6"))}.get(state, (FACE_HI, hexc("#DCE6F0")))
            line = ACCENT if state in ("hot", "focused") else FACE_HI
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
    faces = [push_face(w, h, s, radius=1) for s in states]
    glyphs = []
    for direction in (("up", "down") if vertical else ("left", "right")):
        pattern = ARROWS[direction]
        gw, gh = len(pattern[0]), len(pattern)
        for s in states:
            g = Image(gw, gh)
            g.pattern(0, 0, pattern, {"disabled": TEXT_OFF, "hot": ACCENT_DEEP}.get(s, TEXT))
            glyphs.append(g)
    return side_by_side(faces + faces), side_by_side(glyphs)
