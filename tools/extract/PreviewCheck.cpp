#include "tools/extract/PreviewCheck.h"

#include <new>

#include "extract/FileIo.h"
#include "framework/core/BmpFile.h"
#include "framework/core/JpegCheck.h"
#include "framework/core/PngDib.h"
#include "tools/extract/PngBound.h"

namespace bw::tools {
namespace {

TPictureVerdict CheckPng(const std::string& pathUtf8) {
  // A picture that needs more bytes than its zlib data can give cannot decode; saying so
  // from the headers spares inflating a bomb.
  const TPngBound bound = ReadPngBound(pathUtf8);
  if (bound.Status == TPngBoundStatus::CannotDecode) return TPictureVerdict::Fails;
  const std::uint32_t status = core::PngDecodes(pathUtf8.c_str());
  if (status == core::kPngDibOk) return TPictureVerdict::Shows;
  // "No memory" also stands for a picture over the block limit, which is a verdict.
  if (status == core::kPngDibNoMemory && bound.Status == TPngBoundStatus::Plausible &&
      bound.DibBytes <= core::kMaxPngDibBytes) {
    return TPictureVerdict::Unchecked;
  }
  return TPictureVerdict::Fails;
}

TPictureVerdict CheckBmp(const std::string& pathUtf8) {
  core::TDib dib;
  const core::TBmpResult result = core::ReadBmpFile(pathUtf8, dib);
  return result.Ok() ? TPictureVerdict::Shows : TPictureVerdict::Fails;
}

}  // namespace

TPictureVerdict CheckPicture(extract::TItemKind kind, const std::string& pathUtf8) {
  try {
    switch (kind) {
      case extract::TItemKind::Jpeg:
        switch (core::CheckJpegFile(pathUtf8).Status) {
          case core::TJpegCheckStatus::Decodes: return TPictureVerdict::Shows;
          case core::TJpegCheckStatus::OutOfMemory: return TPictureVerdict::Unchecked;
          case core::TJpegCheckStatus::Fails:
          case core::TJpegCheckStatus::TooLarge:
          case core::TJpegCheckStatus::OpenFailed: return TPictureVerdict::Fails;
        }
        return TPictureVerdict::Fails;
      case extract::TItemKind::Bmp: return CheckBmp(pathUtf8);
      case extract::TItemKind::Png: return CheckPng(pathUtf8);
      case extract::TItemKind::Wave: return TPictureVerdict::Shows;
    }
  } catch (const std::bad_alloc&) {
    return TPictureVerdict::Unchecked;
  }
  return TPictureVerdict::Fails;
}

}  // namespace bw::tools
