#!/usr/bin/python3
"""Draws the desktop program's pictures, button glyphs and icon.

    /usr/bin/python3 generate.py            write into this folder
    /usr/bin/python3 generate.py --out DIR  write into DIR
    /usr/bin/python3 generate.py --check    draw twice in scratch folders, compare both
                                            with the committed files, validate them

Only needed to redraw the files, not to build the program. The start-up picture
needs two Debian packages: python3-pil and fonts-dancingscript (apt-get install
python3-pil fonts-dancingscript); run it with Debian's /usr/bin/python3, which sees
them. Everything else uses the standard library. Output is byte-for-byte the same
on every run.
"""

import argparse
import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import assetcheck  # noqa: E402
import bmpfile  # noqa: E402
import smallart  # noqa: E402


def _initial():
    try:
        import initial
    except ImportError as e:
        sys.exit(f"the start-up picture needs python3-pil ({e}); "
                 "apt-get install python3-pil fonts-dancingscript")
    if not os.path.exists(initial.FONT):
        sys.exit(f"missing {initial.FONT}; apt-get install fonts-dancingscript")
    return bmpfile.encode_rgb(initial.render())


def _language():
    rows, palette = smallart.language()
    return bmpfile.encode_indexed(rows, palette, 4)


def _load():
    rows, palette = smallart.glyph_load()
    return bmpfile.encode_indexed(rows, palette, 4)


def _ok():
    rows, palette = smallart.glyph_ok()
    return bmpfile.encode_indexed(rows, palette, 8)


def _icon():
    rows, palette, transparent = smallart.icon()
    return bmpfile.encode_icon(rows, palette, transparent)


FILES = {
    "initial.bmp": _initial,
    "language.bmp": _language,
    "glyph-load.bmp": _load,
    "glyph-abort.bmp": lambda: bmpfile.encode_rgb(smallart.glyph_abort()),
    "glyph-ok.bmp": _ok,
    "brindlewick.ico": _icon,
}


def write_all(folder):
    os.makedirs(folder, exist_ok=True)
    for name, draw in FILES.items():
        data = draw()
        path = os.path.join(folder, name)
        # write beside, then rename: an interrupted run never leaves half a file
        with open(path + ".tmp", "wb") as f:
            f.write(data)
        os.replace(path + ".tmp", path)


def _read_from(folder):
    def read(name):
        with open(os.path.join(folder, name), "rb") as f:
            return f.read()
    return read


def check():
    failures = []
    with tempfile.TemporaryDirectory() as first, tempfile.TemporaryDirectory() as second:
        write_all(first)
        write_all(second)
        for name in FILES:
            a, b = _read_from(first)(name), _read_from(second)(name)
            if a != b:
                failures.append(f"{name}: two runs differ")
            try:
                committed = _read_from(HERE)(name)
            except OSError:
                failures.append(f"{name}: not committed")
                continue
            if committed != a:
                at = next((i for i, (x, y) in enumerate(zip(committed, a)) if x != y),
                          min(len(committed), len(a)))
                failures.append(f"{name}: committed file differs from a fresh drawing "
                                f"from byte {at}; run generate.py")
    failures += assetcheck.check_folder(_read_from(HERE))
    for f in failures:
        print(f)
    print("check: " + ("ok" if not failures else f"{len(failures)} problem(s)"))
    return not failures


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--out", default=HERE, help="folder to write into")
    parser.add_argument("--check", action="store_true",
                        help="compare fresh drawings with the committed files and validate")
    args = parser.parse_args()
    if args.check:
        return 0 if check() else 1
    try:
        write_all(args.out)
    except OSError as e:
        sys.exit(f"cannot write into {args.out}: {e}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
