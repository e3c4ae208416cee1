#include "framework/win/JpegImage.h"

#include "framework/core/JpegDecode.h"
#include "framework/core/Streams.h"

namespace bw::win {

const core::TClassInfo TJPEGImage::kClass{"TJPEGImage", &TGraphic::kClass, {}, {}};

TJPEGImage::TJPEGImage() : FBitmap(std::make_unique<TBitmap>()) {}

TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::Draw(TCanvas& canvas, const RECT& rect) {
  FBitmap->SetTransparent(Transparent());
  FBitmap->Draw(canvas, rect);
}

void TJPEGImage::SetDecodeFit(int widthPx, int heightPx) {
  FFit = widthPx > 0 && heightPx > 0
             ? core::TJpegFit{static_cast<std::uint32_t>(widthPx), static_cast<std::uint32_t>(heightPx)}
             : core::TJpegFit{};
}

void TJPEGImage::LoadFromStream(core::TStream& stream) {
  std::vector<std::uint8_t> bytes = ReadGraphicBytes(stream, core::kMaxJpegFileBytes);
  auto decoded = std::make_unique<TBitmap>();
  if (!bytes.empty()) {
    core::TDib dib;
    const core::TJpegResult result = core::DecodeJpeg(bytes, dib, FFit);
    if (!result.Ok()) throw EInvalidGraphic("JPEG image is not valid: " + result.Reason);
    decoded->LoadFromDib(dib);
  }
  FData = std::move(bytes);
  FBitmap = std::move(decoded);
  Changed();
}

void TJPEGImage::SaveToStream(core::TStream& stream) {
  if (!FData.empty()) stream.WriteBuffer(FData.data(), static_cast<std::int64_t>(FData.size()));
}

void TJPEGImage::Assign(const core::TPersistent& source) {
  const auto* other = dynamic_cast<const TJPEGImage*>(&source);
  if (other == nullptr) return TGraphic::Assign(source);
  if (other == this) return;
  auto copy = std::make_unique<TBitmap>();
  copy->Assign(*other->FBitmap);
  FData = other->FData;
  FBitmap = std::move(copy);
  Changed();
}

}  // namespace bw::win
