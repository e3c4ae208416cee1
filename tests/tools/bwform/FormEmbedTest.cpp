#include "tools/bwform/FormEmbed.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace bw::tools {
namespace {

TEST(FormEmbed, AssetPathsStayInsideTheirFolder) {
  for (const char* ok : {"a.bmp", "pictures/initial.bmp", "glyphs\\load.bmp", "x/y/z.bin"})
    EXPECT_TRUE(IsSafeAssetPath(ok)) << ok;
  for (const char* bad : {"", "/etc/passwd", "\\share\\x", "C:/x.bmp", "c:x.bmp", "../x.bmp", "a/../../x",
                          "a//b", "./a", "a/", "a/./b"})
    EXPECT_FALSE(IsSafeAssetPath(bad)) << bad;
}

TEST(FormEmbed, ExpandsAssetsAndReportsEveryFailure) {
  const auto dir = std::filesystem::temp_directory_path() / "bw-formembed-test";
  std::filesystem::create_directories(dir / "pics");
  std::ofstream(dir / "pics" / "p.bin", std::ios::binary).write("\x00\x10\xFF", 3);

  const TEmbedResult ok = ExpandForm("object F: TForm1\n Glyph.Data = @file('pics/p.bin')\nend\n", dir.string());
  ASSERT_TRUE(ok.Ok) << ok.Error;
  EXPECT_EQ(ok.ClassName, "TForm1");
  EXPECT_EQ(ok.Text, "object F: TForm1\n  Glyph.Data = {\n    0010FF}\nend\n");
  ASSERT_EQ(ok.AssetFiles.size(), 1u);

  const TEmbedResult escape = ExpandForm("object F: T\n D = @file('../secret')\nend\n", dir.string());
  EXPECT_FALSE(escape.Ok);
  EXPECT_NE(escape.Error.find("must be relative"), std::string::npos) << escape.Error;
  const TEmbedResult missing = ExpandForm("object F: T\n D = @file('none.bin')\nend\n", dir.string());
  EXPECT_FALSE(missing.Ok);
  EXPECT_NE(missing.Error.find("cannot read asset file"), std::string::npos) << missing.Error;
  const TEmbedResult folder = ExpandForm("object F: T\n D = @file('pics')\nend\n", dir.string());
  EXPECT_FALSE(folder.Ok);
  std::filesystem::remove_all(dir);
}

TEST(FormEmbed, GeneratedSourceEscapesEveryByte) {
  const std::string cpp = MakeEmbedSource("TForm1", "a\"b\\c\n\x01\xE9?\n", "Main.form");
  EXPECT_NE(cpp.find("\"a\\\"b\\\\c\\n\""), std::string::npos) << cpp;
  EXPECT_NE(cpp.find("\"\\001\\351?\\n\""), std::string::npos) << cpp;
  EXPECT_NE(cpp.find("TFormDataRegistration kRegistration(\"TForm1\""), std::string::npos);
  EXPECT_EQ(MakeDepfile("out dir/x.cpp", {"a b.form", "c$d"}), "out\\ dir/x.cpp: a\\ b.form c$$d\n");
}

}  // namespace
}  // namespace bw::tools
