"""Validates a skin folder against the rules the skin loader and painters apply.

It reads the description the way the loader does (trimmed lines, ";" comment
lines, first section and first key win, empty values count as missing) and
checks, independently of the generator:
  - every section and key of the description vocabulary is present;
  - every file key names a lower-case ".bmp" entry that exists and is an
    uncompressed 24-bit BMP with a 40-byte header; no bitmap is left unnamed;
  - each image divides into the frame count the loader will give it, and its
    margins fit inside one frame;
  - colour texts hold three numbers, and no pixel is a near-magenta that the
    region builder would treat as transparent.
"""

import os
import re

import skinimage

VOCABULARY = {
    "TitlebarSkin": ["SkinName"],
    "Personality": [f"{b}{k}" for b in ("Left", "Right", "Top", "Bottom")
                    for k in ("", "TopHeight", "BotHeight", "Frame", "Stretch", "Trans")] + [
        "TextBack", "TextShift", "TextShiftVert", "TextRightClip", "TextAlignment",
        "Textbackground", "TXTBackleft", "TXTBackRight",
        "ActiveTextR", "ActiveTextG", "ActiveTextB",
        "InActiveTextR", "InActiveTextG", "InActiveTextB",
        "menuBar", "TileMenu", "TileLeftMenu", "TileRightMenu"],
    "Fonts": ["FontHeight"],
    "Colours": ["WindowText", "TitleTextActive", "TitleTextNoActive", "ButtonFace",
                "ButtonText", "ButtonHilight", "Buttonlight", "ButtonShadow",
                "ButtonDkShadow", "HilightText", "Hilight", "Menubar", "MenuBarText",
                "MenuText", "Menu", "Scrollbar"],
    "Customcolors": [f"Color{i}" for i in range(10)],
    "Buttons": ["Bitmap", "CheckButton", "RadioButton", "LeftWidth", "TopHeight",
                "RightWidth", "BottomHeight", "Trans", "Tile", "NormalColour",
                "MouseOverColour", "PressedColour", "RadioButtonFrame", "CheckButtonFrame",
                "NormalColour2", "MouseOverColour2", "PressedColour2"],
    "MDICONTROLS": ["Image"],
    "Progress": ["Bitmap", "Chunk", "Style", "LeftWidth", "TopHeight", "RightWidth",
                 "BottomHeight", "Trans", "Tile"],
}
GENERIC = ["Image", "Style", "LeftWidth", "TopHeight", "RightWidth", "BottomHeight", "Trans",
           "Tile", "NormalColour", "MouseOverColour", "PressedColour", "NormalColour2",
           "MouseOverColour2", "PressedColour2"]
GENERIC_SECTIONS = ["GroupBoxEdge", "StatusBarEdges", "ToolBars", "SunkEdge", "ExtraImages",
                    "Headerbar", "MenuItem", "MenuBackground", "Scrollbar", "HorzScroll",
                    "VertScroll", "HorzScrollThumb", "VertScrollThumb"] + \
    [f"Trackbar.Thumb{n}" for n in ("Horz", "Vert", "Left", "Right", "Up", "Down")]
for _s in GENERIC_SECTIONS:
    VOCABULARY[_s] = list(GENERIC)
VOCABULARY["GroupBox"] = GENERIC + ["BackgroundAlignment", "BackgroundLeftShift",
                                    "BackgroundRightShift"]
_NO_STYLE = [k for k in GENERIC if k != "Style"]
VOCABULARY["Tabs"] = _NO_STYLE + ["Border"]
VOCABULARY["UpDown.Horz"] = _NO_STYLE + ["GlyphImage"]
VOCABULARY["UpDown.Vert"] = _NO_STYLE + ["GlyphImage"]
VOCABULARY["ComboButton"] = list(_NO_STYLE)
VOCABULARY["HorzScrollThumb"] += ["FrameCount"]
VOCABULARY["VertScrollThumb"] += ["FrameCount"]
SYSBUTTON_KEYS = ["Action", "Align", "Xcoord", "Ycoord", "Visibility", "Visibility1",
                  "CombineOp", "frame", "ButtonImage"]
FILE_KEYS = {"left", "right", "top", "bottom", "textback", "menubar", "bitmap", "checkbutton",
             "radiobutton", "buttonimage", "image", "chunk", "border", "glyphimage"}
COLOUR2_KEYS = {"normalcolour2", "mouseovercolour2", "pressedcolour2"}

FRAMES = {"GroupBoxEdge": 2, "MenuBackground": 1, "GroupBox": 1, "StatusBarEdges": 3,
          "ComboButton": 4, "SunkEdge": 4, "HorzScroll": 4, "VertScroll": 4, "ToolBars": 5,
          "Tabs": 5, "ExtraImages": 5, "Headerbar": 5, "MenuItem": 5, "UpDown.Horz": 8,
          "UpDown.Vert": 8, "Scrollbar": 23}
FRAMES.update({f"Trackbar.Thumb{n}": 5 for n in ("Horz", "Vert", "Left", "Right", "Up", "Down")})


class Ini:
    def __init__(self, text):
        self.order, self.sections = [], {}
        current = None
        for raw in re.split(r"\r\n|\r|\n", text):
            line = raw.strip(" \t\r\n\x00\x0b\x0c")
            if not line or line.startswith(";"):
                continue
            if line.startswith("[") and line.endswith("]"):
                name = line[1:-1].strip()
                self.order.append(name)
                if name.lower() in self.sections:
                    current = {}          # a repeated header is never read
                else:
                    current = self.sections[name.lower()] = {}
                continue
            if current is not None and "=" in line:
                key, value = line.split("=", 1)
                current.setdefault(key.strip().lower(), value.strip())

    def get(self, section, key):
        value = self.sections.get(section.lower(), {}).get(key.lower(), "")
        return value or None

    def int(self, section, key, default):
        value = self.get(section, key)
        try:
            return int(value) if value is not None else default
        except ValueError:
            return default


class Report:
    def __init__(self):
        self.problems, self.summary = [], []


def validate(folder):
    rep = Report()
    ini_path = os.path.join(folder, "skin.ini")
    if not os.path.exists(ini_path):
        rep.problems.append("skin.ini missing")
        return rep
    with open(ini_path, "rb") as f:
        ini = Ini(f.read().decode("ascii"))

    for section, keys in VOCABULARY.items():
        if section.lower() not in ini.sections:
            rep.problems.append(f"[{section}] missing")
            continue
        for key in keys:
            if ini.get(section, key) is None:
                rep.problems.append(f"[{section}] {key} missing")
    sysbuttons = [s for s in ini.order if s.upper().startswith("BUTTON") and
                  s.upper() not in ("BUTTONS", "BUTTON", "BUTTON.RADIO", "BUTTON.CHECKBOX")]
    if not sysbuttons:
        rep.problems.append("no caption button sections")
    for s in sysbuttons:
        for key in SYSBUTTON_KEYS:
            if ini.get(s, key) is None:
                rep.problems.append(f"[{s}] {key} missing")
    if not any(s.upper().startswith("COLOUR") and s.upper() != "COLOURS" for s in ini.order):
        rep.problems.append("no [ColourN] sections")

    images, named = {}, set()
    for section in ini.order:
        for key, value in ini.sections.get(section.lower(), {}).items():
            colour_section = section.lower() in ("colours", "customcolors") or \
                section.lower().startswith("colour")
            if colour_section or key in COLOUR2_KEYS:
                if value and len(re.findall(r"\d+", value)) != 3:
                    rep.problems.append(f"[{section}] {key}: colour '{value}' is not three numbers")
                continue
            if key in FILE_KEYS and value:
                base = re.split(r"[\\:]", value)[-1]
                if not base.endswith(".bmp"):
                    rep.problems.append(f"[{section}] {key}: '{value}' would not load "
                                        "(only lower-case .bmp names do)")
                    continue
                named.add(base)
                path = os.path.join(folder, base)
                if not os.path.exists(path):
                    rep.problems.append(f"[{section}] {key}: {base} does not exist")
                    continue
                if base not in images:
                    with open(path, "rb") as f:
                        data = f.read()
                    try:
                        images[base] = (skinimage.decode_bmp(data), len(data))
                    except ValueError as e:
                        rep.problems.append(f"{base}: {e}")
    for f in sorted(os.listdir(folder)):
        if f.endswith(".bmp") and f not in named:
            rep.problems.append(f"{f}: not named by skin.ini")
    for name, (img, _) in sorted(images.items()):
        for row in img.px:
            if any(c != skinimage.MAGENTA and c[0] >= 254 and c[1] <= 1 and c[2] >= 254
                   for c in row):
                rep.problems.append(f"{name}: near-magenta pixel")
                break

    def image(section, key):
        value = ini.get(section, key)
        entry = images.get(re.split(r"[\\:]", value)[-1]) if value else None
        return entry[0] if entry else None

    def frames_fit(label, img, frames, stacked, margins=(0, 0, 0, 0)):
        if img is None:
            rep.problems.append(f"{label}: no image")
            return None
        along = img.h if stacked else img.w
        if frames < 1 or along % frames:
            rep.problems.append(f"{label}: {img.w}x{img.h} does not divide into {frames} frames")
            return None
        fw, fh = (img.w, img.h // frames) if stacked else (img.w // frames, img.h)
        l, t, r, b = margins
        if l + r > fw or t + b > fh:
            rep.problems.append(f"{label}: margins {margins} exceed the {fw}x{fh} frame")
        return fw, fh

    borders = {}
    for side in ("Left", "Right", "Top", "Bottom"):
        frames = ini.int("Personality", side + "Frame", 1)
        a = ini.int("Personality", side + "TopHeight", 0)
        b = ini.int("Personality", side + "BotHeight", 0)
        stacked = side in ("Top", "Bottom")
        margins = (a, 0, b, 0) if stacked else (0, a, 0, b)
        borders[side] = frames_fit(f"[Personality] {side}", image("Personality", side),
                                   frames, stacked, margins)
    if all(borders.values()):
        left, right = borders["Left"][0], borders["Right"][0]
        top, bottom = borders["Top"][1], borders["Bottom"][1]
        rep.summary.append(f"frame: left {left}, right {right}, caption {top}, bottom {bottom}")
        band = frames_fit("[Personality] TextBack", image("Personality", "TextBack"), 2, True,
                          (ini.int("Personality", "TXTBackleft", 0), 0,
                           ini.int("Personality", "TXTBackRight", 0), 0))
        if band and band[1] != top:
            rep.problems.append(f"TextBack frames are {band[1]} high, the caption {top}")
    frames_fit("[Personality] menuBar", image("Personality", "menuBar"), 2, True,
               (ini.int("Personality", "TileLeftMenu", 1), 0,
                ini.int("Personality", "TileRightMenu", 1), 0))

    def margins_of(section):
        return tuple(ini.int(section, k, 0) for k in
                     ("LeftWidth", "TopHeight", "RightWidth", "BottomHeight"))

    frames_fit("[Buttons] Bitmap", image("Buttons", "Bitmap"), 5, False, margins_of("Buttons"))
    for key, count_key in (("CheckButton", "CheckButtonFrame"), ("RadioButton", "RadioButtonFrame")):
        img = image("Buttons", key)
        n = ini.int("Buttons", count_key, 0)
        if n == 0 and img is not None:
            n = max(4, img.w // (13 if img.h < 16 else 16))
        frames_fit(f"[Buttons] {key}", img, n, False)
    frames_fit("[Progress] Bitmap", image("Progress", "Bitmap"), 2, False, margins_of("Progress"))
    mdi = image("MDICONTROLS", "Image")
    frames_fit("[MDICONTROLS] Image", mdi, 12, False)

    for s in sysbuttons:
        action = ini.int(s, "Action", 0)
        if action == -1 and ini.int(s, "Visibility", -1) != 0:
            continue
        img = image(s, "ButtonImage")
        frames = ini.int(s, "frame", 0)
        if frames == 0:
            frames = 6 if img is None or action < 0 or img.w / img.h > 3.8 else 3
        if img is not None:
            frames_fit(f"[{s}] ButtonImage", img, frames, False)
        if action < 0 and ini.int(s, "Visibility1", -1 if action == -1 else 0) == -1:
            rep.problems.append(f"[{s}] decoration would never show (Visibility1 is -1)")

    for section, frames in FRAMES.items():
        frames_fit(f"[{section}] Image", image(section, "Image"), frames, False, margins_of(section))
    for section in ("HorzScrollThumb", "VertScrollThumb"):
        frames_fit(f"[{section}] Image", image(section, "Image"),
                   ini.int(section, "FrameCount", 3), False, margins_of(section))
    for section in ("UpDown.Horz", "UpDown.Vert"):
        frames_fit(f"[{section}] GlyphImage", image(section, "GlyphImage"), 8, False)
    page = image("Tabs", "Border")
    if page is not None and (page.w < 8 or page.h < 9):
        rep.problems.append("[Tabs] Border is smaller than the painter's 4/5/4/4 edges")
    arrows = image("Scrollbar", "Image")
    if arrows is not None:
        rep.summary.append(f"scroll bars: {arrows.h} px thick")

    total = sum(size for _, size in images.values())
    rep.summary.append(f"bitmaps: {len(images)}, {total} bytes "
                       f"({total / 1024:.1f} KiB) unpacked")
    return rep
