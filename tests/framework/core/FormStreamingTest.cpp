#include "framework/core/FormStreaming.h"

#include <gtest/gtest.h>

#include "framework/core/ClassRegistry.h"
#include "framework/core/Exceptions.h"
#include "tests/framework/core/TestClasses.h"

namespace bw::core::test {
namespace {

class FormStreaming : public ::testing::Test {
 protected:
  void SetUp() override { RegisterTestClasses(); }
};

// First differing byte, for readable failures of round trips.
std::string FirstMismatch(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  if (i == a.size() && i == b.size()) return "identical";
  return "first mismatch at offset " + std::to_string(i) + ": ..." + a.substr(i, 40) + "... vs ..." +
         b.substr(i, 40) + "...";
}

const char kForm[] = R"(object Form1: TTestForm
  Tag = 7
  object Button1: TTestButton
    Left = 363
    Width = 60
    Caption = 'It''s'#13#10'caf'#233
    Color = clFuchsia
    Visible = False
    Layout = blGlyphRight
    Anchors = [alTop, alLeft]
    Font.Color = $00FF0000
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Glyph.Data = {424D00FF}
    Items.Strings = (
      'English'
      'Fran'#231'ais'
      '')
    Panels = <
      item
        Text = 'one'
        Bevel = pbRaised
        DataStream = {0102}
      end
      item
        DataStream = {}
      end>
    Buddy = Button2
    OnClick = Button1Click
    object Inner: TTestButton
      Caption = 'nested'
    end
  end
  object Button2: TTestButton
    Caption = 'two'
  end
end
)";

TEST_F(FormStreaming, ReadAssignsEveryKindOfValue) {
  TTestForm form(nullptr);
  ReadComponentText(form, kForm);
  EXPECT_EQ(form.Name(), "Form1");
  EXPECT_EQ(form.Tag(), 7);
  auto* b1 = dynamic_cast<TTestButton*>(form.FindComponent("button1"));
  auto* b2 = dynamic_cast<TTestButton*>(form.FindComponent("Button2"));
  auto* inner = dynamic_cast<TTestButton*>(form.FindComponent("Inner"));
  ASSERT_TRUE(b1 && b2 && inner);
  EXPECT_EQ(form.Button1, b1);  // the form's field, bound by name
  EXPECT_EQ(form.Recorder1, nullptr);
  EXPECT_EQ(inner->Owner(), &form);
  EXPECT_EQ(inner->GetParentComponent(), b1);
  EXPECT_EQ(b1->GetParentComponent(), &form);
  EXPECT_EQ(b1->FLeft, 363);
  EXPECT_EQ(b1->FWidth, 60);
  EXPECT_EQ(b1->Caption(), "It's\r\ncaf\xE9");
  EXPECT_EQ(b1->FColor, clFuchsia);
  EXPECT_FALSE(b1->FVisible);
  EXPECT_EQ(b1->FLayout, TButtonLayout::blGlyphRight);
  EXPECT_EQ(b1->FAnchors, (TSet<TAlign>{TAlign::alTop, TAlign::alLeft}));
  EXPECT_EQ(b1->FFont.FColor, 0x00FF0000);
  EXPECT_EQ(b1->FFont.FHeight, -16);
  EXPECT_EQ(b1->FFont.FName, "Arial");
  EXPECT_TRUE(b1->FFont.FStyle.Contains(TFontStyle::fsBold));
  EXPECT_EQ(b1->FGlyph.FBytes, std::string("\x42\x4D\x00\xFF", 4));
  ASSERT_EQ(b1->FItems.Count(), 3);
  EXPECT_EQ(b1->FItems[1], "Fran\xE7"
                           "ais");
  EXPECT_EQ(b1->FItems[2], "");
  ASSERT_EQ(b1->FPanels.Count(), 2);
  const auto& item0 = dynamic_cast<const TTestItem&>(b1->FPanels.Items(0));
  EXPECT_EQ(item0.FText, "one");
  EXPECT_EQ(item0.FBevel, TStatusPanelBevel::pbRaised);
  EXPECT_EQ(item0.FData, "\x01\x02");
  EXPECT_EQ(b1->FBuddy, b2);
  b1->FOnClick(b1);
  ASSERT_EQ(form.Clicks.size(), 1u);
  EXPECT_EQ(form.Clicks[0], b1);
}

TEST_F(FormStreaming, WriteReadWriteIsIdentical) {
  TTestForm form(nullptr);
  ReadComponentText(form, kForm);
  const std::string first = WriteComponentText(form);

  TTestForm again(nullptr);
  ReadComponentText(again, first);
  const std::string second = WriteComponentText(again);
  EXPECT_EQ(first, second) << FirstMismatch(first, second);

  // Every byte value survives a text property and a binary property.
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  dynamic_cast<TTestButton*>(again.FindComponent("Button2"))->SetCaption(all);
  dynamic_cast<TTestButton*>(again.FindComponent("Button2"))->FGlyph.FBytes = all;
  const std::string third = WriteComponentText(again);
  TTestForm copy(nullptr);
  ReadComponentText(copy, third);
  auto* b2 = dynamic_cast<TTestButton*>(copy.FindComponent("Button2"));
  EXPECT_EQ(b2->Caption(), all);
  EXPECT_EQ(b2->FGlyph.FBytes, all);
  EXPECT_EQ(WriteComponentText(copy), third);
}

TEST_F(FormStreaming, WriterLeavesOutDefaultsAndNamesBoundHandlers) {
  TTestForm form(nullptr);
  form.SetName("Form1");
  auto* b = new TTestButton(&form);
  b->SetName("Button1");
  b->FOnClick = [](TObject*) {};  // bound in code: nothing to name
  const std::string text = WriteComponentText(form);
  // Texts have no default: a non-empty one is always written.
  EXPECT_EQ(text,
            "object Form1: TTestForm\n  object Button1: TTestButton\n    Font.Name = 'MS Sans Serif'\n  end\nend\n");
}

TEST_F(FormStreaming, ReadingOrderIsPropertiesThenBinaryThenLoaded) {
  const char text[] = R"(object Form1: TTestForm
  object R1: TRecorder
    Mode = 2
    Active = True
    Blob = {03000000616263}
  end
  object R2: TRecorder
    Active = True
  end
end
)";
  std::vector<std::string> log;
  TRecorder::TLogScope scope(log);
  TTestForm form(nullptr);
  ReadComponentText(form, text);
  const std::vector<std::string> expected = {"R1.Mode", "R1.Active", "R1.Blob", "R2.Active", "R1.Loaded",
                                             "R2.Loaded"};
  EXPECT_EQ(log, expected);

  auto* r1 = dynamic_cast<TRecorder*>(form.FindComponent("R1"));
  ASSERT_NE(r1, nullptr);
  EXPECT_TRUE(r1->FReadingDuringSet);
  EXPECT_TRUE(r1->FLoadingDuringLoaded);
  EXPECT_FALSE(r1->IsLoading());
  EXPECT_FALSE(r1->IsReading());
  EXPECT_EQ(r1->FBlob, "abc");
  // Set outside reading: no longer in the reading state.
  r1->SetActive(false);
  EXPECT_FALSE(r1->FReadingDuringSet);
}

TEST_F(FormStreaming, FailuresNameThePropertyAndFreeWhatWasCreated) {
  struct Case {
    const char* body;
    const char* message;
  };
  const Case cases[] = {
      {"object B: TTestButton\n Nope = 1\n end", "Error reading Form1.B.Nope: Property Nope does not exist"},
      {"object Button1: TTestButton\n end\n object C: TTestButton\n Left = x\n end", "Invalid property value"},
      {"object B: TTestButton\n Left = 'x'\n end", "Error reading Form1.B.Left: Invalid property value"},
      {"object B: TTestButton\n Layout = blNowhere\n end", "Invalid property value blNowhere"},
      {"object B: TTestButton\n Anchors = [alTop, alSideways]\n end", "Invalid set member alSideways"},
      {"object B: TTestButton\n Font.Nope = 1\n end", "Property Nope does not exist"},
      {"object B: TTestButton\n Buddy = Missing\n end", "Invalid reference Missing"},
      {"object B: TTestButton\n OnClick = Missing\n end", "Method Missing does not exist"},
      {"object B: TTestButton\n OnClick = WrongSignature\n end", "does not fit event OnClick"},
      {"object B: TTestButton\n Glyph.Data = 'text'\n end", "Binary data expected"},
      {"object B: TTestButton\n end\n object b: TTestButton\n end", "already exists"},
      {"object B: TNoSuchClass\n end", "Class TNoSuchClass not found"},
      {"object 1B: TTestButton\n end", "Invalid form description"},
      {"object Recorder1: TTestButton\n end", "the form's field is a TRecorder, not a TTestButton"},
  };
  for (const Case& c : cases) {
    TTestForm form(nullptr);
    auto* kept = new TTestButton(&form);
    kept->SetName("Kept");
    const std::string text = std::string("object Form1: TTestForm\n") + c.body + "\nend\n";
    try {
      ReadComponentText(form, text);
      ADD_FAILURE() << "no error for: " << c.body;
    } catch (const EReadError& e) {
      EXPECT_NE(e.Message().find(c.message), std::string::npos) << e.Message();
    } catch (const Exception& e) {
      EXPECT_NE(e.Message().find(c.message), std::string::npos) << e.Message();
    }
    ASSERT_EQ(form.ComponentCount(), 1) << c.body;
    EXPECT_EQ(form.Button1, nullptr);
    EXPECT_EQ(form.Components(0), kept);
    EXPECT_FALSE(form.IsLoading());
  }
}

TEST_F(FormStreaming, RootMustBeOfTheDescribedClass) {
  TTestButton wrongRoot(nullptr);
  EXPECT_THROW(ReadComponentText(wrongRoot, "object Form1: TTestForm\nend\n"), EReadError);
  std::unique_ptr<TComponent> created = CreateComponentFromText("object F: TTestForm\nTag = 3\nend");
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->ClassName(), "TTestForm");
  EXPECT_EQ(created->Tag(), 3);
}

TEST_F(FormStreaming, SecondFormOfOneDescriptionTakesTheNextFreeName) {
  TComponent owner(nullptr);
  const char text[] = "object Form1: TTestForm\n object Button1: TTestButton\n end\nend\n";
  auto* first = new TTestForm(&owner);
  auto* second = new TTestForm(&owner);
  auto* third = new TTestForm(&owner);
  ReadComponentText(*first, text);
  ReadComponentText(*second, text);
  ReadComponentText(*third, text);
  EXPECT_EQ(first->Name(), "Form1");
  EXPECT_EQ(second->Name(), "Form1_1");
  EXPECT_EQ(third->Name(), "Form1_2");
  EXPECT_EQ(owner.FindComponent("Form1_1"), second);
  // Children are named within their own form, so each keeps its name.
  EXPECT_NE(second->FindComponent("Button1"), nullptr);
  // Reading again into a named root keeps its name.
  ReadComponentText(*second, "object Form1: TTestForm\nend\n");
  EXPECT_EQ(second->Name(), "Form1_1");
}

TEST_F(FormStreaming, ReferencesAreResolvedAfterTheWholeForm) {
  TTestForm form(nullptr);
  // Button1 names Button2 before Button2 exists in the description; nil clears.
  ReadComponentText(form,
                    "object F: TTestForm\n object Button1: TTestButton\n Buddy = Button2\n end\n"
                    " object Button2: TTestButton\n Buddy = nil\n end\nend\n");
  auto* b1 = dynamic_cast<TTestButton*>(form.FindComponent("Button1"));
  auto* b2 = dynamic_cast<TTestButton*>(form.FindComponent("Button2"));
  EXPECT_EQ(b1->Buddy(), b2);
  EXPECT_EQ(b2->Buddy(), nullptr);
  delete b2;  // free notification clears the reference
  EXPECT_EQ(b1->Buddy(), nullptr);
}

}  // namespace
}  // namespace bw::core::test
