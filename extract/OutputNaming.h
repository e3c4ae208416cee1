#pragma once
// Output folder and file naming of a run: pure text rules, no file system.
#include <cstdint>
#include <string>

namespace bw::extract {

// The source name without its last four characters, whatever they are.
std::string BaseNameOf(const std::string& sourceName);

// count + 1 padded to at least three digits: 0 -> "001", 9 -> "010", 999 -> "1000".
std::string PaddedNumber(std::int32_t count);

// OutputFolder + '\' + base + '_' + number + extension (extension with its dot).
std::string MakeOutputName(const std::string& outputFolder, const std::string& baseName,
                           std::int32_t count, const std::string& extension);

}  // namespace bw::extract
