"""Sizes, file names and the skin description of the oxblood skin.

The generator draws to these sizes and writes ini_text(); keeping both here
means a size changes in one place and the description follows it.
"""

INI_NAME = "skin.ini"
SKIN_NAME = "Oxblood"

# Window frame
BORDER_PX = 4            # left, right and bottom border thickness
CAPTION_PX = 26          # top border (caption) height
CORNER_PX = 8            # radius of the rounded outer top corners
TOP_MARGIN_PX = 6        # fixed columns at each end of the top border (holds the corner)
TOP_MIDDLE_PX = 4
SIDE_MIDDLE_PX = 2
BOTTOM_WIDTH_PX = 8
BOTTOM_MARGIN_PX = 2

# Title band
TEXTBACK_CAP_PX = 10
TEXTBACK_MIDDLE_PX = 4
BAND_TOP_PX = 5
BAND_BOTTOM_PX = 23
TEXT_SHIFT_PX = 26       # title starts after the window icon
TEXT_SHIFT_VERT_PX = 2
TEXT_RIGHT_CLIP_PX = 100  # keeps the title clear of four caption buttons and the rivet

# Caption buttons
SYSBTN_PX = 18
SYSBTN_Y = 5
SYSBTN_STEP_PX = 20
CLOSE_X = 26             # distance of the close button's left edge from the right edge
ICON_PX = 16
ICON_X = 8
ICON_Y = 6
RIVET_PX = 7
RIVET_Y = 11
RIVET_GAP_PX = 4
MDI_W_PX = 16
MDI_H_PX = 14

# Controls
BUTTON_W_PX = 20
BUTTON_H_PX = 21
BUTTON_MARGIN_PX = 4
CHECK_PX = 13
PROGRESS_W_PX = 20
PROGRESS_H_PX = 25
PROGRESS_MARGIN_PX = 3
PROGRESS_INSET_PX = 2
CHUNK_W_PX = 8
CHUNK_H_PX = 19
EDGE_PX = 16
PLATE_W_PX = 24
PLATE_H_PX = 18
TAB_W_PX = 24
TAB_H_PX = 22
TAB_BORDER_PX = 16
STATUS_PX = 12
TOOLBTN_PX = 22
COMBO_BTN_W_PX = 19
COMBO_H_PX = 21
SUNK_W_PX = 12
EXTRA_PX = 12
HEADER_W_PX = 20
HEADER_H_PX = 20
MENUITEM_W_PX = 20
MENUITEM_H_PX = 18
SEPARATOR_H_PX = 8       # height the menu painter gives a separator item
SEPARATOR_LINE_PX = 3    # row of the gold line within that height
MENUBACK_PX = 16
MENUBAR_W_PX = 40
MENUBAR_H_PX = 20
SCROLL_PX = 17
TRACK_LEN_PX = 8
THUMB_LEN_PX = 24
THUMB_MARGIN_PX = 6
TRACK_THUMB_W_PX = 11
TRACK_THUMB_H_PX = 21
TRACK_THUMB_TIP_PX = 5
UPDOWN_LONG_PX = 15
UPDOWN_SHORT_PX = 11

FILES = {
    "left": "frame-left.bmp", "right": "frame-right.bmp",
    "top": "frame-top.bmp", "bottom": "frame-bottom.bmp",
    "textback": "caption-band.bmp", "menubar": "menu-bar.bmp",
    "icon": "caption-icon.bmp", "close": "caption-close.bmp",
    "max": "caption-maximise.bmp", "restore": "caption-restore.bmp",
    "min": "caption-minimise.bmp", "help": "caption-help.bmp",
    "rivet": "caption-rivet.bmp", "mdi": "mdi-buttons.bmp",
    "button": "button.bmp", "check": "check-box.bmp", "radio": "radio-button.bmp",
    "progress": "progress.bmp", "chunk": "progress-chunk.bmp",
    "groupedge": "group-edge.bmp", "groupplate": "group-plate.bmp",
    "tabs": "tab.bmp", "tabborder": "tab-page.bmp",
    "status": "status-edges.bmp", "toolbars": "tool-button.bmp",
    "combo": "combo-button.bmp", "sunk": "field-edge.bmp",
    "extra": "glyphs.bmp", "header": "header.bmp",
    "menuitem": "menu-item.bmp", "menuback": "menu-back.bmp",
    "scrollbar": "scroll-arrows.bmp",
    "htrack": "scroll-track-h.bmp", "vtrack": "scroll-track-v.bmp",
    "hthumb": "scroll-thumb-h.bmp", "vthumb": "scroll-thumb-v.bmp",
    "track_horz": "slider-horz.bmp", "track_vert": "slider-vert.bmp",
    "track_left": "slider-left.bmp", "track_right": "slider-right.bmp",
    "track_up": "slider-up.bmp", "track_down": "slider-down.bmp",
    "updown_h": "spin-h.bmp", "updown_h_glyph": "spin-h-arrows.bmp",
    "updown_v": "spin-v.bmp", "updown_v_glyph": "spin-v-arrows.bmp",
}


def rgb(text):
    return " ".join(str(int(text[i:i + 2], 16)) for i in (1, 3, 5))


TEXT = rgb("#3B2314")
TEXT_OFF = rgb("#A0917A")
OXBLOOD = rgb("#6B1E1E")
SELECT = rgb("#8C2A22")
SELECT_TEXT = rgb("#FFF4DC")
GOLD = rgb("#C9A227")
CAPTION_TEXT = "246 231 193"
CAPTION_TEXT_IN = "205 191 166"

# Text-colour indexes into the [ColourN] table below.
PRE_TEXT, PRE_TEXT_OFF, PRE_OXBLOOD, PRE_SELECT, PRE_SELECT_TEXT, PRE_GOLD = range(6)
PRECOLOURS = [TEXT, TEXT_OFF, OXBLOOD, SELECT, SELECT_TEXT, GOLD]


def _object(image, frames_note, margins, trans, tile, colours=(PRE_TEXT, PRE_OXBLOOD, PRE_TEXT),
            colours2=(TEXT, OXBLOOD, TEXT), style=True):
    """Keys of a generic element section, in the loader's order."""
    keys = [("; frames", frames_note), ("Image", image)]
    if style:
        keys.append(("Style", 0))
    keys += [("LeftWidth", margins[0]), ("TopHeight", margins[1]),
             ("RightWidth", margins[2]), ("BottomHeight", margins[3]),
             ("Trans", trans), ("Tile", tile),
             ("NormalColour", colours[0]), ("MouseOverColour", colours[1]),
             ("PressedColour", colours[2]),
             ("NormalColour2", colours2[0]), ("MouseOverColour2", colours2[1]),
             ("PressedColour2", colours2[2])]
    return keys


def _sysbutton(note, action, align, x, y, visibility, visibility1, frames, image):
    return [("; button", note), ("Action", action), ("Align", align),
            ("Xcoord", x), ("Ycoord", y), ("Visibility", visibility),
            ("Visibility1", visibility1), ("CombineOp", -1), ("frame", frames),
            ("ButtonImage", image)]


def sections():
    F = FILES
    s = []
    s.append(("TitlebarSkin", [("SkinName", SKIN_NAME)]))

    personality = []
    for side, key, top, bottom, trans in (
            ("Left", "left", CAPTION_PX, BORDER_PX, 1),
            ("Right", "right", CAPTION_PX, BORDER_PX, 1),
            ("Top", "top", TOP_MARGIN_PX, TOP_MARGIN_PX, 1),
            ("Bottom", "bottom", BOTTOM_MARGIN_PX, BOTTOM_MARGIN_PX, 0)):
        personality += [(side, F[key]), (side + "TopHeight", top),
                        (side + "BotHeight", bottom), (side + "Frame", 2),
                        (side + "Stretch", 1), (side + "Trans", trans)]
    personality += [
        ("TextBack", F["textback"]), ("TextShift", TEXT_SHIFT_PX),
        ("TextShiftVert", TEXT_SHIFT_VERT_PX), ("TextRightClip", TEXT_RIGHT_CLIP_PX),
        ("TextAlignment", 0), ("Textbackground", 1),
        ("TXTBackleft", TEXTBACK_CAP_PX), ("TXTBackRight", TEXTBACK_CAP_PX),
    ]
    for prefix, colour in (("ActiveText", CAPTION_TEXT), ("InActiveText", CAPTION_TEXT_IN)):
        r, g, b = colour.split()
        personality += [(prefix + "R", r), (prefix + "G", g), (prefix + "B", b)]
    personality += [("menuBar", F["menubar"]), ("TileMenu", 1),
                    ("TileLeftMenu", 4), ("TileRightMenu", 4)]
    s.append(("Personality", personality))

    s.append(("Fonts", [("FontHeight", 14)]))
    s.append(("Colours", [
        ("WindowText", TEXT), ("TitleTextActive", CAPTION_TEXT),
        ("TitleTextNoActive", CAPTION_TEXT_IN), ("ButtonFace", "243 235 211"),
        ("ButtonText", TEXT), ("ButtonHilight", "255 249 234"),
        ("Buttonlight", "250 244 226"), ("ButtonShadow", "184 168 134"),
        ("ButtonDkShadow", "110 96 74"), ("HilightText", SELECT_TEXT),
        ("Hilight", SELECT), ("Menubar", "243 235 211"), ("MenuBarText", TEXT),
        ("MenuText", TEXT), ("Menu", "243 235 211"), ("Scrollbar", "230 219 190"),
    ]))
    for i, colour in enumerate(PRECOLOURS):
        s.append((f"Colour{i}", [("color", colour)]))
    s.append(("Customcolors", [(f"Color{i}", c) for i, c in enumerate((
        OXBLOOD, rgb("#4A1212"), GOLD, rgb("#E8CF7A"), rgb("#F3EBD3"),
        rgb("#FFF9EA"), rgb("#B8A886"), rgb("#6E604A"), TEXT, SELECT))]))

    m = BUTTON_MARGIN_PX
    s.append(("Buttons", [
        ("; frames", "5: normal, pressed, disabled, hot, focused/default"),
        ("Bitmap", F["button"]), ("CheckButton", F["check"]), ("RadioButton", F["radio"]),
        ("LeftWidth", m), ("TopHeight", m), ("RightWidth", m), ("BottomHeight", m),
        ("Trans", 1), ("Tile", 0),
        ("NormalColour", PRE_TEXT), ("MouseOverColour", PRE_OXBLOOD), ("PressedColour", PRE_TEXT),
        ("RadioButtonFrame", 8), ("CheckButtonFrame", 12),
        ("NormalColour2", TEXT), ("MouseOverColour2", OXBLOOD), ("PressedColour2", TEXT),
    ]))

    # Caption buttons, right to left: close, maximise/restore, minimise, help.
    # Minimise moves into the maximise slot on windows without a maximise box.
    step = SYSBTN_STEP_PX
    s.append(("Button0", _sysbutton("window icon (the window's own icon is drawn)",
                                    3, 0, ICON_X, ICON_Y, 0, 0, 1, F["icon"])))
    s.append(("Button1", _sysbutton("close", 0, 1, CLOSE_X, SYSBTN_Y, 0, 0, 4, F["close"])))
    s.append(("Button2", _sysbutton("maximise, shown while not maximised",
                                    1, 1, CLOSE_X + step, SYSBTN_Y, 2, 6, 4, F["max"])))
    s.append(("Button3", _sysbutton("restore, shown while maximised",
                                    22, 1, CLOSE_X + step, SYSBTN_Y, 1, 6, 4, F["restore"])))
    s.append(("Button4", _sysbutton("minimise beside a maximise box",
                                    2, 1, CLOSE_X + 2 * step, SYSBTN_Y, 8, 6, 4, F["min"])))
    s.append(("Button5", _sysbutton("minimise on windows without a maximise box",
                                    2, 1, CLOSE_X + step, SYSBTN_Y, 8, 7, 4, F["min"])))
    s.append(("Button6", _sysbutton("help: action 4 is the application's; shown when "
                                    "the window answers the visibility query",
                                    4, 1, CLOSE_X + 3 * step, SYSBTN_Y, 1000, 6, 4, F["help"])))
    s.append(("Button7", _sysbutton("decorative rivet after the title band",
                                    -1, 3, RIVET_GAP_PX, RIVET_Y, 0, 0, 4, F["rivet"])))

    s.append(("MDICONTROLS", [("; frames", "12: minimise, restore, close x "
                               "(normal, pressed, inactive, hot)"),
                              ("Image", F["mdi"])]))

    pm = PROGRESS_MARGIN_PX
    s.append(("Progress", [("; frames", "2: track, fill; Style 1 would draw Chunk instead"),
                           ("Bitmap", F["progress"]), ("Chunk", F["chunk"]),
                           ("Style", 0), ("LeftWidth", pm), ("TopHeight", pm),
                           ("RightWidth", pm), ("BottomHeight", pm), ("Trans", 1), ("Tile", 0)]))

    s.append(("GroupBoxEdge", _object(F["groupedge"], "2: enabled, disabled", (4, 4, 4, 4), 1, 0)))
    s.append(("GroupBox", _object(F["groupplate"], "1: caption plate", (4, 4, 4, 4), 1, 0) + [
        ("BackgroundAlignment", 0), ("BackgroundLeftShift", 4), ("BackgroundRightShift", 4)]))
    s.append(("Tabs", _object(F["tabs"], "5: normal, selected, hot, disabled, focused",
                              (4, 4, 4, 2), 1, 0, colours=(PRE_TEXT, PRE_OXBLOOD, PRE_TEXT),
                              style=False) + [("Border", F["tabborder"])]))
    s.append(("StatusBarEdges", _object(F["status"], "3: lowered, raised, flat",
                                        (2, 2, 2, 2), 0, 0)))
    s.append(("ToolBars", _object(F["toolbars"], "5: normal, pressed, disabled, hot, checked",
                                  (3, 3, 3, 3), 1, 0)))
    s.append(("ComboButton", _object(F["combo"], "4: normal, pressed, disabled, focused",
                                     (3, 3, 3, 3), 1, 0, style=False)))
    s.append(("SunkEdge", _object(F["sunk"], "4: normal, pressed, disabled, focused",
                                  (2, 2, 2, 2), 1, 0)))
    s.append(("ExtraImages", _object(F["extra"], "5: combo arrow normal, pressed, disabled, "
                                     "focused; size grip", (0, 0, 0, 0), 1, 0)))
    s.append(("Headerbar", _object(F["header"], "5: normal, pressed, hot, disabled, sorted",
                                   (2, 2, 3, 3), 0, 0)))
    s.append(("MenuItem", _object(F["menuitem"], "5: normal, separator, disabled, selected, "
                                  "selected disabled", (3, 3, 3, 3), 1, 0,
                                  colours=(PRE_TEXT, PRE_SELECT_TEXT, PRE_SELECT_TEXT),
                                  colours2=(TEXT, SELECT_TEXT, SELECT_TEXT))))
    s.append(("MenuBackground", _object(F["menuback"], "1", (3, 3, 3, 3), 0, 0)))
    s.append(("Scrollbar", _object(F["scrollbar"], "23: left, right, up, down x (normal, "
                                   "pressed, hot, disabled); size box; tracks; thumbs",
                                   (0, 0, 0, 0), 1, 0)))
    s.append(("HorzScroll", _object(F["htrack"], "4: normal, pressed, disabled, hot",
                                    (0, 2, 0, 1), 0, 0)))
    s.append(("VertScroll", _object(F["vtrack"], "4: normal, pressed, disabled, hot",
                                    (2, 0, 1, 0), 0, 0)))
    tm = THUMB_MARGIN_PX
    s.append(("HorzScrollThumb", _object(F["hthumb"], "3: normal, pressed, hot",
                                         (tm, 4, tm, 4), 1, 0) + [("FrameCount", 3)]))
    s.append(("VertScrollThumb", _object(F["vthumb"], "3: normal, pressed, hot",
                                         (4, tm, 4, tm), 1, 0) + [("FrameCount", 3)]))
    for name, key in (("Horz", "track_horz"), ("Vert", "track_vert"),
                      ("Left", "track_left"), ("Right", "track_right"),
                      ("Up", "track_up"), ("Down", "track_down")):
        s.append((f"Trackbar.Thumb{name}", _object(
            F[key], "5: normal, focused (the one drawn), hot, pressed, disabled",
            (0, 0, 0, 0), 1, 0)))
    for name, key in (("Horz", "updown_h"), ("Vert", "updown_v")):
        first, second = ("left", "right") if name == "Horz" else ("up", "down")
        s.append((f"UpDown.{name}", _object(
            F[key], f"8: {first} then {second} x (normal, pressed, disabled, hot)",
            (2, 2, 2, 2), 1, 0, style=False) + [("GlyphImage", F[key + "_glyph"])]))
    return s


def ini_text():
    lines = ["; Oxblood: the program's own skin. Written by generate.py; edit that, not this.",
             ""]
    for name, keys in sections():
        lines.append(f"[{name}]")
        for key, value in keys:
            if key.startswith(";"):
                lines.append(f"; {value}")
            else:
                lines.append(f"{key}={value}")
        lines.append("")
    return "\r\n".join(lines)
