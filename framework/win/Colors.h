#pragma once
// Colours in the framework's encoding (framework/core/Enums.h): 0x00BBGGRR literals,
// 0x800000nn for system colour nn. The system colours below are the COLOR_* indexes.
#include <windows.h>

#include "framework/core/Enums.h"

namespace bw::win {

using core::TColor;
using core::clNone, core::clDefault, core::clBlack, core::clMaroon, core::clGreen, core::clOlive, core::clNavy,
    core::clPurple, core::clTeal, core::clGray, core::clSilver, core::clRed, core::clLime, core::clYellow,
    core::clBlue, core::clFuchsia, core::clAqua, core::clWhite, core::clWindow, core::clWindowText,
    core::clBtnFace, core::clBtnShadow, core::clGrayText, core::clBtnText, core::clBtnHighlight,
    core::clHighlight, core::clHighlightText, core::clInfoBk, core::clInfoText;

constexpr TColor kSystemColorFlag = core::kSystemColorBase;
constexpr TColor clScrollBar = kSystemColorFlag | COLOR_SCROLLBAR;
constexpr TColor clBackground = kSystemColorFlag | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = kSystemColorFlag | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = kSystemColorFlag | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = kSystemColorFlag | COLOR_MENU;
constexpr TColor clWindowFrame = kSystemColorFlag | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = kSystemColorFlag | COLOR_MENUTEXT;
constexpr TColor clCaptionText = kSystemColorFlag | COLOR_CAPTIONTEXT;
constexpr TColor cl3DDkShadow = kSystemColorFlag | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = kSystemColorFlag | COLOR_3DLIGHT;

// Resolves system colours; literal colours pass through with the high byte cleared.
COLORREF ColorToRGB(TColor color);

}  // namespace bw::win
