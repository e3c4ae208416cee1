#include "framework/core/StringList.h"

#include <gtest/gtest.h>

#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"

namespace bw::core {
namespace {

TEST(StringList, TextUsesCrLfAndSplitsAnyBreak) {
  TStringList list;
  list.SetText("one\r\ntwo\nthree\rfour\r\n");
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list[2], "three");
  EXPECT_EQ(list.Text(), "one\r\ntwo\r\nthree\r\nfour\r\n");
  list.SetText("a\n\nb");
  EXPECT_EQ(list.Count(), 3);  // an empty line in the middle is a line
  EXPECT_EQ(list[1], "");
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Text(), "");
}

TEST(StringList, ObjectsTravelWithTheirLines) {
  TStringList list;
  TObject a, b;
  list.AddObject("first", &a);
  list.AddObject("second", &b);
  list.Move(0, 1);
  EXPECT_EQ(list[1], "first");
  EXPECT_EQ(list.GetObject(1), &a);
  list.Exchange(0, 1);
  EXPECT_EQ(list.GetObject(0), &a);
  EXPECT_EQ(list.IndexOfObject(&b), 1);
  TStringList copy;
  copy.Assign(list);
  EXPECT_TRUE(copy.Equals(list));
  EXPECT_EQ(copy.GetObject(1), &b);
  EXPECT_THROW(list.Get(2), EStringListError);
  EXPECT_THROW(list.Delete(-1), EStringListError);
  EXPECT_THROW(list.Insert(3, "x"), EStringListError);
}

TEST(StringList, SortedListsKeepOrderAndHandleDuplicates) {
  TStringList list;
  list.Add("pear");
  list.Add("Apple");
  list.Add("fig");
  list.SetSorted(true);
  EXPECT_EQ(list.Text(), "Apple\r\nfig\r\npear\r\n");
  EXPECT_EQ(list.Add("banana"), 1);
  EXPECT_EQ(list.Add("APPLE"), 0);  // ignored: answers the existing line
  EXPECT_EQ(list.Count(), 4);
  std::int32_t at = -1;
  EXPECT_TRUE(list.Find("FIG", at));
  EXPECT_EQ(at, 2);
  EXPECT_FALSE(list.Find("grape", at));
  EXPECT_EQ(at, 3);
  EXPECT_EQ(list.IndexOf("Pear"), 3);
  list.SetDuplicates(TDuplicates::dupError);
  EXPECT_THROW(list.Add("pear"), EStringListError);
  list.SetDuplicates(TDuplicates::dupAccept);
  list.Add("pear");
  EXPECT_EQ(list.Count(), 5);
  EXPECT_THROW(list.Insert(0, "zzz"), EStringListError);
  EXPECT_THROW(list.Put(0, "zzz"), EStringListError);

  TStringList exact;
  exact.SetCaseSensitive(true);
  exact.SetSorted(true);
  exact.Add("b");
  exact.Add("B");
  exact.Add("a");
  EXPECT_EQ(exact.Text(), "B\r\na\r\nb\r\n");
  EXPECT_EQ(exact.IndexOf("A"), -1);
}

TEST(StringList, NameValuePairs) {
  TStringList list;
  list.Add("TRzButton=button");
  list.Add("Language=EN");
  EXPECT_EQ(list.Values("language"), "EN");
  EXPECT_EQ(list.Names(0), "TRzButton");
  EXPECT_EQ(list.IndexOfName("TRzButtonX"), -1);
  list.SetValue("Language", "FR");
  EXPECT_EQ(list[1], "Language=FR");
  list.SetValue("Extra", "1");
  EXPECT_EQ(list.Count(), 3);
  list.SetValue("Extra", "");
  EXPECT_EQ(list.Count(), 2);
}

TEST(StringList, ChangeEventsFireOncePerUpdate) {
  TStringList list;
  int changes = 0;
  list.OnChange = [&](TObject*) { ++changes; };
  list.Add("a");
  EXPECT_EQ(changes, 1);
  list.SetText("x\ny\nz");  // one batch
  EXPECT_EQ(changes, 2);
  list.BeginUpdate();
  list.Add("1");
  list.Delete(0);
  EXPECT_EQ(changes, 2);
  list.EndUpdate();
  EXPECT_EQ(changes, 3);
}

TEST(StringList, StreamsCarryTheText) {
  TStringList list;
  list.Add("Fran\xE7" "ais");
  list.Add("English");
  TMemoryStream m;
  list.SaveToStream(m);
  EXPECT_EQ(m.Size(), 19);
  m.SetPosition(0);
  TStringList back;
  back.LoadFromStream(m);
  EXPECT_TRUE(back.Equals(list));
}

}  // namespace
}  // namespace bw::core
