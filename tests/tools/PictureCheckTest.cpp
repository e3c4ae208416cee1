#include "tools/extract/PreviewCheck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include <png.h>
#include <zlib.h>

#include "framework/core/PngDib.h"
#include "tools/extract/PngBound.h"

namespace bw::tools {
namespace {

namespace fs = std::filesystem;
using TBytes = std::vector<std::uint8_t>;

void PutU32BE(TBytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutChunk(TBytes& out, const char* type, const TBytes& data) {
  PutU32BE(out, static_cast<std::uint32_t>(data.size()));
  TBytes typed(type, type + 4);
  typed.insert(typed.end(), data.begin(), data.end());
  out.insert(out.end(), typed.begin(), typed.end());
  PutU32BE(out, static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

// A grey 8-bit PNG whose IDAT deflates `rowsGiven` of its rows (zero rows, filter 0).
TBytes GreyPng(std::uint32_t widthPx, std::uint32_t heightPx, std::uint32_t rowsGiven, bool interlaced = false) {
  TBytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  TBytes header;
  PutU32BE(header, widthPx);
  PutU32BE(header, heightPx);
  header.insert(header.end(), {8, 0, 0, 0, static_cast<std::uint8_t>(interlaced ? 1 : 0)});
  PutChunk(png, "IHDR", header);
  TBytes raw(static_cast<std::size_t>(rowsGiven) * (widthPx + 1), 0);
  uLongf packedBytes = compressBound(static_cast<uLong>(raw.size()));
  TBytes packed(packedBytes);
  compress2(packed.data(), &packedBytes, raw.data(), static_cast<uLong>(raw.size()), 9);
  packed.resize(packedBytes);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", {});
  return png;
}

class PictureCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FRoot = fs::temp_directory_path() / ("bw-check-" + std::to_string(std::random_device{}()));
    fs::create_directories(FRoot);
  }
  void TearDown() override {
    std::error_code error;
    fs::remove_all(FRoot, error);
  }
  std::string Write(const std::string& name, const TBytes& bytes) {
    const fs::path path = FRoot / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }
  static bool DesktopShows(const std::string& path) {
    core::TPngDibInfo info{};
    info.Size = sizeof info;
    info.FileName = path.c_str();
    const bool ok = core::PngToDib(&info) == core::kPngDibOk;
    core::FreePngDibBlock(info.Dib);
    return ok;
  }
  fs::path FRoot;
};

TEST_F(PictureCheckTest, PngWhoseRowsCannotComeFromItsDataFailsWithoutInflating) {
  // Declares 16000 x 16000 and holds one row: the desktop decoder fails it at the end of
  // 256 MB of rows; the bound knows from the headers.
  const std::string bomb = Write("bomb.png", GreyPng(16000, 16000, 1));
  const TPngBound bound = ReadPngBound(bomb);
  EXPECT_EQ(bound.Status, TPngBoundStatus::CannotDecode);
  EXPECT_EQ(bound.RowBytes, 16000ull * 16001);
  EXPECT_EQ(CheckPicture(extract::TItemKind::Png, bomb), TPictureVerdict::Fails);
  EXPECT_FALSE(DesktopShows(bomb));
}

TEST_F(PictureCheckTest, PngBoundNeverRefusesWhatTheDecoderShows) {
  // Whole pictures of every size class, interlaced or not, and pictures just short of
  // their data: the bound says Plausible whenever the decoder shows the picture.
  for (const bool interlaced : {false, true}) {
    for (const std::uint32_t side : {1u, 7u, 9u, 300u, 2000u}) {
      for (const std::uint32_t rows : {side, side > 1 ? side - 1 : 1u}) {
        const std::string path = Write("p.png", GreyPng(side, side, rows, interlaced));
        const TPngBound bound = ReadPngBound(path);
        const bool shows = DesktopShows(path);
        if (shows) {
          EXPECT_EQ(bound.Status, TPngBoundStatus::Plausible) << side << " " << rows << " " << interlaced;
        }
        EXPECT_EQ(CheckPicture(extract::TItemKind::Png, path) == TPictureVerdict::Shows, shows)
            << side << " " << rows << " " << interlaced;
      }
    }
  }
  EXPECT_EQ(ReadPngBound(Write("junk.png", {1, 2, 3})).Status, TPngBoundStatus::Unknown);
}

TEST_F(PictureCheckTest, RowByRowPngCheckGivesTheDesktopVerdictOnDamagedFiles) {
  int shown = 0, cases = 0;
  for (const bool interlaced : {false, true}) {
    TBytes good = GreyPng(37, 29, 29, interlaced);
    // An ancillary chunk's damage is only a warning; every other byte is under a CRC.
    good.insert(good.end() - 12, {0, 0, 0, 1, 't', 'E', 'X', 't', 'x', 0, 0, 0, 0});
    for (std::size_t at = 0; at < good.size(); ++at) {
      for (const std::uint8_t flip : {0x00, 0x01, 0x40}) {
        TBytes damaged = good;
        damaged[at] ^= flip;
        const std::string path = Write("d.png", damaged);
        const bool shows = DesktopShows(path);
        EXPECT_EQ(core::PngDecodes(path.c_str()) == core::kPngDibOk, shows) << at << " " << interlaced;
        shown += shows;
        ++cases;
      }
    }
  }
  EXPECT_GT(shown, 0);
  EXPECT_LT(shown, cases);
}

}  // namespace
}  // namespace bw::tools
