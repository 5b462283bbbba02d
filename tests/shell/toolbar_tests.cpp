// The toolbar, built from a stored layout and clicked through the real comctl32 toolbar.
#include <gtest/gtest.h>

#include <vector>

#include "forms/Resources.h"
#include "gui/Forms.h"
#include "shell/ShellTestSupport.h"

namespace {

using enum TControlKind;
enum class TEvent { Options, Remove, Add, btnUpClick, btnPutClick };
using enum TEvent;

const int kIcons24[] = {0, 0, 0, IDI_EDITOR_OPTIONS, 0, IDI_EDITOR_ADD, IDI_EDITOR_REMOVE, IDI_EDITOR_MOVE_UP};
const TImageListDef kImageLists[] = {{.Name = "ImageList1", .Size = 24, .Icons = kIcons24}};
const TActionDef kActions[] = {
    {.Name = "actOptions", .Caption = "Options...", .ImageIndex = 3, .OnExecute = Options},
    {.Name = "actRemove", .Caption = "Remove", .ImageIndex = 6, .OnExecute = Remove},
    {.Name = "actAdd", .Caption = "Add", .ImageIndex = 5, .OnExecute = Add},
};
const TToolButtonDef kButtons[] = {
    {.Name = "btnOptions", .Hint = "Show Options Dialog", .Action = "actOptions"},
    {.Name = "ToolButton5", .Separator = true},
    {.Name = "btnRemove", .Hint = "Remove selected image", .Action = "actRemove"},
    {.Name = "btnAddPicture", .Hint = "Add image(s) to collection", .Action = "actAdd"},
    {.Name = "btnUp", .Caption = "Up", .Hint = "Move image up", .ImageIndex = 7, .OnClick = btnUpClick},
    {.Name = "ToolButton3", .Separator = true},
    {.Name = "btnPut", .Caption = "Place", .Hint = "Place image to desktop", .OnClick = btnPutClick},
};
const TComponentDef kComponents[] = {
    {.Name = "tbrMain", .Kind = ToolBar, .Bounds = {0, 0, 400, 48}, .Align = TAlign::Top, .Images = "ImageList1",
     .Buttons = kButtons},
};
const TFormDef kLayout{.Name = "frmToolBar", .Caption = "Toolbar", .BorderStyle = TBorderStyle::Sizeable,
                       .Bounds = {80, 80, 400, 120}, .Components = kComponents, .ImageLists = kImageLists,
                       .Actions = kActions};

class ToolBarTest : public ShellTest {
protected:
  ToolBarTest() { FForm->Show(); }

  TToolBar& Bar() { return FForm->Component<TToolBar>("tbrMain"); }
  void ClickButton(const char* name) {
    const RECT rect = Bar().Button(name).BoundsRect();
    ui::ClickAt(Bar().Handle(), {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
  }

  TFormPtr<TRecordingForm<TEvent>> FForm = MakeForm<TRecordingForm<TEvent>>(kLayout);
};

TEST_F(ToolBarTest, ButtonsSitSideBySideInsideTheBorder) {
  const RECT bounds = Bar().BoundsRect();
  EXPECT_EQ(48, bounds.bottom - bounds.top);
  RECT client;
  GetClientRect(Bar().Handle(), &client);
  EXPECT_EQ(44, client.bottom);
  EXPECT_EQ(bounds.right - bounds.left - 4, client.right);
  int left = 0;
  for (const auto& button : Bar().Buttons()) {
    const RECT rect = button->BoundsRect();
    EXPECT_EQ(left, rect.left) << button->Name();
    EXPECT_EQ(0, rect.top) << button->Name();
    EXPECT_EQ(button->Separator() ? 8 : 52, rect.right - rect.left) << button->Name();
    if (!button->Separator()) {
      EXPECT_EQ(44, rect.bottom - rect.top) << button->Name();
    }
    left = rect.right;
  }
  EXPECT_EQ("Options...", Bar().Button("btnOptions").Caption());
  EXPECT_EQ("Up", Bar().Button("btnUp").Caption());
}

TEST_F(ToolBarTest, PicturesComeFromTheButtonOrItsAction) {
  const int expected[] = {3, 0, 6, 5, 7, 0, I_IMAGENONE};  // a separator's is its width
  for (size_t i = 0; i < Bar().Buttons().size(); ++i) {
    TBBUTTON button{};
    SendMessageA(Bar().Handle(), TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
    if (!(button.fsStyle & BTNS_SEP)) {
      EXPECT_EQ(expected[i], button.iBitmap) << i;
    }
  }
  // The "Up" arrow is drawn: green above the caption, on the button face around it.
  const RECT up = Bar().Button("btnUp").BoundsRect();
  UpdateWindow(Bar().Handle());
  HDC dc = GetDC(Bar().Handle());
  bool green = false;
  for (int y = up.top; y < up.top + 30; ++y) {
    const COLORREF pixel = GetPixel(dc, (up.left + up.right) / 2, y);
    green |= GetGValue(pixel) > 100 && GetRValue(pixel) < 150 && GetBValue(pixel) < 100;
  }
  ReleaseDC(Bar().Handle(), dc);
  EXPECT_TRUE(green);
}

TEST_F(ToolBarTest, ClicksRunTheActionOrTheClickHandlerWhileTheButtonIsEnabled) {
  ClickButton("btnAddPicture");
  ClickButton("btnUp");
  Bar().Button("btnRemove").SetEnabled(false);
  ClickButton("btnRemove");
  EXPECT_FALSE(Bar().Button("btnRemove").Enabled());
  EXPECT_TRUE(Bar().Button("btnAddPicture").Enabled());
  Bar().Button("btnRemove").SetEnabled(true);
  ClickButton("btnRemove");
  EXPECT_EQ((std::vector<TEvent>{Add, btnUpClick, Remove}), FForm->Runs);
  EXPECT_EQ(FForm->ActionList().Find("actAdd"), FForm->Senders[0]);
  EXPECT_EQ(&Bar().Button("btnUp"), FForm->Senders[1]);
}

TEST_F(ToolBarTest, TooltipsShowTheHints) {
  HWND tips = reinterpret_cast<HWND>(SendMessageA(Bar().Handle(), TB_GETTOOLTIPS, 0, 0));
  ASSERT_NE(nullptr, tips);
  for (const char* name : {"btnRemove", "btnPut"}) {
    char text[128] = "";
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = Bar().Handle();
    tool.uId = static_cast<UINT_PTR>(Bar().Button(name).Command());
    tool.lpszText = text;
    SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(Bar().Button(name).Hint(), text);
  }
}

}  // namespace
