// Header controls (column headings) from the skin's header-bar image.
#include <algorithm>

#include "framework/win/GdiHandles.h"
#include "skin/controls/Tabs.h"
#include "skin/window/LacquerForm.h"

namespace bw::skin {

const core::TClassInfo TSkinHeader::kClass{"TSkinHeader", &TSkinControl::kClass, {}, {}};

namespace {
constexpr int kHeaderTextChars = 200;
}

bool TSkinHeader::HasHeaderImage() const { return FSkinData && HasSkinImage(FSkinData->Headerbar.get()); }

void TSkinHeader::Inithwnd(HWND window, TSkinData* skinData, win::TCanvas* canvas, TLacquerForm* form) {
  TSkinControl::Inithwnd(window, skinData, canvas, form);
  FEnabled = !(GetWindowLongEx(window, GWL_STYLE) & WS_DISABLED);
}

bool TSkinHeader::BeforeProc(win::TMessage& message) {
  if (message.Msg == WM_ERASEBKGND && HasHeaderImage()) {
    message.Result = 1;
    return false;
  }
  return TSkinControl::BeforeProc(message);
}

void TSkinHeader::DrawItem(HIMAGELIST images, win::TCanvas& canvas, const RECT& rect, int index) {
  TDataSkinObject& skin = *FSkinData->Headerbar;
  wchar_t text[kHeaderTextChars + 1] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
  item.pszText = text;
  item.cchTextMax = kHeaderTextChars;
  if (!SendMessageW(FHandle, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return;
  const int frames = std::max(skin.Frame, 1);
  if (TKeyedImage* face = Images().Compose(skin.Bitmap, skin.Margins, skin.Tile != 0, 1, frames,
                                           rect.right - rect.left, rect.bottom - rect.top, false))
    face->Draw(canvas.Handle(), rect.left, rect.top);
  // An item without text is only its background, even when it names an image.
  if (text[0] == L'\0') return;
  int align = 0;
  if (item.fmt & HDF_RIGHT) align = 2;
  else if (item.fmt & HDF_CENTER) align = 1;
  const int image = (item.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) ? item.iImage : -1;
  DrawImgCaption(canvas, rect, images, image, text, align);
}

void TSkinHeader::DrawControl(HDC dc, const RECT& rect) {
  if (!HasHeaderImage() || !dc) return;
  TDataSkinObject& skin = *FSkinData->Headerbar;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  TScratch scratch(w, h);
  HDC b = scratch.DC();
  TBoundCanvas canvas(TextCanvas(scratch), b);
  FontFromHandle(reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0)), canvas->Font());
  canvas->Font().SetColor(skin.NormalColour2);
  win::TSaveDCGuard saved(b);
  SetBkMode(b, TRANSPARENT);
  FEnabled = !(GetWindowLongEx(FHandle, GWL_STYLE) & WS_DISABLED);
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, HDM_GETIMAGELIST, 0, 0));
  const int count = static_cast<int>(SendMessageW(FHandle, HDM_GETITEMCOUNT, 0, 0));
  int right = 0;
  for (int i = 0; i < count; ++i) {
    RECT r{};
    if (!SendMessageW(FHandle, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
    DrawItem(images, *canvas, r, i);
    right = std::max(right, static_cast<int>(r.right));
  }
  if (right < w)
    if (TKeyedImage* rest = Images().Compose(skin.Bitmap, skin.Margins, skin.Tile != 0, 1, std::max(skin.Frame, 1),
                                             w - right, h, false))
      rest->Draw(b, right, 0);
  BitBlt(dc, rect.left, rect.top, w, h, b, 0, 0, SRCCOPY);
}

}  // namespace bw::skin
