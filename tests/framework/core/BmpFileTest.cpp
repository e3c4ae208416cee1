#include "framework/core/BmpFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace bw::core {
namespace {

using TBytes = std::vector<std::uint8_t>;

void PutU32(TBytes& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

TDib Pattern(std::int32_t widthPx, std::int32_t heightPx, std::uint16_t bitCount) {
  TDib dib(widthPx, heightPx, bitCount);
  std::mt19937 random(static_cast<unsigned>(widthPx * 100 + bitCount));
  for (auto& b : dib.Pixels()) b = static_cast<std::uint8_t>(random());
  if (bitCount <= 8) {
    dib.ColorTable().resize(std::size_t{1} << bitCount);
    for (std::size_t i = 0; i < dib.ColorTable().size(); ++i) {
      dib.ColorTable()[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 7, 0};
    }
  }
  return dib;
}

TEST(BmpFile, EveryBitCountRoundTrips) {
  for (std::uint16_t bitCount : {1, 4, 8, 16, 24, 32}) {
    const TDib dib = Pattern(13, 5, bitCount);
    TDib read;
    const TBmpResult result = ReadBmp(WriteBmp(dib), read);
    ASSERT_TRUE(result.Ok()) << bitCount << ": " << result.Reason;
    EXPECT_EQ(read.WidthPx(), 13);
    EXPECT_EQ(read.HeightPx(), 5);
    EXPECT_EQ(read.BitCount(), bitCount);
    EXPECT_EQ(read.Pixels(), dib.Pixels()) << bitCount;
    EXPECT_EQ(read.ColorTable(), dib.ColorTable()) << bitCount;
  }
}

TEST(BmpFile, TopDownRowsAreStoredBottomUp) {
  TDib dib = Pattern(3, 4, 24);
  TBytes bytes = WriteBmp(dib);
  // Turn the file top-down: negative height, rows in the other order.
  PutU32(bytes, 22, static_cast<std::uint32_t>(-4));
  const std::size_t stride = dib.StrideBytes();
  for (std::int32_t y = 0; y < 4; ++y) {
    std::copy(dib.RowFromTop(y), dib.RowFromTop(y) + stride, bytes.begin() + 54 + static_cast<std::ptrdiff_t>(y * stride));
  }
  TDib read;
  ASSERT_TRUE(ReadBmp(bytes, read).Ok());
  EXPECT_EQ(read.Pixels(), dib.Pixels());
  EXPECT_EQ(read.PixelColor(2, 0), dib.PixelColor(2, 0));
}

TEST(BmpFile, ShortColourTableBehindAFullTableOffset) {
  // As a carved bitmap record: 16 colours in the table, yet the offset assumes 256.
  TDib dib = Pattern(6, 2, 8);
  dib.ColorTable().resize(16);
  TBytes bytes = WriteBmp(dib);
  PutU32(bytes, 10, 1078);
  TDib read;
  const TBmpResult result = ReadBmp(bytes, read);
  ASSERT_TRUE(result.Ok()) << result.Reason;
  EXPECT_EQ(read.ColorTable().size(), 16u);
  EXPECT_EQ(read.Pixels(), dib.Pixels());
}

TEST(BmpFile, BitFieldsGiveTheirChannels) {
  TDib dib(2, 1, 16);
  dib.SetMasks(0xF800, 0x07E0, 0x001F);  // 5-6-5
  dib.Pixels()[0] = 0x00;
  dib.Pixels()[1] = 0xF8;  // pure red
  dib.Pixels()[2] = 0xE0;
  dib.Pixels()[3] = 0x07;  // pure green
  TDib read;
  ASSERT_TRUE(ReadBmp(WriteBmp(dib), read).Ok());
  EXPECT_EQ(read.PixelColor(0, 0), (TRgbQuad{0, 0, 255, 0}));
  EXPECT_EQ(read.PixelColor(1, 0), (TRgbQuad{0, 255, 0, 0}));
  EXPECT_EQ(read.RedMask(), 0xF800u);
}

TEST(BmpFile, EmptyFileIsAnEmptyPicture) {
  TDib read = Pattern(2, 2, 24);
  EXPECT_TRUE(ReadBmp({}, read).Ok());
  EXPECT_TRUE(read.IsEmpty());
  EXPECT_TRUE(WriteBmp(read).empty());
}

TEST(BmpFile, DamagedFilesAreRefusedWithAReason) {
  const TBytes good = WriteBmp(Pattern(9, 7, 8));
  struct Case { const char* name; std::size_t offset; std::uint32_t value; TBmpStatus status; };
  const Case cases[] = {
      {"signature", 0, 0x4D41, TBmpStatus::Corrupt},
      {"core header", 14, 12, TBmpStatus::Unsupported},
      {"header size", 14, 5000, TBmpStatus::Corrupt},
      {"planes", 26, 0x00080002, TBmpStatus::Corrupt},
      {"bit count", 28, 7, TBmpStatus::Unsupported},
      {"run-length", 30, 1, TBmpStatus::Unsupported},
      {"colours used", 46, 257, TBmpStatus::Corrupt},
      {"zero width", 18, 0, TBmpStatus::Corrupt},
      {"huge height", 22, 0x7FFFFFFF, TBmpStatus::TooLarge},
      {"huge but allowed", 18, 60000, TBmpStatus::Truncated},  // its pixels are not in the file
  };
  for (const Case& c : cases) {
    TBytes bad = good;
    PutU32(bad, c.offset, c.value);
    if (c.offset == 0) bad[0] = 'A';
    TDib read;
    const TBmpResult result = ReadBmp(bad, read);
    EXPECT_EQ(result.Status, c.status) << c.name;
    EXPECT_FALSE(result.Reason.empty()) << c.name;
    EXPECT_TRUE(read.IsEmpty()) << c.name;
  }
  // Every cut-off prefix is refused, never read past.
  for (std::size_t length = 1; length < good.size(); ++length) {
    TDib read;
    EXPECT_FALSE(ReadBmp(std::span(good.data(), length), read).Ok()) << length;
  }
}

TEST(BmpFile, FilesByPath) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("bw-bmp-" + std::to_string(std::random_device{}()) + ".bmp");
  const TDib dib = Pattern(4, 4, 4);
  ASSERT_TRUE(WriteBmpFile(path.string(), dib).Ok());
  TDib read;
  EXPECT_TRUE(ReadBmpFile(path.string(), read).Ok());
  EXPECT_EQ(read.Pixels(), dib.Pixels());
  std::filesystem::remove(path);
  EXPECT_EQ(ReadBmpFile(path.string(), read).Status, TBmpStatus::OpenFailed);
}

}  // namespace
}  // namespace bw::core
