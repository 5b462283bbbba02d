// The editing keys on the control panel's list, pressed through the system's input: with the modifiers of an
// action's shortcut the routine runs when the key goes down, with others when it comes up; once either way.
#include <gtest/gtest.h>

#include "shell/EditingTestSupport.h"

namespace {

using Rows = std::vector<int>;

class EditingKeys : public EditingTest {
protected:
  EditingKeys() {
    CreateWith(3, 3);
    SetForegroundWindow(frmEditor->Handle());
    frmEditor->vstWallpapers.SetFocus();
    ui::Pump();
  }
};

// Ctrl+Shift with an arrow is no shortcut: the list's key-up moves the focused row, once, and the key going
// down must not have moved the focus to another row first.
TEST_F(EditingKeys, CtrlShiftArrowsMoveTheFocusedRowOnce) {
  FocusRow(1);
  Press(VK_DOWN, ssCtrl | ssShift);
  EXPECT_EQ((Rows{0, 2, 1}), RowPictures());
  EXPECT_EQ(1, FocusedPicture());
  Press(VK_UP, ssCtrl | ssShift);
  Press(VK_UP, ssCtrl | ssShift);
  EXPECT_EQ((Rows{1, 0, 2}), RowPictures());
  EXPECT_EQ(1, FocusedPicture());
}

TEST_F(EditingKeys, InsertOpensThePictureDialogOnceWithAnyModifiers) {
  Choose({});
  Press(VK_INSERT);
  EXPECT_EQ(1, FDialogRuns);
  Press(VK_INSERT, ssShift);
  EXPECT_EQ(2, FDialogRuns);
  Press(VK_INSERT, ssCtrl);
  EXPECT_EQ(3, FDialogRuns);
}

// The question takes the keyboard, so the list never sees the shortcut's key come up; the next press with
// other modifiers must still reach the list's own handling.
TEST_F(EditingKeys, DeleteAsksOnceWithAnyModifiers) {
  AnswerNextQuestion("&No");
  Press(VK_DELETE);
  EXPECT_EQ(1u, FQuestions.size());
  AnswerNextQuestion("&No");
  Press(VK_DELETE, ssShift);
  EXPECT_EQ(2u, FQuestions.size());
  AnswerNextQuestion("&Yes");
  Press(VK_DELETE, ssCtrl);
  ui::RunSteps();
  EXPECT_EQ(3u, FQuestions.size());
  EXPECT_EQ((Rows{1, 2}), RowPictures());
  EXPECT_EQ((Rows{-1, 1, 2}), ListFile());
}

TEST_F(EditingKeys, CtrlUpAndCtrlDownMoveTheRowOnePlacePerPress) {
  FocusRow(2);
  Press(VK_UP, ssCtrl);
  EXPECT_EQ((Rows{0, 2, 1}), RowPictures());
  Press(VK_UP, ssCtrl);
  EXPECT_EQ((Rows{2, 0, 1}), RowPictures());
  Press(VK_DOWN, ssCtrl);
  EXPECT_EQ((Rows{0, 2, 1}), RowPictures());
  EXPECT_EQ(2, FocusedPicture());
  Press(VK_UP);  // the list's own: the focus goes up, the rows stay
  Press(VK_DOWN, ssShift);
  Press(VK_DOWN, ssShift);
  EXPECT_EQ((Rows{0, 2, 1}), RowPictures());
  EXPECT_EQ(1, FocusedPicture());
}

// A shortcut whose key comes up elsewhere (here the toolbar has the keyboard) leaves no trace on the list.
TEST_F(EditingKeys, AShortcutReleasedOutsideTheListDoesNotSwallowTheListsNextKey) {
  frmEditor->tbrMain.SetFocus();
  Press(VK_RETURN, ssCtrl);
  EXPECT_EQ(1, FDesktop.Applied);
  frmEditor->vstWallpapers.SetFocus();
  Press(VK_RETURN, ssCtrl | ssShift);
  EXPECT_EQ(2, FDesktop.Applied);
}

TEST_F(EditingKeys, CtrlEnterPlacesThePictureOncePerPress) {
  Press(VK_RETURN, ssCtrl);
  EXPECT_EQ(1, FDesktop.Applied);
  EXPECT_EQ(0, AppliedEntry());
  Press(VK_RETURN, ssCtrl | ssShift);
  EXPECT_EQ(2, FDesktop.Applied);
  Press(VK_RETURN);
  Press(VK_RETURN, ssShift);
  EXPECT_EQ(2, FDesktop.Applied);
}

// A failure to reach Active Desktop goes to the application's handler; the cursor is the default again.
TEST_F(EditingKeys, APlaceThatFailsRestoresTheCursorAndReportsTheFailure) {
  const TScopedReplacement<std::function<TComPtr<IActiveDesktop>()>> missing(
      TWallpaperChanger::ActiveDesktopObject,
      []() -> TComPtr<IActiveDesktop> { throw Exception("no Active Desktop"); });
  Press(VK_RETURN, ssCtrl);
  EXPECT_EQ((std::vector<std::string>{"no Active Desktop"}), FExceptions);
  EXPECT_EQ(TCursor::Default, Screen.Cursor());
  EXPECT_EQ(-1, AppliedEntry());
  EXPECT_TRUE(frmEditor->Visible());
}

}  // namespace
