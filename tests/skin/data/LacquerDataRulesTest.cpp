#include "skin/data/LacquerDataRules.h"

#include <gtest/gtest.h>

namespace bw::skin {
namespace {

TEST(SkinColourText, NumbersAreTakenAtTheirSeparator) {
  const struct {
    const char* text;
    TColor expected;
  } cases[] = {
      {"60 68 60", RGBToColor(60, 68, 60)},
      {"255,0,0", RGBToColor(255, 0, 0)},
      {"10 20", RGBToColor(10, 0, 0)},  // a final second number is dropped
      {"10 20 ", RGBToColor(10, 0, 0)},  // trimmed first
      {"10 20,", RGBToColor(10, 20, 0)},
      {"  1 - 2 - 3  ", RGBToColor(1, 2, 3)},
      {"1,,,2;;3", RGBToColor(1, 2, 3)},
      {"1 2 3 4 5", RGBToColor(1, 2, 3)},
      {"256 257 511", RGBToColor(0, 1, 255)},  // low byte of each
      {"99999999999999999999999 0 0", RGBToColor(0xFF, 0, 0)},  // no overflow on long runs
      {"", 0},
      {"red", 0},
      {"7", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(strcolor(c.text), c.expected) << '"' << c.text << '"';
  EXPECT_EQ(strcolor("4294967551 0 0"), RGBToColor(0xFF, 0, 0));
  EXPECT_EQ(GetColor("", 0x8000000F), 0x8000000F);
  EXPECT_EQ(GetColor("1 2 3", 0x8000000F), 0x030201);
}

TEST(SkinFileNames, StemAndBitmapEntryRules) {
  EXPECT_EQ(GetFileName("skin.ini"), "skin");
  EXPECT_EQ(GetFileName("a.b.c"), "a");
  EXPECT_EQ(GetFileName(".hidden"), "");
  EXPECT_EQ(GetFileName("noext"), "");

  EXPECT_EQ(SkinBitmapEntryName("grip.bmp"), "grip.bmp");
  EXPECT_EQ(SkinBitmapEntryName("art\\grip.bmp"), "grip.bmp");
  EXPECT_EQ(SkinBitmapEntryName("c:grip.bmp"), "grip.bmp");
  EXPECT_EQ(SkinBitmapEntryName("grip.BMP"), "");
  EXPECT_EQ(SkinBitmapEntryName("grip.tga"), "");
  EXPECT_EQ(SkinBitmapEntryName("art\\"), "");
  EXPECT_EQ(SkinBitmapEntryName(".bmp"), ".bmp");
  EXPECT_EQ(SkinBitmapEntryName("art.bmp\\grip"), "");
  EXPECT_EQ(SkinBitmapEntryName(""), "");
}

TEST(ForeignControlList, BuiltInEntriesAndLookup) {
  core::TStringList list;
  list.Add("stale");
  InitControlList(list);
  ASSERT_EQ(list.Count(), kSkin3rdEntryCount);
  EXPECT_EQ(list[0], "TVirtualStringTree=scrollbar");
  EXPECT_EQ(list[kSkin3rdEntryCount - 1], "TcxCheckBox=checkbox");
  int duplicates = 0;
  for (std::int32_t i = 1; i < list.Count(); ++i) duplicates += list[i] == list[i - 1];
  EXPECT_EQ(duplicates, 3);  // the three entries the list has always carried twice

  EXPECT_EQ(FindSkin3rdKind(list, "TcxButton"), "bitbtn");
  EXPECT_EQ(FindSkin3rdKind(list, "tcxbutton"), "bitbtn");
  EXPECT_EQ(FindSkin3rdKind(list, "TAdvPageControl"), "nil");
  EXPECT_EQ(FindSkin3rdKind(list, "TControlBar"), "panel");
  EXPECT_EQ(FindSkin3rdKind(list, "TRzButton"), "button");
  EXPECT_EQ(FindSkin3rdKind(list, "TRzButtonX"), "");
  EXPECT_EQ(FindSkin3rdKind(list, "TRz"), "");
  EXPECT_EQ(FindSkin3rdKind(list, "TButton"), "");

  core::TStringList custom;
  custom.Add("TLong=" + std::string(80, 'K'));
  custom.Add("TLong=second");
  EXPECT_EQ(FindSkin3rdKind(custom, "TLong"), std::string(kMaxSkin3rdKindChars, 'k'));
}

}  // namespace
}  // namespace bw::skin
