// brindlewick-extract --structure on the sample presentations and on sources it falls
// back from.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "tools/extract/ExtractCommand.h"
#include "tools/extract/PreviewCheck.h"

namespace bw::tools {
namespace {

namespace fs = std::filesystem;
using TBytes = std::vector<std::uint8_t>;

TBytes ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return TBytes(std::istreambuf_iterator<char>(in), {});
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class StructureCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FRoot = fs::temp_directory_path() / ("bw-structure-cli-" + std::to_string(std::random_device{}()));
    fs::create_directories(FRoot);
  }
  void TearDown() override {
    std::error_code error;
    fs::remove_all(FRoot, error);
  }
  int Run(const std::vector<std::string>& args) {
    std::istringstream in;
    FErr.str("");
    FOut.str("");
    return RunExtractCommand(args, "EN", {&in, &FErr, false, false}, FOut, nullptr);
  }
  std::vector<fs::path> Files(const fs::path& folder, const std::string& extension) const {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (entry.path().extension() == extension) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
  }
  fs::path FRoot;
  std::ostringstream FErr, FOut;
};

TEST_F(StructureCommandTest, SamplePresentationsComeOutWhole) {
  struct TSample {
    const char* Name;
    int Pictures;
    int Sounds;
  };
  const TSample samples[] = {{"sample_mixed.ppt", 3, 1}, {"sample_gallery.pps", 24, 0}, {"sample_sounds.ppt", 2, 3}};
  for (const TSample& sample : samples) {
    SCOPED_TRACE(sample.Name);
    const fs::path source = FRoot / sample.Name;
    fs::copy_file(fs::path(BW_SOURCE_DIR) / "tests/fixtures" / sample.Name, source);
    const fs::path folder = FRoot / source.stem();
    const fs::path rawFolder = FRoot / "raw" / source.stem();

    // The raw scan first, into a folder of its own, to compare the sounds with.
    fs::create_directories(FRoot / "raw");
    fs::copy_file(source, FRoot / "raw" / sample.Name);
    ASSERT_EQ(Run({"--quiet", (FRoot / "raw" / sample.Name).string()}), kExitOk) << FErr.str();

    ASSERT_EQ(Run({"--structure", "--json", source.string()}), kExitOk) << FErr.str();
    const std::string json = FOut.str();
    EXPECT_NE(json.find("\"mode\": \"structure\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"pictures\": " + std::to_string(sample.Pictures) + ", \"sounds\": " +
                        std::to_string(sample.Sounds)),
              std::string::npos)
        << json;
    EXPECT_EQ(Count(json, "\"raw\": \""), static_cast<std::size_t>(sample.Pictures + sample.Sounds));

    // Every picture is one the desktop program's decoders read.
    std::size_t pictures = 0;
    for (const auto& [extension, kind] : {std::pair{".jpg", extract::TItemKind::Jpeg}, {".png", extract::TItemKind::Png}}) {
      for (const fs::path& file : Files(folder, extension)) {
        EXPECT_TRUE(PictureDecodes(kind, file.string())) << file;
        ++pictures;
      }
    }
    EXPECT_EQ(pictures, static_cast<std::size_t>(sample.Pictures));
    // Every sound the raw scan finds is found again: the same bytes, without the one byte
    // the raw carve adds behind a RIFF chunk.
    const std::vector<fs::path> rawSounds = Files(rawFolder, ".wav");
    const std::vector<fs::path> sounds = Files(folder, ".wav");
    ASSERT_EQ(sounds.size(), rawSounds.size());
    for (std::size_t i = 0; i < sounds.size(); ++i) {
      TBytes raw = ReadAll(rawSounds[i]);
      ASSERT_FALSE(raw.empty());
      raw.pop_back();
      EXPECT_EQ(ReadAll(sounds[i]), raw) << sounds[i];
    }
  }
}

TEST_F(StructureCommandTest, NoCompoundFileFallsBackToTheRawScanAndSaysSo) {
  const fs::path source = FRoot / "loose.ppt";
  TBytes bytes(100, 0x11);
  const TBytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0xFF, 0xD9};
  bytes.insert(bytes.end(), jpeg.begin(), jpeg.end());
  std::ofstream(source, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
  // The stand-in is no decodable picture: the raw scan finds it and its check deletes it.
  EXPECT_EQ(Run({"--structure", "--json", source.string()}), kExitOk);
  EXPECT_NE(FErr.str().find("loose.ppt: not a compound file; the raw scan runs instead"), std::string::npos)
      << FErr.str();
  EXPECT_NE(FOut.str().find("\"mode\": \"raw\", \"fallback\": \"not a compound file\""), std::string::npos)
      << FOut.str();
  // --quiet keeps the note off the terminal.
  EXPECT_EQ(Run({"--structure", "--quiet", "--yes", source.string()}), kExitOk);
  EXPECT_EQ(FErr.str(), "");
}

}  // namespace
}  // namespace bw::tools
