#pragma once
// The framework's colour encoding: 0x00BBGGRR for literal colours, 0x800000nn for
// system colour nn (COLOR_* index).
#include <windows.h>

#include <cstdint>

namespace bw::win {

using TColor = std::int32_t;

constexpr TColor kSystemColorFlag = static_cast<TColor>(0x80000000u);
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clScrollBar = kSystemColorFlag | COLOR_SCROLLBAR;
constexpr TColor clBackground = kSystemColorFlag | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = kSystemColorFlag | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = kSystemColorFlag | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = kSystemColorFlag | COLOR_MENU;
constexpr TColor clWindow = kSystemColorFlag | COLOR_WINDOW;
constexpr TColor clWindowFrame = kSystemColorFlag | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = kSystemColorFlag | COLOR_MENUTEXT;
constexpr TColor clWindowText = kSystemColorFlag | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = kSystemColorFlag | COLOR_CAPTIONTEXT;
constexpr TColor clHighlight = kSystemColorFlag | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = kSystemColorFlag | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = kSystemColorFlag | COLOR_BTNFACE;
constexpr TColor clBtnShadow = kSystemColorFlag | COLOR_BTNSHADOW;
constexpr TColor clGrayText = kSystemColorFlag | COLOR_GRAYTEXT;
constexpr TColor clBtnText = kSystemColorFlag | COLOR_BTNTEXT;
constexpr TColor clBtnHighlight = kSystemColorFlag | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = kSystemColorFlag | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = kSystemColorFlag | COLOR_3DLIGHT;
constexpr TColor clInfoText = kSystemColorFlag | COLOR_INFOTEXT;
constexpr TColor clInfoBk = kSystemColorFlag | COLOR_INFOBK;

// Resolves system colours; literal colours pass through with the high byte cleared.
COLORREF ColorToRGB(TColor color);

}  // namespace bw::win
