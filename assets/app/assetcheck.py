"""Reads the generated files back, independently of the code that wrote them, and
checks what the windows rely on: sizes, depths, palette sizes, exact colours, the
colour-key rules of the glyphs and the hard edge of the language oval.

Standard library only. Readers raise ValueError with the rule a file broke.
"""

import struct

FUCHSIA = (255, 0, 255)
OVAL_YELLOW = (248, 249, 145)
MAX_SIDE_PX = 4096            # far above anything drawn here; stops absurd headers
# Areas of the language picture under the labels, the list and the button: plain
# yellow, since the labels paint that colour as their own background.
LANGUAGE_PLAIN = [(108, 69, 225, 20), (108, 96, 282, 20), (192, 138, 112, 21),
                  (219, 192, 66, 31)]


class Picture:
    def __init__(self, width, height, bits, palette, rows):
        self.width, self.height, self.bits = width, height, bits
        self.palette = palette      # list of RGB, empty for 24-bit
        self.rows = rows            # RGB tuples, top row first

    def colours(self):
        return {c for row in self.rows for c in row}


def _u(fmt, data, offset, what):
    size = struct.calcsize(fmt)
    if offset < 0 or offset + size > len(data):
        raise ValueError(f"truncated: {what} needs bytes {offset}..{offset + size}, "
                         f"file has {len(data)}")
    return struct.unpack_from(fmt, data, offset)


def _dib(data, base, height_scale=1):
    """Parses a 40-byte-header device-independent bitmap that starts at base.
    Returns (width, height, bits, palette, offset of the pixels)."""
    size, width, height, planes, bits, compression = _u("<IiiHHI", data, base, "info header")
    colours_used = _u("<I", data, base + 32, "info header")[0]
    if size != 40:
        raise ValueError(f"info header of {size} bytes, expected 40")
    if planes != 1:
        raise ValueError(f"{planes} planes")
    if compression != 0:
        raise ValueError(f"compression {compression}, expected none")
    if bits not in (1, 4, 8, 24):
        raise ValueError(f"{bits} bits per pixel")
    if height % height_scale:
        raise ValueError(f"height {height} is not a multiple of {height_scale}")
    height //= height_scale
    if not (0 < width <= MAX_SIDE_PX and 0 < abs(height) <= MAX_SIDE_PX):
        raise ValueError(f"size {width} x {height} out of range")
    entries = 0
    if bits <= 8:
        entries = colours_used or (1 << bits)
        if entries > (1 << bits):
            raise ValueError(f"{entries} palette entries for {bits} bits")
    palette = []
    for i in range(entries):
        b, g, r, _ = _u("<BBBB", data, base + size + 4 * i, "palette")
        palette.append((r, g, b))
    return width, height, bits, palette, base + size + 4 * entries


def _pixels(data, offset, width, height, bits, palette):
    stride = (width * bits + 31) // 32 * 4
    rows_bottom_up = height > 0
    height = abs(height)
    if offset + stride * height > len(data):
        raise ValueError(f"truncated: pixels need {stride * height} bytes at {offset}, "
                         f"file has {len(data)}")
    rows = []
    for r in range(height):
        line = data[offset + r * stride: offset + (r + 1) * stride]
        if bits == 24:
            row = [(line[3 * x + 2], line[3 * x + 1], line[3 * x]) for x in range(width)]
        else:
            per_byte = 8 // bits
            row = []
            for x in range(width):
                byte = line[x // per_byte]
                shift = 8 - bits * (x % per_byte + 1)
                index = (byte >> shift) & ((1 << bits) - 1)
                if index >= len(palette):
                    raise ValueError(f"pixel index {index} past a palette of {len(palette)}")
                row.append(palette[index])
        rows.append(row)
    if rows_bottom_up:
        rows.reverse()
    return rows


def read_bmp(data):
    magic, file_size, _, _, offset = _u("<2sIHHI", data, 0, "file header")
    if magic != b"BM":
        raise ValueError("not a bitmap: no BM signature")
    if file_size != len(data):
        raise ValueError(f"header says {file_size} bytes, file has {len(data)}")
    width, height, bits, palette, after = _dib(data, 14)
    if offset < after:
        raise ValueError(f"pixels at {offset} overlap the headers ending at {after}")
    return Picture(width, abs(height), bits, palette,
                   _pixels(data, offset, width, height, bits, palette))


def read_icon(data):
    """Returns [(Picture, transparent set of (x, y))] for every image of an icon."""
    reserved, kind, count = _u("<HHH", data, 0, "icon directory")
    if reserved != 0 or kind != 1:
        raise ValueError("not an icon directory")
    if count == 0:
        raise ValueError("icon holds no image")
    images = []
    for i in range(count):
        w, h, _, _, planes, bits, size, offset = _u("<BBBBHHII", data, 6 + 16 * i,
                                                    "icon entry")
        if offset + size > len(data):
            raise ValueError(f"icon image {i} runs past the end of the file")
        width, height, dib_bits, palette, pixels = _dib(data, offset, height_scale=2)
        if (w or 256) != width or (h or 256) != height or dib_bits != bits:
            raise ValueError(f"icon entry {i} disagrees with its image header")
        colour = _pixels(data, pixels, width, height, bits, palette)
        mask_at = pixels + (width * bits + 31) // 32 * 4 * abs(height)
        mask = _pixels(data, mask_at, width, height, 1, [(0, 0, 0), (1, 1, 1)])
        if mask_at + (width + 31) // 32 * 4 * abs(height) != offset + size:
            raise ValueError(f"icon image {i}: size does not match its masks")
        transparent = {(x, y) for y, row in enumerate(mask) for x, v in enumerate(row)
                       if v == (1, 1, 1)}
        images.append((Picture(width, abs(height), bits, palette, colour), transparent))
    return images


# ---------------------------------------------------------------- rules ----

def _neighbours(x, y, w, h):
    for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1)):
        if 0 <= x + dx < w and 0 <= y + dy < h:
            yield x + dx, y + dy


def _distance(a, b):
    return max(abs(p - q) for p, q in zip(a, b))


def expect_format(pic, width, height, bits, palette_entries):
    errors = []
    if (pic.width, pic.height) != (width, height):
        errors.append(f"size {pic.width} x {pic.height}, expected {width} x {height}")
    if pic.bits != bits:
        errors.append(f"{pic.bits} bits per pixel, expected {bits}")
    if len(pic.palette) != palette_entries:
        errors.append(f"{len(pic.palette)} palette entries, expected {palette_entries}")
    return errors


def keyed_glyph_errors(pic, near=48):
    """The bottom-left pixel is the key. The drawing must not use the key colour
    (every key pixel is reachable from the border through key pixels) and must not
    blend into it (no drawn pixel beside the key is close to the key colour)."""
    key = pic.rows[-1][0]
    w, h = pic.width, pic.height
    seen = set()
    todo = [(x, y) for y in range(h) for x in range(w)
            if (x in (0, w - 1) or y in (0, h - 1)) and pic.rows[y][x] == key]
    seen.update(todo)
    while todo:
        x, y = todo.pop()
        for nx, ny in _neighbours(x, y, w, h):
            if (nx, ny) not in seen and pic.rows[ny][nx] == key:
                seen.add((nx, ny))
                todo.append((nx, ny))
    errors = []
    enclosed = [(x, y) for y in range(h) for x in range(w)
                if pic.rows[y][x] == key and (x, y) not in seen]
    if enclosed:
        errors.append(f"key colour {key} used inside the drawing at {enclosed[0]}")
    drawn = sum(1 for row in pic.rows for c in row if c != key)
    if drawn < w * h // 5:
        errors.append(f"only {drawn} drawn pixels")
    for y in range(h):
        for x in range(w):
            c = pic.rows[y][x]
            at_edge = x in (0, w - 1) or y in (0, h - 1) or any(
                pic.rows[ny][nx] == key for nx, ny in _neighbours(x, y, w, h))
            if c != key and _distance(c, key) < near and at_edge:
                errors.append(f"pixel {(x, y)} {c} blends into the key colour")
                return errors
    return errors


def language_errors(pic):
    errors = []
    w, h = pic.width, pic.height
    if pic.rows[0][0] != FUCHSIA or pic.rows[h - 1][w - 1] != FUCHSIA:
        errors.append("corners are not fuchsia")
    # the oval fills the picture: it reaches the middle of each side
    for x, y in ((w // 2, 0), (w // 2, h - 1), (0, h // 2), (w - 1, h // 2)):
        if pic.rows[y][x] == FUCHSIA:
            errors.append(f"the oval does not reach the side at {(x, y)}")
    for x0, y0, cw, ch in LANGUAGE_PLAIN:
        for y in range(y0, y0 + ch):
            bad = [x for x in range(x0, x0 + cw) if pic.rows[y][x] != OVAL_YELLOW]
            if bad:
                errors.append(f"area {(x0, y0, cw, ch)} not plain yellow at {(bad[0], y)}")
                break
    for y in range(h):
        for x in range(w):
            c = pic.rows[y][x]
            if c == FUCHSIA:
                continue
            if _distance(c, FUCHSIA) < 64:
                errors.append(f"near-fuchsia {c} at {(x, y)} would show as a fringe")
                return errors
            # past the picture's edge the window is see-through as well
            touches = x in (0, w - 1) or y in (0, h - 1) or any(
                pic.rows[ny][nx] == FUCHSIA for nx, ny in _neighbours(x, y, w, h))
            if touches and sum(c) > 300:
                errors.append(f"light pixel {c} at {(x, y)} against fuchsia: outline broken")
                return errors
    return errors


def check_folder(read):
    """read(name) returns a file's bytes. Returns a list of error texts."""
    errors = []

    def bmp(name):
        try:
            return read_bmp(read(name))
        except (OSError, ValueError) as e:
            errors.append(f"{name}: {e}")
            return None

    def report(name, found):
        errors.extend(f"{name}: {e}" for e in found)

    pic = bmp("initial.bmp")
    if pic:
        report("initial.bmp", expect_format(pic, 410, 240, 24, 0))
        corner = [pic.rows[y][x] for y in range(4, 24) for x in range(4, 24)]
        mean = tuple(sum(c[i] for c in corner) // len(corner) for i in range(3))
        if not (mean[0] > 200 and mean[1] > 190 and 140 < mean[2] < mean[1]):
            report("initial.bmp", [f"ground {mean} is not cream"])
        dark = sum(1 for row in pic.rows for c in row if sum(c) < 200)
        if dark < 2000:
            report("initial.bmp", [f"only {dark} ink-dark pixels: is the word written?"])
    pic = bmp("language.bmp")
    if pic:
        report("language.bmp", expect_format(pic, 493, 300, 4, 16))
        if pic.width == 493 and pic.height == 300:
            report("language.bmp", language_errors(pic))
    for name, size, bits, entries in (("glyph-load.bmp", 17, 4, 16),
                                      ("glyph-abort.bmp", 19, 24, 0),
                                      ("glyph-ok.bmp", 17, 8, 256)):
        pic = bmp(name)
        if pic:
            found = expect_format(pic, size, size, bits, entries)
            report(name, found or keyed_glyph_errors(pic))
    try:
        images = read_icon(read("brindlewick.ico"))
        if len(images) != 1:
            errors.append(f"brindlewick.ico: {len(images)} images, expected 1")
        pic, transparent = images[0]
        report("brindlewick.ico", expect_format(pic, 32, 32, 4, 16))
        leaks = [(x, y) for x, y in transparent if pic.rows[y][x] != pic.palette[0]]
        if leaks:
            report("brindlewick.ico", [f"transparent pixel {leaks[0]} has colour bits set"])
        if not 200 < 32 * 32 - len(transparent) < 32 * 32:
            report("brindlewick.ico", [f"{32 * 32 - len(transparent)} opaque pixels"])
    except (OSError, ValueError, IndexError) as e:
        errors.append(f"brindlewick.ico: {e}")
    return errors
