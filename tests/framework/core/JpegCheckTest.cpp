// The 1/8-scale check against the full decode: the same verdict on every file of the
// corpus (sample pictures, encoder variants, fuzzer finds) and on damaged copies of each.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "framework/core/JpegDecode.h"

namespace bw::core {
namespace {

namespace fs = std::filesystem;
using TBytes = std::vector<std::uint8_t>;

TBytes ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return TBytes(std::istreambuf_iterator<char>(in), {});
}

TEST(JpegCheck, SameVerdictAsTheFullDecode) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(fs::path(BW_SOURCE_DIR) / "tests/fixtures/jpeg-corpus")) {
    files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  ASSERT_GE(files.size(), 20u);
  int decoded = 0, refused = 0;
  const auto compare = [&](const TBytes& bytes, const std::string& what) {
    TDib dib;
    const TJpegResult full = DecodeJpeg(bytes, dib);
    const TJpegResult check = CheckJpeg(bytes);
    EXPECT_EQ(full.Status, check.Status) << what << ": full \"" << full.Reason << "\", check \"" << check.Reason << "\"";
    (full.Ok() ? decoded : refused) += 1;
  };
  for (const fs::path& file : files) {
    const TBytes bytes = ReadAll(file);
    const std::string name = file.filename().string();
    compare(bytes, name);
    // Damaged copies: cut at spread points, and single bytes changed through the headers
    // and the entropy-coded data.
    for (std::size_t k = 1; k < 8; ++k) compare(TBytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() * k / 8)), name + " cut");
    for (std::size_t k = 0; k < 24 && !bytes.empty(); ++k) {
      TBytes changed = bytes;
      const std::size_t at = (k * 7919 + 3) % changed.size();
      changed[at] = static_cast<std::uint8_t>(changed[at] ^ (0x5A + k));
      compare(changed, name + " byte " + std::to_string(at));
    }
  }
  // Both verdicts occur, or the comparison says little.
  EXPECT_GT(decoded, 100);
  EXPECT_GT(refused, 100);
}

}  // namespace
}  // namespace bw::core
