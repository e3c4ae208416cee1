#pragma once
// The framework's published enumerations, each with its table of value names (in
// ordinal order; form descriptions and property access use these names).
#include <cstdint>

#include "framework/core/TypeInfo.h"

namespace bw::core {

enum class TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
enum class TButtonLayout : std::uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum class TBorderStyle : std::uint8_t { bsNone, bsSingle };
enum class TFormBorderStyle : std::uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TScrollBarKind : std::uint8_t { sbHorizontal, sbVertical };
enum class TCheckBoxState : std::uint8_t { cbUnchecked, cbChecked, cbGrayed };
enum class TStatusPanelBevel : std::uint8_t { pbNone, pbLowered, pbRaised };
enum class TStatusPanelStyle : std::uint8_t { psText, psOwnerDraw };
enum class TBiDiMode : std::uint8_t { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum class TPosition : std::uint8_t {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum class TFormStyle : std::uint8_t { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TComboBoxStyle : std::uint8_t { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
enum class TDateTimeKind : std::uint8_t { dtkDate, dtkTime };
enum class TDTDateMode : std::uint8_t { dmComboBox, dmUpDown };

// Further enumerations the program's windows store.
enum class TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TModalResult : std::uint8_t { mrNone, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrYes, mrNo, mrAll };
enum class TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum class TFontPitch : std::uint8_t { fpDefault, fpVariable, fpFixed };
enum class TBorderIcon : std::uint8_t { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum class TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
enum class TTextLayout : std::uint8_t { tlTop, tlCenter, tlBottom };
enum class TWindowState : std::uint8_t { wsNormal, wsMinimized, wsMaximized };
enum class TProgressBarOrientation : std::uint8_t { pbHorizontal, pbVertical };
// Standard controls: memos, list boxes, track bars, up-down buttons.
enum class TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
enum class TListBoxStyle : std::uint8_t { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
enum class TTrackBarOrientation : std::uint8_t { trHorizontal, trVertical };
enum class TTickStyle : std::uint8_t { tsNone, tsAuto, tsManual };
enum class TTickMark : std::uint8_t { tmBottomRight, tmTopLeft, tmBoth };
enum class TUDOrientation : std::uint8_t { udHorizontal, udVertical };
enum class TOpenOption : std::uint8_t {
  ofReadOnly,
  ofOverwritePrompt,
  ofHideReadOnly,
  ofNoChangeDir,
  ofShowHelp,
  ofNoValidate,
  ofAllowMultiSelect,
  ofExtensionDifferent,
  ofPathMustExist,
  ofFileMustExist,
  ofCreatePrompt,
  ofShareAware,
  ofNoReadOnlyReturn,
  ofNoTestFileCreate,
  ofNoNetworkButton,
  ofNoLongNames,
  ofOldStyleDialog,
  ofNoDereferenceLinks,
  ofEnableIncludeNotify,
  ofEnableSizing
};
using TOpenOptions = TSet<TOpenOption>;

// Common controls.
enum class TToolButtonStyle : std::uint8_t { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
enum class TCustomDrawStateFlag : std::uint8_t {
  cdsSelected,
  cdsGrayed,
  cdsDisabled,
  cdsChecked,
  cdsFocused,
  cdsDefault,
  cdsHot,
  cdsMarked,
  cdsIndeterminate
};
using TCustomDrawState = TSet<TCustomDrawStateFlag>;
enum class TTabPosition : std::uint8_t { tpTop, tpBottom, tpLeft, tpRight };
enum class TViewStyle : std::uint8_t { vsIcon, vsSmallIcon, vsList, vsReport };
enum class TGridOption : std::uint8_t {
  goFixedVertLine,
  goFixedHorzLine,
  goVertLine,
  goHorzLine,
  goRangeSelect,
  goRowSelect,
  goThumbTracking
};
using TGridOptions = TSet<TGridOption>;

extern const TEnumInfo kAlignmentInfo;
extern const TEnumInfo kButtonLayoutInfo;
extern const TEnumInfo kBorderStyleInfo;
extern const TEnumInfo kFormBorderStyleInfo;
extern const TEnumInfo kScrollBarKindInfo;
extern const TEnumInfo kCheckBoxStateInfo;
extern const TEnumInfo kStatusPanelBevelInfo;
extern const TEnumInfo kStatusPanelStyleInfo;
extern const TEnumInfo kBiDiModeInfo;
extern const TEnumInfo kPositionInfo;
extern const TEnumInfo kFormStyleInfo;
extern const TEnumInfo kComboBoxStyleInfo;
extern const TEnumInfo kDateTimeKindInfo;
extern const TEnumInfo kDTDateModeInfo;
extern const TEnumInfo kAlignInfo;
extern const TEnumInfo kModalResultInfo;
extern const TEnumInfo kFontStyleInfo;
extern const TEnumInfo kFontPitchInfo;
extern const TEnumInfo kBorderIconInfo;
extern const TEnumInfo kBevelCutInfo;
extern const TEnumInfo kTextLayoutInfo;
extern const TEnumInfo kWindowStateInfo;
extern const TEnumInfo kProgressBarOrientationInfo;
extern const TEnumInfo kScrollStyleInfo;
extern const TEnumInfo kListBoxStyleInfo;
extern const TEnumInfo kTrackBarOrientationInfo;
extern const TEnumInfo kTickStyleInfo;
extern const TEnumInfo kTickMarkInfo;
extern const TEnumInfo kUDOrientationInfo;
extern const TEnumInfo kOpenOptionInfo;
extern const TEnumInfo kToolButtonStyleInfo;
extern const TEnumInfo kCustomDrawStateInfo;
extern const TEnumInfo kTabPositionInfo;
extern const TEnumInfo kViewStyleInfo;
extern const TEnumInfo kGridOptionInfo;

// Colours: 0x00BBGGRR literals, 0x800000nn for system colour nn.
using TColor = std::int32_t;
inline constexpr TColor kSystemColorBase = static_cast<TColor>(0x80000000u);
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clWindow = kSystemColorBase | 5;
inline constexpr TColor clWindowText = kSystemColorBase | 8;
inline constexpr TColor clBtnFace = kSystemColorBase | 15;
inline constexpr TColor clBtnShadow = kSystemColorBase | 16;
inline constexpr TColor clGrayText = kSystemColorBase | 17;
inline constexpr TColor clBtnText = kSystemColorBase | 18;
inline constexpr TColor clBtnHighlight = kSystemColorBase | 20;
inline constexpr TColor clHighlight = kSystemColorBase | 13;
inline constexpr TColor clHighlightText = kSystemColorBase | 14;
inline constexpr TColor clInfoBk = kSystemColorBase | 24;
inline constexpr TColor clInfoText = kSystemColorBase | 23;

// Colour names a form description may use for a colour property.
extern const TIdentMap kColorIdents;

}  // namespace bw::core
