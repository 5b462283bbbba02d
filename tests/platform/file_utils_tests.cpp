// The file utilities: path splitting with double-byte characters, the directory-search queries, and
// whole-file reading and safe replacing.
#include <gtest/gtest.h>

#include "TempFolder.h"
#include "system/FileUtils.h"
#include "system/SysUtils.h"

namespace {

const UINT kShiftJis = 932;
const UINT kWestern = 1252;

TEST(LastDelimiter, FindsTheLastOfAnyDelimiter) {
  EXPECT_EQ(LastDelimiter("\\:", "C:\\Pictures\\beach.jpg", kWestern), 11u);
  EXPECT_EQ(LastDelimiter("\\:", "C:beach.jpg", kWestern), 1u);
  EXPECT_EQ(LastDelimiter("\\:", "beach.jpg", kWestern), std::string::npos);
  EXPECT_EQ(LastDelimiter(".", "", kWestern), std::string::npos);
}

TEST(LastDelimiter, SkipsTheSecondByteOfDoubleByteCharacters) {
  // 0x95 0x5C is one Shift-JIS character whose second byte is the backslash's code.
  const std::string path = "C:\\pics\\\x95\x5C.jpg";
  EXPECT_EQ(LastDelimiter("\\", path, kShiftJis), 7u);
  EXPECT_EQ(LastDelimiter("\\", path, kWestern), 9u);
  EXPECT_EQ(LastDelimiter(".", path, kShiftJis), 10u);
  // A lead byte followed by a real backslash pair: only the last backslash is free.
  EXPECT_EQ(LastDelimiter("\\", "a\x95\\\\", kShiftJis), 3u);
  // A lead byte at the very end has no second byte to hide.
  EXPECT_EQ(LastDelimiter("\\", "a\\\x95", kShiftJis), 1u);
}

TEST(PathParts, SplitAtTheLastBackslashOrColon) {
  EXPECT_EQ(ExtractFilePath("C:\\Pictures\\beach.jpg"), "C:\\Pictures\\");
  EXPECT_EQ(ExtractFileName("C:\\Pictures\\beach.jpg"), "beach.jpg");
  EXPECT_EQ(ExtractFilePath("C:beach.jpg"), "C:");
  EXPECT_EQ(ExtractFileName("C:beach.jpg"), "beach.jpg");
  EXPECT_EQ(ExtractFilePath("beach.jpg"), "");
  EXPECT_EQ(ExtractFileName("beach.jpg"), "beach.jpg");
  EXPECT_EQ(IncludeTrailingBackslash("C:\\Pictures"), "C:\\Pictures\\");
  EXPECT_EQ(IncludeTrailingBackslash("C:\\Pictures\\"), "C:\\Pictures\\");
  EXPECT_EQ(IncludeTrailingBackslash(""), "\\");
  EXPECT_EQ(ChangeFileExt("C:\\Pictures\\halo.cut", ".pal"), "C:\\Pictures\\halo.pal");
  EXPECT_EQ(ChangeFileExt("C:\\Pictures\\a.b.cut", ".pal"), "C:\\Pictures\\a.b.pal");
  EXPECT_EQ(ChangeFileExt("C:\\Pictures.d\\halo", ".pal"), "C:\\Pictures.d\\halo.pal");
  EXPECT_EQ(ChangeFileExt("C:halo", ".pal"), "C:halo.pal");
}

TEST(DirectorySearch, FindsFilesAndFoldersButNotTheEmptyPath) {
  TempFolder folder;
  const std::string empty = folder.Write("empty.jpg", "");
  const std::string full = folder.Write("full.jpg", "12345");
  EXPECT_TRUE(FileExists(empty));
  EXPECT_TRUE(FileExists(full));
  EXPECT_TRUE(FileExists(folder.Path() + "."));
  CreateDirectoryA((folder.Path() + "sub").c_str(), nullptr);
  EXPECT_TRUE(FileExists(folder.Path() + "sub"));
  EXPECT_FALSE(FileExists(folder.Path() + "missing.jpg"));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FileExists("Q:\\nowhere\\picture.jpg"));
}

// The existence test answers as a directory search does, also where a quicker query would answer otherwise.
// Wildcards name no file: "??????.jpg" comes from a lossy name.
TEST(DirectorySearch, AnswersAsTheSearchForSeparatorsAndNotForPatterns) {
  TempFolder folder;
  folder.Write("sunset.jpg", "12345");
  CreateDirectoryA((folder.Path() + "sub").c_str(), nullptr);
  EXPECT_FALSE(FileExists(folder.Path() + "*.jpg"));
  EXPECT_FALSE(FileExists(folder.Path() + "suns?t.JPG"));
  EXPECT_FALSE(FileExists(folder.Path() + "*.png"));
  EXPECT_TRUE(FileExists(folder.Path() + "SUNSET.JPG"));
  EXPECT_TRUE(FileExists(folder.Path() + "sub"));
  EXPECT_FALSE(FileExists(folder.Path() + "sub\\"));
  EXPECT_FALSE(FileExists(folder.Path()));
  EXPECT_FALSE(FileExists("C:\\"));
}

TEST(DirectorySearch, SizeAndLastWriteRaiseWhenNothingIsFound) {
  TempFolder folder;
  EXPECT_EQ(GetSizeOfFile(folder.Write("full.jpg", "12345")), 5);
  EXPECT_EQ(GetSizeOfFile(folder.Write("empty.jpg", "")), 0);
  EXPECT_THROW(GetSizeOfFile(folder.Path() + "missing.jpg"), EFOpenError);
  EXPECT_THROW(GetSizeOfFile(""), EFOpenError);
  EXPECT_THROW(GetFileLastWrite(folder.Path() + "missing.jpg"), EFOpenError);
}

TEST(DirectorySearch, ReportsSizesOfFourGigabytesAndMore) {
  TempFolder folder;
  const std::string path = folder.Path() + "huge.bin";
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = 0x140000001LL;
  const bool sized = SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  if (!sized) GTEST_SKIP() << "no room for a sparse 5 GiB file";
  EXPECT_EQ(GetSizeOfFile(path), 0x140000001LL);
}

TEST(DirectorySearch, GivesTheLastWriteTime) {
  TempFolder folder;
  const std::string path = folder.Write("full.jpg", "12345");
  SYSTEMTIME when{2003, 7, 0, 14, 9, 30, 15, 0};
  FILETIME written;
  SystemTimeToFileTime(&when, &written);
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
  CloseHandle(file);
  const FILETIME found = GetFileLastWrite(path);
  EXPECT_EQ(found.dwHighDateTime, written.dwHighDateTime);
  EXPECT_EQ(found.dwLowDateTime, written.dwLowDateTime);
}

TEST(WholeFile, ReadsEveryByteAndRefusesWhatIsMissingOrLocked) {
  TempFolder folder;
  const std::string content("a\0b\r\n", 5);
  const std::string path = folder.Write("data.bin", content);
  EXPECT_EQ(ReadWholeFile(path), content);
  EXPECT_EQ(ReadWholeFile(folder.Write("empty.bin", "")), "");
  EXPECT_THROW(ReadWholeFile(folder.Path() + "missing.bin"), EFOpenError);
  // Reading denies writing to others, so a file that someone is writing cannot be opened.
  HANDLE writer =
      CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_THROW(ReadWholeFile(path), EFOpenError);
  CloseHandle(writer);
}

TEST(SafeReplace, WritesNewAndReplacesOldFiles) {
  TempFolder folder;
  const std::string path = folder.Path() + "list.txt";
  WriteFileReplacing(path, "first");
  EXPECT_EQ(folder.Read("list.txt"), "first");
  WriteFileReplacing(path, "");
  EXPECT_EQ(folder.Read("list.txt"), "");
  WriteFileReplacing(path, "second");
  EXPECT_EQ(folder.Read("list.txt"), "second");
  WriteFileReplacing(path, [](const TWritePiece& write) { write("third, not waiting for the disk"); },
                     TReplaceFlush::Deferred);
  EXPECT_EQ(folder.Read("list.txt"), "third, not waiting for the disk");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"list.txt"});
}

TEST(SafeReplace, KeepsTheOldFileWholeWhenItCannotBeReplaced) {
  TempFolder folder;
  const std::string path = folder.Write("list.txt", "old content\r\n");

  // Held open without delete sharing, as an editor or a virus scanner may hold it.
  HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  EXPECT_ANY_THROW(WriteFileReplacing(path, "new"));
  CloseHandle(holder);
  EXPECT_EQ(folder.Read("list.txt"), "old content\r\n");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"list.txt"});
}

TEST(SafeReplace, RefusesToReplaceAReadOnlyFileAsWindowsDoes) {
  TempFolder folder;
  const std::string path = folder.Write("list.txt", "old content\r\n");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_THROW(WriteFileReplacing(path, "new"), EFCreateError);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(folder.Read("list.txt"), "old content\r\n");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"list.txt"});
}

TEST(SafeReplace, RaisesWhenTheFolderIsMissing) {
  TempFolder folder;
  EXPECT_ANY_THROW(WriteFileReplacing(folder.Path() + "gone\\list.txt", "new"));
  EXPECT_TRUE(folder.Names().empty());
}

TEST(SafeReplace, GathersPiecesAndDropsTheTemporaryFileWhenTheProducerFails) {
  TempFolder folder;
  const std::string path = folder.Path() + "big.bin";
  const std::string big((1 << 20) + 3, 'b');
  WriteFileReplacing(path, [&](const TWritePiece& write) {
    for (int i = 0; i < 1000; ++i) write("0123456789");
    write(big);
    write("");
    write("end");
  });
  std::string expected;
  for (int i = 0; i < 1000; ++i) expected += "0123456789";
  EXPECT_EQ(folder.Read("big.bin"), expected + big + "end");
  EXPECT_THROW(WriteFileReplacing(path,
                                  [&](const TWritePiece& write) {
                                    write(big);
                                    throw EInOutError("stopped");
                                  }),
               EInOutError);
  EXPECT_EQ(folder.Read("big.bin"), expected + big + "end");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"big.bin"});
}

}  // namespace
