// The control panel's life and the changes it runs, driven through its window messages, its tray icon and its
// timer. Which entry each change takes is checked without a window, in the engine's change rules tests.
#include <gtest/gtest.h>

#include "shell/EditingTestSupport.h"

namespace {

class EditorScheduling : public EditorTest {
protected:
  // One change as "Next Wallpaper" runs it; returns the entry it applied (-1 for none).
  int Change() {
    ForgetApplied();
    frmEditor->ChangeWallpaper();
    return AppliedEntry();
  }
  void DisplayChange() { SendMessageA(frmEditor->Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024)); }
  // One tick of the change timer, as its message runs it.
  static void Tick() { frmEditor->Timer()->OnTimer(nullptr); }
};

TEST_F(EditorScheduling, ADisplayChangeAppliesTheLastPictureAgain) {
  MakeCollection(3);
  Create();
  EXPECT_EQ(0, Change());
  ForgetApplied();
  DisplayChange();
  EXPECT_EQ(0, AppliedEntry());
  EXPECT_EQ(1, frmEditor->CurrentIndex());
}

TEST_F(EditorScheduling, TheStartupChangeAppliesTheStoredPosition) {
  MakeCollection(3);
  SetStored("LastActiveWallpaperIndex", 1);
  SetStored("ChangeWallpaperOnStartup", 1);
  Create();
  EXPECT_EQ(1, AppliedEntry());
  char wallpaper[MAX_PATH] = "";
  SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, wallpaper, 0);
  EXPECT_EQ(FFolder.File("Muralia.bmp"), wallpaper);
  EXPECT_EQ(2, frmEditor->CurrentIndex());
}

TEST_F(EditorScheduling, TheTimerChangesInListOrder) {
  MakeCollection(3);
  SetStored("ChangeOnTimer", 1);
  SetStored("ChangeFrequency", 1);
  Create();
  ASSERT_TRUE(frmEditor->Timer()->Running());
  EXPECT_EQ(1000u, frmEditor->Timer()->Interval());
  std::vector<int> applied;
  const DWORD start = GetTickCount();
  while (applied.size() < 3 && GetTickCount() - start < 8000) {
    ui::Pump();
    const int entry = AppliedEntry();
    if (entry >= 0) {
      applied.push_back(entry);
      ForgetApplied();
    }
    Sleep(20);
  }
  EXPECT_EQ((std::vector<int>{0, 1, 2}), applied);
}

TEST_F(EditorScheduling, TimerIntervalFollowsTheStoredPeriod) {
  MakeCollection(1);
  SetStored("ChangeOnTimer", 1);
  SetStored("ChangeFrequency", 0);
  Create();
  EXPECT_FALSE(frmEditor->Timer()->Running());  // no timed changes with a period of 0

  SetStored("ChangeFrequency", 3000000);  // beyond the longest interval: runs at the longest there is
  frmEditor->SetupTimer();
  EXPECT_EQ(2147483647u, frmEditor->Timer()->Interval());
  EXPECT_TRUE(frmEditor->Timer()->Running());

  SetStored("ChangeFrequency", static_cast<uint32_t>(-5));
  EXPECT_THROW(frmEditor->SetupTimer(), ERangeError);
  EXPECT_EQ(2147483647u, frmEditor->Timer()->Interval());  // kept as it was

  SetStored("ChangeOnTimer", 0);
  SetStored("ChangeFrequency", 60);
  frmEditor->SetupTimer();
  EXPECT_FALSE(frmEditor->Timer()->Running());
}

TEST_F(EditorScheduling, OkInTheOptionsDialogSetsTheTimerUpAgainAndCancelDoesNot) {
  MakeCollection(1);
  SetStored("ChangeOnTimer", 1);
  Create();
  EXPECT_EQ(600000u, frmEditor->Timer()->Interval());
  ui::Later([&] {
    frmOptions->edtFrequency.SetText("2");
    ui::Click(frmOptions->btnCancel);
  });
  frmEditor->ShowOptionsDialog();
  EXPECT_EQ(600000u, frmEditor->Timer()->Interval());
  ui::Later([&] {
    ui::Click(frmOptions->lblWallpaper);
    ui::Type(frmOptions->edtFrequency, "2");
    ui::Click(frmOptions->btnOk);
  });
  frmEditor->ShowOptionsDialog();
  EXPECT_EQ(120000u, frmEditor->Timer()->Interval());
}

TEST_F(EditorScheduling, TheCloseBoxHidesToTheTrayUnlessTheOptionIsOff) {
  MakeCollection(1);
  Create();
  frmEditor->Show();
  SendMessageA(frmEditor->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(frmEditor->Visible());
  EXPECT_FALSE(Application.Terminated());
  EXPECT_TRUE(Application.Minimized());
  EXPECT_FALSE(IsWindowVisible(Application.Handle()));

  frmEditor->ShowControlPanel();
  EXPECT_TRUE(frmEditor->Visible());
  EXPECT_FALSE(Application.Minimized());
  SetStored("MinimizeControlPanelOnClickX", 0);
  SendMessageA(frmEditor->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(Application.Terminated());
}

TEST_F(EditorScheduling, AfterTheSessionEndsTheCloseBoxEndsTheProgram) {
  MakeCollection(1);
  Create();
  frmEditor->Show();
  EXPECT_EQ(1, SendMessageA(frmEditor->Handle(), WM_QUERYENDSESSION, 0, 0));
  EXPECT_TRUE(frmEditor->Visible());
  SendMessageA(frmEditor->Handle(), WM_ENDSESSION, FALSE, 0);  // the session goes on after all
  EXPECT_TRUE(frmEditor->Closing());
  SendMessageA(frmEditor->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(Application.Terminated());
}

TEST_F(EditorScheduling, ATrayClickRunsTheStoredClickAction) {
  MakeCollection(2);
  Create();

  SetStored("ClickAction", 2);  // change the wallpaper, once for a double click too
  TrayMouse(WM_LBUTTONDOWN);
  TrayMouse(WM_LBUTTONUP);
  TrayMouse(WM_LBUTTONDBLCLK);
  TrayMouse(WM_LBUTTONUP);
  EXPECT_EQ(0, AppliedEntry());
  EXPECT_EQ(1, frmEditor->CurrentIndex());

  SetStored("ClickAction", 3);  // clear the wallpaper
  TrayMouse(WM_LBUTTONUP);
  char wallpaper[MAX_PATH] = "x";
  SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, wallpaper, 0);
  EXPECT_STREQ("", wallpaper);

  for (const uint32_t nothing : {4u, static_cast<uint32_t>(-1)}) {
    SetStored("ClickAction", nothing);
    ForgetApplied();
    TrayMouse(WM_LBUTTONUP);
    EXPECT_EQ(-1, AppliedEntry());
    EXPECT_EQ(1, frmEditor->CurrentIndex());
    EXPECT_FALSE(frmEditor->Visible());
  }

  SetStored("ClickAction", 1);  // the control panel
  TrayMouse(WM_LBUTTONUP);
  EXPECT_TRUE(frmEditor->Visible());

  SetStored("ClickAction", 0);  // the options dialog; a second click brings it to the front
  bool open = false;
  ui::Later([&] {
    open = frmOptions->Visible();
    TrayMouse(WM_LBUTTONUP);
    ui::Click(frmOptions->btnCancel);
  });
  TrayMouse(WM_LBUTTONUP);
  EXPECT_TRUE(open);
  EXPECT_FALSE(frmOptions->Visible());
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(EditorScheduling, AFailedStartupChangeIsShownOnceAndTheWindowStillWorks) {
  MakeCollection(2);
  SetStored("ChangeWallpaperOnStartup", 1);
  SetStored("ChangeOnTimer", 1);
  SetStored("ClickAction", 2);  // change the wallpaper
  regtest::SetString(regtest::kOptionsKey, "WallpaperStyle", "tile");  // reading the style fails
  // The collection is read just before the start-up change, which lets queued messages run: the tray menu's
  // "Options..." and "About..." can come before the dialogs are made.
  const TScopedReplacement<std::function<std::string()>> program(
      ProgramFileName, [&, used = false, file = FFolder.File("orlo.exe")]() mutable {
        if (frmEditor && !std::exchange(used, true)) {
          for (const char* item : {"Options2", "About1"}) frmEditor->Menu("pupTray").Find(item)->Click();
        }
        return file;
      });
  Create();
  ASSERT_EQ(1u, FExceptions.size());
  EXPECT_EQ("Failed to get data for 'WallpaperStyle'", FExceptions[0]);
  EXPECT_TRUE(frmEditor->Timer() && frmEditor->Timer()->Running());
  EXPECT_EQ(FFolder.File("orlo.hlp"), Application.HelpFile());

  SetStored("WallpaperStyle", 0);
  TrayMouse(WM_LBUTTONUP);
  EXPECT_EQ(1, AppliedEntry());  // the failed change moved the position on
  Destroy();
  EXPECT_EQ(1u, Stored("LastActiveWallpaperIndex"));  // position 0 after the last entry, stored one further
}

TEST_F(EditorScheduling, AFailedChangeIsReportedTheNextTickTriesTheNextEntryAndNothingChangesBehindItsBox) {
  MakeCollection(3);
  SetStored("ChangeOnTimer", 1);
  Create();
  HANDLE lock = CreateFileA(FPictures[0].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  Tick();  // the first picture cannot be opened
  CloseHandle(lock);
  ASSERT_EQ(1u, FExceptions.size());
  EXPECT_NE(std::string::npos, FExceptions[0].find(FPictures[0])) << FExceptions[0];
  Tick();
  EXPECT_EQ(1, AppliedEntry());

  // No change, and no second box, behind the box of a failed change.
  Application.OnException = nullptr;  // the real message box
  regtest::SetString(regtest::kOptionsKey, "WallpaperStyle", "tile");  // every change fails
  int32_t position = -2;
  ui::WhenMessageBoxOpens([&](const ui::TMessageBox& box) {
    Tick();
    DisplayChange();
    position = frmEditor->CurrentIndex();
    EXPECT_EQ("Failed to get data for 'WallpaperStyle'.", box.Text);
    ui::Answer(box, "OK");
  });
  Tick();  // returns when the box is answered
  EXPECT_EQ(0, position);  // only the failed change moved it, from the last entry
  SetStored("WallpaperStyle", 0);
  Tick();
  EXPECT_EQ(0, AppliedEntry());
}

using ControlPanelAfterAFailedStart = EditingTest;

// Stored values that cannot be read are said once each and cost the start nothing else: the collection is
// read in, and the commands work on all of it.
TEST_F(ControlPanelAfterAFailedStart, TheCollectionIsReadAndTheCommandsWorkOnAllOfIt) {
  MakeCollection(3);
  WriteList({FPictures[0], FPictures[1]});
  regtest::SetString(regtest::kOptionsKey, "LastActiveWallpaperIndex", "1");
  regtest::SetString(regtest::kOptionsKey, "FirstRun", "no");  // the step just before the collection is read
  Create().Show();
  EXPECT_EQ(2u, FExceptions.size());
  EXPECT_EQ((std::vector<int>{0, 1}), RowPictures());
  Choose({FPictures[2]});
  SendMessageA(frmEditor->Handle(), WM_COMMAND, frmEditor->MainMenu()->Find("Add1")->Command(), 0);
  EXPECT_EQ((std::vector<int>{0, 1, 2}), ListFile());
}

}  // namespace
