#pragma once
// A JPEG picture: the file bytes are kept (saving writes them back unchanged) and decoded
// once into a bitmap that drawing uses.
#include <cstdint>
#include <memory>
#include <vector>

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

  // The decoded picture (24 bits per pixel).
  const TBitmap& Bitmap() const { return *FBitmap; }

 private:
  std::vector<std::uint8_t> FData;
  std::unique_ptr<TBitmap> FBitmap;
};

}  // namespace bw::win
