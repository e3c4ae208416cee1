#pragma once
// A JPEG picture: the file bytes are kept (saving writes them back unchanged) and decoded
// once into a bitmap that drawing uses.
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/core/JpegDecode.h"
#include "framework/win/Bitmap.h"
#include "framework/win/Graphic.h"

namespace bw::win {

class TJPEGImage : public TGraphic {
 public:
  static const core::TClassInfo kClass;
  const core::TClassInfo& ClassType() const override { return kClass; }

  TJPEGImage();
  ~TJPEGImage() override;
  TJPEGImage(const TJPEGImage&) = delete;
  TJPEGImage& operator=(const TJPEGImage&) = delete;

  int Width() const override { return FBitmap->Width(); }
  int Height() const override { return FBitmap->Height(); }
  void Draw(TCanvas& canvas, const RECT& rect) override;

  // Decoder warnings (a stream cut short) still give a picture; errors raise
  // EInvalidGraphic and keep the previous picture. An empty stream gives an empty picture.
  void LoadFromStream(core::TStream& stream) override;
  void SaveToStream(core::TStream& stream) override;
  void Assign(const core::TPersistent& source) override;

  // Pictures loaded from now on that would be shown shrunk into a box of this size are
  // decoded at the coarsest 1/2, 1/4 or 1/8 scale that still fills it (Width and Height then
  // give the decoded size); the verdict on a damaged stream is that of a full decode.
  // 0 x 0: full size.
  void SetDecodeFit(int widthPx, int heightPx);

  // The decoded picture (24 bits per pixel).
  const TBitmap& Bitmap() const { return *FBitmap; }

 private:
  std::vector<std::uint8_t> FData;
  std::unique_ptr<TBitmap> FBitmap;
  core::TJpegFit FFit;
};

}  // namespace bw::win
