#include "extract/SourceReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "extract/FileIo.h"
#include "extract/Scanner.h"

namespace bw::extract {
namespace {

namespace fs = std::filesystem;

class SourceReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FRoot = fs::temp_directory_path() / ("bw-reader-" + std::to_string(std::random_device{}()));
    fs::create_directories(FRoot);
    FPath = FRoot / "source.ppt";
    std::vector<char> bytes(3 << 20);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(0x20 + (i * 7 + i / 4099) % 31);
    std::ofstream(FPath, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    FBytes.assign(bytes.begin(), bytes.end());
  }
  void TearDown() override {
    std::error_code error;
    fs::remove_all(FRoot, error);
  }
  fs::path FRoot, FPath;
  std::vector<std::uint8_t> FBytes;
};

TEST_F(SourceReaderTest, EveryStretchReadsBackAcrossWindowEdges) {
  for (const std::size_t bufferBytes : {std::size_t{64}, std::size_t{5000}, kSourceBufferBytes}) {
    SCOPED_TRACE(bufferBytes);
    std::FILE* file = OpenFileUtf8(FPath.string(), "rb");
    ASSERT_NE(file, nullptr);
    TSourceReader reader(file, FBytes.size(), bufferBytes);
    // Forward steps of odd sizes, as the scan and the carves make them, and a step back.
    std::uint64_t pos = 0;
    for (int step = 0; pos < FBytes.size(); ++step) {
      const std::size_t want = std::min<std::size_t>(1 + step % 41, bufferBytes);
      ASSERT_TRUE(reader.Fill(pos, want)) << reader.ErrorText();
      const std::size_t have = std::min<std::size_t>(reader.AvailableFrom(pos), FBytes.size() - pos);
      ASSERT_GE(have, std::min<std::size_t>(want, FBytes.size() - pos));
      ASSERT_TRUE(std::equal(reader.At(pos), reader.At(pos) + have, FBytes.begin() + static_cast<std::ptrdiff_t>(pos)))
          << "at " << pos;
      pos += step % 5 == 4 && pos > 3 ? have - 3 : have;
    }
    EXPECT_FALSE(reader.Failed());
    std::fclose(file);
  }
}

class TShrinkingHost final : public TRunHost {
 public:
  explicit TShrinkingHost(fs::path path) : FPath(std::move(path)) {}
  void Progress(int) override {}
  void ProcessMessages() override {
    if (Shrunk) return;
    Shrunk = true;
    std::error_code error;
    fs::resize_file(FPath, 1 << 20, error);
    ResizeFailed = static_cast<bool>(error);
  }
  bool ConfirmExistingFolder(const std::string&) override { return true; }
  void FolderCreationFailed(const std::string&) override {}
  bool ShowPreview(TItemKind, const std::string&) override { return true; }
  void ReportError(const TRunError& error) override { Errors.push_back(error.Cause); }
  bool Shrunk = false;
  bool ResizeFailed = false;
  std::vector<std::string> Errors;

 private:
  fs::path FPath;
};

TEST_F(SourceReaderTest, SourceThatShrinksDuringTheScanIsAReadError) {
  for (const std::size_t bufferBytes : {std::size_t{64 << 10}, kSourceBufferBytes}) {
    SCOPED_TRACE(bufferBytes);
    std::ofstream(FPath, std::ios::binary).write(reinterpret_cast<const char*>(FBytes.data()),
                                                 static_cast<std::streamsize>(FBytes.size()));
    TRunState state;
    int errnoValue = 0;
    ASSERT_EQ(BeginRun(state, FPath.string(), errnoValue), TOpenResult::Opened);
    TShrinkingHost host(FPath);
    const TScanResult result = Scan(state, host, bufferBytes);
    state.Source.Close();
    if (host.ResizeFailed) GTEST_SKIP() << "this system does not shrink an open file";
    EXPECT_EQ(result, TScanResult::ReadFailed);
    ASSERT_EQ(host.Errors.size(), 1u);
    EXPECT_EQ(host.Errors[0], "the file ended before its size");
  }
}

}  // namespace
}  // namespace bw::extract
