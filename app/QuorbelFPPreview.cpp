// The preview of the picture just written: JPEG through the JPEG picture, BMP through the
// picture's file loading, PNG through the DIB converter.
#include <windows.h>

#include "app/QuorbelFP.h"
#include "framework/core/PngDib.h"
#include "framework/win/Bitmap.h"
#include "framework/win/JpegImage.h"
#include "framework/win/Picture.h"

namespace bw::app {
namespace {

struct TPngBlock {
  std::uint8_t* Dib = nullptr;
  ~TPngBlock() { core::FreePngDibBlock(Dib); }
};

}  // namespace

bool TForm1::ShowPreview(extract::TItemKind kind, const std::string& path) {
  try {
    switch (kind) {
      case extract::TItemKind::Jpeg: return ShowJpegPreview(path);
      case extract::TItemKind::Bmp: return ShowBmpPreview(path);
      case extract::TItemKind::Png:
        ShowPngPreview();
        return !RunState.PngPreviewFailed;
      case extract::TItemKind::Wave: return true;
    }
  } catch (...) {
    // A picture the preview cannot show is taken back by the engine; no message.
  }
  return false;
}

bool TForm1::ShowJpegPreview(const std::string& path) {
  win::TJPEGImage jpeg;
  // The preview only ever shows the picture fitted into Image1: decoding more pixels than
  // it can show costs a large photo most of its decoding time.
  jpeg.SetDecodeFit(Image1->Width(), Image1->Height());
  jpeg.LoadFromFile(path);
  Image1->Picture()->SetGraphic(&jpeg);
  return true;
}

bool TForm1::ShowBmpPreview(const std::string& path) {
  Image1->Picture()->LoadFromFile(path);
  return true;
}

void TForm1::ShowPngPreview() {
  RunState.PngPreviewFailed = false;
  // The whole path goes to the decoder: cutting a long one would make a good picture
  // unreadable, and the engine would then delete it.
  core::TPngDibInfo info{};
  info.Size = sizeof info;
  info.FileName = RunState.PngFileName.c_str();
  const std::uint32_t status = core::PngToDib(&info);
  TPngBlock block{info.Dib};
  if (status != core::kPngDibOk) {
    RunState.PngPreviewFailed = true;
    return;
  }
  const auto* header = reinterpret_cast<const BITMAPINFO*>(info.Dib);
  const int widthPx = header->bmiHeader.biWidth;
  const int heightPx = header->bmiHeader.biHeight;

  win::TBitmap& bitmap = Image1->Picture()->Bitmap();
  bitmap.SetSize(widthPx, heightPx);
  HBITMAP handle = bitmap.ReleaseHandle();
  HDC dc = GetDC(Handle());
  SetDIBits(dc, handle, 0, static_cast<UINT>(heightPx), info.Bits, header, DIB_RGB_COLORS);
  ReleaseDC(Handle(), dc);
  bitmap.SetHandle(handle);
  Image1->Invalidate();
}

}  // namespace bw::app
