// Editing under load and against a list file that cannot be written.
#include <gtest/gtest.h>

#include <cstdio>

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

// Every save fails without a word: the file keeps what it held, and the collection goes on in memory.
TEST_F(EditingReliability, AReadOnlyListFileLosesNothingAndTheProgramGoesOn) {
  CreateWith(3, 2);
  const std::string list = FFolder.File("wallp.sl");
  const std::string before = FFolder.Read("wallp.sl");
  SetFileAttributesA(list.c_str(), FILE_ATTRIBUTE_READONLY);
  Choose({FPictures[2]});
  frmEditor->AddImages();
  EXPECT_EQ((std::vector<int>{0, 1, 2}), RowPictures());
  AnswerNextQuestion("&Yes");
  frmEditor->RemoveImage();
  EXPECT_EQ((std::vector<int>{1, 2}), RowPictures());
  AnswerNextQuestion("&Yes");
  frmEditor->RemoveAllImages();
  EXPECT_EQ(0, frmEditor->vstWallpapers.RootNodeCount());
  Destroy();
  EXPECT_TRUE(FExceptions.empty());
  EXPECT_EQ(before, FFolder.Read("wallp.sl"));
  EXPECT_EQ(FILE_ATTRIBUTE_READONLY, GetFileAttributesA(list.c_str()) & FILE_ATTRIBUTE_READONLY);
  for (const std::string& name : FFolder.Names()) EXPECT_EQ(std::string::npos, name.find(".tmp")) << name;

  Create();
  EXPECT_EQ((std::vector<int>{0, 1}), RowPictures());
}

}  // namespace
