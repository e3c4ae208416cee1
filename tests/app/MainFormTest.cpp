// The main window's description, read in the program's own classes.
#include <gtest/gtest.h>

#include "app/QuorbelFP.h"
#include "framework/core/FormData.h"
#include "framework/core/FormStreaming.h"

namespace bw::app {
namespace {

TEST(MainFormDescription, CarriesTheProgramSkinInItsSkinComponent) {
  RegisterMainFormClasses();
  const auto text = core::FindFormData("TForm1");
  ASSERT_TRUE(text.has_value());
  TForm1 form(nullptr);
  core::ReadComponentText(form, *text);
  ASSERT_NE(form.SkinData1, nullptr);
  EXPECT_FALSE(form.SkinData1->NoSkin);  // the packed skin was read and loaded
  EXPECT_TRUE(form.SkinData1->Active());
  EXPECT_EQ(form.SkinData1->SkinFormtype(), skin::TSkinFormType::sfMainform);
  EXPECT_TRUE(form.SkinData1->Options().Contains(skin::TSkinOption::xoPreview));
  EXPECT_TRUE(form.SkinData1->SkinControls().Contains(skin::TSkinControlType::xcSystemMenu));
  EXPECT_EQ(form.Caption(), "Brindlewick  V1.2 b");
  EXPECT_EQ(form.OpenDialog1->Filter(),
            "Powerpoint files|*.pps;*.ppt|Diaporamas Powerpoint|*.pps|Presentations Powerpoint|*.ppt|*.*|*.*");
}

}  // namespace
}  // namespace bw::app
