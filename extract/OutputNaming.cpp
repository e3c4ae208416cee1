#include "extract/OutputNaming.h"

namespace bw::extract {
namespace {

bool IsDelimiter(char c, TPathStyle style) {
  return style == TPathStyle::Windows ? (c == '\\' || c == '/' || c == ':') : c == '/';
}

std::size_t LastDelimiter(const std::string& path, TPathStyle style) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (IsDelimiter(path[i - 1], style)) return i - 1;
  }
  return std::string::npos;
}

}  // namespace

char PathSeparator(TPathStyle style) { return style == TPathStyle::Windows ? '\\' : '/'; }

std::string DirectoryOf(const std::string& path, TPathStyle style) {
  const std::size_t last = LastDelimiter(path, style);
  if (last == std::string::npos) return std::string();
  // The delimiter goes unless it belongs to a root ("C:\", "\", "/") or follows another.
  const bool dropIt = last > 0 && path[last] != ':' && !IsDelimiter(path[last - 1], style);
  return path.substr(0, dropIt ? last : last + 1);
}

std::string FileNameOf(const std::string& path, TPathStyle style) {
  const std::size_t last = LastDelimiter(path, style);
  return last == std::string::npos ? path : path.substr(last + 1);
}

std::string BaseNameOf(const std::string& sourceName) {
  // Characters, not bytes: cutting inside a UTF-8 sequence would leave a name that is not
  // text (and that the Windows path conversion refuses). A byte that leads no valid
  // sequence counts as a character of its own.
  std::size_t end = sourceName.size();
  for (int removed = 0; removed < 4; ++removed) {
    if (end == 0) return std::string();
    std::size_t start = end - 1;
    std::size_t continuation = 0;
    while (start > 0 && continuation < 3 && (static_cast<unsigned char>(sourceName[start]) & 0xC0) == 0x80) {
      --start;
      ++continuation;
    }
    const auto lead = static_cast<unsigned char>(sourceName[start]);
    const std::size_t expected = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    end = (continuation > 0 && lead >= 0xC0 && expected == continuation) ? start : end - 1;
  }
  return sourceName.substr(0, end);
}

std::string OutputFolderFor(const std::string& sourceDirectory, const std::string& sourceName,
                            TPathStyle style) {
  // A bare relative name has no directory: the folder is the base name, beside it.
  if (sourceDirectory.empty()) return BaseNameOf(sourceName).empty() ? std::string(".") : BaseNameOf(sourceName);
  return sourceDirectory + PathSeparator(style) + BaseNameOf(sourceName);
}

std::string PaddedNumber(std::int32_t count) {
  const std::int64_t number = static_cast<std::int64_t>(count) + 1;
  std::string digits = std::to_string(number);
  if (number < 10) return "00" + digits;
  if (number < 100) return "0" + digits;
  return digits;
}

std::string MakeOutputName(const std::string& outputFolder, const std::string& baseName, std::int32_t count,
                           const std::string& extension, TPathStyle style) {
  return outputFolder + PathSeparator(style) + baseName + "_" + PaddedNumber(count) + extension;
}

}  // namespace bw::extract
