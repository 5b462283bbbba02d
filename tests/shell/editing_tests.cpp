// Editing the collection from the control panel: the rows, the focus, the information band, the preview and
// the toolbar buttons after each operation, and the list file read back from the disk.
#include <gtest/gtest.h>

#include "TestPictures.h"
#include "shell/EditingTestSupport.h"

namespace {

using Rows = std::vector<int>;

using EditingAdd = EditingTest;

TEST_F(EditingAdd, ToAnEmptyCollectionFocusesTheFirstNewRowAndSavesOnce) {
  CreateWith(3, 0);
  EXPECT_EQ("----", Buttons());
  TSaveCounter saves(FFolder.Path(), "wallp.sl");
  Choose({FPictures[1], FPictures[2]});
  frmEditor->AddImages();
  EXPECT_EQ((Rows{1, 2}), RowPictures());
  EXPECT_EQ((std::vector<int32_t>{0, 1}), RowIndexes());
  EXPECT_EQ(1, FocusedPicture());
  EXPECT_TRUE(frmEditor->vstWallpapers.Selected(Row(0)));
  EXPECT_FALSE(frmEditor->vstWallpapers.Selected(Row(1)));
  EXPECT_EQ(1, BandPicture());
  EXPECT_EQ("-DRP", Buttons());
  EXPECT_EQ(1, saves.Saves());
  EXPECT_EQ((Rows{1, 2}), ListFile());
}

TEST_F(EditingAdd, ToAFilledCollectionLeavesTheFocusWhereItWas) {
  CreateWith(4, 2);
  FocusRow(1);
  EXPECT_EQ("U-RP", Buttons());
  TSaveCounter saves(FFolder.Path(), "wallp.sl");
  Choose({FPictures[2], FPictures[3]});
  frmEditor->AddImages();
  EXPECT_EQ((Rows{0, 1, 2, 3}), RowPictures());
  EXPECT_EQ((std::vector<int32_t>{0, 1, 2, 3}), RowIndexes());
  EXPECT_EQ(1, FocusedPicture());
  EXPECT_TRUE(frmEditor->vstWallpapers.Selected(Row(1)));
  EXPECT_FALSE(frmEditor->vstWallpapers.Selected(Row(2)) || frmEditor->vstWallpapers.Selected(Row(3)));
  EXPECT_EQ(1, BandPicture());
  EXPECT_EQ("UDRP", Buttons());  // the focused row is no longer the last
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
  EXPECT_EQ("----", Buttons());
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
  EXPECT_EQ("-DRP", Buttons());  // no row is above, though blanked entry 0 is
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
  EXPECT_EQ("-DRP", Buttons());
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
  EXPECT_EQ("----", Buttons());
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
  EXPECT_EQ("----", Buttons());
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
  EXPECT_EQ("-DRP", Buttons());
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
  EXPECT_EQ("----", Buttons());
  EXPECT_EQ((Rows{-1, -1}), ListFile());
}

using EditingMove = EditingTest;

TEST_F(EditingMove, AtTheEndsNothingMovesAndNothingIsSaved) {
  CreateWith(3, 3);
  TSaveCounter saves(FFolder.Path(), "wallp.sl");
  EXPECT_EQ("-DRP", Buttons());
  frmEditor->MoveImageUp();
  EXPECT_EQ((Rows{0, 1, 2}), RowPictures());
  EXPECT_EQ("-DRP", Buttons());
  FocusRow(2);
  EXPECT_EQ("U-RP", Buttons());
  frmEditor->MoveImageDown();
  EXPECT_EQ((Rows{0, 1, 2}), RowPictures());
  EXPECT_EQ("U-RP", Buttons());

  frmEditor->MoveImageUp();
  EXPECT_EQ((Rows{0, 2, 1}), RowPictures());
  EXPECT_EQ((std::vector<int32_t>{0, 1, 2}), RowIndexes());
  EXPECT_EQ(Row(1), frmEditor->vstWallpapers.FocusedNode());
  EXPECT_TRUE(frmEditor->vstWallpapers.Selected(Row(1)));
  EXPECT_EQ("UDRP", Buttons());
  frmEditor->MoveImageUp();
  EXPECT_EQ((Rows{2, 0, 1}), RowPictures());
  EXPECT_EQ("-DRP", Buttons());
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
  EXPECT_EQ("UDRP", Buttons());
  frmEditor->MoveImageDown();
  EXPECT_EQ((Rows{2, 3, 0}), RowPictures());
  EXPECT_EQ(Row(2), frmEditor->vstWallpapers.FocusedNode());
  EXPECT_EQ("U-RP", Buttons());
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
  EXPECT_EQ("U-RP", Buttons());
  frmEditor->MoveImageDown();
  EXPECT_EQ((Rows{1, 2}), RowPictures());
  EXPECT_EQ(Row(1), frmEditor->vstWallpapers.FocusedNode());
  FocusRow(0);
  frmEditor->MoveImageUp();
  EXPECT_EQ((Rows{1, 2}), RowPictures());
  EXPECT_EQ((std::vector<int32_t>{1, 2}), RowIndexes());
  EXPECT_EQ(Row(0), frmEditor->vstWallpapers.FocusedNode());
  EXPECT_EQ("-DRP", Buttons());
  Destroy();
  EXPECT_EQ((Rows{-1, 1, 2, -1}), ListFile());
}

// The commands reached as a user reaches them: the list's context menu, the menu bar and the toolbar.
class EditingCommands : public EditingTest {
protected:
  // A right click on the row, and the item chosen from the menu it opens.
  void FromContextMenu(int position, const std::string& item) {
    ChooseFromContextMenu(item);
    const RECT row = RowRect(position);
    const LPARAM at = MAKELPARAM(row.left + 20, (row.top + row.bottom) / 2);
    PostMessageA(frmEditor->vstWallpapers.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageA(frmEditor->vstWallpapers.Handle(), WM_RBUTTONUP, 0, at);
    ui::RunSteps();
  }
  // Chooses the item of the next menu to open with the keys a user would press.
  void ChooseFromContextMenu(const std::string& item, int ticksLeft = 250) {
    ui::Later([this, item, ticksLeft] {
      if (!ui::OpenMenu()) {
        // The click has not run yet: look again at the next tick.
        if (ticksLeft > 0) ChooseFromContextMenu(item, ticksLeft - 1);
        else ADD_FAILURE() << "no menu for " << item;
        return;
      }
      int downs = 1;  // the arrow passes over the lines
      for (const auto& entry : frmEditor->Menu("pumContext").Items()) {
        if (entry->Name() == item) break;
        downs += !entry->IsLine();
      }
      for (int k = 0; k < downs; ++k) ui::SendKey(VK_DOWN);
      ui::SendKey(VK_RETURN);
    });
  }
  void FromMenuBar(const std::string& item) {
    SendMessageA(frmEditor->Handle(), WM_COMMAND, frmEditor->MainMenu()->Find(item)->Command(), 0);
  }
};

TEST_F(EditingCommands, TheContextMenuActsOnTheRowTheRightButtonPointedAt) {
  CreateWith(3, 3);
  FromContextMenu(2, "Place1");
  EXPECT_EQ(2, AppliedEntry());
  EXPECT_EQ(2, FocusedPicture());
  EXPECT_TRUE(frmEditor->vstWallpapers.Selected(Row(2)));

  FromContextMenu(1, "Up1");
  EXPECT_EQ((Rows{1, 0, 2}), RowPictures());
  EXPECT_EQ(Row(0), frmEditor->vstWallpapers.FocusedNode());

  AnswerNextQuestion("&Yes");
  FromContextMenu(2, "Remove2");
  EXPECT_EQ(1u, FQuestions.size());
  EXPECT_EQ((Rows{1, 0}), RowPictures());  // no row of a blanked entry is left
  EXPECT_EQ(0, FocusedPicture());
  EXPECT_EQ((Rows{1, 0, -1}), ListFile());
}

// A click below the rows takes the selection and leaves the focus.
TEST_F(EditingCommands, RemoveTakesTheFocusedRowAlsoWhenAClickBesideTheRowsDeselectedIt) {
  CreateWith(3, 3);
  const RECT middle = RowRect(1);
  ui::ClickAt(frmEditor->vstWallpapers.Handle(), {middle.left + 20, (middle.top + middle.bottom) / 2});
  const RECT last = RowRect(2);
  ui::ClickAt(frmEditor->vstWallpapers.Handle(), {last.left + 20, last.bottom + 20});
  ASSERT_EQ(Row(1), frmEditor->vstWallpapers.FocusedNode());
  ASSERT_FALSE(frmEditor->vstWallpapers.Selected(Row(1)));
  AnswerNextQuestion("&Yes");
  const RECT remove = frmEditor->btnRemove.BoundsRect();
  ui::ClickAt(frmEditor->tbrMain.Handle(), {(remove.left + remove.right) / 2, (remove.top + remove.bottom) / 2});
  EXPECT_EQ(1u, FQuestions.size());
  EXPECT_EQ((Rows{0, 2}), RowPictures());
  EXPECT_EQ(0, FocusedPicture());
  EXPECT_TRUE(frmEditor->vstWallpapers.Selected(Row(0)));
  EXPECT_EQ((Rows{0, -1, 2}), ListFile());
}

// Blanked entries beyond the first or the last row do not let it move, and no row is left to remove or place
// once the list is empty.
TEST_F(EditingCommands, AfterEveryEditTheToolbarShowsWhatTheFocusedRowAllows) {
  CreateWith(3, 2);
  Choose({FPictures[2]});
  FromMenuBar("Add1");
  EXPECT_EQ("-DRP", Buttons());
  AnswerNextQuestion("&Yes");
  FromMenuBar("Remove1");  // the first row: the one below comes up, with blanked entry 0 above it
  EXPECT_EQ((Rows{1, 2}), RowPictures());
  EXPECT_EQ("-DRP", Buttons());
  FromMenuBar("Down2");
  EXPECT_EQ("U-RP", Buttons());
  AnswerNextQuestion("&Yes");
  FromMenuBar("Remove1");  // the last row: the one above is the last now, with a blanked entry below it
  EXPECT_EQ((Rows{2}), RowPictures());
  EXPECT_EQ("--RP", Buttons());
  FromMenuBar("Up2");
  EXPECT_EQ("--RP", Buttons());
  AnswerNextQuestion("&Yes");
  FromMenuBar("mnuRemoveAll");
  EXPECT_EQ("----", Buttons());

  Choose({FPictures[0], FPictures[1]});
  FromMenuBar("Add1");
  EXPECT_EQ("-DRP", Buttons());
  for (const std::string& picture : FPictures) DeleteFileA(picture.c_str());
  FromMenuBar("RemoveInvalid1");
  EXPECT_EQ(0, frmEditor->vstWallpapers.RootNodeCount());
  EXPECT_EQ("----", Buttons());
  EXPECT_EQ(-1, BandPicture());
  EXPECT_TRUE(PreviewEmpty());
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
  EXPECT_THROW(frmEditor->PlaceImage(), EUnusablePicture);  // reported, as the next test shows
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
  std::string huge = SolidBitmap(0, 1, 1);
  huge.replace(18, 8, std::string("\x30\x75\0\0\x30\x75\0\0", 8));  // 30000 x 30000 pixels
  const std::vector<std::string> files{FFolder.Write("notes.jpg", "no picture here"), FFolder.Write("empty.png", ""),
                                       FFolder.Write("huge.bmp", huge), WriteBitmap("gone.bmp", 4, 4, 0)};
  const char* const reasons[] = {"Cannot read the JPEG picture: Not a JPEG file: starts with 0x6e 0x6f",
                                 "The file is empty", "Picture is too large (30000 x 30000 pixels)",
                                 "The file does not exist"};
  WriteList(files);
  Create().Show();
  DeleteFileA(files[3].c_str());
  Application.OnException = nullptr;  // the application's own message box
  TToolBar& toolbar = frmEditor->tbrMain;
  const RECT place = toolbar.Button("btnPut").BoundsRect();
  for (int k = 0; k < 4; ++k) {
    FocusRow(k);
    ui::TMessageBox shown;
    OnNextMessageBox([&](const ui::TMessageBox& box) {
      shown = box;
      ui::Answer(box, "OK");
    });
    ui::ClickAt(toolbar.Handle(), {(place.left + place.right) / 2, (place.top + place.bottom) / 2});
    ui::RunSteps();
    EXPECT_EQ(Application.Title(), shown.Caption);
    EXPECT_EQ("Cannot make " + files[k] + " the wallpaper.\n\n" + reasons[k] + ".", shown.Text);
  }
  EXPECT_EQ(-1, AppliedEntry());
}

}  // namespace
