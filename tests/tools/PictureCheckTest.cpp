#include "tools/extract/PreviewCheck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "framework/core/PngDib.h"
#include "tests/support/PictureMake.h"
#include "tools/extract/PngBound.h"

namespace bw::tools {
namespace {

namespace fs = std::filesystem;
using TBytes = std::vector<std::uint8_t>;

using test::GreyPng;

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
