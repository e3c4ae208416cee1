#include "tools/skinpack/SkinPack.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "skin/data/ByteStream.h"
#include "skin/data/SkinRead.h"

namespace bw::tools {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const fs::path kFixtureFolder = fs::path(BW_SOURCE_DIR) / "tests" / "fixtures" / "skins" / "tiny";

class TTempFolder {
 public:
  TTempFolder() : FPath(fs::temp_directory_path() / ("bw-skinpack-" + std::to_string(std::random_device()()))) {
    fs::create_directories(FPath);
  }
  ~TTempFolder() {
    std::error_code ec;
    fs::remove_all(FPath, ec);
  }
  std::string operator/(const std::string& name) const { return (FPath / name).string(); }
  const fs::path& Path() const { return FPath; }

 private:
  fs::path FPath;
};

Bytes FileBytes(const fs::path& file) {
  Bytes bytes;
  std::string error;
  EXPECT_TRUE(bw::skin::ReadWholeFile(file.string(), bytes, error)) << error;
  return bytes;
}

void WriteText(const std::string& file, const std::string& text) {
  std::string error;
  ASSERT_TRUE(bw::skin::WriteWholeFile(file, Bytes(text.begin(), text.end()), error)) << error;
}

struct TRun {
  int exitCode;
  std::string out;
  std::string err;
};

TRun Skinpack(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int code = RunSkinpack(args, out, err);
  return {code, out.str(), err.str()};
}

// The fixture is packed by the build with the native skinpack, as the program's skins are.
TEST(SkinpackBuild, PackedFixtureGivesBackEveryNamedFileByteForByte) {
  bw::skin::TSkinReader reader;
  ASSERT_TRUE(reader.loadfromfile(BW_PACKED_FIXTURE)) << reader.LastError();
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"tiny.ini", "tiny.ini"}, {"border-left.bmp", "border-left.bmp"},
      {"caption.bmp", "caption.bmp"}, {"check.bmp", "Check.bmp"}};
  ASSERT_EQ(reader.Count(), static_cast<int>(expected.size()));
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(reader.EntryName(static_cast<int>(i)), expected[i].first);
    bw::skin::TMemoryStream entry;
    reader.readfile(expected[i].first, entry);
    EXPECT_EQ(entry.Bytes(), FileBytes(kFixtureFolder / expected[i].second)) << expected[i].first;
  }
}

TEST(SkinpackBuild, BuildListExtractRoundTrip) {
  TTempFolder temp;
  const TRun build = Skinpack({"build", kFixtureFolder.string(), temp / "tiny.skn"});
  ASSERT_EQ(build.exitCode, 0) << build.err;
  EXPECT_EQ(FileBytes(temp / "tiny.skn"), FileBytes(BW_PACKED_FIXTURE));

  const TRun list = Skinpack({"list", temp / "tiny.skn"});
  ASSERT_EQ(list.exitCode, 0) << list.err;
  EXPECT_NE(list.out.find("574\tcheck.bmp\n"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("4 entries, 1070 bytes"), std::string::npos) << list.out;

  const TRun extract = Skinpack({"extract", temp / "tiny.skn", temp / "out/nested"});
  ASSERT_EQ(extract.exitCode, 0) << extract.err;
  for (const char* name : {"tiny.ini", "border-left.bmp", "caption.bmp"}) {
    EXPECT_EQ(FileBytes(temp.Path() / "out/nested" / name), FileBytes(kFixtureFolder / name)) << name;
  }
  EXPECT_EQ(FileBytes(temp.Path() / "out/nested/check.bmp"), FileBytes(kFixtureFolder / "Check.bmp"));
  EXPECT_FALSE(fs::exists(temp.Path() / "out/nested/README"));
}

TEST(SkinpackBuild, StreamIsTheContainerBehindItsLength) {
  TTempFolder temp;
  ASSERT_EQ(Skinpack({"stream", kFixtureFolder.string(), temp / "tiny.stream"}).exitCode, 0);
  const Bytes container = FileBytes(BW_PACKED_FIXTURE);
  const Bytes stream = FileBytes(temp / "tiny.stream");
  ASSERT_EQ(stream.size(), container.size() + 4);
  const std::uint32_t length = stream[0] | (stream[1] << 8) | (stream[2] << 16) | (stream[3] << 24);
  EXPECT_EQ(length, container.size());
  EXPECT_TRUE(std::equal(container.begin(), container.end(), stream.begin() + 4));
}

TEST(SkinpackBuild, RefusesFoldersThatAreNotWholeSkins) {
  TTempFolder temp;
  fs::create_directories(temp.Path() / "noini");
  fs::create_directories(temp.Path() / "missing");
  WriteText(temp / "missing/skin.ini", "[Personality]\nLeft=left.bmp\n");
  fs::create_directories(temp.Path() / "notbmp");
  WriteText(temp / "notbmp/skin.ini", "[Personality]\nLeft=left.bmp\n");
  WriteText(temp / "notbmp/left.bmp", "GIF89a");
  fs::create_directories(temp.Path() / "escape");
  WriteText(temp / "escape/skin.ini", "[Personality]\nLeft=../left.bmp\n");
  fs::create_directories(temp.Path() / "twoini");
  WriteText(temp / "twoini/a.ini", "");
  WriteText(temp / "twoini/b.INI", "");
  const struct {
    const char* folder;
    const char* complaint;
  } cases[] = {{"absent", "not a folder"},     {"noini", "0 .ini files"},   {"twoini", "2 .ini files"},
               {"missing", "left.bmp"},        {"notbmp", "no BM"},         {"escape", "not a plain file name"}};
  for (const auto& c : cases) {
    const TRun run = Skinpack({"build", temp / c.folder, temp / "out.skn"});
    EXPECT_EQ(run.exitCode, 1) << c.folder;
    EXPECT_NE(run.err.find(c.complaint), std::string::npos) << c.folder << ": " << run.err;
    EXPECT_FALSE(fs::exists(temp.Path() / "out.skn")) << c.folder;
  }
  const TRun unwritable = Skinpack({"build", kFixtureFolder.string(), temp / "no/such/folder/out.skn"});
  EXPECT_EQ(unwritable.exitCode, 1);
  EXPECT_NE(unwritable.err.find("Cannot create file"), std::string::npos) << unwritable.err;
}

TEST(SkinpackExtract, SkipsNamesThatWouldEscapeOrRepeat) {
  TTempFolder temp;
  const Bytes container = bw::skin::BuildSkinContainer(
      {{"../evil.bmp", {'B', 'M'}}, {"good.bmp", {'B', 'M', '1'}}, {"GOOD.bmp", {'B', 'M', '2'}}, {"", {}}});
  std::string error;
  ASSERT_TRUE(bw::skin::WriteWholeFile(temp / "odd.skn", bw::skin::PackFramedBytes(container), error));
  const TRun run = Skinpack({"extract", temp / "odd.skn", temp / "out"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(FileBytes(temp.Path() / "out/good.bmp"), (Bytes{'B', 'M', '1'}));
  EXPECT_FALSE(fs::exists(temp.Path() / "evil.bmp"));
  EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path() / "out"), fs::directory_iterator()), 1);
}

TEST(SkinpackLzh, PackUnpackAndRefusals) {
  TTempFolder temp;
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "Line " + std::to_string(i % 37) + "=value\r\n";
  WriteText(temp / "plain.txt", text);
  ASSERT_EQ(Skinpack({"lzh-pack", temp / "plain.txt", temp / "packed.lzh"}).exitCode, 0);
  const Bytes packed = FileBytes(temp.Path() / "packed.lzh");
  EXPECT_LT(packed.size(), text.size() / 4);
  ASSERT_EQ(text.size(), 29458u);
  EXPECT_EQ(Bytes(packed.begin(), packed.begin() + 4), (Bytes{0x12, 0x73, 0x00, 0x00}));
  ASSERT_EQ(Skinpack({"lzh-unpack", temp / "packed.lzh", temp / "back.txt"}).exitCode, 0);
  EXPECT_EQ(FileBytes(temp.Path() / "back.txt"), Bytes(text.begin(), text.end()));

  WriteText(temp / "negative.lzh", "\xFF\xFF\xFF\xFF\x01");
  const TRun negative = Skinpack({"lzh-unpack", temp / "negative.lzh", temp / "x"});
  EXPECT_EQ(negative.exitCode, 1);
  EXPECT_NE(negative.err.find("negative"), std::string::npos) << negative.err;
  EXPECT_EQ(Skinpack({"lzh-pack", temp / "absent", temp / "x"}).exitCode, 1);
  EXPECT_EQ(Skinpack({"list", temp / "plain.txt"}).exitCode, 1);
  EXPECT_EQ(Skinpack({"list", temp / "absent"}).exitCode, 1);
  EXPECT_FALSE(fs::exists(temp.Path() / "x"));
}

TEST(SkinpackHardening, CutStreamsAreErrorsAndNothingIsWrittenPastTheStatedSize) {
  TTempFolder temp;
  const Bytes packed = FileBytes(BW_PACKED_FIXTURE);
  std::string error;
  ASSERT_TRUE(bw::skin::WriteWholeFile(temp / "half.skn", Bytes(packed.begin(), packed.begin() + packed.size() / 2), error));
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"list", temp / "half.skn"}, {"extract", temp / "half.skn", temp / "out"},
        {"lzh-unpack", temp / "half.skn", temp / "half.bin"}}) {
    const TRun run = Skinpack(args);
    EXPECT_EQ(run.exitCode, 1) << args[0] << ": " << run.out;
    EXPECT_NE(run.err.find("stream ended"), std::string::npos) << args[0] << ": " << run.err;
  }
  EXPECT_FALSE(fs::exists(temp / "half.bin"));
  // The skin reader refuses it and keeps what it had.
  bw::skin::TSkinReader reader;
  reader.SetNotice(nullptr);
  ASSERT_TRUE(reader.loadfromfile(BW_PACKED_FIXTURE));
  const int entries = reader.Count();
  EXPECT_FALSE(reader.loadfromfile(temp / "half.skn"));
  EXPECT_EQ(reader.Count(), entries);
}

TEST(SkinpackHardening, InputsAreReadWithinTheFormatsLimits) {
  TTempFolder temp;
  // An endless input: a zero size needs 20 bytes at most, and a list of it fails cleanly.
  EXPECT_EQ(Skinpack({"lzh-unpack", "/dev/zero", temp / "zero.bin"}).exitCode, 0);
  EXPECT_EQ(fs::file_size(temp / "zero.bin"), 0u);
  EXPECT_EQ(Skinpack({"list", "/dev/zero"}).exitCode, 1);
  const TRun endless = Skinpack({"lzh-pack", "/dev/zero", temp / "zero.lzh"});
  EXPECT_EQ(endless.exitCode, 1);
  EXPECT_NE(endless.err.find("268435456"), std::string::npos) << endless.err;
  EXPECT_FALSE(fs::exists(temp / "zero.lzh"));
}

TEST(SkinpackHardening, PackingRefusesWhatUnpackingWouldRefuse) {
  TTempFolder temp;
  {
    std::ofstream(temp / "big.bin", std::ios::binary).put('x');
  }
  fs::resize_file(temp / "big.bin", std::uintmax_t{300} << 20);
  const TRun pack = Skinpack({"lzh-pack", temp / "big.bin", temp / "big.lzh"});
  EXPECT_EQ(pack.exitCode, 1);
  EXPECT_NE(pack.err.find("268435456 bytes, the most lzh-unpack accepts"), std::string::npos) << pack.err;
  EXPECT_FALSE(fs::exists(temp / "big.lzh"));
  fs::remove(temp / "big.bin");

  // A skin folder with a 70 MiB bitmap: the skin reader takes 64 MiB at most.
  fs::create_directory(temp.Path() / "skin");
  WriteText(temp / "skin/skin.ini", "[Form]\nCaption=huge.bmp\n");
  {
    std::ofstream(temp / "skin/huge.bmp", std::ios::binary).write("BM", 2);
  }
  fs::resize_file(temp / "skin/huge.bmp", std::uintmax_t{70} << 20);
  const TRun build = Skinpack({"build", temp / "skin", temp / "huge.skn"});
  EXPECT_EQ(build.exitCode, 1);
  EXPECT_NE(build.err.find("67108864"), std::string::npos) << build.err;
  EXPECT_FALSE(fs::exists(temp / "huge.skn"));
}

TEST(SkinpackUsage, BadCommandLinesExitWithUsage) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"pack"}, {"build", "only-one"}, {"list"}, {"list", "a", "b"}, {"lzh-unpack", "a"}}) {
    const TRun run = Skinpack(args);
    EXPECT_EQ(run.exitCode, 2) << args.size();
    EXPECT_NE(run.err.find("usage: skinpack"), std::string::npos);
  }
}

}  // namespace
}  // namespace bw::tools
