// Editing under load, with files that are away or cannot be written, and with names beyond the code page.
#include <gtest/gtest.h>

#include <cstdio>

#include "system/SysUtils.h"
#include "shell/EditingTestSupport.h"

namespace {

using EditingReliability = EditingTest;

TEST_F(EditingReliability, FiveThousandFilesInOneBatchAreSavedOnceAndAllKept) {
  CreateWith(1, 1);
  // Adding tests nothing of the files, so they need not be there (writing 5,000 files under Wine takes long).
  std::vector<std::string> files;
  for (int k = 0; k < 5000; ++k) files.push_back(FFolder.File("m" + std::to_string(k) + ".bmp"));
  Choose(files);
  TSaveCounter saves(FFolder.Path(), "wallp.sl");
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  frmEditor->AddImages();
  QueryPerformanceCounter(&end);
  std::printf("adding 5000 files took %.0f ms\n", 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                                                      static_cast<double>(frequency.QuadPart));
  EXPECT_EQ(1, saves.Saves());
  ASSERT_EQ(5001, frmEditor->vstWallpapers.RootNodeCount());
  EXPECT_EQ(5000, *frmEditor->vstWallpapers.GetNodeData(Row(5000)));
  EXPECT_EQ(0, FocusedPicture());

  std::string expected = FPictures[0] + "\r\n";
  for (const std::string& file : files) expected += file + "\r\n";
  EXPECT_TRUE(expected == FFolder.Read("wallp.sl"));
}

// The first failed write of each file is said, naming it and the reason; the collection goes on in memory, also
// through "Remove Dead", which would otherwise read the stale file back.
TEST_F(EditingReliability, AReadOnlyListFileOrDesktopBitmapIsSaidOnceAndLosesNothingInMemory) {
  CreateWith(3, 2);
  const std::string list = FFolder.File("wallp.sl");
  const std::string before = FFolder.Read("wallp.sl");
  SetFileAttributesA(list.c_str(), FILE_ATTRIBUTE_READONLY);
  const std::string bitmap = FFolder.Write("Muralia.bmp", "previous");
  SetFileAttributesA(bitmap.c_str(), FILE_ATTRIBUTE_READONLY);
  Choose({FPictures[2]});
  AcknowledgeNextWarning();
  frmEditor->AddImages();
  AcknowledgeNextWarning();
  frmEditor->ChangeWallpaper();
  frmEditor->ChangeWallpaper();
  ASSERT_EQ(2u, FWarnings.size());
  const std::wstring reason = Widened(SysErrorMessage(ERROR_ACCESS_DENIED));
  for (const auto& [said, file] : {std::pair{FWarnings[0], list}, std::pair{FWarnings[1], bitmap}})
    EXPECT_NE(std::wstring::npos, said.find(L"\"" + Widened(file) + L"\". " + reason)) << said.c_str();
  EXPECT_EQ((std::vector<int>{0, 1, 2}), RowPictures());
  AnswerNextQuestion("&Yes");
  frmEditor->RemoveImage();
  frmEditor->actRemoveMissingImagesExecute();
  EXPECT_EQ((std::vector<int>{1, 2}), RowPictures());
  AnswerNextQuestion("&Yes");
  frmEditor->RemoveAllImages();
  EXPECT_EQ(0, frmEditor->vstWallpapers.RootNodeCount());
  Destroy();
  EXPECT_EQ(2u, FWarnings.size());
  EXPECT_TRUE(FExceptions.empty());
  EXPECT_EQ(before, FFolder.Read("wallp.sl"));
  EXPECT_EQ(FILE_ATTRIBUTE_READONLY, GetFileAttributesA(list.c_str()) & FILE_ATTRIBUTE_READONLY);
  for (const std::string& name : FFolder.Names()) EXPECT_EQ(std::string::npos, name.find(".tmp")) << name;

  SetFileAttributesA(list.c_str(), FILE_ATTRIBUTE_NORMAL);
  Create();
  EXPECT_EQ((std::vector<int>{0, 1}), RowPictures());
}

// A drive that is away at start: the entry keeps its row and its place in the list file.
TEST_F(EditingReliability, AnEntryWhoseFileIsAwayAtStartKeepsItsRowAndItsLine) {
  MakeCollection(2);
  WriteList({FPictures[0], FFolder.File("away\\sunset.bmp"), FPictures[1]});
  const std::string list = FFolder.Read("wallp.sl");
  Create();
  EXPECT_EQ((std::vector<int>{0, -1, 1}), RowPictures());
  Destroy();
  EXPECT_EQ(list, FFolder.Read("wallp.sl"));
}

// A name that the system's code page cannot hold comes from the picture dialog as its short name, which
// applies the picture; a file without one is refused, and the message names it in full.
TEST_F(EditingReliability, NamesBeyondTheCodePageComeAsShortNamesOrAreRefusedByName) {
  CreateWith(2, 1);
  const std::wstring sunset = Widened(FFolder.Path()) + L"\u5915\u713C\u3051.bmp";
  const std::wstring gone = Widened(FFolder.Path()) + L"\u6D88\u3048\u305F.bmp";
  if (AnsiPath(sunset)) GTEST_SKIP() << "the system's code page holds the name";
  ASSERT_TRUE(CopyFileW(Widened(FPictures[1]).c_str(), sunset.c_str(), TRUE));
  ChooseWide({sunset, gone});
  AcknowledgeNextWarning();
  frmEditor->AddImages();
  ASSERT_EQ((std::vector<int32_t>{0, 1}), RowIndexes());
  ASSERT_EQ(1u, FWarnings.size());
  EXPECT_NE(std::wstring::npos, FWarnings[0].find(gone));
  FocusRow(1);
  frmEditor->PlaceImage();
  EXPECT_EQ(1, AppliedEntry());
}

}  // namespace
