#include "tools/extract/PreviewCheck.h"

#include "framework/core/BmpFile.h"
#include "framework/core/JpegDecode.h"
#include "framework/core/PngDib.h"

namespace bw::tools {

bool PictureDecodes(extract::TItemKind kind, const std::string& pathUtf8) {
  core::TDib dib;
  switch (kind) {
    case extract::TItemKind::Jpeg: return core::CheckJpegFile(pathUtf8).Ok();
    case extract::TItemKind::Bmp: return core::ReadBmpFile(pathUtf8, dib).Ok();
    case extract::TItemKind::Png: {
      core::TPngDibInfo info{};
      info.Size = sizeof info;
      info.FileName = pathUtf8.c_str();
      const std::uint32_t status = core::PngToDib(&info);
      core::FreePngDibBlock(info.Dib);
      return status == core::kPngDibOk;
    }
    case extract::TItemKind::Wave: return true;
  }
  return false;
}

}  // namespace bw::tools
