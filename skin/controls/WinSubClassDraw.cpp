// The painter base's drawing routines (captions, focus, skin images, arrows, bevels) and
// its property access by name.
#include <algorithm>

#include "framework/core/TypeInfo.h"
#include "framework/win/Colors.h"
#include "framework/win/GdiHandles.h"
#include "framework/win/Text.h"
#include "skin/controls/WinSubClass.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/LacquerForm.h"

namespace bw::skin {

namespace {
bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }
constexpr UINT kMeasure = DT_CALCRECT | DT_NOCLIP;

RECT Measure(HDC dc, const std::wstring& text, RECT from, UINT format) {
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &from, format | kMeasure);
  return from;
}

void Draw(HDC dc, const std::wstring& text, RECT rect, UINT format) {
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}
}  // namespace

int TSkinControl::TextHeight(HDC dc, const std::wstring& text) {
  SIZE size{0, 0};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cy;
}

void TSkinControl::DrawFocus(HDC dc, const std::wstring& text, const RECT& rect, UINT format) {
  RECT r = Measure(dc, text.empty() ? FCaption : text, rect, format);
  const int dw = (rect.right - rect.left) - (r.right - r.left);
  const int dh = (rect.bottom - rect.top) - (r.bottom - r.top);
  if (format & DT_CENTER) OffsetRect(&r, dw / 2, dh / 2 - 1);
  else if (format & DT_RIGHT) OffsetRect(&r, rect.right - r.right, 0);
  InflateRect(&r, 2, 1);
  r.left = std::max(r.left, rect.left);
  r.top = std::max(r.top, rect.top);
  r.right = std::min(r.right, rect.right);
  r.bottom = std::min(r.bottom, rect.bottom);
  DrawFocusRect(dc, &r);
}

void TSkinControl::DrawCaption(win::TCanvas& canvas, RECT rect, const std::wstring& text, bool enabled, UINT format) {
  format |= DT_EXPANDTABS;
  canvas.Font().SetStyle({});
  HDC dc = canvas.Handle();
  win::TSaveDCGuard saved(dc);
  SetBkMode(dc, TRANSPARENT);
  RECT measured = Measure(dc, text, rect, format);
  const int textW = measured.right - measured.left, textH = measured.bottom - measured.top;
  if (format & DT_CENTER) OffsetRect(&measured, ((rect.right - rect.left) - textW) / 2, 0);
  else measured.right = measured.left + (rect.right - rect.left);
  OffsetRect(&measured, 0, ((rect.bottom - rect.top) - textH) / 2 - 1);
  SetTextColor(dc, win::ColorToRGB(enabled ? canvas.Font().Color() : win::clBtnShadow));
  Draw(dc, text, measured, format);
}

void TSkinControl::DrawImgCaption(win::TCanvas& canvas, const RECT& rect, HIMAGELIST images, int imageIndex,
                                  const std::wstring& text, int align) {
  int iconW = 0;
  if (images && imageIndex != -1) {
    int w = 0, h = 0;
    ImageList_GetIconSize(images, &w, &h);
    if (w < rect.right - rect.left) iconW = w;
  }
  constexpr UINT kFormat = DT_END_ELLIPSIS | DT_EXPANDTABS | DT_SINGLELINE;
  HDC dc = canvas.Handle();
  win::TSaveDCGuard saved(dc);
  SetBkMode(dc, TRANSPARENT);
  int textW = 0, textH = 0;
  if (!text.empty()) {
    // Measured whole: with the ellipsis flag the zero-width rectangle would shrink it to "...".
    const RECT measured = Measure(dc, text, RECT{0, 0, 0, 0}, kFormat & ~DT_END_ELLIPSIS);
    textW = measured.right - measured.left;
    textH = measured.bottom - measured.top;
  }
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  int x = 2;
  if (align == 1) x = (width - iconW - textW) / 2;
  if (align == 2) x = width - iconW - textW - 2;
  x = std::max(x, 2);
  if (iconW > 0) ImageList_Draw(images, imageIndex, dc, rect.left + x, rect.top + (height - iconW) / 2, ILD_TRANSPARENT);
  if (!text.empty()) {
    const int top = rect.top + (height - textH) / 2;
    IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    SetTextColor(dc, win::ColorToRGB(FEnabled ? canvas.Font().Color() : win::clBtnShadow));
    Draw(dc, text, RECT{rect.left + x + iconW + 1, top, rect.right, top + textH}, kFormat);
  }
}

void TSkinControl::MyDrawCaption(win::TCanvas& canvas, const RECT& rect, const std::wstring& text, bool enabled,
                                 core::TAlignment alignment) {
  UINT format = DT_SINGLELINE | DT_EXPANDTABS;
  if (alignment == core::TAlignment::taRightJustify) format |= DT_RIGHT;
  if (alignment == core::TAlignment::taCenter) format |= DT_CENTER;
  HDC dc = canvas.Handle();
  win::TSaveDCGuard saved(dc);
  SetBkMode(dc, TRANSPARENT);
  RECT measured = Measure(dc, text, rect, format);
  OffsetRect(&measured, ((rect.right - rect.left) - (measured.right - measured.left)) / 2,
             ((rect.bottom - rect.top) - (measured.bottom - measured.top)) / 2);
  SetTextColor(dc, win::ColorToRGB(enabled ? canvas.Font().Color() : win::clBtnShadow));
  Draw(dc, text, measured, format);
}

void TSkinControl::MyDrawImgCaption(win::TCanvas& canvas, const RECT& rect, win::TImageList* images, int imageIndex,
                                    const std::wstring& text, bool enabled, core::TAlignment alignment) {
  if (images && imageIndex >= 0 && imageIndex < images->Count())
    images->Draw(canvas, rect.left + 6, rect.top + 1, imageIndex, enabled);
  MyDrawCaption(canvas, RECT{rect.left + 22, rect.top, rect.right, rect.bottom}, text, enabled, alignment);
}

void TSkinControl::DrawSkinMap(HDC dc, const RECT& rect, TDataSkinObject& object, int frameIndex, int frameCount) {
  if (Inverted(rect)) return;
  TKeyedImage* image = Images().Compose(object.Bitmap, object.Margins, object.Tile != 0, frameIndex, frameCount,
                                        rect.right - rect.left, rect.bottom - rect.top, object.Trans == 1);
  if (image) image->Draw(dc, rect.left, rect.top);
}

namespace {
// The whole frame, stretched to the rectangle's size, in a scratch bitmap.
std::unique_ptr<TBitmap> StretchedFrame(TBitmap& bitmap, const RECT& rect, int frameIndex, int frameCount) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0 || bitmap.Width() == 0) return nullptr;
  const TFrameGeometry f = FrameOf(bitmap, frameIndex, frameCount, false);
  auto scratch = std::make_unique<TBitmap>(w, h, win::TPixelFormat::pf24bit);
  HDC dc = scratch->Canvas().Handle();
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, 0, 0, w, h, bitmap.Canvas().Handle(), f.sx, f.sy, f.fw, f.fh, SRCCOPY);
  return scratch;
}
}  // namespace

void TSkinControl::DrawSkinMap1(HDC dc, const RECT& rect, TBitmap& bitmap, int frameIndex, int frameCount) {
  if (Inverted(rect)) return;
  if (auto scratch = StretchedFrame(bitmap, rect, frameIndex, frameCount)) DrawTranmap(dc, rect, *scratch, kSkinKeyColor);
}

void TSkinControl::DrawSkinMap2(HDC dc, const RECT& rect, TBitmap& bitmap, int frameIndex, int frameCount) {
  DrawSkinMap1(dc, rect, bitmap, frameIndex, frameCount);
}

void TSkinControl::DrawSkinMap3(win::TCanvas& canvas, const RECT& rect, TBitmap& bitmap, int frameIndex,
                                int frameCount) {
  DrawSkinMap1(canvas.Handle(), rect, bitmap, frameIndex, frameCount);
}

void TSkinControl::DrawBMPSkin(TBitmap& target, const RECT& rect, TDataSkinObject& object, int frameIndex,
                               int frameCount, bool trans) {
  if (Inverted(rect)) return;
  HDC dc = target.Canvas().Handle();
  FillBG(dc, rect);
  TKeyedImage* image = Images().Compose(object.Bitmap, object.Margins, object.Tile != 0, frameIndex, frameCount,
                                        rect.right - rect.left, rect.bottom - rect.top, trans);
  if (image) image->Draw(dc, 0, 0);
}

void TSkinControl::DrawSkin(const RECT& rect, TDataSkinObject& object, int frameIndex, int frameCount, bool trans) {
  TBitmap* bg = SharedBG();
  // The shared bitmap only grows, so painters of one size reuse it.
  if (bg->Width() < rect.right || bg->Height() < rect.bottom)
    bg->SetSize(std::max(bg->Width(), static_cast<int>(rect.right)), std::max(bg->Height(), static_cast<int>(rect.bottom)));
  DrawBMPSkin(*bg, rect, object, frameIndex, frameCount, trans);
}

void TSkinControl::DrawBuf(HDC dc, const RECT& rect) {
  BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, SharedBG()->Canvas().Handle(), 0, 0,
         SRCCOPY);
}

void TSkinControl::DrawArrow(win::TCanvas& canvas, int x, int y, int kind) {
  switch (kind) {
    case 0:
    case 1: {
      // A chevron three lines thick, 4 pixels each side.
      const int dir = kind == 0 ? 1 : -1;
      const int apexY = kind == 0 ? y : y + 3;
      for (int line = 0; line < 3; ++line) {
        canvas.MoveTo(x - 4, apexY + dir * (4 + line));
        canvas.LineTo(x, apexY + dir * line);
        canvas.LineTo(x + 5, apexY + dir * (5 + line));
      }
      break;
    }
    case 2: {
      const POINT points[] = {{x, y}, {x + 1, y + 2}, {x + 1, y - 2}, {x - 1, y}, {x + 1, y + 2}};
      canvas.Polygon(points);
      break;
    }
    case 3: {
      const POINT points[] = {{x, y}, {x - 1, y + 2}, {x - 1, y - 2}, {x + 1, y}, {x - 1, y + 2}};
      canvas.Polygon(points);
      break;
    }
    default: break;
  }
}

TSkinControl::TBevel TSkinControl::BevelColors(int bevel) {
  if (bevel == 1) return TBevel{win::clBtnShadow, win::clBtnHighlight};
  return TBevel{win::clBtnHighlight, win::clBtnShadow};
}

void TSkinControl::CopyBMP(TBitmap& source, TBitmap& target) {
  target.SetPixelFormat(source.PixelFormat());
  target.SetSize(source.Width(), source.Height());
  BitBlt(target.Canvas().Handle(), 0, 0, source.Width(), source.Height(), source.Canvas().Handle(), 0, 0, SRCCOPY);
}

std::wstring TSkinControl::StringReplaceW(const std::wstring& text, const std::wstring& oldText,
                                          const std::wstring& newText) {
  if (oldText.empty()) return text;
  const auto at = text.find(oldText);
  if (at == std::wstring::npos) return text;
  std::wstring result = text;
  result.replace(at, oldText.size(), newText);
  return result;
}

// ---- property access

std::optional<std::int32_t> TSkinControl::FindIntProperty(const core::TObject* object, std::string_view name) {
  const core::TPropInfo* p = object ? core::FindPropInfo(object, name) : nullptr;
  if (!p || p->Kind != core::TPropKind::Integer) return std::nullopt;
  return core::GetIntProp(object, name);
}

std::int32_t TSkinControl::GetIntProperty(const core::TObject* object, std::string_view name) {
  return FindIntProperty(object, name).value_or(-1);
}

std::string TSkinControl::GetEnumProperty(const core::TObject* object, std::string_view name) {
  return object ? core::GetEnumProp(object, name) : std::string();
}

std::string TSkinControl::GetProperty(const core::TObject* object, std::string_view name) {
  const core::TPropInfo* p = object ? core::FindPropInfo(object, name) : nullptr;
  if (!p) return {};
  if (p->Kind == core::TPropKind::Enumeration || p->Kind == core::TPropKind::Boolean)
    return core::GetEnumProp(object, name);
  if (p->Kind == core::TPropKind::Integer) return std::to_string(core::GetIntProp(object, name));
  return {};
}

std::wstring TSkinControl::GetStringProp(const core::TObject* object, std::string_view name) {
  return object ? win::Widen(core::GetStrProp(object, name)) : std::wstring();
}

core::TObject* TSkinControl::GetObjProp(const core::TObject* object, std::string_view name,
                                        const core::TClassInfo* cls) {
  return object ? core::GetObjectProp(object, name, cls) : nullptr;
}

core::TEventBase* TSkinControl::GetObjMethod(core::TObject* object, std::string_view name) {
  return object ? core::GetEventProp(object, name) : nullptr;
}

void TSkinControl::SetProperty(core::TObject* object, std::string_view name, std::string_view value) {
  const core::TPropInfo* p = object ? core::FindPropInfo(object, name) : nullptr;
  if (!p) return;
  if (p->Kind == core::TPropKind::Enumeration || p->Kind == core::TPropKind::Boolean ||
      p->Kind == core::TPropKind::Integer)
    core::SetPropText(object, name, value);
}

}  // namespace bw::skin
