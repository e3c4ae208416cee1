#include "framework/win/GraphicsObjects.h"

#include "framework/win/Text.h"

namespace bw::win {

const core::TClassInfo TGraphicsObject::kClass{"TGraphicsObject", &core::TPersistent::kClass, {}, {}};

const core::TPropInfo TFont::kProps[] = {
    core::IntProp<&TFont::FCharset, &TFont::SetCharset>("Charset", DEFAULT_CHARSET),
    core::IntProp<&TFont::FColor, &TFont::SetColor>("Color", core::clWindowText, &core::kColorIdents),
    core::IntProp<&TFont::FHeight, &TFont::SetHeight>("Height", core::kNoDefault),
    core::StrProp<&TFont::FName, &TFont::SetName>("Name"),
    core::SetProp<&TFont::FStyle, &TFont::SetStyle>("Style", core::kFontStyleInfo, TFontStyles{}),
};
const core::TClassInfo TFont::kClass{"TFont", &TGraphicsObject::kClass, kProps, {}};
const core::TClassInfo TBrush::kClass{"TBrush", &TGraphicsObject::kClass, {}, {}};
const core::TClassInfo TPen::kClass{"TPen", &TGraphicsObject::kClass, {}, {}};

void TFont::Assign(const core::TPersistent& source) {
  if (const auto* font = dynamic_cast<const TFont*>(&source)) return Assign(*font);
  core::TPersistent::Assign(source);
}

void TGraphicsObject::Changed() {
  if (OnChange) OnChange();
}

void TFont::SetName(const std::string& name) {
  if (name == FName) return;
  FName = name;
  Rebuild();
}

void TFont::SetHeight(int height) {
  if (height == FHeight) return;
  FHeight = height;
  Rebuild();
}

int TFont::Size() const { return -MulDiv(FHeight, 72, kScreenPixelsPerInch); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, kScreenPixelsPerInch, 72)); }

void TFont::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;  // the colour is not part of the GDI font
  Changed();
}

void TFont::SetStyle(TFontStyles style) {
  if (style == FStyle) return;
  FStyle = style;
  Rebuild();
}

void TFont::SetCharset(int charset) {
  if (charset == FCharset) return;
  FCharset = charset;
  Rebuild();
}

void TFont::Assign(const TFont& other) {
  if (this == &other) return;
  FName = other.FName;
  FHeight = other.FHeight;
  FColor = other.FColor;
  FStyle = other.FStyle;
  FCharset = other.FCharset;
  Rebuild();
}

// Listeners are told first so a canvas can deselect the handle before it is deleted.
void TFont::Rebuild() {
  Changed();
  FHandle.Reset();
}

HFONT TFont::Handle() {
  if (!FHandle) {
    LOGFONTW lf{};
    lf.lfHeight = FHeight;
    lf.lfWeight = FStyle.Contains(TFontStyle::fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FStyle.Contains(TFontStyle::fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = FStyle.Contains(TFontStyle::fsUnderline) ? TRUE : FALSE;
    lf.lfStrikeOut = FStyle.Contains(TFontStyle::fsStrikeOut) ? TRUE : FALSE;
    lf.lfCharSet = static_cast<BYTE>(FCharset);
    lf.lfQuality = DEFAULT_QUALITY;
    const std::wstring face = Widen(FName);
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    FHandle.Reset(CreateFontIndirectW(&lf));
  }
  return FHandle.Get();
}

void TBrush::SetColor(TColor color) {
  if (color == FColor && FStyle == TBrushStyle::bsSolid) return;
  FColor = color;
  FStyle = TBrushStyle::bsSolid;
  Changed();
  FHandle.Reset();
}

void TBrush::SetStyle(TBrushStyle style) {
  if (style == FStyle) return;
  FStyle = style;
  Changed();
  FHandle.Reset();
}

void TBrush::Assign(const TBrush& other) {
  if (this == &other) return;
  FColor = other.FColor;
  FStyle = other.FStyle;
  Changed();
  FHandle.Reset();
}

HBRUSH TBrush::Handle() {
  if (FStyle == TBrushStyle::bsClear) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  if (!FHandle) FHandle.Reset(CreateSolidBrush(ColorToRGB(FColor)));
  return FHandle.Get();
}

void TPen::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  Changed();
  FHandle.Reset();
}

void TPen::SetWidth(int width) {
  if (width == FWidth) return;
  FWidth = width;
  Changed();
  FHandle.Reset();
}

void TPen::SetStyle(TPenStyle style) {
  if (style == FStyle) return;
  FStyle = style;
  Changed();
  FHandle.Reset();
}

void TPen::Assign(const TPen& other) {
  if (this == &other) return;
  FColor = other.FColor;
  FWidth = other.FWidth;
  FStyle = other.FStyle;
  Changed();
  FHandle.Reset();
}

HPEN TPen::Handle() {
  if (!FHandle) {
    static constexpr int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_NULL, PS_INSIDEFRAME};
    FHandle.Reset(CreatePen(kStyles[static_cast<int>(FStyle)], FWidth, ColorToRGB(FColor)));
  }
  return FHandle.Get();
}

}  // namespace bw::win
