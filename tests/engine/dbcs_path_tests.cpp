// Paths with double-byte characters, under a Japanese system code page (the ctest "engine_dbcs" runs these
// with a Japanese locale). 0x95 0x5C is one Shift-JIS character whose second byte is the backslash's code.
#include <gtest/gtest.h>

#include "FakeShell.h"
#include "ProgramFolder.h"
#include "TempFolder.h"
#include "engine/uWallPaper.h"
#include "system/FileUtils.h"

namespace {

const char kWideTable[] = "\x95\x5C";

class DbcsPaths : public ::testing::Test {
protected:
  void SetUp() override {
    if (GetACP() != 932) GTEST_SKIP() << "needs the Japanese system code page";
  }
};

TEST_F(DbcsPaths, TitlesAndFoldersSplitOnlyAtRealBackslashes) {
  TempFolder folder;
  ProgramFolder program(folder.Path());
  TWallpaperList list;
  list.Add(std::string("C:\\pics\\") + kWideTable + ".jpg");
  list.Add(std::string("C:\\") + kWideTable + "\\" + kWideTable);
  EXPECT_EQ(list.GetTitle(0), kWideTable);
  EXPECT_EQ(list.GetFolder(0), "C:\\pics\\");
  EXPECT_EQ(list.GetTitle(1), kWideTable);
  EXPECT_EQ(list.GetFolder(1), std::string("C:\\") + kWideTable + "\\");
  EXPECT_EQ(IncludeTrailingBackslash(std::string("C:\\") + kWideTable), std::string("C:\\") + kWideTable + "\\");
}

TEST_F(DbcsPaths, ProgramFolderWhoseNameEndsInTheBackslashCode) {
  TempFolder base;
  const std::string folder = base.Path() + kWideTable + "\\";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  ProgramFolder program(folder);
  EXPECT_EQ(TWallpaperList::GetAppDir(), folder);
  const std::string picture = base.Write(std::string(kWideTable) + "\\" + kWideTable + ".jpg", "picture");
  {
    TWallpaperList list;
    list.Add(picture);
  }
  TWallpaperList list;
  list.LoadFromFile();
  EXPECT_EQ(list.GetFileName(0), picture);
  EXPECT_TRUE(list.IsValidItem(0));
}

// The second byte of the extension's character is no backslash: the extension is replaced, not kept.
TEST_F(DbcsPaths, ACompanionFileTakesThePlaceOfTheExtension) {
  EXPECT_EQ(ChangeFileExt(std::string("C:\\pics\\x.") + kWideTable, ".pal"), "C:\\pics\\x.pal");
  EXPECT_EQ(ChangeFileExt(std::string("C:\\") + kWideTable + ".d\\" + kWideTable, ".pal"),
            std::string("C:\\") + kWideTable + ".d\\" + kWideTable + ".pal");
}

TEST_F(DbcsPaths, TypeTextFallbackTakesTheExtensionAfterARealDot) {
  TempFolder folder;
  ProgramFolder program(folder.Path());
  FakeShell shell("");
  TWallpaperList list;
  list.Add(std::string("C:\\pics\\a.") + kWideTable);
  list.Add(std::string("C:\\a.b\\") + kWideTable);
  EXPECT_EQ(list.GetTypeText(0), std::string(kWideTable) + " File");
  EXPECT_EQ(list.GetTypeText(1), "File");
}

// "caf\u00E9.jpg" on a Japanese system: its short name opens it, no near name ("cafe.jpg" is another file).
TEST_F(DbcsPaths, ANameTheCodePageLacksComesAsItsShortNameNotANearOne) {
  TempFolder folder;
  const std::wstring accented = Widened(folder.Path()) + L"caf\u00E9.jpg";
  ASSERT_TRUE(MoveFileW(Widened(folder.Write("accented.jpg", "accented")).c_str(), accented.c_str()));
  folder.Write("cafe.jpg", "plain");
  EXPECT_EQ(ReadWholeFile(AnsiPath(accented).value_or("")), "accented");
}

}  // namespace
