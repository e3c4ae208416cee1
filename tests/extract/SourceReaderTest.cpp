#include "extract/SourceReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "extract/FileIo.h"

namespace bw::extract {
namespace {

namespace fs = std::filesystem;
using TBytes = std::vector<std::uint8_t>;

struct TFillStep {
  std::uint64_t PositionBytes;
  std::size_t WantBytes;
};

// What the caller of one fill could see.
struct TSeen {
  bool Ok;
  std::size_t AvailableBytes;
  std::string ErrorText;
  bool operator==(const TSeen&) const = default;
};

class SourceReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FPath = fs::temp_directory_path() / ("bw-reader-" + std::to_string(std::random_device{}()) + ".bin");
    FContent.resize(300'000);
    std::mt19937 random(7);
    for (auto& byte : FContent) byte = static_cast<std::uint8_t>(random());
    std::ofstream(FPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(FContent.data()), static_cast<std::streamsize>(FContent.size()));
  }
  void TearDown() override {
    std::error_code error;
    fs::remove(FPath, error);
  }

  // Runs the steps on a fresh handle; the file is cut to cutBytes after its size was taken.
  // Every byte handed out must be the source's own.
  std::vector<TSeen> Run(const std::vector<TFillStep>& steps, std::size_t bufferBytes, bool readAhead,
                         std::uint64_t cutBytes) {
    std::FILE* file = OpenFileUtf8(Utf8FromPath(FPath), "rb");
    EXPECT_NE(file, nullptr);
    std::vector<TSeen> seen;
    {
      TSourceReader reader(file, FContent.size(), bufferBytes, readAhead);
      fs::resize_file(FPath, cutBytes);
      for (const TFillStep& step : steps) {
        const bool ok = reader.Fill(step.PositionBytes, step.WantBytes);
        const std::size_t available = reader.AvailableFrom(step.PositionBytes);
        if (ok) {
          const std::uint64_t position = std::min<std::uint64_t>(step.PositionBytes, FContent.size());
          EXPECT_GE(available, std::min<std::uint64_t>(step.WantBytes, FContent.size() - position));
          EXPECT_TRUE(std::equal(reader.At(position), reader.At(position) + available,
                                 FContent.begin() + static_cast<std::ptrdiff_t>(position)))
              << "at " << position;
        }
        seen.push_back({ok, ok ? available : 0, reader.ErrorText()});
        if (!ok) break;
      }
    }
    std::fclose(file);
    std::ofstream(FPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(FContent.data()), static_cast<std::streamsize>(FContent.size()));
    return seen;
  }

  void ExpectSameAsPlainReads(const std::vector<TFillStep>& steps, std::size_t bufferBytes,
                              std::uint64_t cutBytes) {
    const std::vector<TSeen> plain = Run(steps, bufferBytes, false, cutBytes);
    const std::vector<TSeen> ahead = Run(steps, bufferBytes, true, cutBytes);
    EXPECT_EQ(plain, ahead) << "buffer " << bufferBytes << ", cut at " << cutBytes;
  }

  // The scan's own pattern: search to the end of the block, keep three bytes, fill again.
  std::vector<TFillStep> ScanSteps(std::size_t bufferBytes) {
    std::vector<TFillStep> steps;
    std::FILE* file = OpenFileUtf8(Utf8FromPath(FPath), "rb");
    TSourceReader reader(file, FContent.size(), bufferBytes, false);
    for (std::uint64_t pos = 0; pos + 4 <= FContent.size(); pos += reader.AvailableFrom(pos) - 3) {
      steps.push_back({pos, 4});
      EXPECT_TRUE(reader.Fill(pos, 4));
    }
    std::fclose(file);
    return steps;
  }

  fs::path FPath;
  TBytes FContent;
};

TEST_F(SourceReaderTest, ScanningForwardSeesTheBlocksOfPlainReads) {
  for (std::size_t bufferBytes : {std::size_t{64}, std::size_t{5000}, std::size_t{64 * 1024}}) {
    ExpectSameAsPlainReads(ScanSteps(bufferBytes), bufferBytes, FContent.size());
  }
}

TEST_F(SourceReaderTest, CarvesSeekingBackAndJumpingAheadSeeTheBlocksOfPlainReads) {
  std::mt19937 random(11);
  std::vector<TFillStep> steps;
  std::uint64_t pos = 0;
  for (int i = 0; i < 400; ++i) {
    switch (random() % 5) {
      case 0: pos = pos >= 40 ? pos - random() % 40 : 0; break;          // a carve gives up
      case 1: pos += random() % 20'000; break;                             // a long item
      case 2: pos = random() % (FContent.size() + 10); break;              // anywhere, even past the end
      default: pos += 4000 + random() % 200; break;                        // the next block
    }
    steps.push_back({pos, 1 + random() % 41});
  }
  for (std::size_t bufferBytes : {std::size_t{64}, std::size_t{4096}, std::size_t{20'000}}) {
    ExpectSameAsPlainReads(steps, bufferBytes, FContent.size());
  }
}

TEST_F(SourceReaderTest, SourceShrinkingUnderTheReadAheadFailsWhereAPlainReadFails) {
  const std::size_t bufferBytes = 64;
  const std::vector<TFillStep> steps = ScanSteps(bufferBytes);
  // Cuts around the first few block ends, where the worker reads while the caller searches.
  for (std::uint64_t cut : {std::uint64_t{0}, std::uint64_t{3}, std::uint64_t{4157}, std::uint64_t{4160},
                            std::uint64_t{4161}, std::uint64_t{8314}, std::uint64_t{8317}, std::uint64_t{8320},
                            std::uint64_t{12'000}, std::uint64_t{299'999}}) {
    ExpectSameAsPlainReads(steps, bufferBytes, cut);
    const std::vector<TSeen> seen = Run(steps, bufferBytes, true, cut);
    ASSERT_FALSE(seen.empty());
    EXPECT_FALSE(seen.back().Ok) << "cut at " << cut;
    EXPECT_EQ(seen.back().ErrorText, "the file ended before its size");
  }
}

TEST_F(SourceReaderTest, ReaderLeftWithAReadInFlightLetsTheFileGo) {
  std::FILE* file = OpenFileUtf8(Utf8FromPath(FPath), "rb");
  ASSERT_NE(file, nullptr);
  {
    TSourceReader reader(file, FContent.size(), 64);
    ASSERT_TRUE(reader.Fill(0, 4));  // the next block is being read now
  }
  // The handle is the caller's again: no worker moves it any more.
  ASSERT_TRUE(Seek64(file, 100));
  std::uint8_t byte = 0;
  ASSERT_EQ(std::fread(&byte, 1, 1, file), 1u);
  EXPECT_EQ(byte, FContent[100]);
  std::fclose(file);
}

}  // namespace
}  // namespace bw::extract
