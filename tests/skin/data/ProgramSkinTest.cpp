// The program's own skin, read the way the main window reads it: from a form
// description whose TSkinData carries the packed skin in SkinStream.
#include <gtest/gtest.h>

#include "framework/core/FormData.h"
#include "framework/core/FormStreaming.h"
#include "framework/win/Colors.h"
#include "skin/draw/ImgUtil.h"
#include "tests/skin/data/SkinDataTestSupport.h"

namespace bw::skin::test {
namespace {

using enum TShemeColor;

COLORREF Pixel(TBitmap& bitmap, int x, int y) { return GetPixel(bitmap.Canvas().Handle(), x, y); }

void ExpectSize(const TBitmap& bitmap, int widthPx, int heightPx, const char* what) {
  EXPECT_EQ(bitmap.Width(), widthPx) << what;
  EXPECT_EQ(bitmap.Height(), heightPx) << what;
}

void ExpectMargins(const RECT& m, int left, int top, int right, int bottom, const char* what) {
  EXPECT_EQ(m.left, left) << what;
  EXPECT_EQ(m.top, top) << what;
  EXPECT_EQ(m.right, right) << what;
  EXPECT_EQ(m.bottom, bottom) << what;
}

class ProgramSkin : public testing::Test {
 protected:
  void SetUp() override {
    const std::optional<std::string_view> text = core::FindFormData("TSkinHostForm");
    ASSERT_TRUE(text.has_value());
    core::ReadComponentText(form, *text);
    data = dynamic_cast<TSkinData*>(form.FindComponent("SkinData1"));
    ASSERT_NE(data, nullptr);
  }
  TNoticeRecorder notices;
  TSkinHostForm form{nullptr};
  TSkinData* data = nullptr;
};

TEST_F(ProgramSkin, FormValuesAndStreamArriveAsStored) {
  EXPECT_TRUE(notices.notices.empty());
  EXPECT_FALSE(data->NoSkin);
  EXPECT_TRUE(data->Active());
  EXPECT_EQ(data->DisableTag(), 99);
  TSkinControlTypes adjusted = kDefaultSkinControls;
  adjusted.Exclude(TSkinControlType::xcMenuItem);
  EXPECT_EQ(data->SkinControls(), adjusted);
  EXPECT_EQ(data->Options(), TSkinOptions{TSkinOption::xoPreview});
  EXPECT_EQ(data->Skin3rd()->Count(), kSkin3rdEntryCount);
  EXPECT_EQ(data->GetSkinStore(), "(none)");
  EXPECT_EQ(data->Version(), "3.26.07.21");
  EXPECT_EQ(data->SkinFormtype(), TSkinFormType::sfMainform);
  const Bytes stored = ProgramSkinStream();
  ASSERT_GT(stored.size(), 4u);
  EXPECT_EQ(data->SkinStream().Bytes(), Bytes(stored.begin() + 4, stored.end()));
}

TEST_F(ProgramSkin, BordersTitleAndMenuBar) {
  EXPECT_EQ(data->SkinName, "Oxblood");
  const struct {
    TDataSkinBorder* border;
    RECT margins;
    int trans, widthPx, heightPx;
  } borders[] = {{data->LeftBorder.get(), {0, 26, 0, 4}, 1, 8, 32},
                 {data->RightBorder.get(), {0, 26, 0, 4}, 1, 8, 32},
                 {data->TopBorder.get(), {6, 0, 6, 0}, 1, 16, 52},
                 {data->BottomBorder.get(), {2, 0, 2, 0}, 0, 8, 8}};
  for (const auto& b : borders) {
    const char* name = b.border->Name.c_str();
    ExpectMargins(b.border->Margins, b.margins.left, b.margins.top, b.margins.right, b.margins.bottom, name);
    EXPECT_EQ(b.border->Frame, 2) << name;
    EXPECT_EQ(b.border->Tile, 1) << name;
    EXPECT_EQ(b.border->Trans, b.trans) << name;
    ExpectSize(b.border->Bitmap, b.widthPx, b.heightPx, name);
  }
  const TDataSkinTitle& title = *data->Title;
  ExpectMargins(title.Margins, 26, 2, 100, 0, "Title");
  EXPECT_EQ(title.Frame, 2);
  EXPECT_EQ(title.Textbackground, 1);
  EXPECT_EQ(title.TXTBackleft, 10);
  EXPECT_EQ(title.TXTBackRight, 10);
  EXPECT_EQ(title.FontHeight, 14);
  EXPECT_EQ(title.ActiveText, RGBToColor(246, 231, 193));
  EXPECT_EQ(title.InActiveText, RGBToColor(205, 191, 166));
  ASSERT_TRUE(data->MenuBar);
  EXPECT_EQ(data->MenuBar->Name, "Personality");
  EXPECT_EQ(data->MenuBar->Frame, 2);
  ExpectMargins(data->MenuBar->Margins, 4, 0, 4, 0, "MenuBar");
  ExpectSize(data->MenuBar->Bitmap, 40, 40, "MenuBar");
  // The caption colour is the top border's pixel two thirds down its first frame.
  EXPECT_EQ(data->GetCaptionColor(), static_cast<TColor>(Pixel(data->TopBorder->Bitmap, 8, 17)));
}

TEST_F(ProgramSkin, ColoursPrecoloursAndBrush) {
  EXPECT_EQ(data->Colors[csText], RGBToColor(59, 35, 20));
  EXPECT_EQ(data->Colors[csButtonFace], RGBToColor(243, 235, 211));
  EXPECT_EQ(data->Colors[csButtonlight], RGBToColor(250, 244, 226));
  EXPECT_EQ(data->Colors[csHilight], RGBToColor(140, 42, 34));
  EXPECT_EQ(data->Colors[csScrollbar], RGBToColor(230, 219, 190));
  EXPECT_EQ(data->Colors[csSelectBg], 0);
  ASSERT_EQ(data->Precolors.size(), 6u);
  EXPECT_EQ(data->Precolors[2], RGBToColor(107, 30, 30));
  EXPECT_EQ(data->Precolors[5], RGBToColor(201, 162, 39));
  EXPECT_EQ(data->CustomColors[0], RGBToColor(107, 30, 30));
  EXPECT_EQ(data->CustomColors[9], RGBToColor(140, 42, 34));
  TColor c = -7;
  EXPECT_TRUE(data->GetPrecolor(c, 3));
  EXPECT_EQ(c, RGBToColor(140, 42, 34));
  EXPECT_FALSE(data->GetPrecolor(c, 6));
  EXPECT_FALSE(data->GetPrecolor(c, -1));
  EXPECT_EQ(c, RGBToColor(140, 42, 34));
  LOGBRUSH brush{};
  ASSERT_EQ(GetObjectW(data->FaceBrush, sizeof brush, &brush), static_cast<int>(sizeof brush));
  EXPECT_EQ(brush.lbColor, RGB(243, 235, 211));
}

TEST_F(ProgramSkin, ButtonsAndCaptionButtons) {
  const TDataSkinButton& b = *data->Buttons;
  ExpectMargins(b.Margins, 4, 4, 4, 4, "Buttons");
  EXPECT_EQ(b.Frame, 5);
  EXPECT_EQ(b.Trans, 1);
  EXPECT_EQ(b.RadioButtonFrame, 8);
  EXPECT_EQ(b.CheckButtonFrame, 12);
  EXPECT_EQ(b.MouseOverColour, 2);
  EXPECT_TRUE(b.HasNormalColour2 && b.HasMouseOverColour2 && b.HasPressedColour2);
  EXPECT_EQ(b.MouseOverColour2, RGBToColor(107, 30, 30));
  ExpectSize(b.Bitmap, 100, 21, "button");
  ExpectSize(b.CheckBitmap, 156, 13, "check");
  ExpectSize(b.RadioBitmap, 104, 13, "radio");

  ASSERT_EQ(data->SysButtons.size(), 11u);  // Button0..7, then the three MDI buttons
  const TDataSkinSysButton& icon = *data->SysButtons[0];
  EXPECT_EQ(icon.Name, "BUTTON0");
  EXPECT_EQ(icon.Action, 3);
  EXPECT_EQ(icon.Frame, 1);
  EXPECT_FALSE(icon.Bitmap.Empty());  // its frame count is given, so the image stays
  const TDataSkinSysButton& close = *data->SysButtons[1];
  EXPECT_EQ(close.Action, 0);
  EXPECT_EQ(close.Align, 1);
  EXPECT_EQ(close.Xcoord, 26);
  EXPECT_EQ(close.Ycoord, 5);
  EXPECT_EQ(close.CombineOp, -1);
  EXPECT_EQ(close.Frame, 4);
  ExpectSize(close.Bitmap, 72, 18, "close");
  const TDataSkinSysButton& rivet = *data->SysButtons[7];
  EXPECT_EQ(rivet.Action, -1);
  EXPECT_EQ(rivet.Visibility1, 0);
  EXPECT_EQ(data->SysButtons[6]->Visibility, 1000);
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& mdi = *data->SysButtons[8 + static_cast<std::size_t>(i)];
    EXPECT_EQ(mdi.Action, 7 + i);
    EXPECT_EQ(mdi.Align, 100);
    EXPECT_EQ(mdi.Visibility, 100);
    EXPECT_EQ(mdi.Visibility1, 100);
    EXPECT_EQ(mdi.Frame, 4);
    EXPECT_EQ(mdi.Xcoord, 20 * (3 - i));
    ExpectSize(mdi.Bitmap, 64, 14, "mdi");
  }
}

TEST_F(ProgramSkin, ElementObjectsAndFrameCounts) {
  const struct {
    TDataSkinObject* object;
    int frames;
  } expected[] = {{data->Progress.get(), 2},        {data->GroupBoxEdge.get(), 2},   {data->GroupBox.get(), 1},
                  {data->MenuBackground.get(), 1},  {data->StatusBarEdges.get(), 3}, {data->HorzScroll.get(), 4},
                  {data->VertScroll.get(), 4},      {data->ToolBars.get(), 5},       {data->Tabs.get(), 5},
                  {data->ExtraImages.get(), 5},     {data->Headerbar.get(), 5},      {data->MenuItem.get(), 5},
                  {data->TrackThumbHorz.get(), 5},  {data->TrackThumbVert.get(), 5}, {data->TrackThumbLeft.get(), 5},
                  {data->TrackThumbRight.get(), 5}, {data->TrackThumbUp.get(), 5},   {data->TrackThumbDown.get(), 5},
                  {data->UpDownHorz.get(), 8},      {data->UpDownVert.get(), 8},     {data->Scrollbar.get(), 23},
                  {data->HorzScrollThumb.get(), 3}, {data->VertScrollThumb.get(), 3}, {data->Toolbar.get(), 1}};
  for (const auto& e : expected) {
    ASSERT_NE(e.object, nullptr);
    EXPECT_EQ(e.object->Frame, e.frames) << e.object->Name;
    EXPECT_FALSE(e.object->Bitmap.Empty()) << e.object->Name;
  }
  EXPECT_EQ(data->Progress->Name, "Progress");
  ExpectMargins(data->Progress->Margins, 3, 3, 3, 3, "Progress");
  ExpectSize(data->Progress->Bitmap2, 8, 19, "chunk");
  EXPECT_EQ(data->GroupBox->BackgroundLeftShift, 4);
  EXPECT_EQ(data->GroupBox->BackgroundRightShift, 4);
  ExpectMargins(data->Tabs->Margins, 4, 4, 4, 2, "Tabs");
  ExpectSize(data->Tabs->Bitmap2, 16, 16, "tab page");
  EXPECT_FALSE(data->UpDownVert->Bitmap2.Empty());
  EXPECT_FALSE(data->UpDownHorz->Bitmap2.Empty());
  EXPECT_EQ(data->Headerbar->Trans, 0);
  EXPECT_EQ(data->MenuItem->MouseOverColour, 4);
  EXPECT_EQ(data->MenuItem->MouseOverColour2, RGBToColor(255, 244, 220));
}

TEST_F(ProgramSkin, ComboStripIsComposedFromEdgeButtonAndArrow) {
  const int buttonPx = GetSystemMetrics(SM_CXHSCROLL) + 2;
  TDataSkinBorder& combo = *data->ComboButton;
  TDataSkinObject& edge = *data->SunkEdge;
  EXPECT_EQ(combo.Style, 2);
  EXPECT_EQ(combo.Frame, 4);
  ExpectMargins(combo.Margins, 2, 2, buttonPx + 2, 2, "ComboButton");
  ExpectMargins(edge.Margins, buttonPx + 2, 2, 2, 2, "SunkEdge");
  ExpectSize(combo.Bitmap, 200, 21, "combo strip");
  ExpectSize(edge.Bitmap, 200, 21, "edge strip");
  // The original button image, mirrored, stays in Bitmap2.
  ExpectSize(combo.Bitmap2, 76, 21, "mirrored button");
  EXPECT_EQ(combo.Bitmap2.PixelFormat(), win::TPixelFormat::pf24bit);
  // The left edge of each field-edge frame, as the bitmap file has it.
  const COLORREF edgeLine[] = {RGB(122, 92, 62), RGB(122, 92, 62), RGB(184, 168, 134), RGB(201, 162, 39)};
  for (int f = 0; f < 4; ++f) {
    const int x0 = 50 * f;
    EXPECT_EQ(Pixel(combo.Bitmap, x0 + 10, 10), RGB(255, 0, 255)) << "cleared field, frame " << f;
    EXPECT_EQ(Pixel(combo.Bitmap, x0, 10), edgeLine[f]) << "edge line, frame " << f;
    EXPECT_NE(Pixel(combo.Bitmap, x0 + 50 - buttonPx / 2, 10), RGB(255, 0, 255)) << "button, frame " << f;
  }
  for (int x : {0, 3, 25, 49, 50, 120, 199})
    for (int y : {0, 10, 20}) EXPECT_EQ(Pixel(edge.Bitmap, 199 - x, y), Pixel(combo.Bitmap, x, y)) << x << "," << y;
}

TEST_F(ProgramSkin, ToolbarGradientRunsFromFaceToCaption) {
  TBitmap& gradient = data->Toolbar->Bitmap;
  ExpectSize(gradient, 10, 40, "toolbar");
  const COLORREF top = win::ColorToRGB(Blend(data->Colors[csButtonFace], 0xFFFFFF, 150));
  const COLORREF bottom = win::ColorToRGB(Blend(0x808080, data->GetCaptionColor(), 150));
  EXPECT_EQ(Pixel(gradient, 5, 0), top);
  const COLORREF last = Pixel(gradient, 5, 39);
  EXPECT_LE(std::abs(GetRValue(last) - GetRValue(bottom)) + std::abs(GetGValue(last) - GetGValue(bottom)) +
                std::abs(GetBValue(last) - GetBValue(bottom)),
            12);
}

TEST_F(ProgramSkin, WritingAndReadingBackKeepsTheStreamAndValues) {
  const std::string written = core::WriteComponentText(form);
  TSkinHostForm again(nullptr);
  core::ReadComponentText(again, written);
  auto* copy = dynamic_cast<TSkinData*>(again.FindComponent("SkinData1"));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->SkinStream().Bytes(), data->SkinStream().Bytes());
  EXPECT_FALSE(copy->NoSkin);
  EXPECT_TRUE(copy->Active());
  EXPECT_EQ(copy->Skin3rd()->Text(), data->Skin3rd()->Text());
  EXPECT_EQ(core::WriteComponentText(again), written);
}

}  // namespace
}  // namespace bw::skin::test
