// The collection: reading and writing the list file, blanking, moving, the record cache and the entry texts.
#include <gtest/gtest.h>

#include "ProgramFolder.h"
#include "TempFolder.h"
#include "engine/uWallPaper.h"

namespace {

using Strings = std::vector<std::string>;

class WallpaperListTest : public ::testing::Test {
protected:
  std::string Picture(const std::string& name, const std::string& content = "picture") {
    return Folder.Write(name, content);
  }
  void WriteListFile(const std::string& content) { Folder.Write("wallp.sl", content); }
  std::string ListFile() const { return Folder.Read("wallp.sl"); }
  Strings Entries() const {
    Strings entries;
    for (int32_t i = 0; i <= List.LastIndex(); ++i) entries.push_back(List.GetFileName(i));
    return entries;
  }

  TempFolder Folder;
  ProgramFolder Program{Folder.Path()};
  TWallpaperList List;
};

TEST_F(WallpaperListTest, MissingOrEmptyListFileGivesNoEntries) {
  List.LoadFromFile();
  EXPECT_EQ(List.LastIndex(), -1);
  EXPECT_FALSE(List.HasItems());
  EXPECT_TRUE(List.IsEmpty());

  WriteListFile("");
  List.LoadFromFile();
  EXPECT_EQ(List.LastIndex(), -1);
  EXPECT_TRUE(List.IsEmpty());
}

TEST_F(WallpaperListTest, MissingListFileKeepsTheEntriesInMemory) {
  const std::string a = Picture("a.jpg");
  List.Add(a);
  List.LoadFromFile();
  EXPECT_EQ(Entries(), Strings{a});
}

TEST_F(WallpaperListTest, ReadsEveryKindOfLineEndAndKeepsMissingFiles) {
  const std::string a = Picture("a.jpg"), b = Picture("b.jpg"), c = Picture("c.jpg"), d = Picture("d.jpg");
  const std::string missing = Folder.Path() + "missing.jpg";
  WriteListFile(a + "\r\n" + missing + "\r" + b + "\n" + c + "\n\r" + d);
  List.LoadFromFile();
  EXPECT_EQ(Entries(), (Strings{a, "", b, c, d}));

  WriteListFile(a + "\r\n" + b + "\r\n\r\n");
  List.LoadFromFile();
  EXPECT_EQ(Entries(), (Strings{a, b}));

  WriteListFile("\r\n\r\n" + missing + "\r\n");
  List.LoadFromFile();
  EXPECT_EQ(Entries(), Strings{""});
}

TEST_F(WallpaperListTest, NulEndsItsLineNotTheListFile) {
  const std::string a = Picture("a.jpg"), b = Picture("b.jpg");
  WriteListFile(a + "\r\n" + std::string(1, '\0') + b + "\r\n");
  List.LoadFromFile();
  EXPECT_EQ(Entries(), (Strings{a, b}));
}

TEST_F(WallpaperListTest, TakesPathsExactlyAsRead) {
  const std::string a = Picture("a.jpg");
  WriteListFile(Folder.Path() + "missing.jpg \r\n" + a + "\r\n" + a + "\r\n");
  List.LoadFromFile();
  EXPECT_EQ(Entries(), (Strings{"", a, a}));
  List.Add(a + " ");
  List.SaveToFile();
  EXPECT_EQ(ListFile(), Folder.Path() + "missing.jpg \r\n" + a + "\r\n" + a + "\r\n" + a + " \r\n");
}

TEST_F(WallpaperListTest, DuplicatesAreSeparateEntriesAndTheEmptyPathIsIgnored) {
  const std::string a = Picture("a.jpg");
  List.Add(a);
  List.Add("");
  List.Add(a);
  ASSERT_EQ(List.LastIndex(), 1);
  EXPECT_EQ(List.GetProperties(0), nullptr);
  TFileProperties* first = List.NewProperties(0);
  TFileProperties* second = List.NewProperties(1);
  EXPECT_NE(first, second);
  EXPECT_EQ(List.GetProperties(1), second);
  EXPECT_EQ(second->Width, 0);
  EXPECT_EQ(second->BitsPerPixel, 0u);
  EXPECT_TRUE(second->SizeText.empty() && second->TypeText.empty());
}

TEST_F(WallpaperListTest, BlankingKeepsIndexesAndReadingBackCompacts) {
  const std::string a = Picture("a.jpg"), b = Picture("b.jpg"), c = Picture("c.jpg");
  for (const std::string& path : {a, b, c}) List.Add(path);
  List.NewProperties(1);
  List.NewProperties(2)->Width = 640;

  List.Delete(1);
  List.Delete(7);
  List.Delete(-1);
  EXPECT_EQ(List.LastIndex(), 2);
  EXPECT_EQ(List.GetFileName(1), "");
  EXPECT_EQ(List.GetTitle(1), "");
  EXPECT_EQ(List.GetProperties(1), nullptr);
  EXPECT_EQ(List.GetFileName(2), c);

  List.SaveToFile();
  EXPECT_EQ(ListFile(), a + "\r\n\r\n" + c + "\r\n");
  List.LoadFromFile();
  EXPECT_EQ(Entries(), (Strings{a, c}));
  EXPECT_EQ(List.GetProperties(1), nullptr);
}

TEST_F(WallpaperListTest, MovesCarryRecordsWithTheirEntries) {
  const std::string a = Picture("a.jpg"), b = Picture("b.jpg"), c = Picture("c.jpg");
  for (const std::string& path : {a, b, c}) List.Add(path);
  List.NewProperties(0)->Width = 100;

  List.MoveDown(0);
  EXPECT_EQ(Entries(), (Strings{b, a, c}));
  EXPECT_EQ(List.GetProperties(0), nullptr);
  ASSERT_NE(List.GetProperties(1), nullptr);
  EXPECT_EQ(List.GetProperties(1)->Width, 100);

  // The record moves onto a position past the cache's end, and an entry without one moves like any other.
  List.MoveDown(1);
  EXPECT_EQ(Entries(), (Strings{b, c, a}));
  ASSERT_NE(List.GetProperties(2), nullptr);
  EXPECT_EQ(List.GetProperties(2)->Width, 100);
  EXPECT_EQ(List.GetProperties(1), nullptr);

  List.Delete(0);
  List.MoveUp(1);
  EXPECT_EQ(Entries(), (Strings{c, "", a}));
}

TEST_F(WallpaperListTest, MovesPastEitherEndChangeNothing) {
  const std::string a = Picture("a.jpg"), b = Picture("b.jpg");
  List.Add(a);
  List.Add(b);
  EXPECT_FALSE(List.CanMoveUp(0));
  EXPECT_FALSE(List.CanMoveDown(1));
  EXPECT_TRUE(List.CanMoveUp(1));
  EXPECT_TRUE(List.CanMoveDown(0));
  for (int32_t index : {-1, 2, 5}) {
    EXPECT_FALSE(List.CanMoveUp(index));
    EXPECT_FALSE(List.CanMoveDown(index));
    List.MoveUp(index);
    List.MoveDown(index);
  }
  List.MoveUp(0);
  List.MoveDown(1);
  EXPECT_EQ(Entries(), (Strings{a, b}));
}

TEST_F(WallpaperListTest, ClearRemovesEntriesAndRecords) {
  List.Add(Picture("a.jpg"));
  List.NewProperties(0);
  List.Clear();
  EXPECT_TRUE(List.IsEmpty());
  EXPECT_EQ(List.GetProperties(0), nullptr);
  List.SaveToFile();
  EXPECT_EQ(ListFile(), "");
}

TEST_F(WallpaperListTest, EmptyFilesAndFoldersExistButAreNotValidItems) {
  const std::string good = Picture("good.jpg"), empty = Picture("empty.jpg", "");
  const std::string folder = Folder.Path() + "sub";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string gone = Picture("gone.jpg");
  for (const std::string& path : {good, empty, folder, gone}) List.Add(path);
  DeleteFileA(gone.c_str());

  EXPECT_EQ(Entries(), (Strings{good, empty, folder, ""}));
  EXPECT_TRUE(List.IsValidItem(0));
  EXPECT_FALSE(List.IsValidItem(1));
  EXPECT_FALSE(List.IsValidItem(2));
  EXPECT_FALSE(List.IsValidItem(3));
  EXPECT_FALSE(List.IsValidItem(4));
  EXPECT_TRUE(TWallpaperList::IsNonEmptyFile(good));
  EXPECT_FALSE(TWallpaperList::IsNonEmptyFile(empty));
  EXPECT_FALSE(TWallpaperList::IsNonEmptyFile(gone));

  List.RemoveInvalid();
  EXPECT_EQ(List.LastIndex(), 3);
  EXPECT_EQ(Entries(), (Strings{good, "", "", ""}));
}

TEST_F(WallpaperListTest, TitlesAndFoldersComeFromThePathAlone) {
  for (const char* path : {"C:\\Pictures\\sunset", "C:\\Pictures\\beach.2003.jpg", "C:\\Pictures\\.jpg",
                           "beach.jpg", "C:beach.jpg", "\\\\server\\share\\dog.png"})
    List.Add(path);
  EXPECT_EQ(List.GetTitle(0), "sunset");
  EXPECT_EQ(List.GetTitle(1), "beach.2003");
  EXPECT_EQ(List.GetTitle(2), "");
  EXPECT_EQ(List.GetTitle(3), "beach");
  EXPECT_EQ(List.GetTitle(4), "beach");
  EXPECT_EQ(List.GetTitle(5), "dog");
  EXPECT_EQ(List.GetFolder(1), "C:\\Pictures\\");
  EXPECT_EQ(List.GetFolder(3), "");
  EXPECT_EQ(List.GetFolder(4), "C:");
  EXPECT_EQ(List.GetFolder(5), "\\\\server\\share\\");
  EXPECT_EQ(List.GetTitle(6), "");
  EXPECT_EQ(List.GetFolder(-1), "");
  EXPECT_EQ(List.GetFileName(0), "");
}

TEST_F(WallpaperListTest, DateTextIsEmptyOnceTheFileIsGone) {
  const std::string path = Picture("a.jpg");
  SYSTEMTIME when{2003, 7, 0, 14, 12, 30, 15, 0};
  FILETIME written;
  SystemTimeToFileTime(&when, &written);
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFileTime(file, nullptr, nullptr, &written);
  CloseHandle(file);
  List.Add(path);

  const std::string text = List.GetDateText(0);
  EXPECT_NE(text.find("2003"), std::string::npos) << text;
  EXPECT_NE(text.find(':'), std::string::npos) << text;
  EXPECT_EQ(List.GetDateText(1), "");

  DeleteFileA(path.c_str());
  EXPECT_EQ(List.GetDateText(0), "");
  EXPECT_EQ(List.GetFileName(0), "");
  EXPECT_EQ(List.GetTitle(0), "a");
  EXPECT_EQ(List.GetFolder(0), Folder.Path());
}

TEST_F(WallpaperListTest, ListFileLiesInTheProgramFolderAndIsSavedAtTheEnd) {
  EXPECT_EQ(TWallpaperList::GetAppDir(), Folder.Path());
  const std::string a = Picture("a.jpg");
  {
    TWallpaperList list;
    list.Add(a);
  }
  EXPECT_EQ(ListFile(), a + "\r\n");
}

// A killed save leaves its temporary file: reading and saving remove ours unless a write still holds it open.
TEST_F(WallpaperListTest, ReadingAndSavingRemoveTheLeftoversOfKilledSaves) {
  for (const char* name : {"orl12345.tmp", "orlx.tmp", "orl1.txt", "ORLA0B.TMP"}) Folder.Write(name, "");
  HANDLE live = CreateFileA(Folder.File("orl2c.tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  List.LoadFromFile();
  CloseHandle(live);
  EXPECT_EQ(Folder.Read("ORLA0B.TMP"), "<missing>");
  EXPECT_EQ(Folder.Names().size(), 4u);
  List.SaveToFile();
  EXPECT_EQ(Folder.Read("orl2c.tmp"), "<missing>");
}

TEST(WallpaperListFolder, UnwritableProgramFolderKeepsTheCollectionInMemory) {
  TempFolder folder;
  ProgramFolder program(folder.Path() + "missing\\");
  const std::string a = folder.Write("a.jpg", "picture");
  TWallpaperList list;
  list.Add(a);
  list.SaveToFile();
  list.LoadFromFile();
  EXPECT_EQ(list.GetFileName(0), a);
  EXPECT_TRUE(list.IsValidItem(0));
}

}  // namespace
