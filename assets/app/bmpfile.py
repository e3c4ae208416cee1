"""Writes uncompressed Windows bitmaps (4, 8 and 24 bits per pixel) and a 4-bit icon.

Pictures are lists of rows, top row first: RGB tuples for 24-bit files, palette
indices for the others. Files are bottom-up with a 40-byte info header, rows padded
to 4 bytes, the full 16- or 256-entry palette written, so any reader that knows the
oldest form of the format takes them.
"""

import struct

_PIXELS_PER_METRE = 2835  # 72 dpi; some viewers divide by the resolution


def _check_rect(rows):
    if not rows or not rows[0]:
        raise ValueError("empty picture")
    width = len(rows[0])
    if any(len(r) != width for r in rows):
        raise ValueError("rows of unequal length")
    return width, len(rows)


def _pad(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def _pack_indices(row, bits):
    limit = 1 << bits
    if any(not 0 <= i < limit for i in row):
        raise ValueError(f"palette index outside {bits}-bit range")
    if bits == 8:
        return bytes(row)
    if bits == 4:
        padded = list(row) + [0] * (len(row) % 2)
        return bytes((padded[i] << 4) | padded[i + 1] for i in range(0, len(padded), 2))
    if bits == 1:
        padded = list(row) + [0] * (-len(row) % 8)
        out = bytearray()
        for i in range(0, len(padded), 8):
            byte = 0
            for bit in padded[i:i + 8]:
                byte = (byte << 1) | bit
            out.append(byte)
        return bytes(out)
    raise ValueError(f"unsupported depth {bits}")


def _palette_bytes(palette, bits):
    entries = 1 << bits
    if len(palette) > entries:
        raise ValueError(f"{len(palette)} colours do not fit a {bits}-bit palette")
    full = list(palette) + [(0, 0, 0)] * (entries - len(palette))
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in full)


def _info_header(width, height, bits, image_bytes, colours):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_bytes,
                       _PIXELS_PER_METRE, _PIXELS_PER_METRE, colours, 0)


def _file(info, palette, body):
    offset = 14 + len(info) + len(palette)
    head = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    return head + info + palette + body


def encode_rgb(rows):
    width, height = _check_rect(rows)
    body = b"".join(_pad(b"".join(struct.pack("<BBB", b, g, r) for r, g, b in row))
                    for row in reversed(rows))
    return _file(_info_header(width, height, 24, len(body), 0), b"", body)


def encode_indexed(rows, palette, bits):
    """bits is 4 or 8; the palette is padded with black to 16 or 256 entries."""
    if bits not in (4, 8):
        raise ValueError(f"indexed bitmaps are 4 or 8 bits, not {bits}")
    width, height = _check_rect(rows)
    if any(i >= len(palette) for row in rows for i in row):
        raise ValueError("palette index past the palette")
    pal = _palette_bytes(palette, bits)
    body = b"".join(_pad(_pack_indices(row, bits)) for row in reversed(rows))
    return _file(_info_header(width, height, bits, len(body), 1 << bits), pal, body)


def encode_icon(rows, palette, transparent):
    """One 4-bit image with its AND mask. rows hold palette indices; transparent
    is a set of (x, y) that show the desktop. Their colour bits are zeroed, as the
    display XORs them onto the screen through the mask."""
    width, height = _check_rect(rows)
    if width > 256 or height > 256:
        raise ValueError("icons are at most 256 pixels wide and high")
    if any(i >= len(palette) for row in rows for i in row):
        raise ValueError("palette index past the palette")
    colour = [[0 if (x, y) in transparent else i for x, i in enumerate(row)]
              for y, row in enumerate(rows)]
    mask = [[1 if (x, y) in transparent else 0 for x in range(width)] for y in range(height)]
    xor = b"".join(_pad(_pack_indices(r, 4)) for r in reversed(colour))
    and_ = b"".join(_pad(_pack_indices(r, 1)) for r in reversed(mask))
    # The stored height counts both masks.
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 4, 0, len(xor) + len(and_),
                       0, 0, 16, 0)
    image = info + _palette_bytes(palette, 4) + xor + and_
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 16, 0, 1, 4, len(image),
                        6 + 16)
    return directory + entry + image
