// Actions, menus built from menu tables, their pictures, and the shortcuts of a form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/Resources.h"
#include "gui/Forms.h"
#include "shell/ShellTestSupport.h"

namespace {

using enum TControlKind;
enum class TEvent { Add, Remove, Place, MenuPlace, ListPlace, Exit, Clear, Help3Click };
using enum TEvent;

const int kIcons16[] = {0, IDI_EDITOR_CLEAR_DESKTOP, IDI_EDITOR_HELP, IDI_EDITOR_OPTIONS};
const TImageListDef kImageLists[] = {{.Name = "iml16", .Size = 16, .Icons = kIcons16}};

// Ctrl+Enter is given to three actions on purpose: which one runs tells where the shortcut was found.
const TActionDef kActions[] = {
    {.Name = "actAdd", .Caption = "Add", .ShortCut = ShortCut(VK_INSERT, 0), .ImageIndex = 3, .OnExecute = Add},
    {.Name = "actRemove", .Caption = "Remove", .ShortCut = ShortCut(VK_DELETE, 0), .OnExecute = Remove},
    {.Name = "actPlace", .Caption = "Place", .ShortCut = ShortCut(VK_RETURN, ssCtrl), .OnExecute = Place},
    {.Name = "actMenuPlace", .Caption = "Place Too", .ShortCut = ShortCut(VK_RETURN, ssCtrl), .OnExecute = MenuPlace},
    {.Name = "actListPlace", .Caption = "Place Here", .ShortCut = ShortCut(VK_RETURN, ssCtrl), .OnExecute = ListPlace},
    {.Name = "actExit", .Caption = "Exit", .ShortCut = ShortCut(VK_F4, ssAlt), .OnExecute = Exit},
    {.Name = "actClear", .Caption = "Clear Desktop", .ImageIndex = 1, .OnExecute = Clear},
};
const TMenuItemDef kMainItems[] = {
    {.Name = "File1", .Caption = "&File"},
    {.Name = "Remove1", .Parent = "File1", .Action = "actRemove"},
    {.Name = "N1", .Parent = "File1", .Caption = "-"},
    {.Name = "Place1", .Parent = "File1", .Action = "actMenuPlace"},
    {.Name = "More1", .Parent = "File1", .Caption = "More"},
    {.Name = "Clear1", .Parent = "More1", .Action = "actClear"},
    {.Name = "Exit1", .Parent = "File1", .Action = "actExit"},
    {.Name = "Help1", .Caption = "Help"},
    {.Name = "Help3", .Parent = "Help1", .Caption = "Help", .ImageIndex = 2, .OnClick = Help3Click},
};
const TMenuItemDef kContextItems[] = {
    {.Name = "Place2", .Action = "actListPlace"},
    {.Name = "N2", .Caption = "-"},
    {.Name = "Clear2", .Action = "actClear"},
};
const TMenuDef kMenus[] = {
    {.Name = "MainMenu", .Kind = TMenuKind::MainMenu, .Images = "iml16", .Items = kMainItems},
    {.Name = "pumContext", .Images = "iml16", .Items = kContextItems},
};
const TVirtualTreeColumn kColumns[] = {{"Name", 200}};
const TComponentDef kComponents[] = {
    {.Name = "edtText", .Kind = Edit, .Bounds = {8, 8, 200, 21}, .TabOrder = 0},
    {.Name = "vstList", .Kind = VirtualStringTree, .Bounds = {8, 40, 300, 150}, .TabOrder = 1,
     .PopupMenu = "pumContext", .Columns = kColumns},
};
const TFormDef kLayout{.Name = "frmMenus", .Caption = "Menus", .BorderStyle = TBorderStyle::Sizeable,
                       .Bounds = {60, 60, 400, 260}, .Components = kComponents, .ImageLists = kImageLists,
                       .Actions = kActions, .Menus = kMenus, .Menu = "MainMenu"};

struct TItem {
  std::string Text;
  bool Separator = false;
  bool Submenu = false;
  bool Bitmap = false;
  bool operator==(const TItem&) const = default;
};

std::vector<TItem> ItemsOf(HMENU menu) {
  std::vector<TItem> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[128] = "";
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU | MIIM_BITMAP;
    info.dwTypeData = text;
    info.cch = sizeof text;
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
    items.push_back({text, (info.fType & MFT_SEPARATOR) != 0, info.hSubMenu != nullptr, info.hbmpItem != nullptr});
  }
  return items;
}

class MenuTest : public ShellTest {
protected:
  MenuTest() { FForm->Show(); }

  TControl& Edit() { return FForm->Component<TEdit>("edtText"); }
  TVirtualStringTree& List() { return FForm->Component<TVirtualStringTree>("vstList"); }
  TFormPtr<TRecordingForm<TEvent>> FForm = MakeForm<TRecordingForm<TEvent>>(kLayout);
};

TEST(ShortCutText, ModifiersThenTheKeysName) {
  EXPECT_EQ("Ins", ShortCutToText(ShortCut(VK_INSERT, 0)));
  EXPECT_EQ("Del", ShortCutToText(ShortCut(VK_DELETE, 0)));
  EXPECT_EQ("Ctrl+Enter", ShortCutToText(ShortCut(VK_RETURN, ssCtrl)));
  EXPECT_EQ("Ctrl+Up", ShortCutToText(ShortCut(VK_UP, ssCtrl)));
  EXPECT_EQ("Ctrl+Down", ShortCutToText(ShortCut(VK_DOWN, ssCtrl)));
  EXPECT_EQ("Alt+F4", ShortCutToText(ShortCut(VK_F4, ssAlt)));
  EXPECT_EQ("Shift+Ctrl+Alt+A", ShortCutToText(ShortCut('A', ssShift | ssCtrl | ssAlt)));
  EXPECT_EQ("", ShortCutToText(0));
}

TEST_F(MenuTest, ItemsShowTheirActionsCaptionShortcutAndPictureInTableOrder) {
  HMENU bar = GetMenu(FForm->Handle());
  ASSERT_EQ(FForm->MainMenu()->Handle(), bar);
  EXPECT_EQ((std::vector<TItem>{{"&File", false, true}, {"Help", false, true}}), ItemsOf(bar));
  EXPECT_EQ((std::vector<TItem>{{"Remove\tDel"},
                                {"", true},
                                {"Place Too\tCtrl+Enter"},
                                {"More", false, true},
                                {"Exit\tAlt+F4"}}),
            ItemsOf(GetSubMenu(bar, 0)));
  EXPECT_EQ((std::vector<TItem>{{"Clear Desktop", false, false, true}}), ItemsOf(GetSubMenu(GetSubMenu(bar, 0), 3)));
  EXPECT_EQ((std::vector<TItem>{{"Help", false, false, true}}), ItemsOf(GetSubMenu(bar, 1)));
  const HMENU context = FForm->Menu("pumContext").Handle();
  EXPECT_EQ((std::vector<TItem>{{"Place Here\tCtrl+Enter"}, {"", true}, {"Clear Desktop", false, false, true}}),
            ItemsOf(context));
  for (HMENU menu : {GetSubMenu(bar, 0), GetSubMenu(bar, 1), context})
    EXPECT_EQ(static_cast<UINT>(-1), GetMenuDefaultItem(menu, FALSE, 0));
}

TEST_F(MenuTest, PicturesAreDrawnWithTheirAlphaOverTheMenu) {
  const TImageList& images = FForm->ImageList("iml16");
  EXPECT_EQ(4, images.Count());
  EXPECT_FALSE(images.HasPicture(0));
  EXPECT_TRUE(images.HasPicture(3));
  EXPECT_FALSE(images.HasPicture(4));

  // The menu bar's "Help" item as the window draws it, over a red menu.
  BITMAPINFO info{};
  info.bmiHeader = {.biSize = sizeof info.bmiHeader, .biWidth = 16, .biHeight = -16, .biPlanes = 1, .biBitCount = 32};
  void* bits = nullptr;
  const TBitmapHandle canvas(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const TDcHandle dc(CreateCompatibleDC(nullptr));
  SelectObject(dc.get(), canvas.get());
  const RECT box{0, 0, 16, 16};
  SetDCBrushColor(dc.get(), RGB(255, 0, 0));
  FillRect(dc.get(), &box, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  TMenu& bar = *FForm->MainMenu();
  MENUITEMINFOA item{.cbSize = sizeof item, .fMask = MIIM_DATA | MIIM_BITMAP};
  GetMenuItemInfoA(GetSubMenu(bar.Handle(), 1), 0, TRUE, &item);
  EXPECT_EQ(HBMMENU_CALLBACK, item.hbmpItem);
  DRAWITEMSTRUCT draw{.CtlType = ODT_MENU, .itemID = bar.Find("Help3")->Command(), .hDC = dc.get(), .rcItem = box,
                      .itemData = item.dwItemData};
  SendMessageA(FForm->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
  GdiFlush();
  const auto* pixels = static_cast<const RGBQUAD*>(bits);
  int menu = 0, picture = 0, blended = 0;
  for (int i = 0; i < 16 * 16; ++i) {
    const RGBQUAD p = pixels[i];
    const bool red = p.rgbRed == 255 && p.rgbGreen == 0 && p.rgbBlue == 0;
    menu += red;
    picture += p.rgbBlue > 100;  // the blue of the round help picture
    blended += !red && p.rgbRed > 100 && p.rgbBlue > 60;  // its soft edge over the red
  }
  EXPECT_GT(menu, 0);  // the corners around the round picture
  EXPECT_GT(picture, 50);
  EXPECT_GT(blended, 0);
}

TEST_F(MenuTest, ChosenItemsRunTheirActionOrTheirOwnHandler) {
  TMenu& bar = *FForm->MainMenu();
  SendMessageA(FForm->Handle(), WM_COMMAND, bar.Find("Remove1")->Command(), 0);
  SendMessageA(FForm->Handle(), WM_COMMAND, bar.Find("Help3")->Command(), 0);
  SendMessageA(FForm->Handle(), WM_COMMAND, bar.Find("N1")->Command(), 0);  // a line runs nothing
  EXPECT_EQ((std::vector<TEvent>{Remove, Help3Click}), FForm->Runs);
  EXPECT_EQ(FForm->ActionList().Find("actRemove"), FForm->Senders[0]);
  EXPECT_EQ(bar.Find("Help3"), FForm->Senders[1]);
}

TEST_F(MenuTest, TheRightButtonOnTheListOpensItsContextMenu) {
  std::vector<TItem> shown;
  ui::Later([&] {
    const HWND menu = ui::OpenMenu();
    ASSERT_NE(nullptr, menu);
    shown = ItemsOf(reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0)));
    ui::SendKey(VK_DOWN);
    ui::SendKey(VK_RETURN);
  });
  const LPARAM at = MAKELPARAM(40, 40);
  PostMessageA(List().Handle(), WM_RBUTTONDOWN, MK_RBUTTON, at);
  PostMessageA(List().Handle(), WM_RBUTTONUP, 0, at);
  ui::RunSteps();
  ui::Pump();
  EXPECT_EQ(3u, shown.size());
  EXPECT_EQ((std::vector<TEvent>{ListPlace}), FForm->Runs);
}

TEST_F(MenuTest, ShortcutsSearchTheFocusedControlsMenuThenTheMenuBarThenTheActions) {
  List().SetFocus();
  ui::TypeKey(VK_RETURN, ssCtrl);
  Edit().SetFocus();
  ui::TypeKey(VK_RETURN, ssCtrl);
  ui::TypeKey(VK_INSERT);  // in no menu: the action list's
  ui::TypeKey(VK_F4, ssAlt);
  EXPECT_EQ((std::vector<TEvent>{ListPlace, MenuPlace, Add, Exit}), FForm->Runs);
  EXPECT_TRUE(FForm->Visible());
}

TEST_F(MenuTest, AKeyThatRunsAShortcutIsConsumed) {
  ui::Type(Edit(), "abc");
  SendMessageA(Edit().Handle(), EM_SETSEL, 0, 0);
  ui::TypeKey(VK_DELETE);
  EXPECT_EQ("abc", Edit().Caption());
  SendMessageA(Edit().Handle(), EM_SETSEL, 3, 3);
  ui::TypeKey(VK_BACK);  // no shortcut: the edit takes it
  EXPECT_EQ("ab", Edit().Caption());
  EXPECT_EQ((std::vector<TEvent>{Remove}), FForm->Runs);
}

}  // namespace
