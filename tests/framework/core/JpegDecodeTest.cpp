#include "framework/core/JpegDecode.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace bw::core {
namespace {

using TBytes = std::vector<std::uint8_t>;

// Left half red, right half blue.
TBytes EncodeJpeg(int widthPx, int heightPx, bool grey, bool progressive = false) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long bufferBytes = 0;
  jpeg_mem_dest(&info, &buffer, &bufferBytes);
  info.image_width = static_cast<JDIMENSION>(widthPx);
  info.image_height = static_cast<JDIMENSION>(heightPx);
  info.input_components = grey ? 1 : 3;
  info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(widthPx * info.input_components));
  while (info.next_scanline < info.image_height) {
    for (int x = 0; x < widthPx; ++x) {
      if (grey) {
        row[static_cast<std::size_t>(x)] = x < widthPx / 2 ? 40 : 200;
      } else {
        const bool left = x < widthPx / 2;
        row[static_cast<std::size_t>(3 * x)] = left ? 255 : 0;
        row[static_cast<std::size_t>(3 * x + 1)] = 0;
        row[static_cast<std::size_t>(3 * x + 2)] = left ? 0 : 255;
      }
    }
    JSAMPROW rowPointer = row.data();
    jpeg_write_scanlines(&info, &rowPointer, 1);
  }
  jpeg_finish_compress(&info);
  TBytes bytes(buffer, buffer + bufferBytes);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return bytes;
}

void ExpectNear(TRgbQuad actual, TRgbQuad expected) {
  EXPECT_NEAR(actual.Red, expected.Red, 12);
  EXPECT_NEAR(actual.Green, expected.Green, 12);
  EXPECT_NEAR(actual.Blue, expected.Blue, 12);
}

TEST(JpegDecode, ColourAndGreyPicturesBecome24Bits) {
  for (bool progressive : {false, true}) {
    TDib dib;
    const TJpegResult result = DecodeJpeg(EncodeJpeg(32, 16, false, progressive), dib);
    ASSERT_TRUE(result.Ok()) << result.Reason;
    EXPECT_EQ(dib.WidthPx(), 32);
    EXPECT_EQ(dib.HeightPx(), 16);
    EXPECT_EQ(dib.BitCount(), 24);
    ExpectNear(dib.PixelColor(2, 3), {0, 0, 255, 0});
    ExpectNear(dib.PixelColor(29, 12), {255, 0, 0, 0});
  }
  TDib grey;
  ASSERT_TRUE(DecodeJpeg(EncodeJpeg(16, 8, true), grey).Ok());
  ExpectNear(grey.PixelColor(1, 1), {40, 40, 40, 0});
  ExpectNear(grey.PixelColor(14, 1), {200, 200, 200, 0});
}

// The preview's box is 409 x 238: a picture is decoded as coarsely as still fills it.
TEST(JpegDecode, FittedDecodeIsTheCoarsestScaleThatStillFillsTheBox) {
  const TJpegFit box{409, 238};
  EXPECT_EQ(JpegFitDenominator(4000, 3000, box), 8u);  // 500 x 375 shown as 317 x 238
  EXPECT_EQ(JpegFitDenominator(1600, 1200, box), 4u);  // by the height: 952 <= 1200 < 1904
  EXPECT_EQ(JpegFitDenominator(900, 300, box), 2u);    // by the width alone
  EXPECT_EQ(JpegFitDenominator(800, 470, box), 1u);    // half would be stretched up
  EXPECT_EQ(JpegFitDenominator(300, 100, box), 1u);    // shown enlarged
  EXPECT_EQ(JpegFitDenominator(4000, 3000, {}), 1u);
  EXPECT_EQ(JpegFitDenominator(4000, 3000, {409, 0}), 1u);

  for (bool progressive : {false, true}) {
    const TBytes jpeg = EncodeJpeg(200, 60, false, progressive);
    TDib dib;
    const TJpegResult result = DecodeJpeg(jpeg, dib, {25, 25});
    ASSERT_TRUE(result.Ok()) << result.Reason;
    EXPECT_EQ(dib.WidthPx(), 25);
    EXPECT_EQ(dib.HeightPx(), 8);  // 60 / 8 rounded up
    ExpectNear(dib.PixelColor(2, 4), {0, 0, 255, 0});
    ExpectNear(dib.PixelColor(22, 4), {255, 0, 0, 0});
  }
  // A cut stream still shows, a broken header still fails, and the limits are the full size's.
  const TBytes jpeg = EncodeJpeg(64, 64, false);
  TDib dib;
  EXPECT_TRUE(DecodeJpeg(std::span(jpeg.data(), jpeg.size() - 40), dib, {8, 8}).Ok());
  EXPECT_EQ(dib.WidthPx(), 8);
  EXPECT_EQ(DecodeJpeg(std::span(jpeg.data(), 30), dib, {8, 8}).Status, TJpegStatus::DecodeFailed);
}

TEST(JpegDecode, CutShortStreamStillShowsButBrokenHeadersFail) {
  const TBytes jpeg = EncodeJpeg(64, 64, false);
  TDib dib;
  // Missing the end of the scan is a warning of the decoder: the picture shows.
  EXPECT_TRUE(DecodeJpeg(std::span(jpeg.data(), jpeg.size() - 40), dib).Ok());
  EXPECT_EQ(dib.WidthPx(), 64);
  // Cut inside the headers, or not a JPEG at all: errors.
  EXPECT_EQ(DecodeJpeg(std::span(jpeg.data(), 30), dib).Status, TJpegStatus::DecodeFailed);
  EXPECT_TRUE(dib.IsEmpty());
  const TBytes garbage(500, 0x5A);
  const TJpegResult result = DecodeJpeg(garbage, dib);
  EXPECT_EQ(result.Status, TJpegStatus::DecodeFailed);
  EXPECT_FALSE(result.Reason.empty());
  EXPECT_EQ(DecodeJpeg({}, dib).Status, TJpegStatus::DecodeFailed);
  EXPECT_EQ(DecodeJpegFile("/nonexistent/dir/x.jpg", dib).Status, TJpegStatus::OpenFailed);
}

TEST(JpegDecode, HugeDeclaredSizeIsRefusedBeforeDecoding) {
  TBytes jpeg = EncodeJpeg(16, 16, false);
  // Patch the frame header (FF C0) to declare 60000 x 60000 pixels.
  for (std::size_t i = 0; i + 9 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      jpeg[i + 5] = 0xEA;
      jpeg[i + 6] = 0x60;
      jpeg[i + 7] = 0xEA;
      jpeg[i + 8] = 0x60;
      break;
    }
  }
  TDib dib;
  EXPECT_EQ(DecodeJpeg(jpeg, dib).Status, TJpegStatus::TooLarge);
}

}  // namespace
}  // namespace bw::core
