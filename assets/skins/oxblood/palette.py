"""The skin's palette (RGB). Magenta is the transparent key and never a colour."""

from skinimage import hexc, mix, muted

OXBLOOD = hexc("#6B1E1E")
OXBLOOD_DEEP = hexc("#4A1212")
OXBLOOD_IN = hexc("#7A5A56")
OXBLOOD_IN_DEEP = hexc("#5C4542")
GOLD = hexc("#C9A227")
GOLD_HI = hexc("#E8CF7A")
GOLD_IN = muted(GOLD, 0.45)
FACE = hexc("#F3EBD3")
FACE_HI = hexc("#FFF9EA")
FACE_SH = hexc("#B8A886")
FACE_DK = hexc("#6E604A")
TEXT = hexc("#3B2314")
TEXT_OFF = hexc("#A0917A")
CAPTION_TEXT = hexc("#F6E7C1")
CAPTION_TEXT_IN = hexc("#CDBFA6")
SELECT = hexc("#8C2A22")
SELECT_TEXT = hexc("#FFF4DC")
OUTLINE = hexc("#7A5C3E")          # brown outline of cream controls
WELL = hexc("#E6DBBE")             # recessed cream: tracks, wells
FIELD = hexc("#FFFCF3")            # inside of check boxes and fields
