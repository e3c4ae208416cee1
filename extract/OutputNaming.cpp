#include "extract/OutputNaming.h"

namespace bw::extract {

std::string BaseNameOf(const std::string& sourceName) {
  return sourceName.size() <= 4 ? std::string() : sourceName.substr(0, sourceName.size() - 4);
}

std::string PaddedNumber(std::int32_t count) {
  const std::int64_t number = static_cast<std::int64_t>(count) + 1;
  std::string digits = std::to_string(number);
  if (number < 10) return "00" + digits;
  if (number < 100) return "0" + digits;
  return digits;
}

std::string MakeOutputName(const std::string& outputFolder, const std::string& baseName,
                           std::int32_t count, const std::string& extension) {
  return outputFolder + "\\" + baseName + "_" + PaddedNumber(count) + extension;
}

}  // namespace bw::extract
