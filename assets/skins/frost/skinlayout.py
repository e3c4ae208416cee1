"""Sizes, file names and the skin description of the frost skin.

The generator draws to these sizes and writes ini_text(); keeping both here
means a size changes in one place and the description follows it.
"""

INI_NAME = "skin.ini"
SKIN_NAME = "Frost"

# Window frame: one-frame, opaque borders (a rectangular window)
BORDER_PX = 6            # left and right border thickness
BOTTOM_PX = 6            # bottom border height
CAPTION_PX = 28          # top border (caption) height
TOP_MARGIN_PX = 4        # fixed columns at each end of the top border
TOP_MIDDLE_PX = 4        # tiled (TopStretch=0): the caption is a vertical gradient
SIDE_MIDDLE_PX = 2
BOTTOM_WIDTH_PX = 8
BOTTOM_MARGIN_PX = 2

# Title band behind the centred title
TEXTBACK_CAP_PX = 9
TEXTBACK_MIDDLE_PX = 2
BAND_TOP_PX = 5
BAND_BOTTOM_PX = 23
TEXT_SHIFT_PX = 28       # keeps dialogs wide enough for the icon at the left
TEXT_SHIFT_VERT_PX = 0
TEXT_RIGHT_CLIP_PX = 86   # clear of close, maximise and minimise; help, when shown, may lie under a long title

# Caption buttons: flat rounded rectangles
SYSBTN_W_PX = 24
SYSBTN_H_PX = 18
SYSBTN_Y = 5
SYSBTN_STEP_PX = 26
CLOSE_X = 30             # distance of the close button's left edge from the right edge
ICON_PX = 16
ICON_X = 8
ICON_Y = 6
MDI_W_PX = 16
MDI_H_PX = 14

# Controls
BUTTON_W_PX = 18
BUTTON_H_PX = 20
BUTTON_MARGIN_PX = 3
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
SEPARATOR_LINE_PX = 3    # row of the line within that height
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
    "mdi": "mdi-buttons.bmp",
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


TEXT = rgb("#1C2E44")
TEXT_OFF = rgb("#94A3B3")
ACCENT = rgb("#3B7DC4")
ACCENT_DEEP = rgb("#2A5E98")
SELECT = rgb("#3B7DC4")
SELECT_TEXT = rgb("#FFFFFF")
FACE = rgb("#EEF2F6")
CAPTION_TEXT = rgb("#1C2E44")
CAPTION_TEXT_IN = rgb("#7D8DA0")

# Text-colour indexes into the [ColourN] table below.
PRE_TEXT, PRE_TEXT_OFF, PRE_ACCENT, PRE_SELECT, PRE_SELECT_TEXT, PRE_ACCENT_DEEP = range(6)
PRECOLOURS = [TEXT, TEXT_OFF, ACCENT, SELECT, SELECT_TEXT, ACCENT_DEEP]


def _object(image, frames_note, margins, trans, tile, colours=(PRE_TEXT, PRE_ACCENT, PRE_TEXT),
            colours2=(TEXT, ACCENT_DEEP, TEXT), style=True):
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

    # One frame for both states and no magenta anywhere: the region is the whole window.
    personality = []
    for side, key, top, bottom, stretch in (
            ("Left", "left", CAPTION_PX, BOTTOM_PX, 1),
            ("Right", "right", CAPTION_PX, BOTTOM_PX, 1),
            ("Top", "top", TOP_MARGIN_PX, TOP_MARGIN_PX, 0),
            ("Bottom", "bottom", BOTTOM_MARGIN_PX, BOTTOM_MARGIN_PX, 1)):
        personality += [(side, F[key]), (side + "TopHeight", top),
                        (side + "BotHeight", bottom), (side + "Frame", 1),
                        (side + "Stretch", stretch), (side + "Trans", 0)]
    personality += [
        ("TextBack", F["textback"]), ("TextShift", TEXT_SHIFT_PX),
        ("TextShiftVert", TEXT_SHIFT_VERT_PX), ("TextRightClip", TEXT_RIGHT_CLIP_PX),
        ("TextAlignment", 1), ("Textbackground", 1),
        ("TXTBackleft", TEXTBACK_CAP_PX), ("TXTBackRight", TEXTBACK_CAP_PX),
    ]
    for prefix, colour in (("ActiveText", CAPTION_TEXT), ("InActiveText", CAPTION_TEXT_IN)):
        r, g, b = colour.split()
        personality += [(prefix + "R", r), (prefix + "G", g), (prefix + "B", b)]
    personality += [("menuBar", F["menubar"]), ("TileMenu", 1),
                    ("TileLeftMenu", 2), ("TileRightMenu", 2)]
    s.append(("Personality", personality))

    s.append(("Fonts", [("FontHeight", 14)]))
    s.append(("Colours", [
        ("WindowText", TEXT), ("TitleTextActive", CAPTION_TEXT),
        ("TitleTextNoActive", CAPTION_TEXT_IN), ("ButtonFace", FACE),
        ("ButtonText", TEXT), ("ButtonHilight", "255 255 255"),
        ("Buttonlight", "247 249 251"), ("ButtonShadow", "169 186 203"),
        ("ButtonDkShadow", "91 111 132"), ("HilightText", SELECT_TEXT),
        ("Hilight", SELECT), ("Menubar", "244 247 250"), ("MenuBarText", TEXT),
        ("MenuText", TEXT), ("Menu", "250 251 253"), ("Scrollbar", "221 230 239"),
    ]))
    for i, colour in enumerate(PRECOLOURS):
        s.append((f"Colour{i}", [("color", colour)]))
    s.append(("Customcolors", [(f"Color{i}", c) for i, c in enumerate((
        ACCENT, ACCENT_DEEP, rgb("#9CC3EA"), rgb("#6F8BA8"), FACE,
        "255 255 255", rgb("#A9BACB"), rgb("#5B6F84"), TEXT, rgb("#D9E4EF")))]))

    m = BUTTON_MARGIN_PX
    s.append(("Buttons", [
        ("; frames", "5: normal, pressed, disabled, hot, focused/default"),
        ("Bitmap", F["button"]), ("CheckButton", F["check"]), ("RadioButton", F["radio"]),
        ("LeftWidth", m), ("TopHeight", m), ("RightWidth", m), ("BottomHeight", m),
        ("Trans", 1), ("Tile", 0),
        ("NormalColour", PRE_TEXT), ("MouseOverColour", PRE_ACCENT_DEEP), ("PressedColour", PRE_TEXT),
        ("RadioButtonFrame", 8), ("CheckButtonFrame", 12),
        ("NormalColour2", TEXT), ("MouseOverColour2", ACCENT_DEEP), ("PressedColour2", TEXT),
    ]))

    # Caption buttons, right to left: close, maximise/restore, minimise, help; no decoration.
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

    s.append(("MDICONTROLS", [("; frames", "12: minimise, restore, close x "
                               "(normal, pressed, inactive, hot)"),
                              ("Image", F["mdi"])]))

    pm = PROGRESS_MARGIN_PX
    s.append(("Progress", [("; frames", "2: track, fill; Style 1 would draw Chunk instead"),
                           ("Bitmap", F["progress"]), ("Chunk", F["chunk"]),
                           ("Style", 0), ("LeftWidth", pm), ("TopHeight", pm),
                           ("RightWidth", pm), ("BottomHeight", pm), ("Trans", 1), ("Tile", 0)]))

    s.append(("GroupBoxEdge", _object(F["groupedge"], "2: enabled, disabled", (3, 3, 3, 3), 1, 0)))
    s.append(("GroupBox", _object(F["groupplate"], "1: caption plate", (3, 3, 3, 3), 1, 0) + [
        ("BackgroundAlignment", 0), ("BackgroundLeftShift", 4), ("BackgroundRightShift", 4)]))
    s.append(("Tabs", _object(F["tabs"], "5: normal, selected, hot, disabled, focused",
                              (3, 3, 3, 2), 1, 0, style=False) + [("Border", F["tabborder"])]))
    s.append(("StatusBarEdges", _object(F["status"], "3: lowered, raised, flat",
                                        (1, 1, 1, 1), 0, 0)))
    s.append(("ToolBars", _object(F["toolbars"], "5: normal, pressed, disabled, hot, checked",
                                  (2, 2, 2, 2), 1, 0)))
    s.append(("ComboButton", _object(F["combo"], "4: normal, pressed, disabled, focused",
                                     (2, 2, 2, 2), 1, 0, style=False)))
    s.append(("SunkEdge", _object(F["sunk"], "4: normal, pressed, disabled, focused",
                                  (2, 2, 2, 2), 1, 0)))
    s.append(("ExtraImages", _object(F["extra"], "5: combo arrow normal, pressed, disabled, "
                                     "focused; size grip", (0, 0, 0, 0), 1, 0)))
    s.append(("Headerbar", _object(F["header"], "5: normal, pressed, hot, disabled, sorted",
                                   (1, 1, 2, 2), 0, 0)))
    s.append(("MenuItem", _object(F["menuitem"], "5: normal, separator, disabled, selected, "
                                  "selected disabled", (2, 2, 2, 2), 1, 0,
                                  colours=(PRE_TEXT, PRE_SELECT_TEXT, PRE_SELECT_TEXT),
                                  colours2=(TEXT, SELECT_TEXT, SELECT_TEXT))))
    s.append(("MenuBackground", _object(F["menuback"], "1", (2, 2, 2, 2), 0, 0)))
    s.append(("Scrollbar", _object(F["scrollbar"], "23: left, right, up, down x (normal, "
                                   "pressed, hot, disabled); size box; tracks; thumbs",
                                   (0, 0, 0, 0), 1, 0)))
    s.append(("HorzScroll", _object(F["htrack"], "4: normal, pressed, disabled, hot",
                                    (0, 1, 0, 1), 0, 0)))
    s.append(("VertScroll", _object(F["vtrack"], "4: normal, pressed, disabled, hot",
                                    (1, 0, 1, 0), 0, 0)))
    tm = THUMB_MARGIN_PX
    s.append(("HorzScrollThumb", _object(F["hthumb"], "3: normal, pressed, hot",
                                         (tm, 3, tm, 3), 1, 0) + [("FrameCount", 3)]))
    s.append(("VertScrollThumb", _object(F["vthumb"], "3: normal, pressed, hot",
                                         (3, tm, 3, tm), 1, 0) + [("FrameCount", 3)]))
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
    lines = ["; Frost: a light, cool skin for --skin. Written by generate.py; edit that, not this.",
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
