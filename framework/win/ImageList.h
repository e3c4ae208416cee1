#pragma once
// An image list: images of one size kept with their masks in a system image list, drawn
// transparently or in the greyed form of a disabled control.
#include <windows.h>
#include <commctrl.h>

#include "framework/core/Component.h"
#include "framework/win/Colors.h"

namespace bw::win {

class TBitmap;
class TCanvas;

class TImageList : public core::TComponent {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }
  static constexpr int kDefaultSizePx = 16;

  explicit TImageList(core::TComponent* owner);
  ~TImageList() override;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // A new size empties the list.
  void SetWidth(int widthPx);
  void SetHeight(int heightPx);
  int Count() const;
  // Made on first use; raises EInvalidGraphic when the system refuses.
  HIMAGELIST Handle();

  // A bitmap wider than Width holds several images side by side; each call answers the
  // index of the first image added and raises EInvalidGraphic when nothing could be added.
  // `mask` (1 = transparent) may be nullptr for opaque images.
  int Add(const TBitmap& image, const TBitmap* mask);
  // Pixels of maskColor are transparent; clDefault takes the bitmap's bottom-left pixel.
  int AddMasked(const TBitmap& image, TColor maskColor);
  void Delete(int index);
  void Clear();

  // Disabled images are drawn as their shape only: in the highlight colour one pixel down
  // and right, then in the shadow colour. An index out of range draws nothing.
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);

  // A form description may carry the images as one BMP strip (binary property "Bitmap"),
  // masked by its bottom-left pixel; it is read only, never written back.
  void DefineProperties(core::TFiler& filer) override;

 private:
  static const core::TPropInfo kProps[];
  void Resize(int widthPx, int heightPx);

  HIMAGELIST FHandle = nullptr;
  int FWidth = kDefaultSizePx;
  int FHeight = kDefaultSizePx;
};

}  // namespace bw::win
