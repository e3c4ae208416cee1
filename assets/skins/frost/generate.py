#!/usr/bin/env python3
"""Draws the frost skin: writes skin.ini and every bitmap it names.

    python3 generate.py            write into this folder
    python3 generate.py --out DIR  write into DIR
    python3 generate.py --check    regenerate twice in scratch folders, compare with
                                   the committed files, then validate the description

Standard library only. Output is byte-for-byte deterministic: integer and
correctly rounded float arithmetic (no transcendental functions), fixed order.
"""

import argparse
import os
import sys
import tempfile

# The raster toolkit and the folder check are the oxblood generator's.
sys.path.insert(1, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "oxblood"))

import artcontrols as C  # noqa: E402
import artframe as F  # noqa: E402
import skinlayout as L  # noqa: E402
from skinimage import MAGENTA, encode_bmp, side_by_side  # noqa: E402

# ------------------------------------------------------------- assembly ----

def build_images():
    left, right, top, bottom = F.borders()
    images = {
        L.FILES["left"]: left, L.FILES["right"]: right,
        L.FILES["top"]: top, L.FILES["bottom"]: bottom,
        L.FILES["textback"]: F.caption_back(),
        L.FILES["menubar"]: F.menu_bar(),
        L.FILES["icon"]: F.window_icon(),
        L.FILES["close"]: F.caption_button(F.GLYPH_CLOSE),
        L.FILES["max"]: F.caption_button(F.GLYPH_MAX),
        L.FILES["restore"]: F.caption_button(F.GLYPH_RESTORE),
        L.FILES["min"]: F.caption_button(F.GLYPH_MIN),
        L.FILES["help"]: F.caption_button(F.GLYPH_HELP),
        L.FILES["mdi"]: C.mdi_controls(),
        L.FILES["button"]: C.buttons(),
        L.FILES["check"]: C.check_images(),
        L.FILES["radio"]: C.radio_images(),
        L.FILES["progress"]: C.progress(),
        L.FILES["chunk"]: C.progress_chunk(),
        L.FILES["groupedge"]: C.groupbox_edge(),
        L.FILES["groupplate"]: C.groupbox_plate(),
        L.FILES["tabs"]: C.tabs(),
        L.FILES["tabborder"]: C.tab_border(),
        L.FILES["status"]: C.statusbar_edges(),
        L.FILES["toolbars"]: C.tool_buttons(),
        L.FILES["combo"]: C.combo_button(),
        L.FILES["sunk"]: C.sunk_edge(),
        L.FILES["extra"]: C.extra_images(),
        L.FILES["header"]: C.header_bar(),
        L.FILES["menuitem"]: F.menu_item(),
        L.FILES["menuback"]: F.menu_back(),
        L.FILES["scrollbar"]: C.scrollbar_arrows(),
        L.FILES["htrack"]: side_by_side([C.track(False, s) for s in
                                         ("normal", "pressed", "disabled", "hot")]),
        L.FILES["vtrack"]: side_by_side([C.track(True, s) for s in
                                         ("normal", "pressed", "disabled", "hot")]),
        L.FILES["hthumb"]: side_by_side([C.thumb(False, s) for s in ("normal", "pressed", "hot")]),
        L.FILES["vthumb"]: side_by_side([C.thumb(True, s) for s in ("normal", "pressed", "hot")]),
    }
    for name, img in C.trackbar_thumbs().items():
        images[L.FILES["track_" + name]] = img
    for vertical, key in ((False, "updown_h"), (True, "updown_v")):
        faces, glyphs = C.updown(vertical)
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
