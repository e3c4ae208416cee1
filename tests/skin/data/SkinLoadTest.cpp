// Small skin descriptions: defaults, the reading rules of the description, and how a
// broken container or bitmap leaves the component.
#include <gtest/gtest.h>

#include "framework/core/BmpFile.h"
#include "tests/skin/data/SkinDataTestSupport.h"

namespace bw::skin::test {
namespace {

using enum TShemeColor;

class SkinLoad : public testing::Test {
 protected:
  TNoticeRecorder notices;
  TSkinData data{nullptr};
};

TEST_F(SkinLoad, EmptyDescriptionGivesDefaultsAndOnlyThePermanentObjects) {
  LoadPacked(data, PackedSkin("[TitlebarSkin]\r\nSkinName=Plain\r\n"));
  EXPECT_FALSE(data.NoSkin);
  EXPECT_EQ(data.SkinName, "Plain");
  for (TDataSkinBorder* b : {data.LeftBorder.get(), data.RightBorder.get(), data.TopBorder.get(), data.BottomBorder.get()}) {
    EXPECT_EQ(b->Frame, 1) << b->Name;
    EXPECT_EQ(b->Tile, 1) << b->Name;
    EXPECT_EQ(b->Trans, 1) << b->Name;
    EXPECT_TRUE(b->Bitmap.Empty()) << b->Name;
  }
  EXPECT_EQ(data.Title->FontHeight, 14);
  EXPECT_EQ(data.Title->ActiveText, kTextColorNotGiven);
  EXPECT_EQ(data.Buttons->Frame, 5);
  EXPECT_EQ(data.Buttons->RadioButtonFrame, 4);
  EXPECT_EQ(data.Buttons->NormalColour, -1);
  EXPECT_FALSE(data.Buttons->HasNormalColour2);
  EXPECT_EQ(data.Buttons->NormalColour2, static_cast<TColor>(0x80000012));
  EXPECT_EQ(data.Colors[csButtonlight], static_cast<TColor>(0x80000014));
  EXPECT_EQ(data.Colors[csButtonDkshadow], static_cast<TColor>(0x80000015));
  EXPECT_EQ(data.Colors[csTitleTextNoActive], static_cast<TColor>(0x80000013));
  EXPECT_EQ(data.Colors[csMenuBar], static_cast<TColor>(0x8000000F));
  EXPECT_EQ(data.Colors[csMenubg], static_cast<TColor>(0x80000004));
  EXPECT_EQ(data.CustomColors[4], 0xFFFFFF);
  EXPECT_TRUE(data.Precolors.empty());
  for (TDataSkinObject* o : {static_cast<TDataSkinObject*>(data.Progress.get()), data.MenuBar.get(),
                             data.GroupBoxEdge.get(), static_cast<TDataSkinObject*>(data.ComboButton.get()),
                             data.SunkEdge.get(), data.Scrollbar.get()})
    EXPECT_EQ(o, nullptr);
  ASSERT_EQ(data.SysButtons.size(), 3u);  // only the MDI buttons, without images
  EXPECT_TRUE(data.SysButtons[0]->Bitmap.Empty());
  ASSERT_TRUE(data.Toolbar);
  EXPECT_EQ(data.Toolbar->Bitmap.Width(), 10);
}

TEST_F(SkinLoad, TileValuesAboveOneFollowEachSectionsRule) {
  LoadPacked(data, PackedSkin("[Personality]\nBottomStretch=5\nTopStretch=0\n"
                              "[Scrollbar]\nImage=s.bmp\nTile=5\n"
                              "[Progress]\nBitmap=s.bmp\nTile=5\n"
                              "[MenuItem]\nImage=s.bmp\nTile=1\n",
                              {{"s.bmp", SolidBmp(4, 4)}}));
  EXPECT_EQ(data.BottomBorder->Tile, 1);
  EXPECT_EQ(data.TopBorder->Tile, 0);
  EXPECT_EQ(data.Scrollbar->Tile, 0);
  EXPECT_EQ(data.Progress->Tile, 1);
  EXPECT_EQ(data.MenuItem->Tile, 1);
}

TEST_F(SkinLoad, CaptionButtonSectionsAndFrameRules) {
  LoadPacked(data, PackedSkin("[Buttons]\n[Button]\nAction=1\n[Button.Radio]\n[BUTTON.CHECKBOX]\n"
                              "[ButtonA]\nAction=-1\n"
                              "[ButtonB]\nAction=-1\nVisibility=0\n"
                              "[ButtonC]\nButtonImage=narrow.bmp\n"
                              "[button-d]\nButtonImage=wide.bmp\n"
                              "[ButtonE]\nAction=3\nButtonImage=narrow.bmp\n"
                              "[ButtonF]\nAction=11\nframe=2\nButtonImage=narrow.bmp\n"
                              "[ButtonG]\nAction=-2\nVisibility=0\nButtonImage=narrow.bmp\n",
                              {{"narrow.bmp", SolidBmp(54, 18)}, {"wide.bmp", SolidBmp(126, 18)}}));
  ASSERT_EQ(data.SysButtons.size(), 6u + 3u);
  const TDataSkinSysButton& b = *data.SysButtons[0];
  EXPECT_EQ(b.Name, "BUTTONB");
  EXPECT_EQ(b.Frame, 6);
  EXPECT_EQ(b.Visibility1, -1);
  EXPECT_EQ(b.CombineOp, -1);
  EXPECT_EQ(data.SysButtons[1]->Frame, 3);  // 54 / 18 = 3.0
  EXPECT_EQ(data.SysButtons[1]->Visibility1, 0);
  EXPECT_EQ(data.SysButtons[2]->Name, "BUTTON-D");
  EXPECT_EQ(data.SysButtons[2]->Frame, 6);  // 126 / 18 = 7.0
  EXPECT_TRUE(data.SysButtons[3]->Bitmap.Empty());  // action 3 without a frame count
  EXPECT_EQ(data.SysButtons[3]->Frame, 3);
  EXPECT_EQ(data.SysButtons[4]->Frame, 2);
  EXPECT_FALSE(data.SysButtons[4]->Bitmap.Empty());  // frame count given: image kept
  EXPECT_EQ(data.SysButtons[5]->Frame, 6);  // negative actions always 6
}

TEST_F(SkinLoad, MdiButtonsAreCutFromTwelveFrames) {
  Bytes strip = SolidBmp(192, 14);
  LoadPacked(data, PackedSkin("[MDICONTROLS]\nImage=mdi.bmp\n", {{"mdi.bmp", strip}}));
  ASSERT_EQ(data.SysButtons.size(), 3u);
  const int xcoords[] = {60, 40, 20};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(data.SysButtons[i]->Bitmap.Width(), 64);
    EXPECT_EQ(data.SysButtons[i]->Bitmap.Height(), 14);
    EXPECT_EQ(data.SysButtons[i]->Xcoord, xcoords[i]);
  }
  LoadPacked(data, PackedSkin("[MDICONTROLS]\nImage=mdi.bmp\n", {{"mdi.bmp", SolidBmp(11, 14)}}));
  EXPECT_TRUE(data.SysButtons[0]->Bitmap.Empty());  // narrower than 12 frames: nothing to cut
  EXPECT_FALSE(data.NoSkin);
}

TEST_F(SkinLoad, PrecoloursFollowFileOrderAndRgbNeedsAllThree) {
  LoadPacked(data, PackedSkin("[Colour2]\ncolor=2 2 2\n[Colours]\nWindowText=9 9 9\n[Colour0]\ncolor=0 0 0 \n"
                              "[colour1]\ncolor=1,1,1\n[ColourX]\n"
                              "[Personality]\nActiveTextR=171\nActiveTextB=3\nInActiveTextR=1\nInActiveTextG=2\n"
                              "InActiveTextB=3\n"));
  ASSERT_EQ(data.Precolors.size(), 4u);
  EXPECT_EQ(data.Precolors[0], RGBToColor(2, 2, 2));
  EXPECT_EQ(data.Precolors[1], RGBToColor(0, 0, 0));
  EXPECT_EQ(data.Precolors[2], RGBToColor(1, 1, 1));
  EXPECT_EQ(data.Precolors[3], static_cast<TColor>(0x80000008));
  EXPECT_EQ(data.Colors[csText], RGBToColor(9, 9, 9));
  EXPECT_EQ(data.Title->ActiveText, kTextColorNotGiven);
  EXPECT_EQ(data.Title->InActiveText, RGBToColor(1, 2, 3));
}

TEST_F(SkinLoad, ImageNamesDropFoldersAndNeedALowerCaseExtension) {
  LoadPacked(data, PackedSkin("[GroupBoxEdge]\nImage=art\\grip.bmp\n[StatusBarEdges]\nImage=grip.BMP\n"
                              "[ToolBars]\nImage=missing.bmp\n",
                              {{"grip.bmp", SolidBmp(6, 3)}}));
  ASSERT_TRUE(data.GroupBoxEdge);
  EXPECT_EQ(data.GroupBoxEdge->Bitmap.Width(), 6);
  ASSERT_TRUE(data.StatusBarEdges);
  EXPECT_TRUE(data.StatusBarEdges->Bitmap.Empty());
  ASSERT_TRUE(data.ToolBars);
  EXPECT_TRUE(data.ToolBars->Bitmap.Empty());
}

TEST_F(SkinLoad, ComboStripHasOneCellPerEdgeFrame) {
  LoadPacked(data, PackedSkin("[SunkEdge]\nImage=edge.bmp\n[ComboButton]\nImage=btn.bmp\n",
                              {{"edge.bmp", SolidBmp(48, 21, RGB(0, 0, 200))}, {"btn.bmp", SolidBmp(76, 21)}}));
  EXPECT_EQ(data.SunkEdge->Frame, 4);
  EXPECT_EQ(data.ComboButton->Bitmap.Width(), 200);
  EXPECT_EQ(data.ComboButton->Bitmap.Height(), 21);
  EXPECT_EQ(data.SunkEdge->Bitmap.Width(), 200);
  EXPECT_EQ(GetPixel(data.ComboButton->Bitmap.Canvas().Handle(), 0, 0), RGB(0, 0, 200));
  // Without the edge there is nothing to compose: the button keeps its own image.
  LoadPacked(data, PackedSkin("[ComboButton]\nImage=btn.bmp\n", {{"btn.bmp", SolidBmp(76, 21)}}));
  EXPECT_EQ(data.ComboButton->Bitmap.Width(), 76);
  EXPECT_EQ(data.ComboButton->Style, 0);
}

TEST_F(SkinLoad, ReloadReplacesOptionalObjectsAndKeepsPermanentOnes) {
  LoadPacked(data, PackedSkin("[Scrollbar]\nImage=s.bmp\n", {{"s.bmp", SolidBmp(4, 4)}}));
  TDataSkinButton* buttons = data.Buttons.get();
  ASSERT_TRUE(data.Scrollbar);
  LoadPacked(data, PackedSkin("[Progress]\nBitmap=s.bmp\n", {{"s.bmp", SolidBmp(4, 4)}}));
  EXPECT_EQ(data.Buttons.get(), buttons);
  EXPECT_FALSE(data.Scrollbar);
  EXPECT_TRUE(data.Progress);
}

TEST_F(SkinLoad, WrongFormatMarkLeavesEverythingAndSetsNoSkin) {
  LoadPacked(data, PackedSkin("[TitlebarSkin]\nSkinName=First\n[Scrollbar]\nImage=s.bmp\n",
                              {{"s.bmp", SolidBmp(4, 4)}}));
  TDataSkinObject* scrollbar = data.Scrollbar.get();
  for (std::int32_t mark : {19999, 20001}) {
    Bytes container = BuildSkinContainer({{"skin.ini", {'[', 'X', ']'}}});
    container[0] = static_cast<std::uint8_t>(mark);
    container[1] = static_cast<std::uint8_t>(mark >> 8);
    LoadPacked(data, PackedRaw(container));
    EXPECT_TRUE(data.NoSkin) << mark;
    EXPECT_EQ(data.SkinName, "First");
    EXPECT_EQ(data.Scrollbar.get(), scrollbar);
  }
  ASSERT_EQ(notices.notices.size(), 2u);
  EXPECT_EQ(notices.notices[0], "This is Older Skin File\rPlease update to new version !");
}

TEST_F(SkinLoad, DamagedStreamsAndBitmapsLeaveNoSkinWithoutACrash) {
  for (const Bytes& bad : {Bytes{}, Bytes{1, 2, 3}, Bytes{0xFF, 0xFF, 0xFF, 0x7F, 0x00}}) {
    LoadPacked(data, bad);
    EXPECT_TRUE(data.NoSkin);
  }
  EXPECT_TRUE(notices.notices.empty());
  const Bytes broken = PackedSkin("[Personality]\nLeft=left.bmp\nRight=bad.bmp\n[Scrollbar]\nImage=left.bmp\n",
                                  {{"left.bmp", SolidBmp(3, 5)}, {"bad.bmp", {'B', 'M', 1, 2, 3}}});
  core::TMemoryStream stream = StreamOf(broken);
  EXPECT_THROW(data.LoadFromStream(stream), EInvalidGraphic);
  EXPECT_TRUE(data.NoSkin);
  EXPECT_EQ(data.LeftBorder->Bitmap.Width(), 3);  // read before the bad entry
  EXPECT_FALSE(data.Scrollbar);                   // never reached
}

TEST_F(SkinLoad, CaptionColourSurvivesAZeroFrameCount) {
  LoadPacked(data, PackedSkin("[Personality]\nTop=top.bmp\nTopFrame=0\n", {{"top.bmp", SolidBmp(8, 6, RGB(1, 2, 3))}}));
  EXPECT_EQ(data.TopBorder->Frame, 0);
  EXPECT_EQ(data.GetCaptionColor(), RGBToColor(1, 2, 3));
}

TEST_F(SkinLoad, EveryDepthTheBitmapFileReaderKnowsLoads) {
  for (std::uint16_t bits : {1, 4, 8, 16, 24, 32}) {
    core::TDib dib(5, 3, bits);
    if (bits <= 8) dib.ColorTable() = {{0, 0, 0, 0}, {30, 20, 10, 0}};
    const Bytes bmp = core::WriteBmp(dib);
    LoadPacked(data, PackedSkin("[Scrollbar]\nImage=d.bmp\n", {{"d.bmp", bmp}}));
    ASSERT_TRUE(data.Scrollbar) << bits;
    EXPECT_EQ(data.Scrollbar->Bitmap.Width(), 5) << bits;
    EXPECT_EQ(data.Scrollbar->Bitmap.Height(), 3) << bits;
  }
}

// Damaged containers made by flipping bytes of a real one: each load ends with a
// result, never a crash or a hang.
TEST_F(SkinLoad, MutatedContainersNeverCrash) {
  const Bytes good = PackedSkin("[Personality]\nTop=t.bmp\n[SunkEdge]\nImage=t.bmp\n[ComboButton]\nImage=t.bmp\n",
                                {{"t.bmp", SolidBmp(12, 6)}});
  std::uint32_t seed = 12345;
  for (int round = 0; round < 200; ++round) {
    Bytes bad = good;
    for (int flips = 0; flips < 3; ++flips) {
      seed = seed * 1664525u + 1013904223u;
      bad[4 + seed % (bad.size() - 4)] ^= static_cast<std::uint8_t>(seed >> 24);
    }
    core::TMemoryStream stream = StreamOf(bad);
    try {
      data.LoadFromStream(stream);
    } catch (const core::Exception&) {
      EXPECT_TRUE(data.NoSkin);
    }
  }
  LoadPacked(data, good);
  EXPECT_FALSE(data.NoSkin);
}

}  // namespace
}  // namespace bw::skin::test
