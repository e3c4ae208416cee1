#pragma once
// The one layout of a skinned frame: borders, caption strip, caption text, caption buttons
// and menu band for a window size. Painting and hit-testing both take their rectangles
// from it. All rectangles are in window coordinates (origin at the window's top-left).
#include <windows.h>

#include <span>
#include <vector>

namespace bw::skin {

struct TFrameBorders {
  int Left = 0, Top = 0, Right = 0, Bottom = 0, Menu = 0;
};

struct TCaptionLayout {
  int TextShift = 0, TextShiftVert = 0, TextRightClip = 0, TextAlignment = 0;
  int TXTBackleft = 0, TXTBackRight = 0;
};

struct TButtonPlacement {
  bool Visible = false;
  int Align = 0, Xcoord = 0, Ycoord = 0;
  SIZE Size{0, 0};
};

struct TFrameGeometryInput {
  SIZE Window{0, 0};
  TFrameBorders Borders;
  TCaptionLayout Title;
  SIZE Text{0, 0};       // the caption text (with its prefix and suffix) as measured
  bool RightToLeft = false;
  bool Popup = false;    // WS_POPUP: the text stops before the right-aligned buttons
  bool DialogBorder = false;
  int MenuBarLeftMargin = 0;  // of the skin's MenuBar object (0 without one)
  std::span<const TButtonPlacement> Buttons;
};

struct TFrameLayout {
  RECT LeftBorder{}, RightBorder{}, BottomBorder{};
  RECT Strip{};     // the caption strip, (0, 0, W, Top)
  RECT TopBorder{};  // where the top border is drawn into the strip
  RECT MenuBand{};
  RECT TextRect{};  // the text with its backdrop margins (FTextRect)
  RECT TextDraw{};  // where the text itself is drawn
  std::vector<RECT> ButtonRects;  // one per input button; empty for hidden ones
  int ButtonsRight = 0;           // largest left edge of right-aligned buttons (0 when none)
};

TFrameLayout LayoutFrame(const TFrameGeometryInput& in);

}  // namespace bw::skin
