"""Tests of the file writers, the independent reader and the validation rules.
Standard library only:  /usr/bin/python3 -m unittest test_assets   (in this folder)"""

import os
import random
import struct
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import assetcheck  # noqa: E402
import bmpfile  # noqa: E402
import smallart  # noqa: E402

PALETTE16 = [(i * 16, 255 - i * 16, (i * 37) % 256) for i in range(16)]


def first_mismatch(a, b):
    for y, (ra, rb) in enumerate(zip(a, b)):
        for x, (pa, pb) in enumerate(zip(ra, rb)):
            if pa != pb:
                return (x, y, pa, pb)
    return None if len(a) == len(b) else ("rows", len(a), len(b))


def pattern_indices(w, h, limit):
    return [[(x * 7 + y * 3) % limit for x in range(w)] for y in range(h)]


class RoundTrip(unittest.TestCase):
    """Every width exercises a different row padding and nibble or bit packing."""

    def test_indexed_and_rgb_widths(self):
        for w in range(1, 10):
            for h in (1, 3):
                idx4 = pattern_indices(w, h, 16)
                pic = assetcheck.read_bmp(bmpfile.encode_indexed(idx4, PALETTE16, 4))
                want = [[PALETTE16[i] for i in row] for row in idx4]
                self.assertIsNone(first_mismatch(pic.rows, want), f"4-bit {w}x{h}")
                self.assertEqual((pic.bits, len(pic.palette)), (4, 16))

                pal256 = [(i, 255 - i, i // 2) for i in range(256)]
                idx8 = pattern_indices(w, h, 256)
                pic = assetcheck.read_bmp(bmpfile.encode_indexed(idx8, pal256, 8))
                want = [[pal256[i] for i in row] for row in idx8]
                self.assertIsNone(first_mismatch(pic.rows, want), f"8-bit {w}x{h}")
                self.assertEqual((pic.bits, len(pic.palette)), (8, 256))

                rgb = [[(x * 20, y * 40, (x + y) * 10) for x in range(w)] for y in range(h)]
                pic = assetcheck.read_bmp(bmpfile.encode_rgb(rgb))
                self.assertIsNone(first_mismatch(pic.rows, rgb), f"24-bit {w}x{h}")

    def test_short_palette_is_padded_to_full_size(self):
        pic = assetcheck.read_bmp(bmpfile.encode_indexed([[0, 1]], [(1, 2, 3), (4, 5, 6)], 8))
        self.assertEqual(len(pic.palette), 256)
        self.assertEqual(pic.rows, [[(1, 2, 3), (4, 5, 6)]])

    def test_icon_keeps_mask_and_zeroes_transparent_colour(self):
        for w in (1, 5, 32, 33):
            rows = pattern_indices(w, w, 16)
            transparent = {(x, y) for y in range(w) for x in range(w) if (x + 2 * y) % 3 == 0}
            (pic, got), = assetcheck.read_icon(bmpfile.encode_icon(rows, PALETTE16, transparent))
            self.assertEqual(got, transparent, f"mask {w}")
            want = [[PALETTE16[0] if (x, y) in transparent else PALETTE16[i]
                     for x, i in enumerate(row)] for y, row in enumerate(rows)]
            self.assertIsNone(first_mismatch(pic.rows, want), f"colour {w}")

    def test_icon_directory_fields_match_what_loaders_expect(self):
        data = bmpfile.encode_icon(pattern_indices(32, 32, 16), PALETTE16, set())
        reserved, kind, count = struct.unpack_from("<HHH", data, 0)
        w, h, colours, _, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6)
        self.assertEqual((reserved, kind, count), (0, 1, 1))
        self.assertEqual((w, h, colours, planes, bits), (32, 32, 16, 1, 4))
        self.assertEqual((offset, offset + size), (22, len(data)))
        _, header_w, header_h, _, header_bits = struct.unpack_from("<IiiHH", data, offset)
        self.assertEqual((header_w, header_h, header_bits), (32, 64, 4))   # h: colour + mask

    def test_writer_refuses_what_it_cannot_encode(self):
        with self.assertRaises(ValueError):
            bmpfile.encode_indexed([[16]], PALETTE16 + [(0, 0, 0)], 4)
        with self.assertRaises(ValueError):
            bmpfile.encode_indexed([[2]], [(0, 0, 0), (1, 1, 1)], 4)   # past the palette
        with self.assertRaises(ValueError):
            bmpfile.encode_indexed([[0], [0, 0]], PALETTE16, 4)
        with self.assertRaises(ValueError):
            bmpfile.encode_rgb([])
        with self.assertRaises(ValueError):
            bmpfile.encode_indexed([[0]], PALETTE16, 2)


class DamagedFiles(unittest.TestCase):
    def setUp(self):
        self.bmp = bmpfile.encode_indexed(pattern_indices(7, 5, 16), PALETTE16, 4)
        self.ico = bmpfile.encode_icon(pattern_indices(6, 6, 16), PALETTE16, {(0, 0)})

    def test_every_truncation_is_reported(self):
        for n in range(len(self.bmp)):
            with self.assertRaises(ValueError, msg=f"bitmap cut at {n}"):
                assetcheck.read_bmp(self.bmp[:n])
        for n in range(len(self.ico)):
            with self.assertRaises(ValueError, msg=f"icon cut at {n}"):
                assetcheck.read_icon(self.ico[:n])

    def test_bad_header_fields(self):
        def patched(offset, fmt, value):
            data = bytearray(self.bmp)
            struct.pack_into(fmt, data, offset, value)
            return bytes(data)

        cases = {
            "signature": patched(0, "<2s", b"MB"),
            "huge width": patched(18, "<i", 1 << 30),
            "zero height": patched(22, "<i", 0),
            "compressed": patched(30, "<I", 2),
            "2 bits": patched(28, "<H", 2),
            "too many colours": patched(46, "<I", 17),
            "pixels inside headers": patched(10, "<I", 20),
        }
        for name, data in cases.items():
            with self.assertRaises(ValueError, msg=name):
                assetcheck.read_bmp(data)

    def test_random_damage_gives_only_value_errors(self):
        rng = random.Random(20240611)
        for sample in (self.bmp, self.ico):
            reader = assetcheck.read_bmp if sample is self.bmp else assetcheck.read_icon
            for _ in range(3000):
                data = bytearray(sample)
                for _ in range(rng.randint(1, 6)):
                    data[rng.randrange(len(data))] = rng.randrange(256)
                try:
                    reader(bytes(data))
                except ValueError:
                    pass


class Rules(unittest.TestCase):
    """The validation must notice the faults it exists for."""

    def language_picture(self):
        rows, palette = smallart.language()
        return assetcheck.read_bmp(bmpfile.encode_indexed(rows, palette, 4))

    def test_language_oval_is_valid_and_faults_are_seen(self):
        pic = self.language_picture()
        self.assertEqual(assetcheck.language_errors(pic), [])
        self.assertIn(assetcheck.OVAL_YELLOW, pic.palette)
        self.assertIn(assetcheck.FUCHSIA, pic.palette)

        edge_y = 150
        edge_x = next(x for x in range(pic.width) if pic.rows[edge_y][x] != assetcheck.FUCHSIA)
        pic.rows[edge_y][edge_x] = (250, 120, 250)          # pink fringe
        self.assertTrue(assetcheck.language_errors(pic))

        pic = self.language_picture()
        pic.rows[edge_y][edge_x] = assetcheck.OVAL_YELLOW   # gap in the outline
        self.assertTrue(assetcheck.language_errors(pic))

        pic = self.language_picture()
        pic.rows[100][300] = (247, 249, 145)                # off-yellow under a label
        self.assertTrue(any("plain yellow" in e for e in assetcheck.language_errors(pic)))

    def test_glyphs_are_keyed_and_faults_are_seen(self):
        glyphs = {"load": smallart.glyph_load(), "ok": smallart.glyph_ok()}
        pics = {name: assetcheck.read_bmp(bmpfile.encode_indexed(rows, pal, 8))
                for name, (rows, pal) in glyphs.items()}
        pics["abort"] = assetcheck.read_bmp(bmpfile.encode_rgb(smallart.glyph_abort()))
        for name, pic in pics.items():
            self.assertEqual(assetcheck.keyed_glyph_errors(pic), [], name)
            key = pic.rows[-1][0]

            inner = next((x, y) for y in range(1, pic.height - 1) for x in range(1, pic.width - 1)
                         if all(pic.rows[y + dy][x + dx] != key
                                for dx, dy in ((0, 0), (-1, 0), (1, 0), (0, -1), (0, 1))))
            middle = [row[:] for row in pic.rows]
            middle[inner[1]][inner[0]] = key                 # key colour inside the drawing
            damaged = assetcheck.Picture(pic.width, pic.height, pic.bits, pic.palette, middle)
            self.assertTrue(assetcheck.keyed_glyph_errors(damaged), name)

            blended = [row[:] for row in pic.rows]
            y = pic.height // 2
            x = next(x for x in range(pic.width) if blended[y][x] != key)
            blended[y][x] = tuple(min(255, c + 10) for c in key)   # soft edge into the key
            damaged = assetcheck.Picture(pic.width, pic.height, pic.bits, pic.palette, blended)
            self.assertTrue(assetcheck.keyed_glyph_errors(damaged), name)

    def test_committed_files_pass_the_checks(self):
        folder = os.path.dirname(os.path.abspath(__file__))

        def read(name):
            with open(os.path.join(folder, name), "rb") as f:
                return f.read()
        self.assertEqual(assetcheck.check_folder(read), [])

        def damaged(name):
            data = read(name)
            return data[:len(data) // 2] if name == "glyph-ok.bmp" else data
        self.assertEqual(len(assetcheck.check_folder(damaged)), 1)

    def test_small_pictures_are_deterministic(self):
        self.assertEqual(smallart.language(), smallart.language())
        self.assertEqual(smallart.icon(), smallart.icon())


if __name__ == "__main__":
    unittest.main()
