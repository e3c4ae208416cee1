#include "framework/win/Canvas.h"

#include "framework/win/Graphic.h"
#include "framework/win/Text.h"

#include <utility>

namespace bw::win {

TCanvas::TCanvas() {
  FFont.OnChange = [this] {
    if (FOldFont) SelectObject(FDC, std::exchange(FOldFont, nullptr));
  };
  FBrush.OnChange = [this] {
    if (FOldBrush) SelectObject(FDC, std::exchange(FOldBrush, nullptr));
  };
  FPen.OnChange = [this] {
    if (FOldPen) SelectObject(FDC, std::exchange(FOldPen, nullptr));
  };
}

TCanvas::TCanvas(HDC dc) : TCanvas() { FDC = dc; }

TCanvas::~TCanvas() { DeselectAll(); }

void TCanvas::SaveAttributes() {
  if (FAttributesSaved) return;
  FSavedTextColor = GetTextColor(FDC);
  FSavedBkColor = GetBkColor(FDC);
  FSavedBkMode = GetBkMode(FDC);
  FAttributesSaved = true;
}

void TCanvas::DeselectAll() {
  if (!FDC) return;
  if (FOldFont) SelectObject(FDC, std::exchange(FOldFont, nullptr));
  if (FOldBrush) SelectObject(FDC, std::exchange(FOldBrush, nullptr));
  if (FOldPen) SelectObject(FDC, std::exchange(FOldPen, nullptr));
  if (FAttributesSaved) {
    SetTextColor(FDC, FSavedTextColor);
    SetBkColor(FDC, FSavedBkColor);
    SetBkMode(FDC, FSavedBkMode);
    FAttributesSaved = false;
  }
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == FDC) return;
  DeselectAll();
  FDC = dc;
}

void TCanvas::SelectFont() {
  if (FOldFont) return;
  FOldFont = SelectObject(FDC, FFont.Handle());
  SetTextColor(FDC, ColorToRGB(FFont.Color()));
}

void TCanvas::SelectBrush() {
  if (FOldBrush) return;
  FOldBrush = SelectObject(FDC, FBrush.Handle());
  if (FBrush.Style() == TBrushStyle::bsClear) {
    SetBkMode(FDC, TRANSPARENT);
  } else {
    SetBkColor(FDC, ColorToRGB(FBrush.Color()));
    SetBkMode(FDC, OPAQUE);
  }
}

void TCanvas::SelectPen() {
  if (FOldPen) return;
  FOldPen = SelectObject(FDC, FPen.Handle());
}

HDC TCanvas::Handle() {
  if (!FDC) CreateHandle();
  if (!FDC) return nullptr;
  SaveAttributes();
  SelectFont();
  SelectBrush();
  SelectPen();
  // The text colour may change without a new font handle.
  SetTextColor(FDC, ColorToRGB(FFont.Color()));
  return FDC;
}

void TCanvas::FillRect(const RECT& rect) {
  if (!Handle()) return;
  if (FBrush.Style() != TBrushStyle::bsClear) ::FillRect(FDC, &rect, FBrush.Handle());
}

void TCanvas::FrameRect(const RECT& rect) {
  if (!Handle()) return;
  ::FrameRect(FDC, &rect, FBrush.Handle());
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  if (Handle()) ::Rectangle(FDC, left, top, right, bottom);
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
  if (Handle()) ::RoundRect(FDC, left, top, right, bottom, cornerWidth, cornerHeight);
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
  if (Handle()) ::Ellipse(FDC, left, top, right, bottom);
}

void TCanvas::MoveTo(int x, int y) {
  if (Handle()) MoveToEx(FDC, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  if (Handle()) ::LineTo(FDC, x, y);
}

void TCanvas::Polygon(std::span<const POINT> points) {
  if (Handle() && !points.empty()) ::Polygon(FDC, points.data(), static_cast<int>(points.size()));
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  if (!Handle()) return;
  const std::wstring w = Widen(text);
  ::TextOutW(FDC, x, y, w.c_str(), static_cast<int>(w.size()));
}

void TCanvas::TextRect(const RECT& rect, int x, int y, const std::string& text) {
  if (!Handle()) return;
  const std::wstring w = Widen(text);
  const UINT opaque = FBrush.Style() != TBrushStyle::bsClear ? ETO_OPAQUE : 0;
  ::ExtTextOutW(FDC, x, y, ETO_CLIPPED | opaque, &rect, w.c_str(), static_cast<UINT>(w.size()), nullptr);
}

SIZE TCanvas::TextExtent(const std::string& text) {
  SIZE size{0, 0};
  if (!Handle()) return size;
  const std::wstring w = Widen(text);
  ::GetTextExtentPoint32W(FDC, w.c_str(), static_cast<int>(w.size()), &size);
  return size;
}

void TCanvas::Draw(int x, int y, TGraphic& graphic) {
  if (graphic.Empty() || !Handle()) return;
  graphic.Draw(*this, RECT{x, y, x + graphic.Width(), y + graphic.Height()});
}

void TCanvas::StretchDraw(const RECT& rect, TGraphic& graphic) {
  if (graphic.Empty() || !Handle()) return;
  graphic.Draw(*this, rect);
}

void TCanvas::CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect) {
  HDC src = source.Handle();
  if (!Handle() || !src) return;
  const int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
  const int sw = sourceRect.right - sourceRect.left, sh = sourceRect.bottom - sourceRect.top;
  if (dw == sw && dh == sh) {
    BitBlt(FDC, dest.left, dest.top, dw, dh, src, sourceRect.left, sourceRect.top, FCopyMode);
  } else {
    const int oldMode = SetStretchBltMode(FDC, COLORONCOLOR);
    StretchBlt(FDC, dest.left, dest.top, dw, dh, src, sourceRect.left, sourceRect.top, sw, sh, FCopyMode);
    SetStretchBltMode(FDC, oldMode);
  }
}

COLORREF TCanvas::Pixel(int x, int y) { return Handle() ? GetPixel(FDC, x, y) : CLR_INVALID; }

void TCanvas::SetPixel(int x, int y, TColor color) {
  if (Handle()) ::SetPixelV(FDC, x, y, ColorToRGB(color));
}

}  // namespace bw::win
