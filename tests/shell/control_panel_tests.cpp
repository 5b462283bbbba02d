// The control panel as a user sees it: its layout, menus, actions, help, shortcuts, the striped list with its
// texts, the information band and the preview.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "shell/EditingTestSupport.h"
#include "shell/ufrmAbout.h"

namespace {

constexpr COLORREF kStripe = RGB(0xFF, 0xD1, 0x57);

class ControlPanel : public EditorTest {
protected:
  // Makes the control panel shown and active, with the keyboard on the list.
  TfrmEditor& Shown() {
    TfrmEditor& editor = Create();
    editor.Show();
    SetForegroundWindow(editor.Handle());
    editor.vstWallpapers.SetFocus();
    ui::Pump();
    return editor;
  }
  using EditorTest::Shown;
  void Focus(int position) {
    PVirtualNode node = frmEditor->vstWallpapers.GetFirst();
    for (int i = 0; i < position; ++i) node = frmEditor->vstWallpapers.GetNext(node);
    frmEditor->vstWallpapers.SetSelected(node, true);
    frmEditor->vstWallpapers.SetFocusedNode(node);
  }
  std::vector<long> Bounds(const TControl& control) const {
    const RECT r = control.BoundsRect();
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  SIZE PreviewSize() const {
    const TBitmap* picture = frmEditor->imgPreview.Picture();
    return picture ? SIZE{picture->Width(), picture->Height()} : SIZE{0, 0};
  }
};

TEST_F(ControlPanel, LayoutAsDesignedAt96Dpi) {
  MakeCollection(1);
  TfrmEditor& editor = Create();
  RECT window;
  GetWindowRect(editor.Handle(), &window);
  EXPECT_EQ(632, window.right - window.left);
  EXPECT_EQ(452, window.bottom - window.top);
  EXPECT_NEAR(GetSystemMetrics(SM_CXSCREEN) / 2, (window.left + window.right) / 2, 1);
  MINMAXINFO limits{};
  SendMessageA(editor.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(373, limits.ptMinTrackSize.x);
  EXPECT_EQ(371, limits.ptMinTrackSize.y);
  EXPECT_EQ("Muralia Control Panel", ui::TextOf(editor.Handle()));

  std::vector<std::string> buttons;
  for (const auto& button : editor.tbrMain.Buttons())
    buttons.push_back(button->Separator() ? "-" : button->Caption() + "|" + button->Hint());
  EXPECT_EQ((std::vector<std::string>{"Options...|Show Options Dialog", "-", "Remove|Remove selected image",
                                      "Add|Add image(s) to collection", "Up|Move image up", "Down|Move image down",
                                      "-", "Place|Place image to desktop"}),
            buttons);
  EXPECT_EQ(48, Bounds(editor.tbrMain)[3]);
  EXPECT_EQ((std::vector<long>{0, 0, 624, 113}), Bounds(editor.Component<TPanel>("Panel5")));
  EXPECT_EQ((std::vector<long>{1, 1, 128, 111}), Bounds(editor.Component<TPanel>("Panel7")));
  EXPECT_EQ((std::vector<long>{129, 1, 208, 111}), Bounds(editor.Component<TPanel>("Panel8")));
  EXPECT_EQ((std::vector<long>{0, 0, 168, 111}), Bounds(editor.imgPreview));
  EXPECT_EQ((std::vector<long>{8, 8, 24, 24}), Bounds(editor.Component<TImage>("Image3")));
  EXPECT_EQ("Wallpaper", editor.Component<TLabel>("Label8").Caption());
  EXPECT_EQ(85, Bounds(editor.lblChanged)[1]);
  EXPECT_TRUE(editor.lblFileName.Font().Style.Bold);

  HWND list = editor.vstWallpapers.Handle();
  const char* headers[] = {"Name", "Size", "Type", "Path"};
  const int widths[] = {200, 100, 150, 300};
  for (int column = 0; column < 4; ++column) {
    char text[32] = "";
    LVCOLUMNA info{};
    info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    info.pszText = text;
    info.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(headers[column], text);
    EXPECT_EQ(widths[column], info.cx);
    EXPECT_EQ(column == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT, info.fmt & LVCFMT_JUSTIFYMASK) << text;
  }
}

TEST_F(ControlPanel, MenusShowTheirActionsInOrder) {
  MakeCollection(1);
  TfrmEditor& editor = Create();
  const auto texts = [](const std::vector<std::unique_ptr<TMenuItem>>& items) {
    std::vector<std::string> out;
    for (const auto& item : items) {
      std::string text = item->IsLine() ? "-" : item->Caption();
      if (item->ShortCut()) text += "\t" + ShortCutToText(item->ShortCut());
      if (!item->Items().empty()) text += " >";
      out.push_back(text);
    }
    return out;
  };
  const TMenu& bar = *editor.MainMenu();
  ASSERT_EQ(2u, bar.Items().size());
  EXPECT_EQ("&File", bar.Items()[0]->Caption());
  EXPECT_EQ("Help", bar.Items()[1]->Caption());
  EXPECT_EQ((std::vector<std::string>{"Add\tIns", "Remove\tDel", "Move Up\tCtrl+Up", "Move Down\tCtrl+Down", "-",
                                      "Remove Dead", "Remove All", "Clear Desktop", "-", "Place\tCtrl+Enter", "-",
                                      "Options...", "-", "Exit\tAlt+F4"}),
            texts(bar.Items()[0]->Items()));
  EXPECT_EQ((std::vector<std::string>{"Help", "Support >", "Quorlen Software on the Web >", "Tell a Friend/Colleague",
                                      "Check for Update...", "-", "About"}),
            texts(bar.Items()[1]->Items()));
  EXPECT_EQ((std::vector<std::string>{"Request Support Online", "Request Support via Email", "-",
                                      "Anonymous Feedback"}),
            texts(bar.Find("Support1")->Items()));
  EXPECT_EQ((std::vector<std::string>{"Home Page", "Contact via Email"}),
            texts(bar.Find("QuorlenSoftwareontheWeb1")->Items()));
  EXPECT_EQ((std::vector<std::string>{"Control Panel", "Options...", "-", "Add\tIns", "Clear Desktop",
                                      "Next Wallpaper", "-", "Help", "Support >", "About", "-", "Exit\tAlt+F4"}),
            texts(editor.Menu("pupTray").Items()));
  EXPECT_EQ((std::vector<std::string>{"Add\tIns", "Remove\tDel", "Move Up\tCtrl+Up", "Move Down\tCtrl+Down", "-",
                                      "Remove Dead", "Remove All", "-", "Place\tCtrl+Enter"}),
            texts(editor.Menu("pumContext").Items()));
  for (const char* menu : {"pupTray", "pumContext"}) {
    EXPECT_EQ(static_cast<UINT>(-1), GetMenuDefaultItem(editor.Menu(menu).Handle(), FALSE, 0)) << menu;
  }
  // "Support" has an action and no way to reach it.
  EXPECT_NE(nullptr, editor.ActionList().Find("actSupport"));
  for (const char* menu : {"MainMenu", "pupTray", "pumContext"}) {
    std::function<bool(const std::vector<std::unique_ptr<TMenuItem>>&)> uses = [&](const auto& items) {
      for (const auto& item : items)
        if ((item->Action() && item->Action()->Name() == "actSupport") || uses(item->Items())) return true;
      return false;
    };
    EXPECT_FALSE(uses(editor.Menu(menu).Items())) << menu;
  }
}

TEST_F(ControlPanel, LinksHelpAndAboutRunFromTheirMenuItems) {
  MakeCollection(1);
  TfrmEditor& editor = Create();
  Application.CreateForm(frmAbout);
  const TMenu& bar = *editor.MainMenu();
  for (const char* item : {"RequestSupport1", "RequestSupportviaEmail1", "AnonymousFeedback1", "Home1", "Contact1",
                           "ellaFriendColleague1", "Checkforupdates1"})
    bar.Find(item)->Click();
  std::vector<std::string> opened;
  for (const TShellExecuteArgs& call : FShellCalls) opened.push_back(call.File);
  EXPECT_EQ((std::vector<std::string>{"http://www.quorlen.example/support.html", "mailto:support@quorlen.example",
                                      "http://www.quorlen.example/afeedback.html", "http://www.quorlen.example/",
                                      "mailto:contact@quorlen.example", "http://www.quorlen.example/tell-a-friend.html",
                                      "http://www.quorlen.example/downloads.html"}),
            opened);

  bar.Find("Help3")->Click();
  editor.Menu("pupTray").Find("Help2")->Click();
  ASSERT_EQ(2u, FHelpCalls.size());
  EXPECT_EQ(51u, FHelpCalls[0].Data);
  EXPECT_EQ(522u, FHelpCalls[1].Data);
  EXPECT_EQ(static_cast<UINT>(HELP_CONTEXT), FHelpCalls[1].Command);
  EXPECT_EQ(FFolder.File("orlo.hlp"), FHelpCalls[1].File);

  bool aboutShown = false;
  const TScopedReplacement<std::function<std::string()>> program(ProgramFileName, regtest::RunningProgramPath);
  ui::Later([&] {
    aboutShown = frmAbout->Visible();
    ui::Click(frmAbout->Component<TButton>("btnOk"));
  });
  bar.Find("AboutBrindlemoor1")->Click();
  EXPECT_TRUE(aboutShown);
  frmAbout = nullptr;
}

TEST_F(ControlPanel, PopupHelpGoesToWinHelpOwnedByTheControlPanelEvenInTheTray) {
  MakeCollection(1);
  TfrmEditor& editor = Create();
  ASSERT_FALSE(editor.Visible());
  Application.HelpCommand(HELP_SETPOPUP_POS, MAKELONG(100, 200));
  Application.HelpCommand(HELP_CONTEXTPOPUP, 552);
  ASSERT_EQ(2u, FHelpCalls.size());  // the pop-up goes once, and not again by the ordinary way
  EXPECT_EQ(static_cast<UINT>(HELP_SETPOPUP_POS), FHelpCalls[0].Command);
  EXPECT_EQ(static_cast<UINT>(HELP_CONTEXTPOPUP), FHelpCalls[1].Command);
  EXPECT_EQ(552u, FHelpCalls[1].Data);
  EXPECT_EQ(editor.Handle(), FHelpCalls[1].Owner);
  EXPECT_EQ(FFolder.File("orlo.hlp"), FHelpCalls[1].File);
  EXPECT_THROW(Application.HelpCommand(HELP_CONTEXTPOPUP, static_cast<ULONG_PTR>(-5)), ERangeError);
  EXPECT_EQ(2u, FHelpCalls.size());
}

TEST_F(ControlPanel, TheToolbarFollowsTheFocusedRow) {
  MakeCollection(3);
  TfrmEditor& editor = Create();
  EXPECT_FALSE(editor.btnUp.Enabled());  // the first row is focused
  EXPECT_TRUE(editor.btnDown.Enabled());
  EXPECT_TRUE(editor.btnRemove.Enabled());
  Focus(2);
  EXPECT_TRUE(editor.btnUp.Enabled());
  EXPECT_FALSE(editor.btnDown.Enabled());
  editor.vstWallpapers.SetFocusedNode(nullptr);
  EXPECT_FALSE(editor.btnUp.Enabled());
  EXPECT_FALSE(editor.btnDown.Enabled());
  EXPECT_FALSE(editor.btnRemove.Enabled());
  const TMenu& menu = editor.Menu("pumContext");  // the action behind the button and its menu items stay enabled
  EXPECT_FALSE(GetMenuState(menu.Handle(), menu.Find("Remove2")->Command(), MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(ControlPanel, ShortcutsAreTakenOnceAndTheListSeesOnlyOtherKeys) {
  MakeCollection(3);
  TfrmEditor& editor = Shown();
  ui::TypeKey(VK_DOWN, ssCtrl);
  EXPECT_EQ(1, editor.vstWallpapers.FocusedNode()->Index());  // one place, not two
  EXPECT_EQ("picture0", Shown(1, 0));
  ui::TypeKey(VK_RETURN, ssCtrl);
  EXPECT_EQ(0, AppliedEntry());
  EXPECT_EQ(0, editor.CurrentIndex());  // "Place" leaves the change position alone

  int dialogs = 0;
  const TScopedReplacement<TGetOpenFileNameCall> dialog(GetOpenFileNameCall, [&](OPENFILENAMEW&) {
    ++dialogs;
    return false;
  });
  ui::TypeKey(VK_INSERT);  // the shortcut, on the key going down
  EXPECT_EQ(1, dialogs);
  ui::TypeKey(VK_INSERT, ssShift);  // no shortcut: the list's key-up
  EXPECT_EQ(2, dialogs);
}

TEST_F(ControlPanel, StripesFollowPositionsAndTextsFollowEntries) {
  MakeCollection(4);
  TfrmEditor& editor = Shown();
  editor.vstWallpapers.SetFocusedNode(nullptr);
  const auto colourOf = [&](int position) {
    const RECT row = RowRect(position);
    return ui::PixelOf(editor.vstWallpapers.Handle(), {row.left + 210, (row.top + row.bottom) / 2});
  };
  EXPECT_NE(kStripe, colourOf(0));
  EXPECT_EQ(kStripe, colourOf(1));
  EXPECT_NE(kStripe, colourOf(2));
  EXPECT_EQ(kStripe, colourOf(3));

  Focus(1);
  editor.MoveImageUp();
  editor.vstWallpapers.SetFocusedNode(nullptr);
  EXPECT_EQ(kStripe, colourOf(1));
  EXPECT_EQ("picture1", Shown(0, 0));
  EXPECT_EQ("picture0", Shown(1, 0));
  EXPECT_EQ(FFolder.Path(), Shown(1, 3));
  EXPECT_NE(std::string::npos, Shown(1, 2).find("bmp")) << Shown(1, 2);
  EXPECT_EQ("102 bytes", Shown(1, 1));

  const int order[] = {1, 0, 2, 3};  // "Size" dragged to the front
  SendMessageA(editor.vstWallpapers.Handle(), LVM_SETCOLUMNORDERARRAY, 4, reinterpret_cast<LPARAM>(order));
  EXPECT_EQ("102 bytes", Shown(1, 1));
  EXPECT_EQ("picture0", Shown(1, 0));
}

TEST_F(ControlPanel, TheBandDescribesTheFocusedPictureAndKeepsItWhenTheFocusLeaves) {
  const std::string wide = WriteBitmap("wide.bmp", 1600, 1200, RGB(1, 2, 3));
  const std::string small = WriteBitmap("small.bmp", 100, 50, RGB(4, 5, 6));
  const std::string flat = WriteBitmap("flat.bmp", 168, 50, RGB(7, 8, 9));
  WriteList({wide, small, flat});
  TfrmEditor& editor = Shown();
  EXPECT_EQ("wide", editor.lblFileName.Caption());
  EXPECT_EQ("Properties: 1600x1200x24b", editor.lblSizes.Caption());
  EXPECT_EQ("Size: 5.5 MB", editor.lblSize.Caption());
  EXPECT_EQ(0, editor.lblChanged.Caption().find("Modified: "));
  EXPECT_EQ(148, PreviewSize().cx);
  EXPECT_EQ(111, PreviewSize().cy);
  Focus(1);
  EXPECT_EQ(168, PreviewSize().cx);
  EXPECT_EQ(84, PreviewSize().cy);
  Focus(2);
  EXPECT_EQ(168, PreviewSize().cx);
  EXPECT_EQ(50, PreviewSize().cy);
  EXPECT_EQ(RGB(7, 8, 9), ui::PixelOf(editor.imgPreview.Handle(), {10, 10}));
  EXPECT_EQ(RGB(255, 255, 255), ui::PixelOf(editor.imgPreview.Handle(), {10, 60}));  // the white panel

  // The focus leaves every row: the band keeps its texts and the last picture is drawn again.
  editor.vstWallpapers.SetFocusedNode(nullptr);
  EXPECT_EQ("flat", editor.lblFileName.Caption());
  EXPECT_EQ(168, PreviewSize().cx);
  // Back on a row of the same entry: the preview is drawn again without being emptied first.
  const TBitmap* before = editor.imgPreview.Picture();
  Focus(2);
  EXPECT_EQ(before, editor.imgPreview.Picture());
}

TEST_F(ControlPanel, ADeletedOrDamagedFileShowsTextsButNoPreview) {
  const std::string good = WriteBitmap("good.bmp", 30, 20, RGB(9, 9, 9));
  const std::string gone = WriteBitmap("gone.bmp", 30, 20, RGB(1, 1, 1));
  const std::string damaged = FFolder.Write("damaged.jpg", std::string("\xFF\xD8\xFF\xE0 not a picture at all", 26));
  WriteList({good, gone, damaged});
  TfrmEditor& editor = Create();
  DeleteFileA(gone.c_str());
  editor.Show();
  ui::Pump();
  EXPECT_EQ("gone", Shown(1, 0));
  EXPECT_EQ("", Shown(1, 1));
  EXPECT_EQ(FFolder.Path(), Shown(1, 3));
  EXPECT_FALSE(Shown(1, 2).empty());

  Focus(1);
  EXPECT_EQ("gone", editor.lblFileName.Caption());
  EXPECT_EQ("Properties: ", editor.lblSizes.Caption());
  EXPECT_EQ("Size: ", editor.lblSize.Caption());
  EXPECT_EQ("Modified: ", editor.lblChanged.Caption());
  EXPECT_EQ(nullptr, editor.imgPreview.Picture());

  Focus(0);
  EXPECT_NE(nullptr, editor.imgPreview.Picture());
  Focus(2);
  EXPECT_EQ(nullptr, editor.imgPreview.Picture());
  EXPECT_TRUE(FExceptions.empty());
}

// The minimise box and the close box hide the window into the tray, whose "Control Panel" brings back a normal
// window with its preview drawn; maximised, it keeps its title bar on the screen.
using ControlPanelStates = EditingTest;

TEST_F(ControlPanelStates, TheBoxesHideIntoTheTrayWhichBringsTheWindowBack) {
  CreateWith(2, 2);
  const HWND window = frmEditor->Handle();
  // Wine can close the tray menu at once right after its owner hid: "Control Panel" is chosen as the menu would.
  const auto controlPanelFromTray = [] { frmEditor->Menu("pupTray").Find("Show1")->Click(); };
  SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(IsWindowVisible(window));
  controlPanelFromTray();
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(IsIconic(window));

  FocusRow(1);
  AnswerNextQuestion("&Yes");
  frmEditor->RemoveImage();
  ASSERT_TRUE(PreviewEmpty());
  SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  controlPanelFromTray();
  EXPECT_FALSE(IsWindowVisible(Application.Handle()));
  EXPECT_EQ(Colour(0), ui::PixelOf(frmEditor->imgPreview.Handle(), {10, 10}));

  SendMessageA(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  ASSERT_TRUE(IsZoomed(window));
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  TITLEBARINFO title{.cbSize = sizeof title};
  GetTitleBarInfo(window, &title);
  EXPECT_EQ(work.top, title.rcTitleBar.top);
}

}  // namespace
