#include "framework/core/PngDib.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace bw::core {
namespace {

namespace fs = std::filesystem;

struct TPngRecipe {
  std::uint32_t WidthPx = 4;
  std::uint32_t HeightPx = 3;
  int BitDepth = 8;
  int ColorType = PNG_COLOR_TYPE_GRAY;
  bool Interlaced = false;
  std::vector<png_color> Palette;
  int PhysUnit = -1;  // -1: no pHYs chunk
  // Packed PNG rows, top first.
  std::vector<std::vector<std::uint8_t>> Rows;
};

void WritePng(const std::string& path, const TPngRecipe& recipe) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  ASSERT_EQ(setjmp(png_jmpbuf(png)), 0);
  png_init_io(png, file);
  png_set_IHDR(png, info, recipe.WidthPx, recipe.HeightPx, recipe.BitDepth, recipe.ColorType,
               recipe.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!recipe.Palette.empty()) png_set_PLTE(png, info, recipe.Palette.data(), static_cast<int>(recipe.Palette.size()));
  if (recipe.PhysUnit >= 0) png_set_pHYs(png, info, 3780, 2835, recipe.PhysUnit);
  png_write_info(png, info);
  std::vector<png_bytep> rows;
  for (const auto& row : recipe.Rows) rows.push_back(const_cast<png_bytep>(row.data()));
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

// Rows of the right packed length filled from a seed.
std::vector<std::vector<std::uint8_t>> PatternRows(const TPngRecipe& recipe, int channels) {
  const std::size_t rowBytes = (std::size_t{recipe.WidthPx} * recipe.BitDepth * channels + 7) / 8;
  std::vector<std::vector<std::uint8_t>> rows(recipe.HeightPx, std::vector<std::uint8_t>(rowBytes));
  std::mt19937 random(recipe.WidthPx * 31 + recipe.BitDepth);
  const unsigned usedBits = (recipe.WidthPx * static_cast<unsigned>(recipe.BitDepth * channels)) % 8;
  for (auto& row : rows) {
    for (auto& b : row) b = static_cast<std::uint8_t>(random());
    if (usedBits != 0) row.back() &= static_cast<std::uint8_t>(0xFF00 >> usedBits);  // padding bits stay 0
  }
  return rows;
}

class PngDibTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FPath = (fs::temp_directory_path() / ("bw-pngdib-" + std::to_string(std::random_device{}()) + ".png")).string();
  }
  void TearDown() override {
    FreePngDibBlock(FInfo.Dib);
    std::error_code error;
    fs::remove(FPath, error);
  }
  std::uint32_t Decode(const TPngRecipe& recipe) {
    WritePng(FPath, recipe);
    return DecodeFile();
  }
  std::uint32_t DecodeFile() {
    FreePngDibBlock(FInfo.Dib);
    FInfo = TPngDibInfo{};
    FInfo.Size = sizeof FInfo;
    FInfo.FileName = FPath.c_str();
    return PngToDib(&FInfo);
  }
  std::uint32_t Header(std::size_t offset, std::size_t bytes = 4) const {
    std::uint32_t value = 0;
    std::memcpy(&value, FInfo.Dib + offset, bytes);
    return value;
  }
  std::uint32_t Stride() const { return (Header(4) * Header(14, 2) + 31) / 32 * 4; }
  const std::uint8_t* RowFromTop(std::uint32_t y) const { return FInfo.Bits + (Header(8) - 1 - y) * Stride(); }
  std::vector<std::uint8_t> TableGreys() const {
    std::vector<std::uint8_t> greys;
    for (std::uint32_t i = 0; i < FInfo.ColorCount; ++i) {
      const std::uint8_t* entry = FInfo.Palette + 4 * i;
      EXPECT_TRUE(entry[0] == entry[1] && entry[1] == entry[2] && entry[3] == 0);
      greys.push_back(entry[0]);
    }
    return greys;
  }
  void ExpectConsistentBlock() const {
    EXPECT_EQ(Header(0), 40u);
    EXPECT_EQ(Header(12, 2), 1u);
    EXPECT_EQ(Header(16), 0u);
    EXPECT_EQ(Header(32), FInfo.ColorCount);
    EXPECT_EQ(FInfo.PaletteOffset, 40u);
    EXPECT_EQ(FInfo.BitsOffset, 40 + 4 * FInfo.ColorCount);
    EXPECT_EQ(FInfo.Palette, FInfo.Dib + 40);
    EXPECT_EQ(FInfo.Bits, FInfo.Dib + FInfo.BitsOffset);
    EXPECT_EQ(Header(20), Header(8) * Stride());
    EXPECT_EQ(FInfo.DibSize, FInfo.BitsOffset + Header(20));
  }

  std::string FPath;
  TPngDibInfo FInfo{};
};

TEST_F(PngDibTest, GreyDepthsGiveGreyTablesAndKeepPackedRows) {
  struct Case { int depth; std::uint32_t bitCount; std::vector<std::uint8_t> greysHead; std::uint8_t last; };
  const Case cases[] = {{1, 1, {0, 255}, 255}, {4, 4, {0, 17, 34}, 255}, {8, 8, {0, 1, 2}, 255}};
  for (const Case& c : cases) {
    TPngRecipe recipe;
    recipe.WidthPx = 33;
    recipe.BitDepth = c.depth;
    recipe.Rows = PatternRows(recipe, 1);
    ASSERT_EQ(Decode(recipe), kPngDibOk) << c.depth;
    EXPECT_EQ(Header(14, 2), c.bitCount);
    const std::vector<std::uint8_t> greys = TableGreys();
    ASSERT_EQ(greys.size(), 1u << c.bitCount);
    EXPECT_TRUE(std::equal(c.greysHead.begin(), c.greysHead.end(), greys.begin()));
    EXPECT_EQ(greys.back(), c.last);
    for (std::uint32_t y = 0; y < recipe.HeightPx; ++y) {
      EXPECT_EQ(0, std::memcmp(RowFromTop(y), recipe.Rows[y].data(), recipe.Rows[y].size())) << "row " << y;
    }
    ExpectConsistentBlock();
  }
}

TEST_F(PngDibTest, OneBitStrideAndSixteenBitGrey) {
  TPngRecipe recipe;
  recipe.WidthPx = 33;
  recipe.BitDepth = 1;
  recipe.Rows = PatternRows(recipe, 1);
  ASSERT_EQ(Decode(recipe), kPngDibOk);
  EXPECT_EQ(Stride(), 8u);

  recipe.BitDepth = 16;
  recipe.Rows = PatternRows(recipe, 1);
  ASSERT_EQ(Decode(recipe), kPngDibOk);
  EXPECT_EQ(Header(14, 2), 8u);
  EXPECT_EQ(TableGreys().size(), 256u);
  for (std::uint32_t x = 0; x < recipe.WidthPx; ++x) EXPECT_EQ(RowFromTop(1)[x], recipe.Rows[1][2 * x]);  // high bytes
}

TEST_F(PngDibTest, TwoBitPicturesAreWidenedKeepingTheirColours) {
  TPngRecipe recipe;
  recipe.WidthPx = 5;
  recipe.BitDepth = 2;
  recipe.Rows = {{0x1B, 0x40}, {0xE4, 0x00}, {0xFF, 0xC0}};  // pixels 0 1 2 3 1 / 3 2 1 0 0 / 3 3 3 3 3
  ASSERT_EQ(Decode(recipe), kPngDibOk);
  EXPECT_EQ(Header(14, 2), 8u);
  EXPECT_EQ(TableGreys(), (std::vector<std::uint8_t>{0, 85, 170, 255}));
  EXPECT_EQ(std::vector<std::uint8_t>(RowFromTop(0), RowFromTop(0) + 5), (std::vector<std::uint8_t>{0, 1, 2, 3, 1}));
  EXPECT_EQ(std::vector<std::uint8_t>(RowFromTop(1), RowFromTop(1) + 5), (std::vector<std::uint8_t>{3, 2, 1, 0, 0}));
  ExpectConsistentBlock();

  recipe.ColorType = PNG_COLOR_TYPE_PALETTE;
  recipe.Palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {100, 110, 120}};
  ASSERT_EQ(Decode(recipe), kPngDibOk);
  ASSERT_EQ(FInfo.ColorCount, 4u);
  EXPECT_EQ(FInfo.Palette[4 * 2 + 0], 90);  // blue of entry 2
  EXPECT_EQ(FInfo.Palette[4 * 2 + 2], 70);
  EXPECT_EQ(RowFromTop(2)[4], 3);
}

TEST_F(PngDibTest, PaletteEntriesBecomeTheColourTable) {
  TPngRecipe recipe;
  recipe.ColorType = PNG_COLOR_TYPE_PALETTE;
  recipe.BitDepth = 4;
  recipe.Palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  recipe.Rows = {{0x01, 0x20}, {0x22, 0x11}, {0x00, 0x00}};
  ASSERT_EQ(Decode(recipe), kPngDibOk);
  ASSERT_EQ(FInfo.ColorCount, 3u);
  const std::uint8_t expected[] = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};
  EXPECT_EQ(0, std::memcmp(FInfo.Palette, expected, sizeof expected));
  EXPECT_EQ(RowFromTop(0)[0], 0x01);
  EXPECT_EQ(Header(14, 2), 4u);
  ExpectConsistentBlock();
}

TEST_F(PngDibTest, ColourPicturesBecomeBlueGreenRedWithoutAlpha) {
  for (int colorType : {PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_RGB_ALPHA}) {
    TPngRecipe recipe;
    recipe.WidthPx = 1;
    recipe.HeightPx = 2;
    recipe.ColorType = colorType;
    const int channels = colorType == PNG_COLOR_TYPE_RGB ? 3 : 4;
    recipe.Rows = {{10, 20, 30, 40}, {50, 60, 70, 80}};
    for (auto& row : recipe.Rows) row.resize(static_cast<std::size_t>(channels));
    ASSERT_EQ(Decode(recipe), kPngDibOk);
    EXPECT_EQ(Header(14, 2), 24u);
    EXPECT_EQ(FInfo.ColorCount, 0u);
    EXPECT_EQ(Stride(), 4u);
    const std::uint8_t bottom[] = {70, 60, 50, 0};  // the last PNG row comes first
    EXPECT_EQ(0, std::memcmp(FInfo.Bits, bottom, 4));
    ExpectConsistentBlock();
  }
  // Sixteen bits per sample with alpha reduce to 24 bits too.
  TPngRecipe recipe16;
  recipe16.WidthPx = 2;
  recipe16.HeightPx = 1;
  recipe16.ColorType = PNG_COLOR_TYPE_RGB_ALPHA;
  recipe16.BitDepth = 16;
  recipe16.Rows = {{1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0}};
  ASSERT_EQ(Decode(recipe16), kPngDibOk);
  const std::uint8_t pixels[] = {3, 2, 1, 7, 6, 5};
  EXPECT_EQ(0, std::memcmp(FInfo.Bits, pixels, sizeof pixels));
}

TEST_F(PngDibTest, InterlacedPicturesDecodeAlike) {
  TPngRecipe recipe;
  recipe.WidthPx = 13;
  recipe.HeightPx = 11;
  recipe.ColorType = PNG_COLOR_TYPE_RGB;
  recipe.Rows = PatternRows(recipe, 3);
  ASSERT_EQ(Decode(recipe), kPngDibOk);
  const std::vector<std::uint8_t> plain(FInfo.Dib, FInfo.Dib + FInfo.DibSize);
  recipe.Interlaced = true;
  ASSERT_EQ(Decode(recipe), kPngDibOk);
  EXPECT_EQ(std::vector<std::uint8_t>(FInfo.Dib, FInfo.Dib + FInfo.DibSize), plain);
}

TEST_F(PngDibTest, ResolutionOnlyFromMetres) {
  TPngRecipe recipe;
  recipe.Rows = PatternRows(recipe, 1);
  recipe.PhysUnit = PNG_RESOLUTION_METER;
  ASSERT_EQ(Decode(recipe), kPngDibOk);
  EXPECT_EQ(Header(24), 3780u);
  EXPECT_EQ(Header(28), 2835u);
  recipe.PhysUnit = PNG_RESOLUTION_UNKNOWN;
  ASSERT_EQ(Decode(recipe), kPngDibOk);
  EXPECT_EQ(Header(24), 0u);
  EXPECT_EQ(Header(28), 0u);
}

TEST_F(PngDibTest, FailuresReturnTheirStatusAndNoBlock) {
  TPngRecipe recipe;
  recipe.WidthPx = 64;
  recipe.HeightPx = 64;
  recipe.ColorType = PNG_COLOR_TYPE_RGB;
  recipe.Rows = PatternRows(recipe, 3);
  WritePng(FPath, recipe);
  const std::uintmax_t fullBytes = fs::file_size(FPath);
  for (std::uintmax_t cut : {fullBytes - 1, fullBytes / 2, std::uintmax_t{20}, std::uintmax_t{0}}) {
    fs::resize_file(FPath, cut);
    EXPECT_EQ(DecodeFile(), kPngDibDecodeError) << "cut at " << cut;
    EXPECT_EQ(FInfo.Dib, nullptr);
  }
  fs::remove(FPath);
  EXPECT_EQ(DecodeFile(), kPngDibOpenFailed);

  TPngDibInfo wrongSize{};
  wrongSize.Size = 40 + 1;
  wrongSize.FileName = FPath.c_str();
  EXPECT_EQ(PngToDib(&wrongSize), kPngDibBadSize);
  EXPECT_EQ(PngToDib(nullptr), kPngDibBadSize);
}

}  // namespace
}  // namespace bw::core
