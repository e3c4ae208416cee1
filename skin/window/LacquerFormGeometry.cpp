#include "skin/window/LacquerFormGeometry.h"

#include <algorithm>

#include "skin/window/LacquerCaption.h"

namespace bw::skin {

TFrameLayout LayoutFrame(const TFrameGeometryInput& in) {
  TFrameLayout g;
  const int w = in.Window.cx, h = in.Window.cy;
  const TFrameBorders& b = in.Borders;
  g.LeftBorder = RECT{0, 0, b.Left, h};
  g.RightBorder = RECT{w - b.Right, 0, w, h};
  g.BottomBorder = RECT{b.Left, h - b.Bottom, w - b.Right, h};
  g.Strip = RECT{0, 0, w, b.Top};
  g.TopBorder = RECT{b.Left, 0, w - b.Right, b.Top};
  g.MenuBand = RECT{b.Left, b.Top, w - b.Right, b.Top + b.Menu};

  // Right-aligned buttons first: they depend on the width only, and the text of a popup
  // window stops before them.
  g.ButtonRects.assign(in.Buttons.size(), RECT{0, 0, 0, 0});
  for (size_t i = 0; i < in.Buttons.size(); ++i) {
    const TButtonPlacement& p = in.Buttons[i];
    if (!p.Visible || p.Align != 1) continue;
    const int x = w - p.Xcoord;
    g.ButtonRects[i] = RECT{x, p.Ycoord, x + p.Size.cx, p.Ycoord + p.Size.cy};
    if (x > 0) g.ButtonsRight = std::max(g.ButtonsRight, x);
  }

  // The caption text on the strip S = the top border's rectangle.
  const RECT& s = g.TopBorder;
  const TCaptionLayout& t = in.Title;
  RECT text{s.left, s.top, s.left + in.Text.cx + t.TXTBackleft + t.TXTBackRight, s.top + in.Text.cy};
  const int textW = text.right - text.left, textH = text.bottom - text.top;
  const int sw = s.right - s.left, sh = s.bottom - s.top;
  int dx = t.TextShift;
  if (t.TextAlignment == 1 && !in.RightToLeft) dx = (sw - textW) / 2;
  if (t.TextAlignment == 2 || in.RightToLeft) dx = sw - t.TextRightClip - textW;
  const int dy = (sh - textH) / 2 + t.TextShiftVert / 2;
  OffsetRect(&text, dx, dy);
  if (in.Popup) {
    if (g.ButtonsRight > 5 && g.ButtonsRight - 5 < text.right) text.right = g.ButtonsRight - 5;
  } else if (s.right - t.TextRightClip < text.right) {
    text.right = s.right - t.TextRightClip;
  }
  if (in.DialogBorder && t.TextAlignment == 0) text.left -= 16;  // dialogs show no icon
  g.TextRect = text;
  g.TextDraw = RECT{text.left + t.TXTBackleft, text.top, text.right - t.TXTBackRight, text.bottom};

  for (size_t i = 0; i < in.Buttons.size(); ++i) {
    const TButtonPlacement& p = in.Buttons[i];
    if (!p.Visible || p.Align == 1) continue;
    int x = 0, y = 0;
    switch (p.Align) {
      case 0: x = p.Xcoord, y = p.Ycoord; break;
      case 2: case 8: x = text.left - p.Size.cx - p.Xcoord, y = p.Ycoord; break;
      case 3: case 9: x = text.right + p.Xcoord, y = p.Ycoord; break;
      case kAlignMDIBand:
        y = (b.Menu - p.Size.cy) / 2 + b.Top;
        x = in.RightToLeft ? p.Xcoord + b.Left + in.MenuBarLeftMargin
                           : w - p.Xcoord - b.Right - in.MenuBarLeftMargin;
        break;
      default: break;
    }
    g.ButtonRects[i] = RECT{x, y, x + p.Size.cx, y + p.Size.cy};
  }
  return g;
}

}  // namespace bw::skin
