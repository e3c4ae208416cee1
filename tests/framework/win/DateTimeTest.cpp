// Date-time pickers: the texts they take and give, their styles, and the change event.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "framework/core/Exceptions.h"
#include "framework/core/FormStreaming.h"
#include "tests/framework/win/ComCtrlsFixture.h"
#include "tests/support/WinTestSupport.h"

namespace bw::win::test {
namespace {

TEST(DateText, OnlyRealDatesAndTimesAreAccepted) {
  SYSTEMTIME st{};
  EXPECT_TRUE(ParseDate("2024-02-29", st));
  EXPECT_EQ(FormatDate(st), "2024-02-29");
  const char* const badDates[] = {"2023-02-29", "1900-02-29", "2024-13-01", "2024-00-10", "2024-04-31",
                                  "1600-12-31", "2024-1-01",  "2024/01/01", "",           "2024-01-01x",
                                  "2O24-01-01", "-024-01-01"};
  for (const char* text : badDates) EXPECT_FALSE(ParseDate(text, st)) << text;
  EXPECT_EQ(FormatDate(st), "2024-02-29");  // untouched by a failure
  EXPECT_TRUE(ParseDate("2000-02-29", st));
  EXPECT_TRUE(ParseTime("23:59:59", st));
  EXPECT_EQ(FormatTime(st), "23:59:59");
  for (const char* text : {"24:00:00", "12:60:00", "12:00:60", "1:00:00", "12:00", "12-00-00", ""})
    EXPECT_FALSE(ParseTime(text, st)) << text;
}

TEST_F(ComCtrlsTest, DateTimePickerValuesThroughTheWindow) {
  Show();
  TDateTimePicker& date = *FForm->DateTimePicker1;
  SYSTEMTIME st{};
  ASSERT_EQ(SendMessageW(date.Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), GDT_VALID);
  EXPECT_EQ(st.wYear, 2024);
  EXPECT_EQ(st.wMonth, 2);
  EXPECT_EQ(st.wDay, 29);
  // A date the user picks is what the property reads, and the change is reported.
  st.wDay = 3;
  SendMessageW(date.Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
  EXPECT_EQ(date.Date(), "2024-02-03");
  RECT field;
  GetClientRect(date.Handle(), &field);
  Click(date.Handle(), 6, field.bottom / 2);          // picks the first field
  SendMessageW(date.Handle(), WM_KEYDOWN, VK_UP, 0);  // and steps it
  ASSERT_TRUE(bw::test::PumpUntil([&] { return FForm->Logged("DateTimePicker1Change"); }));
  EXPECT_NE(date.Date(), "2024-02-03");

  EXPECT_THROW(date.SetDate("2024-02-30"), core::Exception);
  EXPECT_THROW(date.SetTime("25:00:00"), core::Exception);
  EXPECT_EQ(core::SetStrProp(&date, "Date", "1999-12-31"), core::TPropResult::Done);
  EXPECT_EQ(date.Date(), "1999-12-31");

  TDateTimePicker& time = *FForm->DateTimePicker2;
  EXPECT_EQ(time.Time(), "13:45:30");
  EXPECT_TRUE(GetWindowLongPtrW(time.Handle(), GWL_STYLE) & DTS_TIMEFORMAT);
  // Kind and mode make a new window that keeps the value.
  date.SetDateMode(core::TDTDateMode::dmUpDown);
  EXPECT_TRUE(GetWindowLongPtrW(date.Handle(), GWL_STYLE) & DTS_UPDOWN);
  EXPECT_EQ(date.Date(), "1999-12-31");
  time.SetKind(core::TDateTimeKind::dtkDate);
  EXPECT_EQ(time.Time(), "13:45:30");
}

TEST_F(ComCtrlsTest, BadDateInADescriptionIsAReadError) {
  auto* form = new TForm(nullptr);
  const std::string text =
      "object F: TForm\n  object P: TDateTimePicker\n    Date = '2023-02-29'\n  end\nend\n";
  try {
    core::ReadComponentText(*form, text);
    ADD_FAILURE() << "read without error";
  } catch (const core::EReadError& e) {
    EXPECT_NE(std::string(e.what()).find("not a date"), std::string::npos) << e.what();
  }
  delete form;
}

}  // namespace
}  // namespace bw::win::test
