#include "framework/core/JpegCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/PictureMake.h"

namespace bw::core {
namespace {

namespace fs = std::filesystem;
using TBytes = std::vector<std::uint8_t>;

// A pattern with detail in every block, so the entropy-coded data is worth damaging.
TBytes Encode(const test::TJpegSpec& spec) {
  const std::size_t rowBytes = static_cast<std::size_t>(spec.WidthPx * spec.Components);
  TBytes pixels(rowBytes * static_cast<std::size_t>(spec.HeightPx));
  for (std::size_t y = 0; y < static_cast<std::size_t>(spec.HeightPx); ++y) {
    for (std::size_t i = 0; i < rowBytes; ++i) {
      pixels[y * rowBytes + i] = static_cast<std::uint8_t>((i * 37 + y * 11) ^ (i >> 3));
    }
  }
  return test::EncodeJpeg(spec, pixels);
}

bool FullDecodeShows(const TBytes& bytes) {
  TDib dib;
  return DecodeJpeg(bytes, dib).Ok();
}

bool CheckShows(const TBytes& bytes) { return CheckJpeg(bytes).Status == TJpegCheckStatus::Decodes; }

// The full decode's status for the check's verdict, so that a refusal by the limits and a
// decoder error are told apart too.
TJpegStatus AsDecodeStatus(TJpegCheckStatus status) {
  switch (status) {
    case TJpegCheckStatus::Decodes: return TJpegStatus::Ok;
    case TJpegCheckStatus::Fails: return TJpegStatus::DecodeFailed;
    case TJpegCheckStatus::TooLarge: return TJpegStatus::TooLarge;
    case TJpegCheckStatus::OutOfMemory: return TJpegStatus::OutOfMemory;
    case TJpegCheckStatus::OpenFailed: return TJpegStatus::OpenFailed;
  }
  return TJpegStatus::DecodeFailed;
}

TBytes ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return TBytes(std::istreambuf_iterator<char>(in), {});
}

TEST(JpegCheck, SameVerdictAsTheFullDecodeOnGoodCutAndDamagedPictures) {
  const test::TJpegSpec shapes[] = {
      {67, 45, 3, 80, false, 0, 2}, {40, 24, 1, 80, false, 0, 1}, {53, 37, 3, 80, true, 0, 2},
      {64, 48, 3, 80, false, 1, 1}, {33, 17, 4, 80, false, 0, 1}, {48, 40, 1, 80, true, 2, 1},
  };
  int cases = 0, shown = 0;
  for (const test::TJpegSpec& shape : shapes) {
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

// Sample pictures, encoder variants and fuzzer finds, whole and with damaged copies.
TEST(JpegCheck, SameVerdictAsTheFullDecodeOverTheCorpus) {
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
    const TJpegCheck check = CheckJpeg(bytes);
    EXPECT_EQ(full.Status, AsDecodeStatus(check.Status))
        << what << ": full \"" << full.Reason << "\", check \"" << check.Reason << "\"";
    // The preview's fitted decode (here at 1/8 and 1/2) must not change the verdict either.
    for (const TJpegFit fit : {TJpegFit{1, 1}, TJpegFit{(check.WidthPx + 3) / 4, (check.HeightPx + 3) / 4}}) {
      TDib fitted;
      EXPECT_EQ(DecodeJpeg(bytes, fitted, fit).Status, full.Status) << what << " fitted to " << fit.WidthPx;
    }
    (full.Ok() ? decoded : refused) += 1;
  };
  for (const fs::path& file : files) {
    const TBytes bytes = ReadAll(file);
    const std::string name = file.filename().string();
    compare(bytes, name);
    // Cut at spread points, and single bytes changed through the headers and the data.
    for (std::size_t k = 1; k < 8; ++k) {
      compare(TBytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() * k / 8)), name + " cut");
    }
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

TEST(JpegCheck, DeclaredGiantsAreCheckedAtTheCostOfTheirData) {
  // The header of an 8000 x 8000 picture with a few bytes of data: the full decode fills
  // 64 megapixels of grey and shows it; the check says the same from the data it has.
  TBytes giant = Encode({16, 16, 3, 80, false, 0, 2});
  test::DeclareJpegSize(giant, 8000, 8000);
  const TJpegCheck check = CheckJpeg(giant);
  EXPECT_EQ(check.Status, TJpegCheckStatus::Decodes) << check.Reason;
  EXPECT_EQ(check.WidthPx, 8000u);
  EXPECT_EQ(check.HeightPx, 8000u);
  EXPECT_TRUE(FullDecodeShows(giant));

  // Over the pixel limit: refused from the header, like the full decode.
  TBytes over = giant;
  test::DeclareJpegSize(over, 0xFF40, 0xFF40);
  EXPECT_EQ(CheckJpeg(over).Status, TJpegCheckStatus::TooLarge);
  EXPECT_EQ(CheckJpeg({}).Status, TJpegCheckStatus::Fails);
  EXPECT_EQ(CheckJpegFile("/nonexistent/x.jpg").Status, TJpegCheckStatus::OpenFailed);
}

}  // namespace
}  // namespace bw::core
