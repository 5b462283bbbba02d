// Editing the collection from the control panel: the rows, the focus, the information band, the preview and
// the toolbar buttons after each operation, and the list file read back from the disk.
#include <gtest/gtest.h>

#include "shell/EditingTestSupport.h"

namespace {

using Rows = std::vector<int>;

using EditingAdd = EditingTest;

TEST_F(EditingAdd, ToAnEmptyCollectionFocusesTheFirstNewRowAndSavesOnce) {
  CreateWith(3, 0);
  EXPECT_EQ("---", Buttons());
  TSaveCounter saves(FFolder.Path(), "wallp.sl");
  Choose({FPictures[1], FPictures[2]});
  frmEditor->AddImages();
  EXPECT_EQ((Rows{1, 2}), RowPictures());
  EXPECT_EQ((std::vector<int32_t>{0, 1}), RowIndexes());
  EXPECT_EQ(1, FocusedPicture());
  EXPECT_TRUE(frmEditor->vstWallpapers.Selected(Row(0)));
  EXPECT_FALSE(frmEditor->vstWallpapers.Selected(Row(1)));
  EXPECT_EQ(1, BandPicture());
  EXPECT_EQ("-DR", Buttons());
  EXPECT_EQ(1, saves.Saves());
  EXPECT_EQ((Rows{1, 2}), ListFile());
}

TEST_F(EditingAdd, ToAFilledCollectionLeavesTheFocusWhereItWas) {
  CreateWith(4, 2);
  FocusRow(1);
  EXPECT_EQ("U-R", Buttons());
  TSaveCounter saves(FFolder.Path(), "wallp.sl");
  Choose({FPictures[2], FPictures[3]});
  frmEditor->AddImages();
  EXPECT_EQ((Rows{0, 1, 2, 3}), RowPictures());
  EXPECT_EQ((std::vector<int32_t>{0, 1, 2, 3}), RowIndexes());
  EXPECT_EQ(1, FocusedPicture());
  EXPECT_TRUE(frmEditor->vstWallpapers.Selected(Row(1)));
  EXPECT_FALSE(frmEditor->vstWallpapers.Selected(Row(2)) || frmEditor->vstWallpapers.Selected(Row(3)));
  EXPECT_EQ(1, BandPicture());
  EXPECT_EQ("UDR", Buttons());  // the focused row is no longer the last
  EXPECT_EQ(1, saves.Saves());
  EXPECT_EQ((Rows{0, 1, 2, 3}), ListFile());
}

TEST_F(EditingAdd, ACancelSavesNothingAndAnEmptyChoiceSavesOnce) {
  CreateWith(3, 2);
  TSaveCounter saves(FFolder.Path(), "wallp.sl");
  CancelDialog();
  frmEditor->AddImages();
  EXPECT_EQ(0, saves.Saves());
  Choose({});
  frmEditor->AddImages();
  EXPECT_EQ(1, saves.Saves());
  EXPECT_EQ((Rows{0, 1}), RowPictures());
  EXPECT_EQ((Rows{0, 1}), ListFile());
  Choose({FPictures[2]});
  frmEditor->AddImages();
  EXPECT_EQ(2, saves.Saves());
  EXPECT_EQ(3, FDialogRuns);
  EXPECT_EQ((Rows{0, 1, 2}), ListFile());
}

TEST_F(EditingAdd, TheSameFileTwiceGivesTwoRowsAndTwoEntries) {
  CreateWith(1, 1);
  Choose({FPictures[0], FPictures[0]});
  frmEditor->AddImages();
  EXPECT_EQ((Rows{0, 0, 0}), RowPictures());
  EXPECT_EQ((std::vector<int32_t>{0, 1, 2}), RowIndexes());
  EXPECT_EQ((Rows{0, 0, 0}), ListFile());
}

// The blanked entries still count until the list is read back, so the list is not empty when the new file
// comes: nothing selects it.
TEST_F(EditingAdd, AfterEveryRowWasRemovedOneByOneTheNewRowIsNotSelected) {
  CreateWith(3, 2);
  for (int k = 0; k < 2; ++k) {
    AnswerNextQuestion("&Yes");
    frmEditor->RemoveImage();
  }
  EXPECT_EQ(0, frmEditor->vstWallpapers.RootNodeCount());
  EXPECT_EQ((Rows{-1, -1}), ListFile());
  Choose({FPictures[2]});
  frmEditor->AddImages();
  EXPECT_EQ((std::vector<int32_t>{2}), RowIndexes());
  EXPECT_EQ((Rows{2}), RowPictures());
  EXPECT_FALSE(frmEditor->HasFocusedImage());
  EXPECT_FALSE(frmEditor->vstWallpapers.Selected(Row(0)));
  EXPECT_EQ(-1, BandPicture());
  EXPECT_EQ("---", Buttons());
  EXPECT_EQ((Rows{-1, -1, 2}), ListFile());
}

using EditingRemove = EditingTest;

TEST_F(EditingRemove, TheFirstRowGivesTheFocusToTheRowBelow) {
  CreateWith(3, 3);
  AnswerNextQuestion("&Yes");
  frmEditor->RemoveImage();
  EXPECT_EQ((std::vector<std::string>{"Would you like to delete image from the list?"}), FQuestions);
  EXPECT_EQ((Rows{1, 2}), RowPictures());
  EXPECT_EQ((std::vector<int32_t>{1, 2}), RowIndexes());
  EXPECT_EQ(1, FocusedPicture());
  EXPECT_TRUE(frmEditor->vstWallpapers.Selected(Row(0)));
  EXPECT_EQ(1, BandPicture());
  EXPECT_TRUE(PreviewEmpty());
  EXPECT_EQ("-DR", Buttons());  // no row is above, though blanked entry 0 is
  EXPECT_EQ((Rows{-1, 1, 2}), ListFile());
}

// The empty line stays in the file until the list has been read back and saved again.
TEST_F(EditingRemove, AMiddleRowGivesTheFocusToTheRowAboveAndLeavesAnEmptyLine) {
  CreateWith(3, 3);
  FocusRow(1);
  EXPECT_FALSE(PreviewEmpty());
  AnswerNextQuestion("&Yes");
  frmEditor->RemoveImage();
  EXPECT_EQ((Rows{0, 2}), RowPictures());
  EXPECT_EQ((std::vector<int32_t>{0, 2}), RowIndexes());
  EXPECT_EQ(0, FocusedPicture());
  EXPECT_TRUE(frmEditor->vstWallpapers.Selected(Row(0)));
  EXPECT_EQ(0, BandPicture());
  EXPECT_TRUE(PreviewEmpty());
  EXPECT_EQ("-DR", Buttons());
  EXPECT_EQ((Rows{0, -1, 2}), ListFile());
  frmEditor->actRemoveMissingImagesExecute();
  EXPECT_EQ((Rows{0, -1, 2}), ListFile());
  Destroy();
  EXPECT_EQ((Rows{0, 2}), ListFile());
}

TEST_F(EditingRemove, TheOnlyRowEmptiesTheBandAndThePreview) {
  CreateWith(1, 1);
  EXPECT_EQ(0, BandPicture());
  EXPECT_FALSE(PreviewEmpty());
  AnswerNextQuestion("&Yes");
  frmEditor->RemoveImage();
  EXPECT_EQ(0, frmEditor->vstWallpapers.RootNodeCount());
  EXPECT_FALSE(frmEditor->HasFocusedImage());
  EXPECT_EQ(-1, BandPicture());
  EXPECT_TRUE(PreviewEmpty());
  EXPECT_EQ("---", Buttons());
  EXPECT_EQ((Rows{-1}), ListFile());
}

TEST_F(EditingRemove, WithNoRowFocusedTheQuestionIsAskedAndYesChangesNothing) {
  CreateWith(2, 2);
  frmEditor->vstWallpapers.SetFocusedNode(nullptr);
  TSaveCounter saves(FFolder.Path(), "wallp.sl");
  AnswerNextQuestion("&Yes");
  frmEditor->RemoveImage();
  EXPECT_EQ(1u, FQuestions.size());
  EXPECT_EQ((Rows{0, 1}), RowPictures());
  FocusRow(1);
  AnswerNextQuestion("&No");
  frmEditor->RemoveImage();
  EXPECT_EQ(2u, FQuestions.size());
  EXPECT_EQ((Rows{0, 1}), RowPictures());
  EXPECT_EQ(1, FocusedPicture());
  EXPECT_EQ(0, saves.Saves());
  EXPECT_EQ((Rows{0, 1}), ListFile());
}

TEST_F(EditingRemove, AllLeavesAnEmptyListFileBandAndPreviewAfterYesOnly) {
  CreateWith(3, 3);
  AnswerNextQuestion("&No");
  frmEditor->RemoveAllImages();
  EXPECT_EQ((Rows{0, 1, 2}), RowPictures());
  EXPECT_EQ((Rows{0, 1, 2}), ListFile());
  AnswerNextQuestion("&Yes");
  frmEditor->RemoveAllImages();
  EXPECT_EQ((std::vector<std::string>(2, "Would you like to remove all images from the list?")), FQuestions);
  EXPECT_EQ(0, frmEditor->vstWallpapers.RootNodeCount());
  EXPECT_TRUE(frmEditor->WallpaperList().IsEmpty());
  EXPECT_EQ("", FFolder.Read("wallp.sl"));
  EXPECT_EQ(-1, BandPicture());
  EXPECT_TRUE(PreviewEmpty());
  EXPECT_EQ("---", Buttons());
}

using EditingRemoveDead = EditingTest;

TEST_F(EditingRemoveDead, DropsMissingAndEmptyFilesAndReadsTheListBack) {
  CreateWith(4, 4);
  FocusRow(2);
  DeleteFileA(FPictures[1].c_str());
  FFolder.Write("picture3.bmp", "");
  TSaveCounter saves(FFolder.Path(), "wallp.sl");
  frmEditor->actRemoveMissingImagesExecute();
  EXPECT_TRUE(FQuestions.empty());
  EXPECT_EQ((std::vector<int32_t>{0, 1}), RowIndexes());
  EXPECT_EQ((Rows{0, 2}), RowPictures());
  EXPECT_EQ(0, FocusedPicture());
  EXPECT_TRUE(frmEditor->vstWallpapers.Selected(Row(0)));
  EXPECT_EQ(0, BandPicture());
  EXPECT_EQ("-DR", Buttons());
  EXPECT_EQ(1, saves.Saves());
  EXPECT_EQ((Rows{0, -1, 2, -1}), ListFile());
  Destroy();
  EXPECT_EQ((Rows{0, 2}), ListFile());
}

TEST_F(EditingRemoveDead, WithEveryFileGoneEmptiesTheListBandPreviewAndButtons) {
  CreateWith(2, 2);
  for (const std::string& picture : FPictures) DeleteFileA(picture.c_str());
  frmEditor->actRemoveMissingImagesExecute();
  EXPECT_EQ(0, frmEditor->vstWallpapers.RootNodeCount());
  EXPECT_FALSE(frmEditor->HasFocusedImage());
  EXPECT_EQ(-1, BandPicture());
  EXPECT_TRUE(PreviewEmpty());
  EXPECT_EQ("---", Buttons());
  EXPECT_FALSE(frmEditor->btnPut.Enabled());
  EXPECT_EQ((Rows{-1, -1}), ListFile());
}

using EditingMove = EditingTest;

TEST_F(EditingMove, AtTheEndsNothingMovesAndNothingIsSaved) {
  CreateWith(3, 3);
  TSaveCounter saves(FFolder.Path(), "wallp.sl");
  EXPECT_EQ("-DR", Buttons());
  frmEditor->MoveImageUp();
  EXPECT_EQ((Rows{0, 1, 2}), RowPictures());
  EXPECT_EQ("-DR", Buttons());
  FocusRow(2);
  EXPECT_EQ("U-R", Buttons());
  frmEditor->MoveImageDown();
  EXPECT_EQ((Rows{0, 1, 2}), RowPictures());
  EXPECT_EQ("U-R", Buttons());

  frmEditor->MoveImageUp();
  EXPECT_EQ((Rows{0, 2, 1}), RowPictures());
  EXPECT_EQ((std::vector<int32_t>{0, 1, 2}), RowIndexes());
  EXPECT_EQ(Row(1), frmEditor->vstWallpapers.FocusedNode());
  EXPECT_TRUE(frmEditor->vstWallpapers.Selected(Row(1)));
  EXPECT_EQ("UDR", Buttons());
  frmEditor->MoveImageUp();
  EXPECT_EQ((Rows{2, 0, 1}), RowPictures());
  EXPECT_EQ("-DR", Buttons());
  EXPECT_EQ(2, BandPicture());
  EXPECT_EQ(0, saves.Saves());
  EXPECT_EQ((Rows{0, 1, 2}), ListFile());
  Destroy();
  EXPECT_EQ((Rows{2, 0, 1}), ListFile());
}

TEST_F(EditingMove, AcrossAGapEachRowKeepsItsPictureAndTheEntriesFollowTheRows) {
  CreateWith(4, 4);
  FocusRow(1);
  AnswerNextQuestion("&Yes");
  frmEditor->RemoveImage();
  ASSERT_EQ((std::vector<int32_t>{0, 2, 3}), RowIndexes());
  frmEditor->MoveImageDown();
  EXPECT_EQ((Rows{2, 0, 3}), RowPictures());
  EXPECT_EQ((std::vector<int32_t>{0, 2, 3}), RowIndexes());
  EXPECT_EQ(0, FocusedPicture());
  EXPECT_EQ("UDR", Buttons());
  frmEditor->MoveImageDown();
  EXPECT_EQ((Rows{2, 3, 0}), RowPictures());
  EXPECT_EQ(Row(2), frmEditor->vstWallpapers.FocusedNode());
  EXPECT_EQ("U-R", Buttons());
  FocusRow(1);
  frmEditor->MoveImageUp();
  EXPECT_EQ((Rows{3, 2, 0}), RowPictures());
  Destroy();
  EXPECT_EQ((Rows{3, -1, 2, 0}), ListFile());
}

TEST_F(EditingMove, ARowWithoutANeighbourStaysWhereItIs) {
  CreateWith(4, 4);
  AnswerNextQuestion("&Yes");
  frmEditor->RemoveImage();  // the first row: the row on index 1 is on top now
  FocusRow(2);
  AnswerNextQuestion("&Yes");
  frmEditor->RemoveImage();  // the last row: the row on index 2 is at the bottom now
  ASSERT_EQ((std::vector<int32_t>{1, 2}), RowIndexes());
  EXPECT_EQ("U-R", Buttons());
  frmEditor->MoveImageDown();
  EXPECT_EQ((Rows{1, 2}), RowPictures());
  EXPECT_EQ(Row(1), frmEditor->vstWallpapers.FocusedNode());
  FocusRow(0);
  frmEditor->MoveImageUp();
  EXPECT_EQ((Rows{1, 2}), RowPictures());
  EXPECT_EQ((std::vector<int32_t>{1, 2}), RowIndexes());
  EXPECT_EQ(Row(0), frmEditor->vstWallpapers.FocusedNode());
  EXPECT_EQ("-DR", Buttons());
  Destroy();
  EXPECT_EQ((Rows{-1, 1, 2, -1}), ListFile());
}

// The row a command acts on: the one the right button pointed at, or the focused one once a click below the
// rows took the selection (a removed row leaves no blank row behind).
using EditingCommands = EditingTest;

TEST_F(EditingCommands, ActOnTheRowTheRightButtonPointedAtOrOnTheFocusedRow) {
  CreateWith(3, 3);
  const HWND list = frmEditor->vstWallpapers.Handle();
  ui::Later([] {
    ui::SendKey(VK_UP);  // to the last item, "Place"
    ui::SendKey(VK_RETURN);
  }, [] { return ui::OpenMenu() != nullptr; });
  const RECT last = RowRect(2);
  const LPARAM at = MAKELPARAM(last.left + 20, (last.top + last.bottom) / 2);
  PostMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, at);
  PostMessageA(list, WM_RBUTTONUP, 0, at);
  ui::RunSteps();
  EXPECT_EQ(2, AppliedEntry());

  ui::ClickAt(list, {last.left + 20, last.bottom + 20});
  ASSERT_FALSE(frmEditor->vstWallpapers.Selected(Row(2)));
  AnswerNextQuestion("&Yes");
  const RECT remove = frmEditor->btnRemove.BoundsRect();
  ui::ClickAt(frmEditor->tbrMain.Handle(), {(remove.left + remove.right) / 2, (remove.top + remove.bottom) / 2});
  EXPECT_EQ((Rows{0, 1}), RowPictures());
  EXPECT_EQ((Rows{0, 1, -1}), ListFile());
}

using EditingPlace = EditingTest;

TEST_F(EditingPlace, AppliesTheFocusedPictureAndNothingForAGoneFileOrNoRow) {
  CreateWith(2, 2);
  const int32_t position = frmEditor->CurrentIndex();
  FocusRow(1);
  frmEditor->PlaceImage();
  EXPECT_EQ(1, AppliedEntry());
  EXPECT_EQ(1, FDesktop.Applied);
  char wallpaper[MAX_PATH] = "";
  SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, wallpaper, 0);
  EXPECT_EQ(FFolder.File("Muralia.bmp"), wallpaper);

  DeleteFileA(FPictures[0].c_str());
  FocusRow(0);
  EXPECT_THROW(frmEditor->PlaceImage(), EUnusablePicture);
  EXPECT_EQ(2, FDesktop.Applied);  // Active Desktop is switched off all the same
  EXPECT_EQ(1, AppliedEntry());
  SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, wallpaper, 0);
  EXPECT_EQ(FFolder.File("Muralia.bmp"), wallpaper);

  frmEditor->vstWallpapers.SetFocusedNode(nullptr);
  frmEditor->PlaceImage();
  EXPECT_EQ(2, FDesktop.Applied);
  EXPECT_EQ(1, AppliedEntry());
  EXPECT_EQ(position, frmEditor->CurrentIndex());
  EXPECT_TRUE(FExceptions.empty());
}

// "Place" says in the application's message box which picture cannot be made the wallpaper, and why.
TEST_F(EditingPlace, APictureThatCannotBeMadeTheWallpaperIsReportedWithItsReason) {
  const std::string notes = FFolder.Write("notes.jpg", "no picture here");
  WriteList({notes});
  Create().Show();
  Application.OnException = nullptr;  // the application's own message box
  ui::WhenMessageBoxOpens([&](const ui::TMessageBox& box) {
    EXPECT_EQ(Application.Title(), box.Caption);
    EXPECT_EQ("Cannot make " + notes + " the wallpaper.\n\nCannot read the JPEG picture: Not a JPEG file: starts "
              "with 0x6e 0x6f.", box.Text);
    ui::Answer(box, "OK");
  });
  const RECT place = frmEditor->btnPut.BoundsRect();
  ui::ClickAt(frmEditor->tbrMain.Handle(), {(place.left + place.right) / 2, (place.top + place.bottom) / 2});
  ui::RunSteps();
}

}  // namespace
