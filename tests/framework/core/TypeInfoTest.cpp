#include "framework/core/TypeInfo.h"

#include <gtest/gtest.h>

#include "tests/framework/core/TestClasses.h"

namespace bw::core::test {
namespace {

TEST(PropertyAccess, ReadsByNameIgnoringCase) {
  TTestButton b(nullptr);
  b.SetName("Button1");
  b.FLeft = 12;
  b.FLayout = TButtonLayout::blGlyphTop;
  b.FVisible = false;
  b.SetCaption("Load");
  EXPECT_EQ(GetIntProp(&b, "left"), 12);
  EXPECT_EQ(GetIntProp(&b, "TAG"), 0);
  EXPECT_EQ(GetEnumProp(&b, "Layout"), "blGlyphTop");
  EXPECT_EQ(GetEnumProp(&b, "visible"), "False");
  EXPECT_EQ(GetPropText(&b, "Layout"), "blGlyphTop");
  EXPECT_EQ(GetPropText(&b, "Left"), "12");
  EXPECT_EQ(GetStrProp(&b, "caption"), "Load");
  EXPECT_EQ(GetStrProp(&b, "Name"), "Button1");
  EXPECT_EQ(GetObjectProp(&b, "Font"), &b.FFont);
  EXPECT_EQ(GetObjectProp(&b, "Font", &TTestFont::kClass), &b.FFont);
  EXPECT_EQ(GetObjectProp(&b, "Font", &TTestGlyph::kClass), nullptr);  // not of that class
  EXPECT_EQ(GetObjectProp(&b, "Items"), &b.FItems);
  EXPECT_EQ(GetStrProp(&b.FFont, "Name"), "MS Sans Serif");
}

TEST(PropertyAccess, MissingPropertiesAndOtherKindsAnswerEmpty) {
  TTestButton b(nullptr);
  b.SetCaption("x");
  const TObject* none = nullptr;
  EXPECT_EQ(GetIntProp(&b, "Nope"), -1);
  EXPECT_EQ(GetIntProp(none, "Left"), -1);
  EXPECT_EQ(GetIntProp(&b, "Caption"), -1);  // a string is not an integer
  EXPECT_EQ(GetIntProp(&b, "Visible"), -1);  // nor is a boolean
  EXPECT_EQ(GetEnumProp(&b, "Left"), "");
  EXPECT_EQ(GetEnumProp(&b, "Nope"), "");
  EXPECT_EQ(GetPropText(&b, "Caption"), "");
  EXPECT_EQ(GetStrProp(&b, "Left"), "");
  EXPECT_EQ(GetObjectProp(&b, "Caption"), nullptr);
  EXPECT_EQ(GetObjectProp(none, "Font"), nullptr);
  EXPECT_EQ(GetEventProp(&b, "OnDrawItem"), nullptr);
  EXPECT_EQ(GetSetProp(&b, "Nope"), 0u);
  EXPECT_EQ(SetIntProp(&b, "Nope", 1), TPropResult::Missing);
  EXPECT_EQ(SetIntProp(nullptr, "Left", 1), TPropResult::Missing);
  EXPECT_EQ(SetEnumProp(&b, "Caption", "x"), TPropResult::WrongKind);
  EXPECT_EQ(SetStrProp(&b, "Left", "1"), TPropResult::WrongKind);
  EXPECT_EQ(SetObjectProp(&b, "Font", nullptr), TPropResult::ReadOnly);
  EXPECT_EQ(b.Caption(), "x");
}

TEST(PropertyAccess, WritesByValueNameAndText) {
  TTestButton b(nullptr);
  EXPECT_EQ(SetEnumProp(&b, "layout", "BLGLYPHBOTTOM"), TPropResult::Done);
  EXPECT_EQ(b.FLayout, TButtonLayout::blGlyphBottom);
  EXPECT_EQ(SetEnumProp(&b, "Layout", "blNowhere"), TPropResult::BadValue);
  EXPECT_EQ(b.FLayout, TButtonLayout::blGlyphBottom);
  EXPECT_EQ(SetPropText(&b, "Visible", "false"), TPropResult::Done);
  EXPECT_FALSE(b.FVisible);
  EXPECT_EQ(SetPropText(&b, "Left", "-40"), TPropResult::Done);
  EXPECT_EQ(b.FLeft, -40);
  EXPECT_EQ(SetPropText(&b, "Color", "clBtnShadow"), TPropResult::Done);
  EXPECT_EQ(b.FColor, clBtnShadow);
  EXPECT_EQ(SetPropText(&b, "Left", "12x"), TPropResult::BadValue);
  EXPECT_EQ(SetPropText(&b, "Caption", "text"), TPropResult::WrongKind);
  EXPECT_EQ(SetOrdProp(&b, "Layout", 9), TPropResult::BadValue);
  EXPECT_EQ(SetOrdProp(&b, "Anchors", 1 << 9), TPropResult::BadValue);
  EXPECT_EQ(SetOrdProp(&b, "Anchors", 0b101), TPropResult::Done);
  EXPECT_EQ(SetToString(kAlignInfo, GetSetProp(&b, "Anchors")), "[alNone,alBottom]");
  EXPECT_EQ(SetStrProp(&b, "Caption", "Abort"), TPropResult::Done);
  EXPECT_EQ(b.Caption(), "Abort");

  TTestButton other(nullptr);
  TTestFont font;
  EXPECT_EQ(SetObjectProp(&b, "Buddy", &other), TPropResult::Done);
  EXPECT_EQ(b.Buddy(), &other);
  EXPECT_EQ(SetObjectProp(&b, "Buddy", &font), TPropResult::BadValue);  // not a component
  EXPECT_EQ(b.Buddy(), &other);
}

TEST(PropertyAccess, EventsAreTypedSlots) {
  TTestButton b(nullptr);
  int calls = 0;
  b.FOnClick = [&](TObject*) { ++calls; };
  auto* click = GetEventProp<TNotifyEvent>(&b, "onclick");
  ASSERT_NE(click, nullptr);
  (*click)(&b);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ((GetEventProp<TEvent<void(int)>>(&b, "OnClick")), nullptr);  // another signature
  TNotifyEvent empty;
  empty(nullptr);  // an unassigned event does nothing
  EXPECT_FALSE(static_cast<bool>(empty));
}

TEST(PropertyAccess, SetTextsRoundTrip) {
  std::uint32_t bits = 0;
  EXPECT_TRUE(StringToSet(kFontStyleInfo, "[fsBold, fsUnderline]", bits));
  EXPECT_EQ(bits, 0b101u);
  EXPECT_EQ(SetToString(kFontStyleInfo, bits), "[fsBold,fsUnderline]");
  EXPECT_TRUE(StringToSet(kFontStyleInfo, "[]", bits));
  EXPECT_EQ(bits, 0u);
  EXPECT_FALSE(StringToSet(kFontStyleInfo, "[fsBold,]", bits));
  EXPECT_FALSE(StringToSet(kFontStyleInfo, "fsBold", bits));
  EXPECT_FALSE(StringToSet(kFontStyleInfo, "[fsWide]", bits));
}

}  // namespace
}  // namespace bw::core::test
