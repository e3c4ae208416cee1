// `--skin`: the arguments, and the skin the main window's skin data ends up with for
// every kind of file, good or not.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/QuorbelFP.h"
#include "app/SkinChoice.h"
#include "framework/core/FormData.h"
#include "framework/core/FormStreaming.h"
#include "skin/data/ByteStream.h"
#include "skin/data/SkinRead.h"

namespace bw::app {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using TKind = TSkinChoice::TKind;

TEST(SkinChoiceArgs, TheLastSkinWinsAndNoneSwitchesItOff) {
  const struct {
    std::vector<std::string> args;
    TKind kind;
    std::string file;
  } cases[] = {
      {{}, TKind::Stored, ""},
      {{"--gallery"}, TKind::Stored, ""},
      {{"--skin", "frost.skin"}, TKind::File, "frost.skin"},
      {{"--skin", "None"}, TKind::None, ""},
      {{"--skin", "a.skin", "--gallery", "--skin", "b.skin"}, TKind::File, "b.skin"},
      {{"--skin", "none", "--skin", "c.skin"}, TKind::File, "c.skin"},
      {{"--skin"}, TKind::Stored, ""},
      {{"--skin", ""}, TKind::Stored, ""},
  };
  for (const auto& c : cases) {
    const TSkinChoice choice = SkinChoiceFromArgs(c.args);
    EXPECT_EQ(choice.Kind, c.kind) << c.args.size();
    EXPECT_EQ(choice.File, c.file);
  }
}

TEST(SkinChoiceArgs, TheStartFileIsTheFirstArgumentThatIsNoOption) {
  const struct {
    std::vector<std::string> args;
    std::string file;
  } cases[] = {
      {{}, ""},
      {{"--gallery", "--skin", "frost.skin"}, ""},
      {{"C:\\talks\\deck.ppt"}, "C:\\talks\\deck.ppt"},
      {{"--skin", "deck.skin", "deck.ppt", "other.ppt"}, "deck.ppt"},
      {{"--skin", "none", "--gallery", "d\xC3\xA9j\xC3\xA0.pptx"}, "d\xC3\xA9j\xC3\xA0.pptx"},
      {{"--skin"}, ""},
      {{"", "x.pps"}, "x.pps"},
  };
  for (const auto& c : cases) EXPECT_EQ(StartFileFromArgs(c.args), c.file) << c.args.size();
}

class SkinChoiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterMainFormClasses();
    skin::SetDefaultSkinNotice([this](const std::string& text) { FNotices.push_back(text); });
    const auto text = core::FindFormData("TForm1");
    ASSERT_TRUE(text.has_value());
    FForm = std::make_unique<TForm1>(nullptr);
    core::ReadComponentText(*FForm, *text);
    ASSERT_EQ(Data().SkinName, "Oxblood");
    FFolder = fs::temp_directory_path() / ("bw-skinchoice-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(FFolder);
  }
  void TearDown() override {
    skin::SetDefaultSkinNotice(nullptr);
    std::error_code ec;
    fs::remove_all(FFolder, ec);
  }
  skin::TSkinData& Data() { return *FForm->SkinData1; }

  std::string Write(const std::string& name, const Bytes& bytes) {
    const std::string path = (FFolder / name).string();
    std::string error;
    EXPECT_TRUE(skin::WriteWholeFile(path, bytes, error)) << error;
    return path;
  }
  std::string Apply(const std::string& file, bool french = false) {
    return ApplySkinChoice(Data(), {TKind::File, file}, french);
  }
  // The stored skin is still the one in use, whole.
  void ExpectStoredSkin(const std::string& why) {
    EXPECT_EQ(Data().SkinName, "Oxblood") << why;
    EXPECT_FALSE(Data().NoSkin) << why;
    ASSERT_NE(Data().Tabs, nullptr) << why;
    EXPECT_EQ(Data().LeftBorder->Frame, 2) << why;
  }

  std::unique_ptr<TForm1> FForm;
  fs::path FFolder;
  std::vector<std::string> FNotices;
};

TEST_F(SkinChoiceTest, ASkinFileReplacesTheStoredSkin) {
  EXPECT_EQ(Apply(BW_FROST_SKIN), "");
  EXPECT_EQ(Data().SkinName, "Frost");
  EXPECT_FALSE(Data().NoSkin);
  EXPECT_EQ(Data().SkinFile(), BW_FROST_SKIN);
  EXPECT_EQ(Data().LeftBorder->Frame, 1);
  EXPECT_EQ(Data().LeftBorder->Trans, 0);
  EXPECT_EQ(Data().Title->TextAlignment, 1);
  EXPECT_TRUE(FNotices.empty());
  EXPECT_EQ(ApplySkinChoice(Data(), {TKind::Stored, {}}, false), "");
  EXPECT_EQ(Data().SkinName, "Frost");
}

// Whatever is wrong with the file, the stored skin stays and the user hears why once.
TEST_F(SkinChoiceTest, AFileThatIsNoSkinLeavesTheStoredSkinAndSaysWhy) {
  const std::string ini = "[TitlebarSkin]\r\nSkinName=Broken\r\n[Personality]\r\nLeft=left.bmp\r\n";
  auto container = [&](std::vector<skin::TSkinEntry> entries) {
    return skin::PackFramedBytes(skin::BuildSkinContainer(entries));
  };
  Bytes oldFormat = skin::BuildSkinContainer({{"skin.ini", Bytes(ini.begin(), ini.end())}});
  oldFormat[0] = 0x1F;  // 19999
  const struct {
    const char* name;
    std::string path;
    std::string reason;
  } cases[] = {
      {"missing", (FFolder / "absent.skin").string(), "cannot open the file"},
      {"empty", Write("empty.skin", {}), "the file is empty"},
      {"text", Write("text.skin", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}), "it is not a skin (damaged"},
      {"no description", Write("noini.skin", container({{"left.bmp", Bytes{'B', 'M'}}})), "no .ini entry"},
      {"bad bitmap",
       Write("badbmp.skin", container({{"skin.ini", Bytes(ini.begin(), ini.end())}, {"left.bmp", Bytes{'B', 'M', 1, 2}}})),
       "cannot be used:"},
      {"folder", FFolder.string(), "cannot be used:"},
  };
  for (const auto& c : cases) {
    const std::string said = Apply(c.path);
    EXPECT_NE(said.find("The skin file \"" + c.path + "\" cannot be used: "), std::string::npos) << c.name << ": " << said;
    EXPECT_NE(said.find(c.reason), std::string::npos) << c.name << ": " << said;
    EXPECT_NE(said.find("Brindlewick keeps its own skin."), std::string::npos) << c.name;
    ExpectStoredSkin(c.name);
  }
  EXPECT_TRUE(FNotices.empty());

  // Another format mark: the reader's notice is the one message.
  const std::string old = Write("old.skin", skin::PackFramedBytes(oldFormat));
  EXPECT_EQ(Apply(old), "");
  ASSERT_EQ(FNotices.size(), 1u);
  EXPECT_EQ(FNotices[0], skin::kOldSkinNotice);
  ExpectStoredSkin("old format");

  const std::string french = Apply((FFolder / "absent.skin").string(), true);
  EXPECT_NE(french.find("ne peut pas servir"), std::string::npos) << french;
  EXPECT_NE(french.find("Brindlewick garde son propre skin."), std::string::npos) << french;
}

}  // namespace
}  // namespace bw::app
