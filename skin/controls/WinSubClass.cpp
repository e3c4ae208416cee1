#include "skin/controls/WinSubClass.h"

#include <algorithm>
#include <optional>

#include "framework/core/TypeInfo.h"
#include "framework/win/Colors.h"
#include "framework/win/Forms.h"
#include "framework/win/GdiHandles.h"
#include "framework/win/Text.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/LacquerForm.h"
#include "skin/window/SkinMessages.h"

namespace bw::skin {

const core::TClassInfo TSkinControl::kClass{"TSkinControl", &core::TComponent::kClass, {}, {}};

namespace {
bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }
}  // namespace

TSkinControl::TSkinControl(core::TComponent* owner) : core::TComponent(owner) {}

TSkinControl::~TSkinControl() {
  Destroying();
  Release();
  if (FForm) FForm->DeleteControl(this);
}

void TSkinControl::Release() {
  if (FOldWindowProc) {
    if (FControl && !FControl->IsDestroying()) FControl->WindowProc.Restore(FOldWindowProc);
    FOldWindowProc.reset();
  }
  FObjectInstance.Restore();
}

TColor TSkinControl::FaceColor() const {
  return FSkinData ? FSkinData->Colors[TShemeColor::csButtonFace] : win::clBtnFace;
}

void TSkinControl::HookControl(win::TWinControl& control) {
  FOldWindowProc = control.WindowProc.Replace([this](win::TMessage& m) { NewWndProc(m); });
}

void TSkinControl::Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK) {
  if (FInitialized) return;
  FParentBK = parentBK;
  FSkinData = skinData;
  FForm = form;
  FCanvas = canvas;
  FControl = dynamic_cast<win::TWinControl*>(Owner());
  if (!FControl) return;
  FHandle = FControl->Handle();
  FUnicode = IsWindowUnicode(FHandle) != FALSE;
  HookControl(*FControl);
  FControl->SetDoubleBuffered(true);
  if (FForm) FForm->AddControlList(this);
  if (FParentBK) {
    FSavedColor = FControl->Color();
    FControl->SetColor(FaceColor());
  }
  FControl->Invalidate();
  FInitialized = true;
  FStatus = kPainterAttached;
}

void TSkinControl::Inithwnd(HWND window, TSkinData* skinData, win::TCanvas* canvas, TLacquerForm* form) {
  FSkinData = skinData;
  FCanvas = canvas;
  FForm = form;
  FHandle = window;
  FEnabled = true;
  if (FForm) FForm->AddControlList(this);
  FUnicode = IsWindowUnicode(window) != FALSE;
  FCaption = GetFormCaption(window);
  FObjectInstance.Install(window, [this](UINT msg, WPARAM w, LPARAM l) {
    win::TMessage m{msg, w, l, 0};
    NewWndProc(m);
    return m.Result;
  });
  InvalidateRect(window, nullptr, TRUE);
  FInitialized = true;
  FStatus = kPainterAttached;
}

void TSkinControl::Unsubclass() {
  if (FParentBK && FControl && !FControl->IsDestroying()) FControl->SetColor(FSavedColor);
}

void TSkinControl::SkinChange() {
  if (FParentBK && FControl) FControl->SetColor(FaceColor());
  Invalidate();
}

void TSkinControl::NewWndProc(win::TMessage& message) {
  if (message.Msg == SKIN_MSG_ENABLE) {
    FPaintActive = message.WParam > 0;
    if (FPaintActive) Invalidate();
    return;
  }
  if (!FPaintActive) return Default(message);
  if (BeforeProc(message)) {
    Default(message);
    AfterProc(message);
  }
}

void TSkinControl::Default(win::TMessage& message) {
  if (FOldWindowProc) {
    FOldWindowProc->CallPrevious(message);
    return;
  }
  message.Result = FObjectInstance.CallPrevious(message.Msg, message.WParam, message.LParam);
}

bool TSkinControl::BeforeProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_NCDESTROY:
      Default(message);
      FPaintActive = false;
      FStatus = kPainterDestroyed;
      Release();
      return false;
    case SKIN_MSG_QUERY:
      message.Result = 1;
      return false;
  }
  return true;
}

void TSkinControl::AfterProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case win::CM_ENABLEDCHANGED:
      Invalidate();
      break;
    case WM_PAINT:
      PaintControl(reinterpret_cast<HDC>(message.WParam));
      break;
  }
}

void TSkinControl::Invalidate() {
  if (FGraphicControl) {
    FGraphicControl->Invalidate();
    return;
  }
  if (!FHandle || !IsWindow(FHandle)) return;
  InvalidateRect(FHandle, nullptr, TRUE);
  UpdateWindow(FHandle);
}

void TSkinControl::MouseLeave() {
  if (FHandle) SendMessageW(FHandle, win::CM_MOUSELEAVE, 0, 0);
}

void TSkinControl::PaintControl(HDC dc) {
  if (!FHandle || !GetWindowRect(FHandle, &FWindowRect)) return;
  RECT r = FWindowRect;
  OffsetRect(&r, -r.left, -r.top);
  try {
    if (dc) {
      DrawControl(dc, r);
    } else {
      win::TWindowDC own(FHandle, win::TWindowDC::TArea::Window);
      if (own) DrawControl(own.Get(), r);
    }
  } catch (...) {
    // The control keeps the look it has.
  }
}

// The base paints nothing: each painter class draws its own control.
void TSkinControl::DrawControl(HDC, const RECT&) {}

void TSkinControl::WMPaint(win::TMessage& message) {
  HDC given = reinterpret_cast<HDC>(message.WParam);
  std::optional<win::TPaintDC> paint;
  if (!given) paint.emplace(FHandle);
  HDC dc = given ? given : paint->Get();
  if (!GetWindowRect(FHandle, &FWindowRect)) return;
  RECT r = FWindowRect;
  OffsetRect(&r, -r.left, -r.top);
  try {
    DrawControl(dc, r);
  } catch (...) {
  }
  message.Result = 0;
}

void TSkinControl::WMERASEBKGND(win::TMessage& message) {
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  if (FControl) {
    DrawParentImage(*FControl, dc, true);
  } else {
    RECT r;
    GetClientRect(FHandle, &r);
    FillParentBG(dc, r);
  }
  message.Result = 1;
}

void TSkinControl::FillBG(HDC dc, const RECT& rect) {
  win::TBrushHandle brush(CreateSolidBrush(win::ColorToRGB(FaceColor())));
  FillRect(dc, &rect, brush.Get());
}

void TSkinControl::FillParentBG(HDC dc, const RECT& rect) {
  win::TBrushHandle brush(CreateSolidBrush(win::ColorToRGB(GetParentColor(FaceColor()))));
  FillRect(dc, &rect, brush.Get());
}

TColor TSkinControl::GetParentColor(TColor fallback) const {
  if (!FControl || !FControl->Parent()) return fallback;
  return FControl->Parent()->Color();
}

LONG_PTR TSkinControl::GetWindowLongEx(HWND window, int index) const {
  return FUnicode ? GetWindowLongPtrW(window, index) : GetWindowLongPtrA(window, index);
}

int TSkinControl::TextHeight(HDC dc, const std::wstring& text) {
  SIZE size{0, 0};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cy;
}

void TSkinControl::DrawFocus(HDC dc, const std::wstring& text, const RECT& rect, UINT format) {
  RECT r = rect;
  std::wstring measured = text.empty() ? FCaption : text;
  DrawTextW(dc, measured.c_str(), static_cast<int>(measured.size()), &r, format | DT_CALCRECT | DT_NOCLIP);
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
  HDC dc = canvas.Handle();
  win::TSaveDCGuard saved(dc);
  SetBkMode(dc, TRANSPARENT);
  RECT measured = rect;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT | DT_NOCLIP);
  const int textW = measured.right - measured.left, textH = measured.bottom - measured.top;
  if (format == (DT_CENTER | DT_EXPANDTABS)) OffsetRect(&measured, ((rect.right - rect.left) - textW) / 2, 0);
  else measured.right = measured.left + (rect.right - rect.left);
  OffsetRect(&measured, 0, ((rect.bottom - rect.top) - textH) / 2 - 1);
  SetTextColor(dc, win::ColorToRGB(enabled ? canvas.Font().Color() : win::clBtnShadow));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, format);
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
  RECT measured{0, 0, 0, 0};
  int textW = 0, textH = 0;
  if (!text.empty()) {
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, kFormat | DT_CALCRECT | DT_NOCLIP);
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
    RECT t{rect.left + x + iconW + 1, rect.top + (height - textH) / 2, rect.right, rect.top + (height - textH) / 2 + textH};
    IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    SetTextColor(dc, win::ColorToRGB(FEnabled ? canvas.Font().Color() : win::clBtnShadow));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &t, kFormat);
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
  RECT measured = rect;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT | DT_NOCLIP);
  OffsetRect(&measured, ((rect.right - rect.left) - (measured.right - measured.left)) / 2,
             ((rect.bottom - rect.top) - (measured.bottom - measured.top)) / 2);
  SetTextColor(dc, win::ColorToRGB(enabled ? canvas.Font().Color() : win::clBtnShadow));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, format);
}

void TSkinControl::MyDrawImgCaption(win::TCanvas& canvas, const RECT& rect, win::TImageList* images, int imageIndex,
                                    const std::wstring& text, bool enabled, core::TAlignment alignment) {
  if (images && imageIndex >= 0 && imageIndex < images->Count())
    images->Draw(canvas, rect.left + 6, rect.top + 1, imageIndex, enabled);
  RECT rest{rect.left + 22, rect.top, rect.right, rect.bottom};
  MyDrawCaption(canvas, rest, text, enabled, alignment);
}

void TSkinControl::DrawSkinMap(HDC dc, const RECT& rect, TDataSkinObject& object, int frameIndex, int frameCount) {
  if (Inverted(rect)) return;
  auto image = GetHMap(rect, object.Bitmap, object.Margins, frameIndex, frameCount, object.Tile != 0, false);
  if (!image) return;
  const RECT at = rect;
  if (object.Trans == 1) {
    DrawTranmap(dc, at, *image, kSkinKeyColor);
  } else {
    BitBlt(dc, at.left, at.top, at.right - at.left, at.bottom - at.top, image->Canvas().Handle(), 0, 0, SRCCOPY);
  }
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
  auto image = GetHMap(rect, object.Bitmap, object.Margins, frameIndex, frameCount, object.Tile != 0, false);
  if (!image) return;
  win::TCanvas& canvas = target.Canvas();
  canvas.Brush().SetColor(FaceColor());
  canvas.FillRect(rect);
  if (trans) {
    image->SetTransparent(true);
    image->SetTransparentColor(static_cast<TColor>(kSkinKeyColor));
  }
  canvas.Draw(rect.left, rect.top, *image);
}

void TSkinControl::DrawSkin(const RECT& rect, TDataSkinObject& object, int frameIndex, int frameCount, bool trans) {
  TBitmap* bg = SharedBG();
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

std::int32_t TSkinControl::GetIntProperty(const core::TObject* object, std::string_view name) {
  const core::TPropInfo* p = core::FindPropInfo(object, name);
  if (!p || p->Kind != core::TPropKind::Integer) return -1;
  return core::GetIntProp(object, name);
}

std::string TSkinControl::GetEnumProperty(const core::TObject* object, std::string_view name) {
  return core::GetEnumProp(object, name);
}

std::string TSkinControl::GetProperty(const core::TObject* object, std::string_view name) {
  const core::TPropInfo* p = core::FindPropInfo(object, name);
  if (!p) return {};
  if (p->Kind == core::TPropKind::Enumeration || p->Kind == core::TPropKind::Boolean)
    return core::GetEnumProp(object, name);
  if (p->Kind == core::TPropKind::Integer) return std::to_string(core::GetIntProp(object, name));
  return {};
}

std::wstring TSkinControl::GetStringProp(const core::TObject* object, std::string_view name) {
  return win::Widen(core::GetStrProp(object, name));
}

core::TObject* TSkinControl::GetObjProp(const core::TObject* object, std::string_view name,
                                        const core::TClassInfo* cls) {
  return core::GetObjectProp(object, name, cls);
}

core::TEventBase* TSkinControl::GetObjMethod(core::TObject* object, std::string_view name) {
  return core::GetEventProp(object, name);
}

void TSkinControl::SetProperty(core::TObject* object, std::string_view name, std::string_view value) {
  const core::TPropInfo* p = core::FindPropInfo(object, name);
  if (!p) return;
  if (p->Kind == core::TPropKind::Enumeration || p->Kind == core::TPropKind::Boolean ||
      p->Kind == core::TPropKind::Integer)
    core::SetPropText(object, name, value);
}

}  // namespace bw::skin
