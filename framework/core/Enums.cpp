#include "framework/core/Enums.h"

namespace bw::core {
namespace {

const char* const kAlignment[] = {"taLeftJustify", "taRightJustify", "taCenter"};
const char* const kButtonLayout[] = {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"};
const char* const kBorderStyle[] = {"bsNone", "bsSingle"};
const char* const kFormBorderStyle[] = {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"};
const char* const kScrollBarKind[] = {"sbHorizontal", "sbVertical"};
const char* const kCheckBoxState[] = {"cbUnchecked", "cbChecked", "cbGrayed"};
const char* const kStatusPanelBevel[] = {"pbNone", "pbLowered", "pbRaised"};
const char* const kStatusPanelStyle[] = {"psText", "psOwnerDraw"};
const char* const kBiDiMode[] = {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"};
const char* const kPosition[] = {"poDesigned",      "poDefault",        "poDefaultPosOnly", "poDefaultSizeOnly",
                                 "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"};
const char* const kFormStyle[] = {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"};
const char* const kComboBoxStyle[] = {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed",
                                      "csOwnerDrawVariable"};
const char* const kDateTimeKind[] = {"dtkDate", "dtkTime"};
const char* const kDTDateMode[] = {"dmComboBox", "dmUpDown"};
const char* const kAlign[] = {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"};
const char* const kModalResult[] = {"mrNone", "mrOk", "mrCancel", "mrAbort", "mrRetry",
                                    "mrIgnore", "mrYes", "mrNo", "mrAll"};
const char* const kFontStyle[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
const char* const kFontPitch[] = {"fpDefault", "fpVariable", "fpFixed"};
const char* const kBorderIcon[] = {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"};
const char* const kBevelCut[] = {"bvNone", "bvLowered", "bvRaised", "bvSpace"};
const char* const kTextLayout[] = {"tlTop", "tlCenter", "tlBottom"};
const char* const kWindowState[] = {"wsNormal", "wsMinimized", "wsMaximized"};
const char* const kProgressBarOrientation[] = {"pbHorizontal", "pbVertical"};
const char* const kScrollStyle[] = {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};
const char* const kListBoxStyle[] = {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable"};
const char* const kTrackBarOrientation[] = {"trHorizontal", "trVertical"};
const char* const kTickStyle[] = {"tsNone", "tsAuto", "tsManual"};
const char* const kTickMark[] = {"tmBottomRight", "tmTopLeft", "tmBoth"};
const char* const kUDOrientation[] = {"udHorizontal", "udVertical"};
const char* const kOpenOption[] = {
    "ofReadOnly",       "ofOverwritePrompt",  "ofHideReadOnly",       "ofNoChangeDir",        "ofShowHelp",
    "ofNoValidate",     "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist",      "ofFileMustExist",
    "ofCreatePrompt",   "ofShareAware",       "ofNoReadOnlyReturn",   "ofNoTestFileCreate",   "ofNoNetworkButton",
    "ofNoLongNames",    "ofOldStyleDialog",   "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing"};
const char* const kToolButtonStyle[] = {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider"};
const char* const kCustomDrawState[] = {"cdsSelected", "cdsGrayed", "cdsDisabled", "cdsChecked", "cdsFocused",
                                        "cdsDefault",  "cdsHot",    "cdsMarked",   "cdsIndeterminate"};
const char* const kTabPosition[] = {"tpTop", "tpBottom", "tpLeft", "tpRight"};
const char* const kViewStyle[] = {"vsIcon", "vsSmallIcon", "vsList", "vsReport"};
const char* const kGridOption[] = {"goFixedVertLine", "goFixedHorzLine", "goVertLine",     "goHorzLine",
                                   "goRangeSelect",   "goRowSelect",     "goThumbTracking"};

const TIdentEntry kColors[] = {
    {clBlack, "clBlack"},     {clMaroon, "clMaroon"},       {clGreen, "clGreen"},
    {clOlive, "clOlive"},     {clNavy, "clNavy"},           {clPurple, "clPurple"},
    {clTeal, "clTeal"},       {clGray, "clGray"},           {clSilver, "clSilver"},
    {clRed, "clRed"},         {clLime, "clLime"},           {clYellow, "clYellow"},
    {clBlue, "clBlue"},       {clFuchsia, "clFuchsia"},     {clAqua, "clAqua"},
    {clWhite, "clWhite"},     {clWindow, "clWindow"},       {clWindowText, "clWindowText"},
    {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"}, {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"}, {clBtnHighlight, "clBtnHighlight"}, {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"}, {clInfoBk, "clInfoBk"}, {clInfoText, "clInfoText"},
    {clNone, "clNone"},       {clDefault, "clDefault"},
};

}  // namespace

const TEnumInfo kAlignmentInfo{"TAlignment", kAlignment};
const TEnumInfo kButtonLayoutInfo{"TButtonLayout", kButtonLayout};
const TEnumInfo kBorderStyleInfo{"TBorderStyle", kBorderStyle};
const TEnumInfo kFormBorderStyleInfo{"TFormBorderStyle", kFormBorderStyle};
const TEnumInfo kScrollBarKindInfo{"TScrollBarKind", kScrollBarKind};
const TEnumInfo kCheckBoxStateInfo{"TCheckBoxState", kCheckBoxState};
const TEnumInfo kStatusPanelBevelInfo{"TStatusPanelBevel", kStatusPanelBevel};
const TEnumInfo kStatusPanelStyleInfo{"TStatusPanelStyle", kStatusPanelStyle};
const TEnumInfo kBiDiModeInfo{"TBiDiMode", kBiDiMode};
const TEnumInfo kPositionInfo{"TPosition", kPosition};
const TEnumInfo kFormStyleInfo{"TFormStyle", kFormStyle};
const TEnumInfo kComboBoxStyleInfo{"TComboBoxStyle", kComboBoxStyle};
const TEnumInfo kDateTimeKindInfo{"TDateTimeKind", kDateTimeKind};
const TEnumInfo kDTDateModeInfo{"TDTDateMode", kDTDateMode};
const TEnumInfo kAlignInfo{"TAlign", kAlign};
const TEnumInfo kModalResultInfo{"TModalResult", kModalResult};
const TEnumInfo kFontStyleInfo{"TFontStyle", kFontStyle};
const TEnumInfo kFontPitchInfo{"TFontPitch", kFontPitch};
const TEnumInfo kBorderIconInfo{"TBorderIcon", kBorderIcon};
const TEnumInfo kBevelCutInfo{"TBevelCut", kBevelCut};
const TEnumInfo kTextLayoutInfo{"TTextLayout", kTextLayout};
const TEnumInfo kWindowStateInfo{"TWindowState", kWindowState};
const TEnumInfo kProgressBarOrientationInfo{"TProgressBarOrientation", kProgressBarOrientation};
const TEnumInfo kScrollStyleInfo{"TScrollStyle", kScrollStyle};
const TEnumInfo kListBoxStyleInfo{"TListBoxStyle", kListBoxStyle};
const TEnumInfo kTrackBarOrientationInfo{"TTrackBarOrientation", kTrackBarOrientation};
const TEnumInfo kTickStyleInfo{"TTickStyle", kTickStyle};
const TEnumInfo kTickMarkInfo{"TTickMark", kTickMark};
const TEnumInfo kUDOrientationInfo{"TUDOrientation", kUDOrientation};
const TEnumInfo kOpenOptionInfo{"TOpenOption", kOpenOption};
const TEnumInfo kToolButtonStyleInfo{"TToolButtonStyle", kToolButtonStyle};
const TEnumInfo kCustomDrawStateInfo{"TCustomDrawState", kCustomDrawState};
const TEnumInfo kTabPositionInfo{"TTabPosition", kTabPosition};
const TEnumInfo kViewStyleInfo{"TViewStyle", kViewStyle};
const TEnumInfo kGridOptionInfo{"TGridOption", kGridOption};
const TIdentMap kColorIdents{kColors};

}  // namespace bw::core
