#include "framework/win/Graphic.h"

#include <cstdio>
#include <vector>

#include "framework/core/BmpFile.h"
#include "framework/core/Dib.h"
#include "framework/core/Streams.h"

namespace bw::win {

const core::TClassInfo TGraphic::kClass{"TGraphic", &core::TPersistent::kClass, {}, {}};

// Files go through the wide-path helpers so every UTF-8 name is reachable.
void TGraphic::LoadFromFile(const std::string& fileName) {
  std::vector<std::uint8_t> bytes;
  std::string reason;
  if (core::ReadImageFile(fileName, core::kMaxBmpFileBytes, bytes, reason) != core::TFileReadStatus::Ok)
    throw core::EFOpenError("Cannot open file \"" + fileName + "\": " + reason);
  core::TMemoryStream data;
  data.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  data.SetPosition(0);
  LoadFromStream(data);
}

void TGraphic::SaveToFile(const std::string& fileName) {
  // Written to memory first, so a graphic that fails to save leaves no half file.
  core::TMemoryStream data;
  SaveToStream(data);
  std::FILE* file = core::OpenImageFileUtf8(fileName, "wb");
  if (file == nullptr) throw core::EFCreateError("Cannot create file \"" + fileName + "\"");
  const auto size = static_cast<std::size_t>(data.Size());
  const bool written = size == 0 || std::fwrite(data.Memory(), 1, size, file) == size;
  if (std::fclose(file) != 0 || !written) throw core::EWriteError("Cannot write file \"" + fileName + "\"");
}

void TGraphic::DefineProperties(core::TFiler& filer) {
  filer.DefineBinaryProperty(
      "Data", [this](core::TStream& s) { LoadFromStream(s); }, [this](core::TStream& s) { SaveToStream(s); },
      !Empty());
}

std::vector<std::uint8_t> ReadGraphicBytes(core::TStream& stream, std::size_t maxBytes) {
  const std::int64_t left = stream.Size() - stream.Position();
  if (left <= 0) return {};
  if (static_cast<std::uint64_t>(left) > maxBytes)
    throw EInvalidGraphic("Picture data of " + std::to_string(left) + " bytes is larger than the limit of " +
                          std::to_string(maxBytes) + " bytes");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(left));
  stream.ReadBuffer(bytes.data(), left);
  return bytes;
}

void TGraphic::Changed() {
  if (OnChange) OnChange();
}

}  // namespace bw::win
