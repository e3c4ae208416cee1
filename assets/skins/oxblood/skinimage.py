"""Raster toolkit for the skin generator: colours, a small RGB image, 24-bit BMP
files, and hard-edged or ground-blended shapes."""

import struct

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
    k and fill everything deeper; each is a colour or a function of (x, y)."""
    img = Image(w, h)
    for y in range(h):
        for x in range(w):
            k = ring_depth(x, y, w, h, radius, corners)
            if k is None:
                continue
            c = colours[k] if k < len(colours) else fill
            img.px[y][x] = c(x, y) if callable(c) else c
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
