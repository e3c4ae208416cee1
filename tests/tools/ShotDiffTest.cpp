#include "tools/shotdiff/ShotDiff.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace bw::tools {
namespace {

TRgbPicture Filled(int w, int h, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  TRgbPicture p{w, h, {}};
  for (int i = 0; i < w * h; ++i) p.Rgb.insert(p.Rgb.end(), {r, g, b});
  return p;
}

void Set(TRgbPicture& p, int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  std::uint8_t* px = &p.Rgb[(static_cast<std::size_t>(y) * p.WidthPx + x) * 3];
  px[0] = r, px[1] = g, px[2] = b;
}

TEST(ShotDiff, CountsPixelsChangedBeyondTheToleranceAndMarksThem) {
  const TRgbPicture before = Filled(40, 30, 100, 120, 140);
  TRgbPicture after = before;
  Set(after, 0, 0, 100 + kShotTolerance, 120, 140);  // smoothing-sized: the same
  Set(after, 1, 0, 100, 120 - kShotTolerance - 1, 140);
  for (int y = 10; y < 14; ++y)
    for (int x = 20; x < 25; ++x) Set(after, x, y, 0, 0, 0);
  const TShotDiff diff = CompareShots(before, after);
  EXPECT_TRUE(diff.SameSize);
  EXPECT_EQ(diff.Changed, 1u + 20u);
  EXPECT_EQ(diff.Total, 1200u);
  ASSERT_EQ(diff.Picture.Rgb.size(), after.Rgb.size());
  const auto at = [&](int x, int y) { return &diff.Picture.Rgb[(static_cast<std::size_t>(y) * 40 + x) * 3]; };
  EXPECT_EQ(at(22, 12)[0], 255);
  EXPECT_EQ(at(22, 12)[1], 0);
  EXPECT_NE(at(5, 5)[1], 0) << "an unchanged pixel is not marked";

  EXPECT_EQ(CompareShots(before, before).Changed, 0u);
  const TShotDiff resized = CompareShots(before, Filled(41, 30, 100, 120, 140));
  EXPECT_FALSE(resized.SameSize);
  EXPECT_EQ(resized.Changed, resized.Total);
  EXPECT_EQ(resized.Total, 41u * 30u);
}

TEST(ShotDiff, PicturesGoThroughFilesAndBadFilesAreReported) {
  const auto folder = std::filesystem::temp_directory_path() / ("bw-shotdiff-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::create_directories(folder);
  TRgbPicture p = Filled(7, 5, 10, 20, 30);
  Set(p, 6, 4, 200, 100, 50);
  const std::string path = (folder / "p.png").string();
  ASSERT_TRUE(WritePng(path, p));
  std::string error;
  const auto back = ReadPng(path, error);
  ASSERT_TRUE(back.has_value()) << error;
  EXPECT_EQ(back->WidthPx, 7);
  EXPECT_EQ(back->HeightPx, 5);
  EXPECT_EQ(back->Rgb, p.Rgb);

  std::ofstream((folder / "cut.png").string(), std::ios::binary).write("\x89PNG\r\n\x1a\n\0\0", 10);
  EXPECT_FALSE(ReadPng((folder / "cut.png").string(), error).has_value());
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(ReadPng((folder / "missing.png").string(), error).has_value());
  EXPECT_FALSE(WritePng((folder / "no" / "such" / "folder.png").string(), p));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace bw::tools
