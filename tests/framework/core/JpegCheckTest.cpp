#include "framework/core/JpegCheck.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace bw::core {
namespace {

using TBytes = std::vector<std::uint8_t>;

struct TJpegShape {
  int WidthPx;
  int HeightPx;
  int Components;  // 1 grey, 3 colour, 4 CMYK
  bool Progressive;
  int RestartRows;
  int LumaSampling;  // horizontal and vertical factor of the first component
};

TBytes Encode(const TJpegShape& shape) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long bufferBytes = 0;
  jpeg_mem_dest(&info, &buffer, &bufferBytes);
  info.image_width = static_cast<JDIMENSION>(shape.WidthPx);
  info.image_height = static_cast<JDIMENSION>(shape.HeightPx);
  info.input_components = shape.Components;
  info.in_color_space = shape.Components == 1 ? JCS_GRAYSCALE : shape.Components == 3 ? JCS_RGB : JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 80, TRUE);
  info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = shape.LumaSampling;
  info.restart_in_rows = shape.RestartRows;
  if (shape.Progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(shape.WidthPx * shape.Components));
  while (info.next_scanline < info.image_height) {
    for (std::size_t i = 0; i < row.size(); ++i) row[i] = static_cast<unsigned char>((i * 37 + info.next_scanline * 11) ^ (i >> 3));
    JSAMPROW rowPointer = row.data();
    jpeg_write_scanlines(&info, &rowPointer, 1);
  }
  jpeg_finish_compress(&info);
  TBytes bytes(buffer, buffer + bufferBytes);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return bytes;
}

bool FullDecodeShows(const TBytes& bytes) {
  TDib dib;
  return DecodeJpeg(bytes, dib).Ok();
}

bool CheckShows(const TBytes& bytes) { return CheckJpeg(bytes).Status == TJpegCheckStatus::Decodes; }

TEST(JpegCheck, SameVerdictAsTheFullDecodeOnGoodCutAndDamagedPictures) {
  const TJpegShape shapes[] = {
      {67, 45, 3, false, 0, 2}, {40, 24, 1, false, 0, 1}, {53, 37, 3, true, 0, 2},
      {64, 48, 3, false, 1, 1}, {33, 17, 4, false, 0, 1}, {48, 40, 1, true, 2, 1},
  };
  int cases = 0, shown = 0;
  for (const TJpegShape& shape : shapes) {
    const TBytes good = Encode(shape);
    SCOPED_TRACE(testing::Message() << shape.WidthPx << "x" << shape.HeightPx << " c" << shape.Components
                                    << (shape.Progressive ? " progressive" : ""));
    ASSERT_TRUE(FullDecodeShows(good));
    EXPECT_TRUE(CheckShows(good));
    for (std::size_t keep = 0; keep < good.size(); keep += 7) {
      TBytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(keep));
      EXPECT_EQ(CheckShows(cut), FullDecodeShows(cut)) << "cut to " << keep;
      ++cases;
      shown += CheckShows(cut);
      // Cut again inside a table segment that follows the data: the file ends in it.
      cut.insert(cut.end(), {0xFF, 0xDB, 0x00, 0x43});
      EXPECT_EQ(CheckShows(cut), FullDecodeShows(cut)) << "cut to " << keep << " + a cut table";
      ++cases;
    }
    for (std::size_t at = 2; at < good.size(); at += 5) {
      for (const std::uint8_t flip : {0x01, 0x80, 0xFF}) {
        TBytes damaged = good;
        damaged[at] ^= flip;
        EXPECT_EQ(CheckShows(damaged), FullDecodeShows(damaged)) << "byte " << at << " ^ " << int{flip};
        ++cases;
        shown += CheckShows(damaged);
      }
    }
  }
  // Both verdicts occur, so the comparison means something.
  EXPECT_GT(shown, cases / 10);
  EXPECT_LT(shown, cases);
}

TEST(JpegCheck, DeclaredGiantsAreCheckedAtTheCostOfTheirData) {
  // The header of an 8000 x 8000 picture with a few bytes of data: the full decode fills
  // 64 megapixels of grey and shows it; the check says the same from the data it has.
  TBytes giant = Encode({16, 16, 3, false, 0, 2});
  for (std::size_t i = 0; i + 8 < giant.size(); ++i) {
    if (giant[i] == 0xFF && giant[i + 1] == 0xC0) {
      giant[i + 5] = 8000 >> 8, giant[i + 6] = 8000 & 0xFF, giant[i + 7] = 8000 >> 8, giant[i + 8] = 8000 & 0xFF;
      break;
    }
  }
  const TJpegCheck check = CheckJpeg(giant);
  EXPECT_EQ(check.Status, TJpegCheckStatus::Decodes) << check.Reason;
  EXPECT_EQ(check.WidthPx, 8000u);
  EXPECT_EQ(check.HeightPx, 8000u);
  EXPECT_TRUE(FullDecodeShows(giant));

  // Over the pixel limit: refused from the header, like the full decode.
  TBytes over = giant;
  for (std::size_t i = 0; i + 8 < over.size(); ++i) {
    if (over[i] == 0xFF && over[i + 1] == 0xC0) {
      over[i + 5] = over[i + 7] = 0xFF;
      break;
    }
  }
  EXPECT_EQ(CheckJpeg(over).Status, TJpegCheckStatus::TooLarge);
  EXPECT_EQ(CheckJpeg({}).Status, TJpegCheckStatus::Fails);
  EXPECT_EQ(CheckJpegFile("/nonexistent/x.jpg").Status, TJpegCheckStatus::OpenFailed);
}

}  // namespace
}  // namespace bw::core
