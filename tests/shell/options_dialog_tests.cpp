// The options dialog, shown modally and driven through its real controls while its loop runs.
#include <gtest/gtest.h>

#include "settings/uOptions.h"
#include "shell/EditorTestSupport.h"
#include "shell/ShellTestSupport.h"
#include "shell/ufrmOptions.h"

namespace {

using namespace regtest;

class OptionsDialogTest : public ShellTest {
protected:
  // Shows the dialog; the steps run inside its loop, and the last must end it.
  int Show() { return FForm->ShowModal(); }
  void SetStored(const char* name, uint32_t value) { SetDword(kOptionsKey, name, value); }
  uint32_t Stored(const char* name) { return GetDword(kOptionsKey, name).value_or(0xDEADBEEF); }
  // Picks a row of a drop-down list from the keyboard, by the first letter of its text.
  void PickRow(TComboBox& list, char firstLetter) {
    SetFocus(list.Handle());
    SendMessageA(list.Handle(), WM_CHAR, static_cast<unsigned char>(firstLetter), 1);
  }
  void ShowPage(int page) { ui::Click(page == 0 ? FForm->lblGeneral : FForm->lblWallpaper); }
  // Answers the message box once it shows, keeping it in box.
  static void AnswerWhenShown(ui::TMessageBox& box) {
    ui::Later([&box] { ui::Answer(box = ui::FindMessageBox(), "OK"); }, [] { return ui::FindMessageBox().Handle; });
  }
  bool BackInTheField() const { return !ui::FindMessageBox().Handle && FForm->edtFrequency.Focused(); }

  TFormPtr<TfrmOptions> FForm = MakeForm<TfrmOptions>();
};

TEST_F(OptionsDialogTest, StoredPeriodShowsInItsLargestWholeUnit) {
  const struct {
    int32_t seconds;
    const char* text;
    const char* unit;
  } cases[] = {{600, "10", "Minutes"}, {7200, "2", "Hours"},    {3600, "1", "Hours"},     {90, "90", "Seconds"},
               {0, "0", "Hours"},      {-120, "-2", "Minutes"}, {-90, "-90", "Seconds"}, {2147483, "2147483", "Seconds"}};
  for (const auto& c : cases) {
    SetStored("ChangeFrequency", static_cast<uint32_t>(c.seconds));
    std::string text, unit;
    ui::Later([&] {
      text = FForm->edtFrequency.Text();
      unit = FForm->cbxTimeMeasure.Item(FForm->cbxTimeMeasure.ItemIndex());
      ui::Click(FForm->btnCancel);
    });
    EXPECT_EQ(mrCancel, Show());
    EXPECT_EQ(c.text, text) << c.seconds;
    EXPECT_EQ(c.unit, unit) << c.seconds;
  }
}

TEST_F(OptionsDialogTest, NumberTimesUnitIsStoredByOk) {
  const struct {
    const char* number;
    char unit;
    uint32_t stored;
  } cases[] = {{"3", 'H', 10800}, {"45", 'S', 45}, {"2", 'M', 120}, {"596", 'H', 2145600}, {"1", 'S', 1}};
  for (const auto& c : cases) {
    ui::Later([&] {
      ShowPage(1);
      ui::Type(FForm->edtFrequency, c.number);
      PickRow(FForm->cbxTimeMeasure, c.unit);
      ui::Click(FForm->btnOk);
    });
    EXPECT_EQ(mrOk, Show());
    EXPECT_EQ(c.stored, Stored("ChangeFrequency")) << c.number << " " << c.unit;
  }
}

TEST_F(OptionsDialogTest, LeavingThePeriodFieldRefusesWhatTheTimerCannotRun) {
  const struct {
    const char* number;
    char unit;
    const char* message;  // empty: accepted
  } cases[] = {
      {"0", 'S', "Value must be 1 or more."},         {"-5", 'S', "Value must be 1 or more."},
      {"", 'S', "Value must be 1 or more."},          {"1.5", 'M', "Value must be 1 or more."},
      {"abc", 'H', "Value must be 1 or more."},       {"12345678901", 'S', "Value must be 2147483 seconds or less."},
      {"2147484", 'S', "Value must be 2147483 seconds or less."},
      {"35792", 'M', "Value must be 35791 minutes or less."},
      {"597", 'H', "Value must be 596 hours or less."},
      {"1", 'H', ""},  {"100000", 'S', ""}, {"2147483", 'S', ""}, {"35791", 'M', ""}};
  for (const auto& c : cases) {
    ui::TMessageBox box;
    bool focusBack = false;
    std::string textAfter;
    ui::Later([&] {
      ShowPage(1);
      PickRow(FForm->cbxTimeMeasure, c.unit);
      ui::Type(FForm->edtFrequency, c.number);
      ui::PressKey(VK_TAB);  // the focus leaves the field for the unit list
    });
    ui::Later([&] {
      box = ui::FindMessageBox();
      if (box.Handle) ui::Answer(box, "OK");
    }, [&] { return !*c.message || ui::FindMessageBox().Handle; });
    ui::Later([&] {
      focusBack = GetFocus() == FForm->edtFrequency.Handle();
      textAfter = FForm->edtFrequency.Text();
      // A click on a button would leave the field again: the close box ends the dialog.
      SendMessageA(FForm->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    }, [&] { return *c.message ? BackInTheField() : FForm->cbxTimeMeasure.Focused(); });
    Show();
    SCOPED_TRACE(c.number);
    if (*c.message) {
      EXPECT_EQ("Information", box.Caption);
      EXPECT_EQ(c.message, box.Text);
      EXPECT_EQ(std::vector<std::string>{"OK"}, box.Buttons);
      EXPECT_TRUE(box.HasIcon);
      EXPECT_TRUE(focusBack);
    } else {
      EXPECT_EQ(nullptr, box.Handle);
      EXPECT_FALSE(focusBack);
    }
    EXPECT_EQ(c.number, textAfter);
  }
}

// The field keeps the focus while its number stays, so a period is also checked when its unit changes and at
// OK. Cancel, which stores nothing, leaves without the check.
TEST_F(OptionsDialogTest, TheUnitAndOkRefuseAPeriodTheTimerCannotRunAndCancelLeaves) {
  ui::TMessageBox atUnit, atOk;
  ui::Later([&] {
    ShowPage(1);
    ui::Type(FForm->edtFrequency, "600");
    PickRow(FForm->cbxTimeMeasure, 'S');
    PostMessageA(FForm->cbxTimeMeasure.Handle(), WM_CHAR, 'H', 1);
  });
  AnswerWhenShown(atUnit);
  ui::Later(
      [&] {  // through the message loop, as OK opens a message box
        PostMessageA(FForm->btnOk.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageA(FForm->btnOk.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
      },
      [this] { return BackInTheField(); });
  AnswerWhenShown(atOk);
  ui::Later([&] { ui::Click(FForm->btnCancel); }, [this] { return BackInTheField(); });
  EXPECT_EQ(mrCancel, Show());
  EXPECT_EQ("Value must be 596 hours or less.", atUnit.Text);
  EXPECT_EQ("Value must be 596 hours or less.", atOk.Text);
  EXPECT_EQ(600u, Stored("ChangeFrequency"));
}

TEST_F(OptionsDialogTest, APeriodThatCannotBeRunKeepsTheStoredOne) {
  const struct {
    const char* text;
    int row;
  } cases[] = {{"abc", tmHours}, {"0", tmSeconds}, {"-5", tmMinutes}, {"600000", tmHours}, {"2147483647", tmSeconds}};
  for (const auto& c : cases) {
    SetStored("ChangeFrequency", 900);
    std::string textAfter;
    int rowAfter = -2;
    ui::Later([&] {
      FForm->edtFrequency.SetText(c.text);
      FForm->cbxTimeMeasure.SetItemIndex(c.row);
      FForm->SaveOptions();
      textAfter = FForm->edtFrequency.Text();
      rowAfter = FForm->cbxTimeMeasure.ItemIndex();
      ui::Click(FForm->btnCancel);
    });
    Show();
    EXPECT_EQ(900u, Stored("ChangeFrequency")) << c.text;
    EXPECT_EQ("15", textAfter);
    EXPECT_EQ(tmMinutes, rowAfter);
  }
  EXPECT_TRUE(ui::FindMessageBox().Handle == nullptr);
}

TEST_F(OptionsDialogTest, WithoutAUnitRowThePeriodIs120) {
  ui::Later([&] {
    FForm->edtFrequency.SetText("7");
    FForm->cbxTimeMeasure.SetItemIndex(-1);
    EXPECT_EQ(120, FForm->GetFrequencySeconds());
    FForm->SaveOptions();
    ui::Click(FForm->btnCancel);
  });
  Show();
  EXPECT_EQ(120u, Stored("ChangeFrequency"));
}

TEST_F(OptionsDialogTest, TheTimerBoxEnablesThePeriodControlsAndOkStillWritesThePeriod) {
  SetStored("ChangeOnTimer", 1);
  SetStored("ChangeFrequency", 300);
  bool enabledBefore = false, labelAfter = true, editAfter = true, unitAfter = true;
  ui::Later([&] {
    enabledBefore = FForm->edtFrequency.Enabled() && FForm->cbxTimeMeasure.Enabled() && FForm->lblChangeEvery.Enabled();
    ShowPage(1);
    ui::Click(FForm->chkChangeOnTimer);
    labelAfter = FForm->lblChangeEvery.Enabled();
    editAfter = FForm->edtFrequency.Enabled();
    unitAfter = FForm->cbxTimeMeasure.Enabled();
    FForm->edtFrequency.SetText("7");
    ui::Click(FForm->btnOk);
  });
  EXPECT_EQ(mrOk, Show());
  EXPECT_TRUE(enabledBefore);
  EXPECT_FALSE(labelAfter);
  EXPECT_FALSE(editAfter);
  EXPECT_FALSE(unitAfter);
  EXPECT_EQ(0u, Stored("ChangeOnTimer"));
  EXPECT_EQ(420u, Stored("ChangeFrequency"));
}

TEST_F(OptionsDialogTest, OkWritesEveryControlAndCancelWritesNothing) {
  ui::Later([&] {
    ui::Click(FForm->chkRunAtStartup);
    ui::Click(FForm->chkMinimizeToSystemTray);
    ui::Click(FForm->chkMinimizeControlPanelOnClickX);
    PickRow(FForm->cbxDoubleClickAction, 'C');  // "Change Wallpaper"
    ShowPage(1);
    ui::Click(FForm->chkChangeWallpaperOnStartup);
    ui::Click(FForm->chkShuffleWallpaper);
    PickRow(FForm->cbxWallpaperStyle, 'T');
    ui::Click(FForm->btnOk);
  });
  EXPECT_EQ(mrOk, Show());
  EXPECT_EQ(RunningProgramPath(), GetString(kRunKey, "orlo").value_or(""));
  EXPECT_EQ(0u, Stored("MinimizeToSystemTray"));
  EXPECT_EQ(0u, Stored("MinimizeControlPanelOnClickX"));
  EXPECT_EQ(2u, Stored("ClickAction"));
  EXPECT_EQ(0u, Stored("ChangeWallpaperOnStartup"));
  EXPECT_EQ(1u, Stored("ShuffleWallpaper"));
  EXPECT_EQ(1u, Stored("WallpaperStyle"));
  EXPECT_EQ(static_cast<uint32_t>(GetSysColor(COLOR_BACKGROUND)), Stored("BreakColor"));

  ui::Later([&] {
    ui::Click(FForm->chkRunAtStartup);
    ui::Click(FForm->chkShuffleWallpaper);
    PickRow(FForm->cbxDoubleClickAction, 'O');
    ui::Click(FForm->btnCancel);
  });
  EXPECT_EQ(mrCancel, Show());
  EXPECT_TRUE(GetString(kRunKey, "orlo").has_value());
  EXPECT_EQ(2u, Stored("ClickAction"));
}

TEST_F(OptionsDialogTest, TheCloseBoxCancels) {
  ui::Later([&] {
    ui::Click(FForm->chkShuffleWallpaper);
    SendMessageA(FForm->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  EXPECT_EQ(mrCancel, Show());
  EXPECT_EQ(0u, Stored("ShuffleWallpaper"));  // the default that showing stored, not the click
  EXPECT_FALSE(FForm->Visible());
}

TEST_F(OptionsDialogTest, ShowingStoresTheDefaultOfEveryMissingOption) {
  ui::Later([&] { ui::Click(FForm->btnCancel); });
  Show();
  EXPECT_EQ(600u, Stored("ChangeFrequency"));
  EXPECT_EQ(1u, Stored("MinimizeToSystemTray"));
  EXPECT_FALSE(GetDword(kOptionsKey, "BreakColor").has_value());
}

TEST_F(OptionsDialogTest, ARowThatIsNotInTheListShowsNoneAndOkStoresMinusOne) {
  SetStored("ClickAction", 4);
  SetStored("WallpaperStyle", static_cast<uint32_t>(-1));
  int clickRow = 0, styleRow = 0;
  ui::Later([&] {
    clickRow = FForm->cbxDoubleClickAction.ItemIndex();
    styleRow = FForm->cbxWallpaperStyle.ItemIndex();
    ui::Click(FForm->btnOk);
  });
  Show();
  EXPECT_EQ(-1, clickRow);
  EXPECT_EQ(-1, styleRow);
  EXPECT_EQ(0xFFFFFFFFu, Stored("ClickAction"));
  EXPECT_EQ(0xFFFFFFFFu, Stored("WallpaperStyle"));
}

TEST_F(OptionsDialogTest, DesktopColourChangesOnlyWhenOkHasAnotherColour) {
  const INT element = COLOR_BACKGROUND;
  const COLORREF start = RGB(10, 20, 30);
  SetSysColors(1, &element, &start);

  // "Default" keeps the shown colour: OK stores it and leaves the desktop alone.
  bool defaultFired = false;
  ui::Later([&] {
    FForm->clpBackgroundColor.OnDefaultSelect = [&](TObject*) { defaultFired = true; };
    EXPECT_EQ(static_cast<TColor>(start), FForm->clpBackgroundColor.SelectionColor());
    ShowPage(1);
    ui::Click(FForm->clpBackgroundColor);
    TColorPalette* palette = FForm->clpBackgroundColor.DropDown();
    ASSERT_NE(nullptr, palette);
    const RECT entry = palette->EntryRect(TColorPalette::kDefaultEntry);
    ui::ClickAt(palette->Handle(), {(entry.left + entry.right) / 2, (entry.top + entry.bottom) / 2});
    ui::Click(FForm->btnOk);
  });
  Show();
  FForm->clpBackgroundColor.OnDefaultSelect = nullptr;
  EXPECT_TRUE(defaultFired);
  EXPECT_EQ(start, GetSysColor(COLOR_BACKGROUND));
  EXPECT_EQ(static_cast<uint32_t>(start), Stored("BreakColor"));

  // A colour of the palette: Cancel applies nothing, OK stores and applies it.
  const int red = 13;  // 0xFF0000 in COLORREF order is blue; entry 13 is clBlue
  for (const int result : {mrCancel, mrOk}) {
    ui::Later([&] {
      ui::Click(FForm->clpBackgroundColor);
      TColorPalette* palette = FForm->clpBackgroundColor.DropDown();
      ASSERT_NE(nullptr, palette);
      const RECT entry = palette->EntryRect(red);
      ui::ClickAt(palette->Handle(), {(entry.left + entry.right) / 2, (entry.top + entry.bottom) / 2});
      EXPECT_EQ(clBlue, FForm->clpBackgroundColor.SelectionColor());
      ui::Click(result == mrOk ? static_cast<TControl&>(FForm->btnOk) : FForm->btnCancel);
    });
    EXPECT_EQ(result, Show());
  }
  EXPECT_EQ(static_cast<COLORREF>(clBlue), GetSysColor(COLOR_BACKGROUND));
  EXPECT_EQ(static_cast<uint32_t>(clBlue), Stored("BreakColor"));
  EXPECT_EQ("0 0 255", GetString("Control Panel\\Colors", "Background"));  // for the next log-on
}

TEST_F(OptionsDialogTest, CustomColourComesFromTheSystemColourDialog) {
  HWND owner = nullptr;
  TScopedReplacement<TChooseColorCall> chooser(ChooseColorCall, [&](HWND window, COLORREF& colour) {
    owner = window;
    colour = RGB(1, 2, 3);
    return true;
  });
  ui::Later([&] {
    ui::Click(FForm->clpBackgroundColor);
    TColorPalette* palette = FForm->clpBackgroundColor.DropDown();
    ASSERT_NE(nullptr, palette);
    const RECT entry = palette->EntryRect(TColorPalette::kCustomEntry);
    ui::ClickAt(palette->Handle(), {(entry.left + entry.right) / 2, (entry.top + entry.bottom) / 2});
    ui::Click(FForm->btnOk);
  });
  Show();
  EXPECT_EQ(FForm->Handle(), owner);
  EXPECT_EQ(RGB(1, 2, 3), GetSysColor(COLOR_BACKGROUND));
}

TEST_F(OptionsDialogTest, ThePaletteClosesWhenTheUserClicksElsewhere) {
  ui::Later([&] {
    ui::Click(FForm->clpBackgroundColor);
    TColorPalette* palette = FForm->clpBackgroundColor.DropDown();
    ASSERT_NE(nullptr, palette);
    EXPECT_TRUE(IsWindowVisible(palette->Handle()));
    ui::ClickAt(palette->Handle(), {-50, -50});
    EXPECT_FALSE(IsWindowVisible(palette->Handle()));
  });
  ui::Later([&] { ui::Click(FForm->btnCancel); }, [&] { return !FForm->clpBackgroundColor.DropDown(); });
  Show();
}

TEST_F(OptionsDialogTest, EveryShowingOpensOnGeneralWithItsLinkActive) {
  for (int showing = 0; showing < 2; ++showing) {
    int page = -1;
    TColor general = 0, wallpaper = 0;
    TCursor generalCursor{}, wallpaperCursor{}, iconCursor{};
    ui::Later([&] {
      page = FForm->nbkOptions.PageIndex();
      general = FForm->lblGeneral.Font().Color;
      wallpaper = FForm->lblWallpaper.Font().Color;
      generalCursor = FForm->lblGeneral.Cursor();
      wallpaperCursor = FForm->lblWallpaper.Cursor();
      iconCursor = FForm->imgWallpaper.Cursor();
      ShowPage(1);  // closed on "Wallpaper"
      ui::Click(FForm->btnCancel);
    });
    Show();
    EXPECT_EQ(0, page);
    EXPECT_EQ(clBlack, general);
    EXPECT_EQ(clBlue, wallpaper);
    EXPECT_EQ(TCursor::Default, generalCursor);
    EXPECT_EQ(TCursor::HandPoint, wallpaperCursor);
    EXPECT_EQ(TCursor::HandPoint, iconCursor);
    EXPECT_TRUE(FForm->lblWallpaper.Font().Style.Underline);
  }
}

TEST_F(OptionsDialogTest, EachPartOfALinkRowShowsItsPageAndTheEmptyRowDoesNothing) {
  ui::Later([&] {
    ui::Click(FForm->imgWallpaper);
    EXPECT_EQ(1, FForm->nbkOptions.PageIndex());
    EXPECT_TRUE(FForm->chkShuffleWallpaper.Visible());
    EXPECT_FALSE(FForm->chkRunAtStartup.Visible());
    EXPECT_EQ(clBlack, FForm->lblWallpaper.Font().Color);
    ui::Click(FForm->Component<TPanel>("pnlCalendar"));
    EXPECT_EQ(1, FForm->nbkOptions.PageIndex());
    ui::Click(FForm->Component<TPanel>("pnlGeneral"));
    EXPECT_EQ(0, FForm->nbkOptions.PageIndex());
    ui::Click(FForm->lblWallpaper);
    EXPECT_EQ(1, FForm->nbkOptions.PageIndex());
    ui::Click(FForm->btnCancel);
  });
  Show();
}

TEST_F(OptionsDialogTest, TabFollowsTheTabOrderNotTheScreenOrder) {
  std::vector<HWND> order;
  ui::Later([&] { FForm->chkRunAtStartup.SetFocus(); });
  for (int press = 0; press < 7; ++press) {
    ui::Later([&] {
      order.push_back(GetFocus());
      ui::PressKey(VK_TAB);
    });
  }
  ui::Later([&] {
    order.push_back(GetFocus());
    ui::Click(FForm->btnCancel);
  });
  Show();
  const std::vector<HWND> expected = {
      FForm->chkRunAtStartup.Handle(), FForm->chkMinimizeToSystemTray.Handle(),
      FForm->cbxDoubleClickAction.Handle(), FForm->chkMinimizeControlPanelOnClickX.Handle(),
      FForm->btnOk.Handle(), FForm->btnCancel.Handle(), FForm->btnHelp.Handle(), FForm->chkRunAtStartup.Handle()};
  EXPECT_EQ(expected, order);
}

TEST_F(OptionsDialogTest, HelpGoesToWinHelpByContextNumberOrKeyword) {
  Application.SetHelpFile("C:\\Muralia\\orlo.hlp");
  ui::Later([&] {
    ui::Click(FForm->btnHelp);
    HELPINFO info{sizeof info, HELPINFO_WINDOW, 0, FForm->chkMinimizeToSystemTray.Handle(), 0, {5, 5}};
    SendMessageA(FForm->chkMinimizeToSystemTray.Handle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    info.hItemHandle = FForm->cbxDoubleClickAction.Handle();
    SendMessageA(FForm->cbxDoubleClickAction.Handle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    ui::Click(FForm->btnCancel);
  });
  Show();
  Application.SetHelpFile("");
  ASSERT_EQ(4u, FHelpCalls.size());
  EXPECT_EQ(static_cast<UINT>(HELP_CONTEXT), FHelpCalls[0].Command);
  EXPECT_EQ(50u, FHelpCalls[0].Data);
  EXPECT_EQ("C:\\Muralia\\orlo.hlp", FHelpCalls[0].File);

  RECT box;
  GetWindowRect(FForm->chkMinimizeToSystemTray.Handle(), &box);
  EXPECT_EQ(static_cast<UINT>(HELP_SETPOPUP_POS), FHelpCalls[1].Command);
  EXPECT_EQ(static_cast<ULONG_PTR>(MAKELONG(box.left, box.top)), FHelpCalls[1].Data);
  EXPECT_EQ(static_cast<UINT>(HELP_CONTEXTPOPUP), FHelpCalls[2].Command);
  EXPECT_EQ(553u, FHelpCalls[2].Data);
  EXPECT_EQ(static_cast<UINT>(HELP_KEY), FHelpCalls[3].Command);
  EXPECT_EQ("555", FHelpCalls[3].Keyword);
}

TEST_F(OptionsDialogTest, AFailedSaveIsShownAndStillEndsWithOk) {
  std::unique_ptr<LockedKey> locked;
  ui::Later([&] {
    locked = std::make_unique<LockedKey>(kOptionsKey);  // after the showing has read every option
    ui::Click(FForm->btnOk);
  });
  EXPECT_EQ(mrOk, Show());
  locked.reset();
  ASSERT_EQ(1u, FExceptions.size());
  EXPECT_NE(std::string::npos, FExceptions[0].find("ChangeFrequency")) << FExceptions[0];

  // The dialog goes on working.
  ui::Later([&] {
    ui::Click(FForm->chkShuffleWallpaper);
    ui::Click(FForm->btnOk);
  });
  EXPECT_EQ(mrOk, Show());
  EXPECT_EQ(1u, Stored("ShuffleWallpaper"));
}

TEST_F(OptionsDialogTest, LayoutAsDesignedAt96Dpi) {
  RECT client;
  GetClientRect(FForm->Handle(), &client);
  EXPECT_EQ(488, client.right);
  EXPECT_EQ(244, client.bottom);
  EXPECT_EQ("Options", ui::TextOf(FForm->Handle()));
  EXPECT_TRUE(GetWindowLongA(FForm->Handle(), GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
  EXPECT_FALSE(GetWindowLongA(FForm->Handle(), GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  const auto bounds = [&](const TControl& control) {
    const RECT r = control.BoundsRect();
    return std::vector<long>{r.left, r.top, r.right - r.left, r.bottom - r.top};
  };
  EXPECT_EQ((std::vector<long>{0, 0, 105, 244}), bounds(FForm->Component<TPanel>("Panel1")));
  EXPECT_EQ((std::vector<long>{105, 0, 292, 244}), bounds(FForm->nbkOptions));
  EXPECT_EQ((std::vector<long>{397, 0, 91, 244}), bounds(FForm->Component<TPanel>("Panel2")));
  EXPECT_EQ((std::vector<long>{1, 42, 103, 41}), bounds(FForm->Component<TPanel>("pnlWallpaper")));
  EXPECT_EQ((std::vector<long>{6, 9, 24, 24}), bounds(FForm->imgWallpaper));
  EXPECT_EQ((std::vector<long>{16, 43, 193, 17}), bounds(FForm->chkMinimizeToSystemTray));
  EXPECT_EQ((std::vector<long>{116, 54, 125, 18}), bounds(FForm->clpBackgroundColor));
  EXPECT_EQ((std::vector<long>{6, 80, 81, 25}), bounds(FForm->btnHelp));
  EXPECT_EQ("Minimize Control Panel on click X ", FForm->chkMinimizeControlPanelOnClickX.Caption());
  EXPECT_EQ("Center ", FForm->cbxWallpaperStyle.Item(0));
  EXPECT_EQ(4, FForm->cbxDoubleClickAction.ItemCount());
  EXPECT_EQ(-11, FForm->chkRunAtStartup.Font().Height);
  EXPECT_EQ("MS Sans Serif", FForm->chkRunAtStartup.Font().Name);
}

using OptionsFromTheMenu = EditorTest;

TEST_F(OptionsFromTheMenu, AValueOfTheWrongTypeShowsItsDefaultAndOkStoresItsRightType) {
  MakeCollection(1);
  Create();
  SetString(kOptionsKey, "ChangeOnTimer", "yes");
  SetString(kOptionsKey, "ClickAction", "open the options");
  std::string said;
  ui::WhenMessageBoxOpens([&](const ui::TMessageBox& box) {
    said = box.Text;
    ui::Answer(box, "OK");
  });
  ui::Later([&] {
    EXPECT_TRUE(frmOptions->chkChangeOnTimer.Checked());
    EXPECT_EQ(clkOpenOptionsDialog, frmOptions->cbxDoubleClickAction.ItemIndex());
    ui::Click(frmOptions->btnOk);
  });
  SendMessageA(frmEditor->Handle(), WM_COMMAND, frmEditor->MainMenu()->Find("Options1")->Command(), 0);
  EXPECT_EQ("Invalid data type for 'ChangeOnTimer'.\nFailed to get data for 'ClickAction'.\n"
            "\nThe dialog shows the default instead; OK stores what it shows.",
            said);
  EXPECT_EQ(1u, Stored("ChangeOnTimer"));  // read back as numbers only
  EXPECT_EQ(0u, Stored("ClickAction"));
}

}  // namespace
