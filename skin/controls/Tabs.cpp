// Tab controls and page controls: the strip and the page border from the skin's tab images.
#include "skin/controls/Tabs.h"

#include <algorithm>

#include "framework/win/GdiHandles.h"
#include "skin/controls/Combos.h"
#include "skin/draw/ImgUtil.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/LacquerForm.h"

namespace bw::skin {

const core::TClassInfo TSkinTab::kClass{"TSkinTab", &TSkinControl::kClass, {}, {}};

namespace {
constexpr int kTabTextChars = 80;
constexpr TMargins kPageBorderMargins{4, 5, 4, 4};
constexpr int kFrameSelectedTab = 2, kFrameHotTab = 3;

bool Side(TSkinTabPosition position) {
  return position == TSkinTabPosition::Stleft || position == TSkinTabPosition::Stright;
}

std::unique_ptr<win::TBitmap> Copy24(TBitmap& source) {
  auto copy = std::make_unique<win::TBitmap>(source.Width(), source.Height(), win::TPixelFormat::pf24bit);
  BitBlt(copy->Canvas().Handle(), 0, 0, source.Width(), source.Height(), source.Canvas().Handle(), 0, 0, SRCCOPY);
  return copy;
}
}  // namespace

TSkinTabPosition TabPositionOfStyle(DWORD style) {
  const bool right = (style & TCS_RIGHT) != 0, vertical = (style & TCS_VERTICAL) != 0;
  if (right && vertical) return TSkinTabPosition::Stright;
  if (right) return TSkinTabPosition::Stbottom;
  if (vertical) return TSkinTabPosition::Stleft;
  return TSkinTabPosition::StTop;
}

TSkinTab::~TSkinTab() = default;

void TSkinTab::Notification(core::TComponent& component, core::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == core::TOperation::opRemove && &component == FScroller) FScroller = nullptr;
}

void TSkinTab::Init(TLacquerForm* form, TSkinData* skinData, win::TCanvas* canvas, bool parentBK) {
  TSkinControl::Init(form, skinData, canvas, parentBK);
  if (!FHandle) return;
  FEnabled = !(GetWindowLongEx(FHandle, GWL_STYLE) & WS_DISABLED);
  Attached();
}

void TSkinTab::Inithwnd(HWND window, TSkinData* skinData, win::TCanvas* canvas, TLacquerForm* form) {
  TSkinControl::Inithwnd(window, skinData, canvas, form);
  FFocused = GetFocus() == window;
  FEnabled = !(GetWindowLongEx(window, GWL_STYLE) & WS_DISABLED);
  Attached();
}

void TSkinTab::Attached() {
  inittab();
  FindScroll();
  FPaintActive = true;
}

void TSkinTab::SkinChange() {
  // The images first: the base repaints with them.
  inittab();
  TSkinControl::SkinChange();
}

TSkinTabPosition TSkinTab::GetPosition() {
  FPosition = TabPositionOfStyle(static_cast<DWORD>(GetWindowLongEx(FHandle, GWL_STYLE)));
  return FPosition;
}

void TSkinTab::inittab() {
  GetPosition();
  FTabImage.reset();
  FBorderImage.reset();
  FImagesReady = true;
  // A new image may get the handle of one the shared cache still holds.
  Images().Clear();
  TDataSkinBorder* skin = FSkinData ? FSkinData->Tabs.get() : nullptr;
  if (!skin) return;
  // Each image on its own: a skin without the border still has its tabs drawn.
  if (skin->Bitmap.Width() > 0 && skin->Bitmap.Height() > 0) FTabImage = Copy24(skin->Bitmap);
  if (skin->Bitmap2.Width() > 0 && skin->Bitmap2.Height() > 0) FBorderImage = Copy24(skin->Bitmap2);
  switch (FPosition) {
    case TSkinTabPosition::Stbottom:
      if (FTabImage) SpiegelnVertikal(*FTabImage);
      if (FBorderImage) SpiegelnVertikal(*FBorderImage);
      break;
    case TSkinTabPosition::Stleft:
      if (FBorderImage) Drehen270Grad(*FBorderImage);
      break;
    case TSkinTabPosition::Stright:
      if (FBorderImage) Drehen90Grad(*FBorderImage);
      break;
    case TSkinTabPosition::StTop: break;
  }
}

bool TSkinTab::FindScroll() {
  if (!FHandle) return false;
  for (HWND child = GetTopWindow(FHandle); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetWindowClassname(child) != "msctls_updown32") continue;
    // The arrows' window was made anew: the painter of the old one goes.
    if (FScroller && FScroller->FHandle != child && FScroller->FStatus == kPainterDestroyed) delete FScroller;
    if (!FScroller) {
      FScroller = new TSkinUpDown(this);
      FScroller->Inithwnd(child, FSkinData, FCanvas, FForm);
    }
    return IsWindowVisible(child) != FALSE;
  }
  return false;
}

void TSkinTab::SetHotTab(int index) {
  if (index == FHotTab) return;
  FHotTab = index;
  if (index >= 0) SetHotControl(this);
  PaintControl(nullptr);
}

bool TSkinTab::BeforeProc(win::TMessage& message) {
  switch (message.Msg) {
    case WM_MOUSEMOVE: {
      TCHITTESTINFO hit{};
      hit.pt = POINT{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
      const int index = static_cast<int>(SendMessageW(FHandle, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
      // The control paints first; the hot tab goes over it.
      Default(message);
      SetHotTab(index);
      return false;
    }
    case win::CM_MOUSELEAVE:
    case WM_MOUSELEAVE:
      Default(message);
      SetHotTab(-1);
      return false;
  }
  return TSkinControl::BeforeProc(message);
}

void TSkinTab::Drawitem(win::TCanvas& canvas, const RECT& rect, int state, const std::wstring& text,
                        HIMAGELIST images, int imageIndex) {
  TDataSkinBorder& skin = *FSkinData->Tabs;
  const int frames = std::max(skin.Frame, 1);
  if (TKeyedImage* face = Images().Compose(*FTabImage, skin.Margins, skin.Tile != 0, std::min(state, frames), frames,
                                           rect.right - rect.left, rect.bottom - rect.top, skin.Trans != 0))
    face->Draw(canvas.Handle(), rect.left, rect.top);
  canvas.Font().SetColor(state == kFrameNormal ? skin.NormalColour2 : skin.MouseOverColour2);
  DrawImgCaption(canvas, rect, images, imageIndex, text, 1);
}

void TSkinTab::ClipUpdown(HDC dc, const RECT& strip) {
  HDC source = FStripImage->Canvas().Handle();
  const int w = strip.right - strip.left, h = strip.bottom - strip.top;
  RECT arrows{}, mine{};
  // The arrows appear once the tabs no longer fit: looked for at every paint.
  const bool shown = FindScroll();
  if (!shown || !FScroller || !GetWindowRect(FScroller->FHandle, &arrows) || !GetWindowRect(FHandle, &mine)) {
    BitBlt(dc, strip.left, strip.top, w, h, source, 0, 0, SRCCOPY);
    return;
  }
  OffsetRect(&arrows, -mine.left, -mine.top);
  win::TSaveDCGuard saved(dc);
  ExcludeClipRect(dc, arrows.left, arrows.top, arrows.right, arrows.bottom);
  BitBlt(dc, strip.left, strip.top, w, h, source, 0, 0, SRCCOPY);
}

void TSkinTab::DrawControl(HDC dc, const RECT& rect) {
  if (!FSkinData || !FHandle) return;
  if (!FImagesReady || TabPositionOfStyle(static_cast<DWORD>(GetWindowLongEx(FHandle, GWL_STYLE))) != FPosition)
    inittab();
  TDataSkinBorder* skin = FSkinData->Tabs.get();
  if (!skin || !FTabImage) return;
  FEnabled = !(GetWindowLongEx(FHandle, GWL_STYLE) & WS_DISABLED);
  RECT page = rect;
  SendMessageW(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  InflateRect(&page, 4, 4);
  RECT strip = rect;
  switch (FPosition) {
    case TSkinTabPosition::StTop:
      page.top += 1;
      strip.bottom = page.top;
      break;
    case TSkinTabPosition::Stbottom:
      page.bottom -= 1;
      strip.top = page.bottom;
      break;
    case TSkinTabPosition::Stleft:
      page.left += 1;
      strip.right = page.left;
      break;
    case TSkinTabPosition::Stright:
      page.right -= 1;
      strip.left = page.right;
      break;
  }
  const int sw = strip.right - strip.left, sh = strip.bottom - strip.top;
  const int count = static_cast<int>(SendMessageW(FHandle, TCM_GETITEMCOUNT, 0, 0));
  if (sw > 0 && sh > 0) {
    const bool side = Side(FPosition);
    const int iw = side ? sh : sw, ih = side ? sw : sh;
    if (!FStripImage) FStripImage = std::make_unique<win::TBitmap>();
    FStripImage->SetPixelFormat(win::TPixelFormat::pf24bit);
    if (FStripImage->Width() != iw || FStripImage->Height() != ih) FStripImage->SetSize(iw, ih);
    win::TCanvas& canvas = FStripImage->Canvas();
    FillParentBG(canvas.Handle(), RECT{0, 0, iw, ih});
    FontFromHandle(reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0)), canvas.Font());
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, TCM_GETIMAGELIST, 0, 0));
    const int focus = static_cast<int>(SendMessageW(FHandle, TCM_GETCURFOCUS, 0, 0));
    const int frames = std::max(skin->Frame, 1);
    for (int i = 0; i < count; ++i) {
      wchar_t text[kTabTextChars + 1] = {};
      TCITEMW item{};
      item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
      item.pszText = text;
      item.cchTextMax = kTabTextChars;
      if (!SendMessageW(FHandle, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) item.iImage = -1;
      RECT r{};
      if (!SendMessageW(FHandle, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
      RECT at = r;
      switch (FPosition) {
        case TSkinTabPosition::StTop: OffsetRect(&at, 0, 1); break;
        case TSkinTabPosition::Stbottom: OffsetRect(&at, 0, -(page.bottom + 1)); break;
        case TSkinTabPosition::Stleft: at = RECT{iw - r.bottom, r.left, iw - r.top, r.right}; break;
        case TSkinTabPosition::Stright:
          at = RECT{r.top - 1, rect.right - r.right, r.bottom - 1, rect.right - r.left};
          break;
      }
      // The tab under the mouse shows the skin's hot frame where it has one.
      int state = kFrameNormal;
      if (i == focus) state = kFrameSelectedTab;
      else if (i == FHotTab && frames >= kFrameHotTab) state = kFrameHotTab;
      Drawitem(canvas, at, state, std::wstring(text), images, item.iImage);
    }
    if (FPosition == TSkinTabPosition::Stright) Drehen90Grad(*FStripImage);
    if (FPosition == TSkinTabPosition::Stleft) Drehen270Grad(*FStripImage);
    ClipUpdown(dc, strip);
  }
  if (FBorderImage && FBorderImage->Width() > 0)
    DrawBorder(dc, page, *FBorderImage, kPageBorderMargins, 1, 1, false, false);
}

}  // namespace bw::skin
