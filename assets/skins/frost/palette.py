"""Frost's palette (RGB): pale steel and ice, an azure accent, slate text.
Magenta is the transparent key and never a colour."""

from skinimage import hexc

EDGE = hexc("#6F8BA8")             # the window's one-pixel outer line
FRAME = hexc("#D9E4EF")            # side and bottom borders
CAPTION_TOP = hexc("#F8FBFE")
CAPTION_BOTTOM = hexc("#CFDDEB")
SEAM = hexc("#A9BDD1")             # where the borders meet the client area
ACCENT = hexc("#3B7DC4")           # azure: hot outlines, checks, fills
ACCENT_DEEP = hexc("#2A5E98")
ACCENT_HI = hexc("#9CC3EA")
FACE = hexc("#EEF2F6")
FACE_HI = hexc("#FFFFFF")
FACE_SH = hexc("#A9BACB")
FACE_DK = hexc("#5B6F84")
TEXT = hexc("#1C2E44")
TEXT_OFF = hexc("#94A3B3")
CAPTION_TEXT = hexc("#1C2E44")
CAPTION_TEXT_IN = hexc("#7D8DA0")
SELECT = hexc("#3B7DC4")
SELECT_TEXT = hexc("#FFFFFF")
OUTLINE = hexc("#8CA3BA")          # outline of the pale controls
WELL = hexc("#DDE6EF")             # recessed: tracks, wells
FIELD = hexc("#FFFFFF")            # inside of check boxes and fields
