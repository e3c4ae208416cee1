#include "framework/win/ImageList.h"

#include <algorithm>

#include "framework/core/ClassRegistry.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Canvas.h"
#include "framework/win/GdiHandles.h"
#include "framework/win/Graphic.h"
#include "framework/core/Streams.h"

namespace bw::win {

namespace {

constexpr int kInitialCapacity = 4;
constexpr int kGrowBy = 4;
// Paints the brush where the source is white and keeps the destination where it is black.
constexpr DWORD kRopDSPDxax = 0x00E20746;

// A device-independent copy not selected into any DC, as ImageList_Add needs (it may
// also change the pixels it is given).
TBitmapHandle DetachedCopy(const TBitmap& image) {
  TBitmap copy;
  copy.Assign(image);
  return TBitmapHandle(copy.ReleaseHandle());
}

}  // namespace

const core::TPropInfo TImageList::kProps[] = {
    core::IntProp<&TImageList::FHeight, &TImageList::SetHeight>("Height", kDefaultSizePx),
    core::IntProp<&TImageList::FWidth, &TImageList::SetWidth>("Width", kDefaultSizePx),
};
const core::TClassInfo TImageList::kClass{"TImageList", &core::TComponent::kClass, kProps, {},
                                          &core::CreateComponentOf<TImageList>};
namespace {
const core::TClassRegistration kRegistration{TImageList::kClass};
}

TImageList::TImageList(core::TComponent* owner) : core::TComponent(owner) {}

TImageList::~TImageList() {
  if (FHandle) ImageList_Destroy(FHandle);
}

void TImageList::Resize(int widthPx, int heightPx) {
  widthPx = std::max(widthPx, 1);
  heightPx = std::max(heightPx, 1);
  if (widthPx == FWidth && heightPx == FHeight) return;
  FWidth = widthPx;
  FHeight = heightPx;
  if (FHandle) {
    ImageList_Destroy(FHandle);
    FHandle = nullptr;
  }
}

void TImageList::SetWidth(int widthPx) { Resize(widthPx, FHeight); }

void TImageList::DefineProperties(core::TFiler& filer) {
  core::TComponent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "Bitmap",
      [this](core::TStream& stream) {
        TBitmap strip;
        strip.LoadFromStream(stream);
        if (strip.Width() > 0) AddMasked(strip, clDefault);
      },
      [](core::TStream&) {}, false);
}

void TImageList::SetHeight(int heightPx) { Resize(FWidth, heightPx); }

HIMAGELIST TImageList::Handle() {
  if (!FHandle) {
    // 24-bit colour: no alpha channel, so masked drawing is exact.
    FHandle = ImageList_Create(FWidth, FHeight, ILC_COLOR24 | ILC_MASK, kInitialCapacity, kGrowBy);
    if (!FHandle) throw EInvalidGraphic("Cannot create an image list of " + std::to_string(FWidth) + " x " +
                                        std::to_string(FHeight) + " pixels");
  }
  return FHandle;
}

int TImageList::Count() const { return FHandle ? ImageList_GetImageCount(FHandle) : 0; }

int TImageList::Add(const TBitmap& image, const TBitmap* mask) {
  if (image.Width() < FWidth || image.Height() < FHeight)
    throw EInvalidGraphic("Image of " + std::to_string(image.Width()) + " x " + std::to_string(image.Height()) +
                          " pixels is smaller than the image list's " + std::to_string(FWidth) + " x " +
                          std::to_string(FHeight));
  TBitmapHandle color = DetachedCopy(image);
  TBitmapHandle maskCopy;
  if (mask != nullptr) {
    TBitmap mono;
    mono.Assign(*mask);
    mono.SetPixelFormat(TPixelFormat::pf1bit);
    maskCopy.Reset(mono.ReleaseHandle());
  }
  const int index = ImageList_Add(Handle(), color.Get(), maskCopy.Get());
  if (index < 0) throw EInvalidGraphic("Cannot add the image to the image list");
  return index;
}

int TImageList::AddMasked(const TBitmap& image, TColor maskColor) {
  if (image.Width() < FWidth || image.Height() < FHeight)
    throw EInvalidGraphic("Image of " + std::to_string(image.Width()) + " x " + std::to_string(image.Height()) +
                          " pixels is smaller than the image list's " + std::to_string(FWidth) + " x " +
                          std::to_string(FHeight));
  if (maskColor == clDefault) maskColor = const_cast<TBitmap&>(image).TransparentColor();
  TBitmapHandle color = DetachedCopy(image);
  const int index = ImageList_AddMasked(Handle(), color.Get(), ColorToRGB(maskColor));
  if (index < 0) throw EInvalidGraphic("Cannot add the image to the image list");
  return index;
}

void TImageList::Delete(int index) {
  if (FHandle && index >= 0 && index < Count()) ImageList_Remove(FHandle, index);
}

void TImageList::Clear() {
  if (FHandle) ImageList_Remove(FHandle, -1);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) {
  if (!FHandle || index < 0 || index >= Count()) return;
  HDC dc = canvas.Handle();
  if (!dc) return;
  if (enabled) {
    ImageList_DrawEx(FHandle, index, dc, x, y, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
    return;
  }
  // The mask: 0 where the image is opaque, 1 where it is transparent.
  TBitmapHandle mask(CreateBitmap(FWidth, FHeight, 1, 1, nullptr));
  TMemoryDC maskDC(nullptr);
  if (!mask || !maskDC) return;
  {
    TSelectGuard selectMask(maskDC.Get(), mask.Get());
    PatBlt(maskDC.Get(), 0, 0, FWidth, FHeight, WHITENESS);
    ImageList_Draw(FHandle, index, maskDC.Get(), 0, 0, ILD_MASK);
  }
  TSaveDCGuard saved(dc);
  // Mono to colour: 0 bits take the text colour, 1 bits the background colour, so the
  // opaque shape arrives white and the rest black.
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkColor(dc, RGB(0, 0, 0));
  TSelectGuard selectMask(maskDC.Get(), mask.Get());
  const struct {
    int Offset;
    int SysColor;
  } passes[] = {{1, COLOR_BTNHIGHLIGHT}, {0, COLOR_BTNSHADOW}};
  for (const auto& pass : passes) {
    TBrushHandle brush(CreateSolidBrush(GetSysColor(pass.SysColor)));
    TSelectGuard selectBrush(dc, brush.Get());
    BitBlt(dc, x + pass.Offset, y + pass.Offset, FWidth, FHeight, maskDC.Get(), 0, 0, kRopDSPDxax);
  }
}

}  // namespace bw::win
