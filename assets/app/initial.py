"""The start-up picture: a right hand holding a fountain pen that has just written
the program's name in script on cream paper.

Drawn at SCALE times the final size and reduced at the end, so every edge is
smooth. Shapes are masks; a mask gets its relief from a blurred copy of itself
(height) lit from the top left, which gives rounded fingers and a glossy pen with
little code. Needs python3-pil and the Dancing Script font (fonts-dancingscript).
"""

import math

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont, ImageOps

WIDTH, HEIGHT = 410, 240
SCALE = 4
FONT = "/usr/share/fonts/opentype/dancingscript/DancingScript-Bold.otf"
WORD = "Brindlewick"
FONT_PX = 60
WORD_ORIGIN = (20, 44)       # top-left of the word's box, final pixels
WORD_TILT_DEG = 4.0          # rises to the right, as a hand writes

PAPER = (245, 237, 214)
PAPER_EDGE = (226, 212, 178)
INK = (22, 32, 66)           # blue-black
INK_DRY = (48, 58, 96)

SKIN = (228, 178, 144)
SKIN_SHADOW = (146, 84, 64)
SKIN_LIGHT = (252, 224, 200)
NAIL = (244, 204, 196)

LIGHT = (-0.6, -0.8)         # towards the light, in the picture plane


def px(v):
    return int(round(v * SCALE))


def blur(img, radius):
    return img.filter(ImageFilter.GaussianBlur(radius * SCALE))


def lcg_noise(w, h, seed):
    """Grey noise from a fixed linear congruential generator (the same on every
    machine, unlike the library's random effects)."""
    state = seed
    data = bytearray(w * h)
    for i in range(w * h):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        data[i] = (state >> 16) & 0xFF
    return Image.frombytes("L", (w, h), bytes(data))


# ----------------------------------------------------------------- paper ----

def paper():
    w, h = WIDTH * SCALE, HEIGHT * SCALE
    base = Image.new("RGB", (w, h), PAPER)
    # vignette: warmer and darker towards the corners
    vig = Image.radial_gradient("L").resize((w, h), Image.BICUBIC)
    vig = vig.point(lambda v: max(0, min(255, (v - 110) * 2)))
    base = Image.composite(Image.new("RGB", (w, h), PAPER_EDGE), base, vig)
    # fibres: coarse and fine noise, very faint
    coarse = lcg_noise(WIDTH // 4, HEIGHT // 4, 7).resize((w, h), Image.BICUBIC)
    fine = lcg_noise(WIDTH, HEIGHT, 11).resize((w, h), Image.BILINEAR)
    grain = ImageChops.add(coarse, fine, scale=2.0)
    grain = grain.point(lambda v: 128 + (v - 128) // 10)
    return ImageChops.overlay(base, Image.merge("RGB", (grain, grain, grain)))


# ------------------------------------------------------------------- ink ----

def word_mask():
    font = ImageFont.truetype(FONT, px(FONT_PX), layout_engine=ImageFont.Layout.BASIC)
    left, top, right, bottom = font.getbbox(WORD)
    pad = px(20)
    tile = Image.new("L", (right + 2 * pad, bottom + 2 * pad), 0)
    ImageDraw.Draw(tile).text((pad, pad), WORD, font=font, fill=255)
    tile = tile.rotate(WORD_TILT_DEG, resample=Image.BICUBIC, expand=True)
    mask = Image.new("L", (WIDTH * SCALE, HEIGHT * SCALE), 0)
    mask.paste(tile, (px(WORD_ORIGIN[0]) - pad, px(WORD_ORIGIN[1]) - pad))
    return mask


def stroke_end(mask):
    """Where the nib rests: the right end of the last stroke, in final pixels."""
    box = mask.getbbox()
    x = box[2] - 1
    col = [y for y in range(mask.height) if mask.getpixel((x - px(1), y)) > 128]
    y = (col[0] + col[-1]) / 2 if col else box[3]
    return (x - px(1.5)) / SCALE, y / SCALE


def relief(mask, radius):
    """Shading value 0..255 (128 = flat) of a mask seen as a soft dome."""
    height = blur(mask, radius)
    step = max(1, px(radius * 0.35))
    # shifting content away from the light puts the height one step towards the
    # light under each pixel; a surface that falls towards the light faces it
    dx, dy = int(round(-LIGHT[0] * step)), int(round(-LIGHT[1] * step))
    towards = shifted(height, dx, dy)
    return ImageChops.subtract(height, towards, scale=0.5, offset=128), height


def ink(canvas, mask):
    """Fresh ink: darker edges where it pools, a wet sheen growing towards the
    last letters, which were written a moment ago."""
    w, h = canvas.size
    spread = blur(mask, 0.35)
    wet = Image.linear_gradient("L").rotate(90).resize((w, h))   # 255 at the right
    wet = wet.point(lambda v: max(0, min(255, (v - 60) * 255 // 150)))
    colour = Image.composite(Image.new("RGB", (w, h), INK), Image.new("RGB", (w, h), INK_DRY),
                             wet)
    # ink pools along the edges of the stroke as it dries
    core = ImageChops.multiply(blur(mask, 0.9), mask)
    edge = ImageChops.subtract(mask, core).point(lambda v: min(255, v * 2))
    colour = Image.composite(Image.new("RGB", (w, h), (10, 16, 40)), colour, edge)
    canvas.paste(colour, (0, 0), spread)
    shade, _ = relief(mask, 1.2)
    sheen = shade.point(lambda v: max(0, min(255, (v - 140) * 5)))
    sheen = ImageChops.multiply(ImageChops.multiply(sheen, mask), wet)
    canvas.paste(Image.new("RGB", (w, h), (150, 170, 210)), (0, 0),
                 sheen.point(lambda v: v * 3 // 4))
    return canvas


# ------------------------------------------------------------ geometry ----

class Frame:
    """Pen coordinates: s along the pen from the nib tip towards its end, t across
    it, positive on the thumb side; in units of the hand drawing, size final
    pixels each."""

    def __init__(self, tip, angle_deg, size):
        a = math.radians(angle_deg)   # clockwise from the right, as y points down
        self.tip, self.k = tip, size
        self.u = (math.cos(a), math.sin(a))
        self.n = (-math.sin(a), math.cos(a))

    def at(self, s, t):
        s, t = s * self.k, t * self.k
        return (self.tip[0] + s * self.u[0] + t * self.n[0],
                self.tip[1] + s * self.u[1] + t * self.n[1])

    def scaled(self, s, t):
        x, y = self.at(s, t)
        return x * SCALE, y * SCALE


def lit(normal, base, ambient=0.42, diffuse=0.68, specular=0.55, shininess=28.0,
        gloss=(255, 255, 255)):
    """Blinn-Phong for a unit normal (x right, y down, z towards the viewer)."""
    lx, ly, lz = -0.46, -0.62, 0.64
    nx, ny, nz = normal
    d = max(0.0, nx * lx + ny * ly + nz * lz)
    hx, hy, hz = lx, ly, lz + 1.0
    hl = math.sqrt(hx * hx + hy * hy + hz * hz)
    sp = max(0.0, (nx * hx + ny * hy + nz * hz) / hl) ** shininess * specular
    k = ambient + diffuse * d
    return tuple(max(0, min(255, int(c * k + g * sp + 0.5))) for c, g in zip(base, gloss))


# ------------------------------------------------------------------- pen ----

PEN_ANGLE_DEG = 52.0
HAND_SIZE = 1.4
PEN_LENGTH = 230
NIB_END = 18.0
SECTION = (16.0, 33.0)
RING = (33.0, 35.5)
BLACK_RESIN = (34, 28, 30)
GOLD = (214, 168, 58)
OXBLOOD = (122, 32, 30)


def pen_half_width(s):
    if s < NIB_END:
        f = s / NIB_END
        return 0.4 + 4.2 * (1 - (1 - f) ** 1.6)
    if s < SECTION[1]:
        # a lip at the front, then a waist for the fingers
        f = (s - SECTION[0]) / (SECTION[1] - SECTION[0])
        return 4.9 - 0.5 * math.sin(min(1.0, f * 1.3) * math.pi) + 0.3 * f
    if s < RING[1]:
        return 5.5
    return 5.4


def pen_local(frame):
    """The pen drawn straight, tip at the left, in scaled pixels; RGBA."""
    unit = SCALE * frame.k
    length, width = int(PEN_LENGTH * unit), int(16 * unit)
    mid = width / 2
    img = Image.new("RGBA", (length, width), (0, 0, 0, 0))
    data = img.load()
    for xs in range(length):
        s = (xs + 0.5) / unit
        hw = pen_half_width(s)
        for ys in range(width):
            t = (ys + 0.5 - mid) / unit
            cover = hw - abs(t)
            if cover <= -0.5 / unit:
                continue
            alpha = int(255 * max(0.0, min(1.0, cover * unit + 0.5)))
            f = max(-1.0, min(1.0, t / hw))
            nz = math.sqrt(max(0.0, 1.0 - f * f))
            normal = (f * frame.n[0], f * frame.n[1], nz)
            if s < SECTION[0]:   # the section's lip hides the nib's root
                # a nib is a curved plate, flatter than a cylinder
                flat = (f * frame.n[0] * 0.6, f * frame.n[1] * 0.6, 1.0)
                nl = math.sqrt(flat[0] ** 2 + flat[1] ** 2 + 1.0)
                normal = (flat[0] / nl, flat[1] / nl, 1.0 / nl)
                colour = lit(normal, GOLD, ambient=0.5, diffuse=0.6, specular=0.9,
                             shininess=14.0, gloss=(255, 244, 200))
                slit = abs(t) < 0.24 and s < 9.0
                hole = (s - 9.5) ** 2 + t * t < 0.75 ** 2
                if slit or hole:
                    colour = (46, 30, 18)
                # engraved scroll between the hole and the section
                elif 11.5 < s < 15.5 and abs(abs(t) - (s - 10.8) * 0.6) < 0.2:
                    colour = tuple(int(c * 0.72) for c in colour)
                # shoulders: a dark edge where the nib curves away
                elif cover < 0.45:
                    colour = tuple(int(c * 0.75) for c in colour)
            elif s < SECTION[1]:
                colour = lit(normal, BLACK_RESIN, ambient=0.7, diffuse=0.9, specular=0.8,
                             shininess=40.0)
            elif s < RING[1]:
                colour = lit(normal, GOLD, ambient=0.5, diffuse=0.7, specular=0.9,
                             shininess=18.0, gloss=(255, 244, 200))
                if s - RING[0] < 0.5 or RING[1] - s < 0.5:
                    colour = tuple(int(c * 0.7) for c in colour)
            else:
                colour = lit(normal, OXBLOOD, ambient=0.55, diffuse=0.75, specular=0.75,
                             shininess=46.0)
            data[xs, ys] = colour + (alpha,)
    return img


def place(local, frame, shadow_lift=0.0):
    """Maps a straight drawing (x = s, y = t + half its height, in scaled pixels of
    the frame's size) into the picture along the frame. shadow_lift > 0 slides
    points away from the light in proportion to s, as the shadow of a pen rising
    from the paper."""
    mid = local.height / 2
    ux, uy = frame.u
    nx, ny = frame.n
    sx, sy = -LIGHT[0] * shadow_lift, -LIGHT[1] * shadow_lift
    # forward: P = tip + s (u + lift) + t n, all scaled; invert the 2x2 part
    a, b, c, d = ux + sx, nx, uy + sy, ny
    det = a * d - b * c
    ia, ib, ic, id_ = d / det, -b / det, -c / det, a / det
    tx, ty = frame.tip[0] * SCALE, frame.tip[1] * SCALE
    coeffs = (ia, ib, -(ia * tx + ib * ty), ic, id_, -(ic * tx + id_ * ty) + mid)
    return local.transform((WIDTH * SCALE, HEIGHT * SCALE), Image.AFFINE, coeffs,
                           resample=Image.BICUBIC)


# ------------------------------------------------------------------ hand ----

# Spines as (s, t, radius); each finger is the union of discs along its spine.
# Seen from above, the writer's view: the index finger lies on the pen, the thumb
# presses it from the left, the other fingers curl under on the right.
INDEX = [(24, -1.0, 5.0), (36, -1.5, 5.7), (48, -2.5, 6.2), (60, -6.0, 6.7),
         (72, -13.0, 7.3), (86, -22.0, 8.0)]
THUMB = [(31, 8.0, 5.6), (41, 12.0, 6.4), (51, 18.0, 7.2), (60, 25.0, 8.0),
         (72, 31.0, 9.0), (90, 33.0, 10.5), (110, 28.0, 12.0)]
MIDDLE = [(24, -9.0, 4.6), (34, -14.0, 5.4), (46, -19.0, 6.0), (58, -24.0, 6.6),
          (72, -30.0, 7.4)]
RING_FINGER = [(50, -28.0, 5.6), (62, -33.0, 6.3), (76, -38.0, 7.0)]
LITTLE = [(56, -38.0, 5.0), (66, -43.0, 5.6), (78, -47.0, 6.0)]
PALM = [(76, -6), (80, -30), (78, -48), (96, -62), (170, -70), (230, -10), (200, 60),
        (120, 44), (96, 34), (86, 20)]
# joints seen from the back: (finger, spine point) get a faint crease
CREASES = [("index", 1), ("index", 3), ("thumb", 2), ("middle", 2)]
WEB = 88   # where the pen leaves the hand

# (spine index where the nail is centred, along offset, across offset, length, width)
NAILS = {"index": (0, 3.4, 0.0, 7.0, 5.0), "thumb": (0, 4.0, 1.2, 7.0, 4.6)}


def spine_mask(frame, spine):
    mask = Image.new("L", (WIDTH * SCALE, HEIGHT * SCALE), 0)
    draw = ImageDraw.Draw(mask)
    for (s0, t0, r0), (s1, t1, r1) in zip(spine, spine[1:]):
        steps = max(2, int(math.hypot(s1 - s0, t1 - t0) * 2))
        for i in range(steps + 1):
            f = i / steps
            x, y = frame.scaled(s0 + (s1 - s0) * f, t0 + (t1 - t0) * f)
            r = (r0 + (r1 - r0) * f) * SCALE * frame.k
            draw.ellipse((x - r, y - r, x + r, y + r), fill=255)
    return mask


def polygon_mask(frame, points):
    mask = Image.new("L", (WIDTH * SCALE, HEIGHT * SCALE), 0)
    ImageDraw.Draw(mask).polygon([frame.scaled(s, t) for s, t in points], fill=255)
    return mask


def skin_layer(mask, radius):
    """Skin coloured by its relief: lit slopes warm and light, far slopes and the
    rims darker and redder, as light shows through skin at its edges."""
    shade, height = relief(mask, radius)
    colour = ImageOps.colorize(shade, SKIN_SHADOW, SKIN_LIGHT, mid=SKIN,
                               blackpoint=70, whitepoint=200, midpoint=128)
    rim = ImageChops.invert(ImageChops.multiply(height, mask)).point(
        lambda v: max(0, v - 150) * 2)
    rim = ImageChops.multiply(rim, mask)
    colour = Image.composite(Image.new("RGB", mask.size, (196, 112, 92)), colour,
                             rim.point(lambda v: v * 2 // 5))
    return colour


def shifted(img, dx, dy):
    """Moves content by (dx, dy) scaled pixels; unlike ImageChops.offset, nothing
    wraps round to the other side."""
    out = Image.new(img.mode, img.size, 0)
    out.paste(img, (dx, dy))
    return out


def crease(canvas, frame, spine, i):
    """Two short wrinkles across the finger at spine point i."""
    s, t, r = spine[i]
    s1, t1, _ = spine[min(i + 1, len(spine) - 1)]
    s0, t0, _ = spine[max(i - 1, 0)]
    ds, dt = s1 - s0, t1 - t0
    d = math.hypot(ds, dt)
    ds, dt = ds / d, dt / d
    layer = Image.new("L", canvas.size, 0)
    draw = ImageDraw.Draw(layer)
    for off, span in ((-0.8, 0.55), (0.8, 0.45)):
        pts = []
        for k in range(9):
            f = (k / 8 - 0.5) * 2 * span
            bow = (1 - f * f) * 0.8   # wrinkles bow towards the fingertip
            ps, pt = s + ds * (off - bow) - dt * f * r, t + dt * (off - bow) + ds * f * r
            pts.append(frame.scaled(ps, pt))
        draw.line(pts, fill=255, width=px(0.45))
    layer = blur(layer, 0.25)
    canvas.paste(Image.new("RGB", canvas.size, (170, 110, 90)), (0, 0),
                 layer.point(lambda v: v * 2 // 5))


def drop_shadow(canvas, mask, offset, radius, strength, colour=(90, 60, 40)):
    shadow = shifted(blur(mask, radius), px(offset[0]), px(offset[1]))
    canvas.paste(Image.new("RGB", canvas.size, colour), (0, 0),
                 shadow.point(lambda v: v * strength // 255))


def nail(canvas, frame, spine, spec):
    i, along, across, length, width = spec
    s, t, _ = spine[i]
    s0, t0, _ = spine[i + 1]
    ds, dt = s0 - s, t0 - t
    d = math.hypot(ds, dt)
    ds, dt = ds / d, dt / d
    cs, ct = s + ds * along - dt * across, t + dt * along + ds * across
    pts = []
    for k in range(48):
        a = 2 * math.pi * k / 48
        ls, lt = math.cos(a) * length / 2, math.sin(a) * width / 2
        pts.append(frame.scaled(cs + ds * ls - dt * lt, ct + dt * ls + ds * lt))
    mask = Image.new("L", canvas.size, 0)
    ImageDraw.Draw(mask).polygon(pts, fill=255)
    shade, _ = relief(mask, 1.2)
    colour = ImageOps.colorize(shade, (196, 140, 130), (255, 246, 240), mid=NAIL)
    drop_shadow(canvas, mask, (0.3, 0.4), 0.4, 90)
    canvas.paste(colour, (0, 0), blur(mask, 0.15))
    # free edge: a pale crescent at the tip end
    tip_pts = [frame.scaled(cs - ds * length * 0.5 - dt * lt, ct - dt * length * 0.5 + ds * lt)
               for lt in (-width / 2.2, 0, width / 2.2)]
    ImageDraw.Draw(canvas).line(tip_pts, fill=(252, 240, 232), width=px(0.8))



# --------------------------------------------------------------- compose ----

def render_image():
    canvas = paper()
    words = word_mask()
    tip = stroke_end(words)
    # the nib has just stopped: a little ink pools under its tip
    r = px(1.7)
    ImageDraw.Draw(words).ellipse((px(tip[0]) - r, px(tip[1]) - r * 0.8,
                                   px(tip[0]) + r, px(tip[1]) + r * 0.8), fill=255)
    canvas = ink(canvas, words)
    frame = Frame(tip, PEN_ANGLE_DEG, HAND_SIZE)

    pen = pen_local(frame)
    pen_cover = place(pen.getchannel("A"), frame)
    fingers = {name: spine_mask(frame, spine) for name, spine in
               (("little", LITTLE), ("ring", RING_FINGER), ("middle", MIDDLE),
                ("index", INDEX), ("thumb", THUMB))}
    palm = polygon_mask(frame, PALM)
    hand = palm
    for m in fingers.values():
        hand = ImageChops.lighter(hand, m)

    # cast shadows on the paper; the pen's grows away from the nib as it rises
    drop_shadow(canvas, hand, (7, 9), 6, 110)
    drop_shadow(canvas, place(pen.getchannel("A"), frame, shadow_lift=0.32), (0, 0), 1.4, 120)

    def skin(mask, radius):
        drop_shadow(canvas, mask, (1.0, 1.4), 1.6, 90, colour=(120, 60, 40))
        canvas.paste(skin_layer(mask, radius * frame.k), (0, 0), mask)

    skin(fingers["little"], 3.6)
    skin(fingers["ring"], 3.8)
    skin(fingers["middle"], 3.8)
    skin(palm, 14.0)
    skin(fingers["thumb"], 4.2)
    nail(canvas, frame, THUMB, NAILS["thumb"])
    drop_shadow(canvas, pen_cover, (0.8, 1.2), 1.2, 100)
    canvas.paste(place(pen, frame), (0, 0), pen_cover)
    skin(fingers["index"], 3.8)
    nail(canvas, frame, INDEX, NAILS["index"])
    spines = {"index": INDEX, "thumb": THUMB, "middle": MIDDLE}
    for name, i in CREASES:
        crease(canvas, frame, spines[name], i)
    # past the web the pen rises clear of the hand
    rear = ImageChops.multiply(pen_cover, polygon_mask(frame, [(WEB, -30), (400, -30),
                                                                (400, 30), (WEB, 30)]))
    drop_shadow(canvas, rear, (1.5, 2.0), 2.0, 110, colour=(120, 60, 40))
    canvas.paste(place(pen, frame), (0, 0), rear)
    return canvas.resize((WIDTH, HEIGHT), Image.LANCZOS)


def render():
    """Rows of RGB tuples, top row first."""
    img = render_image().convert("RGB")
    data = list(img.getdata())
    return [data[y * WIDTH:(y + 1) * WIDTH] for y in range(HEIGHT)]
