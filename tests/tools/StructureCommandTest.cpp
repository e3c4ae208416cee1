// brindlewick-extract --structure on the sample presentations and on sources it falls
// back from.
#include <gtest/gtest.h>
#include <zlib.h>

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
        EXPECT_EQ(CheckPicture(kind, file.string()), TPictureVerdict::Shows) << file;
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
  EXPECT_NE(FErr.str().find("loose.ppt: not a compound file or zip container; the raw scan runs instead"), std::string::npos)
      << FErr.str();
  EXPECT_NE(FOut.str().find("\"mode\": \"raw\", \"fallback\": \"not a compound file or zip container\""), std::string::npos)
      << FOut.str();
  // --quiet keeps the note off the terminal.
  EXPECT_EQ(Run({"--structure", "--quiet", "--yes", source.string()}), kExitOk);
  EXPECT_EQ(FErr.str(), "");
}

TEST_F(StructureCommandTest, ExactNamesAndOneBaseNameTwiceAsInTheRawScan) {
  // Twice in one call: the second source must not write over the first's files. On POSIX
  // the name is no UTF-8 too, and the JSON names the files by their exact bytes (Windows
  // names are always characters).
#ifdef _WIN32
  const std::string stem = "talk";
#else
  const std::string stem = "t\xFFk";
#endif
  for (const char* extension : {".ppt", ".pps"}) {
    fs::copy_file(fs::path(BW_SOURCE_DIR) / "tests/fixtures/sample_mixed.ppt", FRoot / (stem + extension));
  }
  EXPECT_EQ(Run({"--structure", "--json", "--yes", (FRoot / (stem + ".ppt")).string(), (FRoot / (stem + ".pps")).string()}),
            kExitFailed);
  EXPECT_NE(FErr.str().find("earlier source of this command"), std::string::npos) << FErr.str();
  const std::string json = FOut.str();
  EXPECT_NE(json.find("\"status\": \"refused\""), std::string::npos) << json;
  EXPECT_EQ(Files(FRoot / stem, ".jpg").size() + Files(FRoot / stem, ".png").size(), 3u);
#ifndef _WIN32
  const std::string key = "\"pathHex\": \"";
  std::size_t files = 0;
  for (std::size_t at = json.find(key); at != std::string::npos; at = json.find(key, at + 1), ++files) {
    const std::size_t from = at + key.size();
    const std::string hex = json.substr(from, json.find('"', from) - from);
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    EXPECT_TRUE(fs::is_regular_file(bytes)) << bytes;
  }
  EXPECT_EQ(files, 4u);  // the first source's three pictures and its sound
#endif
}

// The office suite's .pptx (media deflated) and .odp (media stored) of sample_mixed.ppt:
// every medium comes out with the size and CRC-32 that `unzip -lv` lists for its entry.
TEST_F(StructureCommandTest, ZipSamplesComeOutByteExact) {
  struct TMedium {
    const char* File;
    std::uint64_t SizeBytes;
    std::uint32_t Crc;
  };
  struct TSample {
    const char* Name;
    const char* Folder;  // the four-character rule leaves the dot of a .pptx
    const char* Method;
    std::vector<TMedium> Media;
  };
  const TSample samples[] = {
      {"sample_mixed.pptx", "sample_mixed.", "deflated",
       {{"sample_mixed._001.jpeg", 8177, 0x5e7ea75f},
        {"sample_mixed._002.png", 8910, 0xb761578c},
        {"sample_mixed._003.png", 6108, 0x47d5c7ea},
        {"sample_mixed._001.wav", 8044, 0x4f1535d1}}},
      {"sample_mixed.odp", "sample_mixed", "stored",
       {{"sample_mixed_001.png", 6108, 0x47d5c7ea},
        {"sample_mixed_002.png", 8910, 0xb761578c},
        {"sample_mixed_003.jpg", 8177, 0x5e7ea75f}}},
  };
  for (const TSample& sample : samples) {
    SCOPED_TRACE(sample.Name);
    // Folders of their own: Windows drops the trailing dot, and "sample_mixed." is "sample_mixed" there.
    const fs::path where = FRoot / sample.Method;
    fs::create_directories(where);
    const fs::path source = where / sample.Name;
    fs::copy_file(fs::path(BW_SOURCE_DIR) / "tests/fixtures" / sample.Name, source);
    ASSERT_EQ(Run({"--structure", "--json", source.string()}), kExitOk) << FErr.str();
    const std::string json = FOut.str();
    EXPECT_NE(json.find("\"mode\": \"structure\", \"container\": \"zip\""), std::string::npos) << json;
    EXPECT_EQ(Count(json, "\"method\": \"" + std::string(sample.Method) + "\""), sample.Media.size()) << json;
    EXPECT_EQ(Count(json, "\"entry\": \""), sample.Media.size());
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(where / sample.Folder)) files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, sample.Media.size());
    for (const TMedium& medium : sample.Media) {
      const TBytes bytes = ReadAll(where / sample.Folder / medium.File);
      EXPECT_EQ(bytes.size(), medium.SizeBytes) << medium.File;
      EXPECT_EQ(crc32(0, bytes.data(), static_cast<uInt>(bytes.size())), medium.Crc) << medium.File;
    }
  }
  EXPECT_NE(FOut.str().find("\"entry\": \"Pictures/1000000000000032000000282F4EA0FA709A5583.png\""),
            std::string::npos);
}

TEST_F(StructureCommandTest, TheRawScanSaysWhenStructureWouldRecoverMore) {
  struct TCase {
    const char* Name;
    const char* Fixture;
    const char* Line;  // empty: no line
    const char* Container;
  };
  const TCase cases[] = {
      {"deck.pptx", "sample_mixed.pptx", "deck.pptx: a zip container; --structure recovers every medium whole\n", "zip"},
      {"talk.ppt", "sample_mixed.ppt", "talk.ppt: a compound file; --structure recovers every medium whole\n",
       "compound"},
      {"loose.bin", nullptr, "", "none"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const fs::path source = FRoot / c.Name;
    if (c.Fixture != nullptr) {
      fs::copy_file(fs::path(BW_SOURCE_DIR) / "tests/fixtures" / c.Fixture, source);
    } else {
      std::ofstream(source, std::ios::binary) << std::string(300, 'x');
    }
    EXPECT_EQ(Run({"--yes", source.string()}), kExitOk);
    EXPECT_EQ(Count(FErr.str(), "--structure"), std::string(c.Line).empty() ? 0u : 1u) << FErr.str();
    EXPECT_NE(FErr.str().find(c.Line), std::string::npos) << FErr.str();
    // Neither --quiet nor --json says it on the terminal; the report carries it.
    EXPECT_EQ(Run({"--yes", "--quiet", source.string()}), kExitOk);
    EXPECT_EQ(FErr.str(), "");
    EXPECT_EQ(Run({"--yes", "--json", source.string()}), kExitOk);
    EXPECT_EQ(FErr.str(), "");
    EXPECT_NE(FOut.str().find("\"mode\": \"raw\", \"container\": \"" + std::string(c.Container) + "\""),
              std::string::npos)
        << FOut.str();
  }
}

}  // namespace
}  // namespace bw::tools
