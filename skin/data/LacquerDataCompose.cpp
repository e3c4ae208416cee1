// Work after the description is read: frame counts, the composed combo-box strip, the
// toolbar gradient, and colours taken from the skin's images.
#include <algorithm>

#include "skin/data/LacquerData.h"
#include "skin/draw/ImgUtil.h"
#include "skin/draw/SkinDraw.h"

namespace bw::skin {

namespace {

constexpr TColor kMagenta = 0xFF00FF;

void SetFrameOf(TDataSkinObject* object, std::int32_t frames) {
  if (object != nullptr) object->Frame = frames;
}

// State images of a check or radio strip: 13 pixels wide below 16 pixels high, else 16.
std::int32_t GlyphFrames(const TBitmap& strip) {
  const std::int32_t cell = strip.Height() < 16 ? 13 : 16;
  return std::max(strip.Width() / cell, 4);
}

void FillMagenta(HDC dc, const RECT& rect) {
  win::TBrushHandle brush(CreateSolidBrush(kMagenta));
  FillRect(dc, &rect, brush.Get());
}

}  // namespace

void TSkinData::SetFrame() {
  Buttons->Frame = 5;
  if (Buttons->RadioButtonFrame == 0) Buttons->RadioButtonFrame = GlyphFrames(Buttons->RadioBitmap);
  if (Buttons->CheckButtonFrame == 0) Buttons->CheckButtonFrame = GlyphFrames(Buttons->CheckBitmap);
  for (TDataSkinObject* o : {static_cast<TDataSkinObject*>(Title.get()), static_cast<TDataSkinObject*>(Progress.get()),
                             MenuBar.get(), GroupBoxEdge.get()})
    SetFrameOf(o, 2);
  for (TDataSkinObject* o : {Toolbar.get(), static_cast<TDataSkinObject*>(GroupBox.get()), MenuBackground.get()})
    SetFrameOf(o, 1);
  SetFrameOf(StatusBarEdges.get(), 3);
  for (TDataSkinObject* o : {static_cast<TDataSkinObject*>(ComboButton.get()), SunkEdge.get(), HorzScroll.get(),
                             VertScroll.get()})
    SetFrameOf(o, 4);
  for (TDataSkinObject* o : {ToolBars.get(), static_cast<TDataSkinObject*>(Tabs.get()), ExtraImages.get(),
                             Headerbar.get(), MenuItem.get(), TrackThumbHorz.get(), TrackThumbVert.get(),
                             TrackThumbLeft.get(), TrackThumbRight.get(), TrackThumbUp.get(), TrackThumbDown.get()})
    SetFrameOf(o, 5);
  SetFrameOf(UpDownHorz.get(), 8);
  SetFrameOf(UpDownVert.get(), 8);
  SetFrameOf(Scrollbar.get(), 23);
  if (HorzScrollThumb) HorzScrollThumb->Frame = FIni->ReadInteger("HorzScrollThumb", "FrameCount", 3);
  if (VertScrollThumb) VertScrollThumb->Frame = FIni->ReadInteger("VertScrollThumb", "FrameCount", 3);
}

void TSkinData::ReBuildCombobox() {
  if (!SunkEdge || !ComboButton) return;
  const int buttonPx = GetSystemMetrics(SM_CXHSCROLL) + 2;
  const int frames = std::max(SunkEdge->Frame, 1);
  TBitmap strip(kComboCellWidthPx * frames, kComboCellHeightPx, win::TPixelFormat::pf24bit);
  const RECT whole{0, 0, strip.Width(), strip.Height()};
  FillMagenta(strip.Canvas().Handle(), whole);
  const RECT cellRect{0, 0, kComboCellWidthPx, kComboCellHeightPx};
  const RECT buttonRect{kComboCellWidthPx - buttonPx, 0, kComboCellWidthPx, kComboCellHeightPx};
  for (int f = 1; f <= frames; ++f) {
    TBitmap cell(kComboCellWidthPx, kComboCellHeightPx, win::TPixelFormat::pf24bit);
    HDC dc = cell.Canvas().Handle();
    FillMagenta(dc, cellRect);
    DrawRect2(dc, cellRect, SunkEdge->Bitmap, SunkEdge->Margins, f, SunkEdge->Frame, SunkEdge->Trans != 0,
              SunkEdge->Tile != 0, false);
    DrawRect2(dc, buttonRect, ComboButton->Bitmap, ComboButton->Margins, f, ComboButton->Frame, true,
              ComboButton->Tile != 0, false);
    if (ExtraImages) DrawRect3(dc, buttonRect, ExtraImages->Bitmap, f, ExtraImages->Frame, true);
    FillMagenta(dc, RECT{2, 2, kComboCellWidthPx - 1 - buttonPx, 18});
    BitBlt(strip.Canvas().Handle(), kComboCellWidthPx * (f - 1), 0, kComboCellWidthPx, kComboCellHeightPx, dc, 0, 0,
           SRCCOPY);
  }
  ComboButton->Style = 2;
  ComboButton->Margins = SunkEdge->Margins;
  ComboButton->Margins.left = 2;
  ComboButton->Margins.right = buttonPx + 2;
  ComboButton->Bitmap.Assign(strip);
  SpiegelnHorizontal(strip);
  SunkEdge->Bitmap.Assign(strip);
  SunkEdge->Margins.left = buttonPx + 2;
  SunkEdge->Margins.right = 2;
}

void TSkinData::RebuildToolbar() {
  TBitmap gradient(10, 40, win::TPixelFormat::pf24bit);
  GradFill(gradient.Canvas().Handle(), RECT{0, 0, 10, 40}, Blend(Colors[TShemeColor::csButtonFace], 0xFFFFFF, 150),
           Blend(0x808080, GetCaptionColor(), 150), TGradientDirection::TopToBottom);
  if (!Toolbar) Toolbar = std::make_unique<TDataSkinObject>("Toolbar");
  Toolbar->Bitmap.Assign(gradient);
  Toolbar->Frame = 1;
}

TColor TSkinData::GetCaptionColor() {
  TBitmap& top = TopBorder->Bitmap;
  if (top.Empty()) return Colors[TShemeColor::csButtonFace];
  // A frame count below 1 would divide by zero; read it as one frame.
  const int frames = std::max(TopBorder->Frame, 1);
  const int y = std::min(top.Height() / frames * 2 / 3, top.Height() - 1);
  return static_cast<TColor>(GetPixel(top.Canvas().Handle(), top.Width() / 2, y));
}

void TSkinData::GetAppIcon(HWND applicationWindow) {
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  auto icon = reinterpret_cast<HICON>(SendMessageW(applicationWindow, WM_GETICON, ICON_SMALL, 0));
  if (icon == nullptr) icon = reinterpret_cast<HICON>(SendMessageW(applicationWindow, WM_GETICON, ICON_BIG, 0));
  if (icon == nullptr) return;
  TBitmap picture(cx, cy, win::TPixelFormat::pf24bit);
  HDC dc = picture.Canvas().Handle();
  FillMagenta(dc, RECT{0, 0, cx, cy});
  HICON copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, cx, cy, 0));
  if (copy == nullptr) return;
  DrawIconEx(dc, 0, 0, copy, cx, cy, 0, nullptr, DI_NORMAL);
  DestroyIcon(copy);
  AppIcon.Assign(picture);
  AppIcon.SetTransparentColor(kMagenta);
  AppIcon.SetTransparent(true);
}

}  // namespace bw::skin
