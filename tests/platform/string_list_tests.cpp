// The string list: its line rules and its file round trip.
#include <gtest/gtest.h>

#include "TempFolder.h"
#include "system/Classes.h"
#include "system/SysUtils.h"

namespace {

std::vector<std::string> Items(const TStringList& list) {
  std::vector<std::string> items;
  for (int32_t i = 0; i < list.Count(); ++i) items.push_back(list.Get(i));
  return items;
}

std::vector<std::string> Lines(std::string_view text) {
  TStringList list;
  list.SetText(text);
  return Items(list);
}

using Strings = std::vector<std::string>;

TEST(StringListText, SplitsAtEveryKindOfLineEnd) {
  EXPECT_EQ(Lines(""), Strings{});
  EXPECT_EQ(Lines("a\r\nb\r\n"), (Strings{"a", "b"}));
  EXPECT_EQ(Lines("a\r\nb"), (Strings{"a", "b"}));
  EXPECT_EQ(Lines("a\rb\nc"), (Strings{"a", "b", "c"}));
  EXPECT_EQ(Lines("a\n\rb"), (Strings{"a", "", "b"}));
  EXPECT_EQ(Lines("a\r\n\r\n"), (Strings{"a", ""}));
  EXPECT_EQ(Lines("\r\n"), Strings{""});
  EXPECT_EQ(Lines("\n\n"), (Strings{"", ""}));
}

TEST(StringListText, KeepsBlanksAndEndsALineAtNul) {
  EXPECT_EQ(Lines(" a \r\n\tb"), (Strings{" a ", "\tb"}));
  EXPECT_EQ(Lines(std::string_view("a\r\nb\0c\r\nd", 9)), (Strings{"a", "b", "c", "d"}));
  EXPECT_EQ(Lines(std::string_view("\0a\0", 3)), (Strings{"", "a"}));
}

TEST(StringListText, WritesEveryItemWithCrLf) {
  TStringList list;
  EXPECT_EQ(list.GetText(), "");
  list.Add("a");
  list.Add("");
  list.Add("b ");
  EXPECT_EQ(list.GetText(), "a\r\n\r\nb \r\n");
}

TEST(StringListItems, ExchangeDeleteAndRangeChecks) {
  TStringList list;
  list.SetText("a\nb\nc\nb");
  list.Exchange(0, 1);
  EXPECT_EQ(Items(list), (Strings{"b", "a", "c", "b"}));
  list.Delete(1);
  list.Put(0, "");
  EXPECT_EQ(Items(list), (Strings{"", "c", "b"}));
  EXPECT_THROW(list.Get(3), ERangeError);
  EXPECT_THROW(list.Delete(-1), ERangeError);
  EXPECT_THROW(list.Exchange(2, 3), ERangeError);
}

TEST(StringListFile, RoundTripsAndKeepsItemsWhenLoadingFails) {
  TempFolder folder;
  TStringList list;
  list.SetText("one\ntwo");
  list.SaveToFile(folder.Path() + "list.txt");
  EXPECT_EQ(folder.Read("list.txt"), "one\r\ntwo\r\n");

  TStringList read;
  read.Add("kept");
  EXPECT_THROW(read.LoadFromFile(folder.Path() + "missing.txt"), EFOpenError);
  EXPECT_EQ(Items(read), Strings{"kept"});
  read.LoadFromFile(folder.Path() + "list.txt");
  EXPECT_EQ(Items(read), (Strings{"one", "two"}));
}

}  // namespace
