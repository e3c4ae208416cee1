#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "framework/core/BmpFile.h"
#include "skin/data/ByteStream.h"
#include "tools/skinpack/SkinCheck.h"
#include "tools/skinpack/SkinPack.h"

namespace bw::tools {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const fs::path kSkins = fs::path(BW_SOURCE_DIR) / "assets" / "skins";

struct TRun {
  int exitCode;
  std::string out;
  std::string err;
};

TRun Skinpack(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int code = RunSkinpack(args, out, err);
  return {code, out.str(), err.str()};
}

// A copy of the frost skin's description and bitmaps, to break one rule at a time.
class TSkinCopy {
 public:
  TSkinCopy() : FPath(fs::temp_directory_path() / ("bw-skincheck-" + std::to_string(std::random_device()()))) {
    fs::create_directories(FPath);
    for (const auto& entry : fs::directory_iterator(kSkins / "frost"))
      if (entry.path().extension() == ".bmp" || entry.path().extension() == ".ini")
        fs::copy_file(entry.path(), FPath / entry.path().filename());
  }
  ~TSkinCopy() {
    std::error_code ec;
    fs::remove_all(FPath, ec);
  }
  std::string Folder() const { return FPath.string(); }
  fs::path operator/(const std::string& name) const { return FPath / name; }

  // Replaces the first `from` in skin.ini.
  void EditIni(const std::string& from, const std::string& to) const {
    Bytes bytes;
    std::string error;
    ASSERT_TRUE(bw::skin::ReadWholeFile((FPath / "skin.ini").string(), bytes, error)) << error;
    std::string text(bytes.begin(), bytes.end());
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    ASSERT_TRUE(bw::skin::WriteWholeFile((FPath / "skin.ini").string(), Bytes(text.begin(), text.end()), error));
  }

  // A 24-bit picture of one colour, with pixel (x, y) = spot when x >= 0.
  void WriteBitmap(const std::string& name, int w, int h, core::TRgbQuad fill, int x = -1, int y = -1,
                   core::TRgbQuad spot = {}) const {
    core::TDib dib(w, h, 24);
    for (int row = 0; row < h; ++row)
      for (int col = 0; col < w; ++col) {
        const core::TRgbQuad c = (col == x && row == y) ? spot : fill;
        std::uint8_t* p = dib.RowFromTop(row) + 3 * col;
        p[0] = c.Blue, p[1] = c.Green, p[2] = c.Red;
      }
    ASSERT_TRUE(core::WriteBmpFile((FPath / name).string(), dib).Ok());
  }

 private:
  fs::path FPath;
};

constexpr core::TRgbQuad kGrey{128, 128, 128, 0};
constexpr core::TRgbQuad kKey{255, 0, 255, 0};

TEST(SkinCheck, BothShippedSkinsPass) {
  for (const char* skin : {"oxblood", "frost"}) {
    const TRun run = Skinpack({"check", (kSkins / skin).string()});
    EXPECT_EQ(run.exitCode, 0) << skin << ":\n" << run.out;
    EXPECT_NE(run.out.find(": ok\n"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("not named by"), std::string::npos) << run.out;  // no stray bitmaps either
  }
}

// Each case breaks one rule of a good skin; the report names the file and the rule.
TEST(SkinCheck, EachBrokenRuleIsReportedWithItsFile) {
  struct TCase {
    const char* name;
    void (*breakIt)(const TSkinCopy&);
    std::vector<std::string> expected;  // all on one report line
  };
  const TCase cases[] = {
      {"missing bitmap", [](const TSkinCopy& s) { fs::remove(s / "tab.bmp"); },
       {"skin.ini [Tabs] Image=tab.bmp", "no such file"}},
      {"frames do not divide", [](const TSkinCopy& s) { s.WriteBitmap("button.bmp", 91, 20, kGrey); },
       {"button.bmp", "91x20 does not divide into 5 frames", "[Buttons]"}},
      {"stacked border frames", [](const TSkinCopy& s) { s.EditIni("TopFrame=1", "TopFrame=3"); },
       {"frame-top.bmp", "12x28 does not divide into 3 frames stacked", "TopFrame"}},
      {"no frames", [](const TSkinCopy& s) { s.EditIni("LeftFrame=1", "LeftFrame=0"); },
       {"frame-left.bmp", "0 frames; at least 1"}},
      {"margins too wide", [](const TSkinCopy& s) { s.EditIni("LeftWidth=3\r\nTopHeight=3\r\nRightWidth=3", "LeftWidth=12\r\nTopHeight=3\r\nRightWidth=7"); },
       {"button.bmp", "margins left 12", "do not fit its 18x20 frame"}},
      {"border margins", [](const TSkinCopy& s) { s.EditIni("LeftTopHeight=28", "LeftTopHeight=33"); },
       {"frame-left.bmp", "do not fit its 6x36 frame", "LeftTopHeight"}},
      {"near magenta", [](const TSkinCopy& s) { s.WriteBitmap("group-plate.bmp", 24, 18, kGrey, 5, 6, {255, 1, 254, 0}); },
       {"group-plate.bmp", "1 near-magenta pixel(s), the first at (5, 6)"}},
      {"fringe", [](const TSkinCopy& s) { s.WriteBitmap("group-plate.bmp", 24, 18, kKey, 0, 0, {210, 60, 200, 0}); },
       {"group-plate.bmp", "magenta fringe", "(0, 0)"}},
      {"upper-case extension", [](const TSkinCopy& s) { s.EditIni("Image=tab.bmp", "Image=tab.BMP"); },
       {"[Tabs] Image=tab.BMP", "lower case"}},
      {"directory in a name", [](const TSkinCopy& s) { s.EditIni("Image=tab.bmp", "Image=art\\tab.bmp"); },
       {"[Tabs] Image=art\\tab.bmp", "not a plain file name"}},
      {"not a bitmap", [](const TSkinCopy& s) {
         std::string error;
         ASSERT_TRUE(bw::skin::WriteWholeFile((s / "header.bmp").string(), Bytes{'B', 'M', 1, 2, 3}, error));
       },
       {"header.bmp", "not a bitmap the loader reads"}},
      {"colour text", [](const TSkinCopy& s) { s.EditIni("ButtonFace=238 242 246", "ButtonFace=238 242"); },
       {"skin.ini [Colours] ButtonFace=238 242", "three numbers"}},
      {"border missing", [](const TSkinCopy& s) { s.EditIni("Bottom=frame-bottom.bmp", "; no bottom"); },
       {"[Personality] Bottom", "needs its four borders"}},
      {"tab page too small", [](const TSkinCopy& s) { s.WriteBitmap("tab-page.bmp", 7, 16, kGrey); },
       {"tab-page.bmp", "smaller than the tab page's edges"}},
      {"hidden decoration", [](const TSkinCopy& s) { s.EditIni("Action=4\r\n", "Action=-2\r\n"); s.EditIni("Visibility1=6\r\nCombineOp=-1\r\nframe=4\r\nButtonImage=caption-help.bmp", "Visibility1=-1\r\nCombineOp=-1\r\nframe=4\r\nButtonImage=caption-help.bmp"); },
       {"[Button6] Visibility1", "never shows"}},
  };
  for (const TCase& c : cases) {
    TSkinCopy skin;
    c.breakIt(skin);
    const TRun run = Skinpack({"check", skin.Folder()});
    EXPECT_EQ(run.exitCode, 1) << c.name << ":\n" << run.out;
    std::istringstream lines(run.out);
    bool found = false;
    for (std::string line; std::getline(lines, line) && !found;) {
      found = true;
      for (const std::string& part : c.expected) found = found && line.find(part) != std::string::npos;
    }
    EXPECT_TRUE(found) << c.name << ":\n" << run.out;
    EXPECT_NE(run.out.find(": 1 problem(s)\n"), std::string::npos) << c.name << ": only the broken rule\n" << run.out;
  }
}

TEST(SkinCheck, FoldersThatAreNoSkinAndUsage) {
  TSkinCopy skin;
  fs::remove(skin / "skin.ini");
  const TRun noIni = Skinpack({"check", skin.Folder()});
  EXPECT_EQ(noIni.exitCode, 1);
  EXPECT_NE(noIni.out.find("holds 0 .ini files"), std::string::npos) << noIni.out;
  const TRun absent = Skinpack({"check", skin.Folder() + "/absent"});
  EXPECT_EQ(absent.exitCode, 1);
  EXPECT_NE(absent.out.find("not a folder"), std::string::npos) << absent.out;
  // An extra bitmap is only a note: it is not packed.
  TSkinCopy extra;
  extra.WriteBitmap("unused.bmp", 4, 4, kGrey);
  const TRun run = Skinpack({"check", extra.Folder()});
  EXPECT_EQ(run.exitCode, 0) << run.out;
  EXPECT_NE(run.out.find("note: unused.bmp: not named by skin.ini"), std::string::npos) << run.out;
  EXPECT_EQ(Skinpack({"check"}).exitCode, 2);
  EXPECT_EQ(Skinpack({"check", "a", "b"}).exitCode, 2);
}

}  // namespace
}  // namespace bw::tools
