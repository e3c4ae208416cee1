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
  return sourceName.size() <= 4 ? std::string() : sourceName.substr(0, sourceName.size() - 4);
}

std::string OutputFolderFor(const std::string& sourceDirectory, const std::string& sourceName,
                            TPathStyle style) {
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
