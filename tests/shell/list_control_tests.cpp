// The list control, built from a stored layout and driven through the real ListView.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/Forms.h"
#include "shell/ShellTestSupport.h"

namespace {

using enum TControlKind;

const TVirtualTreeColumn kColumns[] = {{"Name", 200},
                                       {"Size", 100, TAlignment::RightJustify},
                                       {"Type", 150},
                                       {"Path", 300}};
const TFont kHeaderFont{.Name = "MS Shell Dlg 2", .Height = -11};
const TComponentDef kComponents[] = {
    {.Name = "vstList", .Kind = VirtualStringTree, .Bounds = {0, 0, 500, 300}, .Align = TAlign::Client,
     .TabOrder = 0, .Columns = kColumns, .HeaderFont = &kHeaderFont},
};
const TFormDef kLayout{.Name = "frmList", .Caption = "List", .BorderStyle = TBorderStyle::Sizeable,
                       .Bounds = {40, 40, 500, 300}, .Components = kComponents};

constexpr COLORREF kStripe = RGB(255, 209, 87);

struct TPaintedCell {
  int Position;
  int Column;
  RECT Rect;
};

class ListControlTest : public ShellTest {
protected:
  ListControlTest() {
    // A row's texts name its data item and the column asked for.
    List().OnGetText = [this](TVirtualStringTree* sender, PVirtualNode node, int column, TVSTTextType,
                              std::wstring& text) {
      ++FTextCalls;
      text = L"d" + std::to_wstring(*sender->GetNodeData(node)) + L"c" + std::to_wstring(column);
    };
    List().OnBeforeCellPaint = [this](TVirtualStringTree*, HDC dc, PVirtualNode node, int column, const RECT& rect) {
      FPainted.push_back({node->Index(), column, rect});
      if (node->Index() % 2 == 1) {
        SetDCBrushColor(dc, kStripe);
        FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
      }
    };
    List().OnFocusChanged = [this](TVirtualStringTree*, PVirtualNode node) {
      FFocusChanges.push_back(node);
      if (FRaiseOnFocus) throw Exception("focus");
    };
    List().OnKeyUp = [this](TObject*, WORD& key, TShiftState shift) {
      if (key != VK_CONTROL) FKeysUp.push_back({key, shift});
    };
    FForm->Show();
  }

  std::vector<PVirtualNode> AddRows(int count) {
    std::vector<PVirtualNode> nodes;
    for (int i = 0; i < count; ++i) nodes.push_back(List().AddChild(i));
    return nodes;
  }
  TVirtualStringTree& List() { return FForm->Component<TVirtualStringTree>("vstList"); }
  HWND Header() { return reinterpret_cast<HWND>(SendMessageA(List().Handle(), LVM_GETHEADER, 0, 0)); }
  // The text the control shows in a cell, by its position and the column's own index.
  std::string Shown(int position, int column) {
    char text[64] = "";
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(List().Handle(), LVM_GETITEMTEXTA, position, reinterpret_cast<LPARAM>(&item));
    return text;
  }
  std::vector<int> Order() {
    std::vector<int> data;
    for (PVirtualNode node = List().GetFirst(); node; node = List().GetNext(node)) {
      EXPECT_EQ(static_cast<int>(data.size()), node->Index());
      data.push_back(*List().GetNodeData(node));
    }
    return data;
  }
  RECT RowRect(int position) {
    RECT rect{};
    rect.left = LVIR_BOUNDS;
    SendMessageA(List().Handle(), LVM_GETITEMRECT, position, reinterpret_cast<LPARAM>(&rect));
    return rect;
  }
  void Repaint() {
    ui::Pump();
    FPainted.clear();
    RedrawWindow(List().Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }

  TFormPtr<TForm> FForm = MakeForm<TForm>(kLayout);
  int FTextCalls = 0;
  std::vector<TPaintedCell> FPainted;
  std::vector<PVirtualNode> FFocusChanges;
  bool FRaiseOnFocus = false;
  std::vector<std::pair<WORD, TShiftState>> FKeysUp;
};

TEST_F(ListControlTest, ColumnsAsDesignedWithTheHeaderFont) {
  const DWORD look = static_cast<DWORD>(SendMessageA(List().Handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  EXPECT_TRUE(look & LVS_EX_FULLROWSELECT);
  EXPECT_TRUE(look & LVS_EX_GRIDLINES);
  EXPECT_TRUE(look & LVS_EX_HEADERDRAGDROP);
  EXPECT_TRUE(GetWindowLongA(List().Handle(), GWL_STYLE) & LVS_SINGLESEL);
  const int widths[] = {200, 100, 150, 300};
  for (int i = 0; i < 4; ++i) {
    char text[32] = "";
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.pszText = text;
    column.cchTextMax = sizeof text;
    SendMessageA(List().Handle(), LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ(kColumns[i].Text, text);
    EXPECT_EQ(widths[i], column.cx);
    EXPECT_EQ(i == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT, column.fmt & LVCFMT_JUSTIFYMASK) << text;
  }
  EXPECT_EQ(FontHandle(kHeaderFont), reinterpret_cast<HFONT>(SendMessageA(Header(), WM_GETFONT, 0, 0)));
}

TEST_F(ListControlTest, TextsAreAskedForTheVisibleCellsOnlyAndFollowTheRowData) {
  AddRows(10000);
  Repaint();
  EXPECT_GT(FTextCalls, 0);
  EXPECT_LT(FTextCalls, 4 * 100);  // a screenful of rows, not the collection
  EXPECT_EQ("d7c0", Shown(7, 0));
  EXPECT_EQ("d7c3", Shown(7, 3));
  List().SetNodeData(List().GetFirst(), 42);
  EXPECT_EQ("d42c1", Shown(0, 1));
}

TEST_F(ListControlTest, MovesKeepNodesDataFocusAndSelectionAndRenumberPositions) {
  const std::vector<PVirtualNode> rows = AddRows(5);
  List().SetSelected(rows[3], true);
  List().SetFocusedNode(rows[3]);
  FFocusChanges.clear();

  List().MoveTo(rows[3], rows[1], TVTNodeAttachMode::InsertBefore);
  EXPECT_EQ((std::vector<int>{0, 3, 1, 2, 4}), Order());
  EXPECT_EQ(1, rows[3]->Index());
  EXPECT_EQ("d3c2", Shown(1, 2));
  List().MoveTo(rows[3], rows[4], TVTNodeAttachMode::InsertAfter);
  EXPECT_EQ((std::vector<int>{0, 1, 2, 4, 3}), Order());
  List().MoveTo(rows[0], rows[1], TVTNodeAttachMode::InsertAfter);
  EXPECT_EQ((std::vector<int>{1, 0, 2, 4, 3}), Order());
  List().MoveTo(rows[4], nullptr, TVTNodeAttachMode::InsertAfter);  // no target: the first row
  EXPECT_EQ((std::vector<int>{4, 1, 0, 2, 3}), Order());
  List().MoveTo(rows[2], rows[2], TVTNodeAttachMode::InsertBefore);
  EXPECT_EQ((std::vector<int>{4, 1, 0, 2, 3}), Order());

  EXPECT_EQ(rows[3], List().FocusedNode());
  EXPECT_TRUE(List().Selected(rows[3]));
  EXPECT_EQ(4, static_cast<int>(SendMessageA(List().Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
  EXPECT_TRUE(FFocusChanges.empty());
  EXPECT_EQ(nullptr, List().GetPrevious(List().GetFirst()));
  EXPECT_EQ(nullptr, List().GetNext(rows[3]));
  EXPECT_EQ(rows[4], List().GetPrevious(rows[1]));
  EXPECT_EQ(nullptr, List().GetNext(nullptr));
}

TEST_F(ListControlTest, FocusChangesAreReportedOnceEachAndOnlyWhenTheRowChanges) {
  const std::vector<PVirtualNode> rows = AddRows(4);
  List().SetFocusedNode(rows[2]);
  List().SetFocusedNode(rows[2]);
  List().SetFocusedNode(rows[0]);
  List().SetFocusedNode(nullptr);
  EXPECT_EQ((std::vector<PVirtualNode>{rows[2], rows[0], nullptr}), FFocusChanges);

  // The user's click and arrow keys.
  FFocusChanges.clear();
  List().SetFocus();
  const RECT row = RowRect(1);
  ui::ClickAt(List().Handle(), {row.left + 20, (row.top + row.bottom) / 2});
  EXPECT_EQ((std::vector<PVirtualNode>{rows[1]}), FFocusChanges);
  EXPECT_TRUE(List().Selected(rows[1]));
  ui::PressKey(VK_DOWN);
  ui::Pump();
  EXPECT_EQ((std::vector<PVirtualNode>{rows[1], rows[2]}), FFocusChanges);
  EXPECT_EQ(rows[2], List().FocusedNode());
}

TEST_F(ListControlTest, WhatTheFocusCallbackRaisesReachesTheCodeThatSetTheFocus) {
  const std::vector<PVirtualNode> rows = AddRows(2);
  FRaiseOnFocus = true;
  EXPECT_THROW(List().SetFocusedNode(rows[1]), Exception);
  EXPECT_EQ(rows[1], List().FocusedNode());
  EXPECT_TRUE(FExceptions.empty());
}

TEST_F(ListControlTest, DeletionsLeaveNoFocusedRowWithoutACallback) {
  std::vector<PVirtualNode> rows = AddRows(4);
  List().DeleteSelectedNodes();  // none selected
  EXPECT_EQ(4, List().RootNodeCount());

  List().SetSelected(rows[1], true);
  List().SetFocusedNode(rows[1]);
  FFocusChanges.clear();
  List().DeleteSelectedNodes();
  EXPECT_EQ((std::vector<int>{0, 2, 3}), Order());
  EXPECT_EQ(nullptr, List().FocusedNode());
  EXPECT_EQ(-1, static_cast<int>(SendMessageA(List().Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
  EXPECT_EQ("d2c0", Shown(1, 0));

  // A selected row that is not the focused one goes; the focus stays.
  List().SetFocusedNode(rows[3]);
  List().SetSelected(rows[0], true);
  FFocusChanges.clear();
  List().DeleteSelectedNodes();
  EXPECT_EQ((std::vector<int>{2, 3}), Order());
  EXPECT_EQ(rows[3], List().FocusedNode());

  List().SetSelected(rows[3], true);
  List().Clear();
  EXPECT_EQ(0, List().RootNodeCount());
  EXPECT_EQ(nullptr, List().FocusedNode());
  EXPECT_EQ(nullptr, List().GetFirst());
  EXPECT_TRUE(FFocusChanges.empty());
  EXPECT_EQ(0, AddRows(1)[0]->Index());
}

TEST_F(ListControlTest, OddRowsShowTheStripeFilledBeforeEachCellUnderTheSelection) {
  AddRows(4);
  Repaint();
  for (int position = 0; position < 4; ++position) {
    const RECT row = RowRect(position);
    // Inside the "Size" cell, left of its right-aligned text.
    HDC dc = GetDC(List().Handle());
    const COLORREF pixel = GetPixel(dc, row.left + 210, (row.top + row.bottom) / 2);
    ReleaseDC(List().Handle(), dc);
    if (position % 2 == 1) {
      EXPECT_EQ(kStripe, pixel) << position;
    } else {
      EXPECT_NE(kStripe, pixel) << position;
    }
  }
  int cells = 0;
  for (const TPaintedCell& cell : FPainted) cells += cell.Position == 1;
  EXPECT_EQ(4, cells);

  // The selection covers a striped row whole.
  List().SetSelected(List().GetNext(List().GetFirst()), true);
  List().SetFocus();
  Repaint();
  const RECT row = RowRect(1);
  HDC dc = GetDC(List().Handle());
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), GetPixel(dc, row.left + 210, (row.top + row.bottom) / 2));
  ReleaseDC(List().Handle(), dc);
}

TEST_F(ListControlTest, ADraggedHeaderKeepsItsColumnIndexForItsCells) {
  AddRows(2);
  const int order[] = {1, 0, 2, 3};  // "Size" dragged to the front
  SendMessageA(List().Handle(), LVM_SETCOLUMNORDERARRAY, 4, reinterpret_cast<LPARAM>(order));
  Repaint();
  RECT size{};
  SendMessageA(Header(), HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&size));
  EXPECT_EQ(0, size.left);
  bool seen = false;
  for (const TPaintedCell& cell : FPainted) {
    if (cell.Column != 1) continue;
    seen = true;
    EXPECT_EQ(size.left, cell.Rect.left);
    EXPECT_EQ(size.right - 1, cell.Rect.right);  // the grid line stays
  }
  EXPECT_TRUE(seen);
  EXPECT_EQ("d1c1", Shown(1, 1));
}

TEST_F(ListControlTest, DoubleClickOnAHeaderDividerFitsTheColumnToItsTexts) {
  AddRows(3);
  RECT size{};
  SendMessageA(Header(), HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&size));
  const POINT divider{size.right - 1, (size.top + size.bottom) / 2};
  const LPARAM at = MAKELPARAM(divider.x, divider.y);
  SendMessageA(Header(), WM_MOUSEMOVE, 0, at);
  SendMessageA(Header(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(Header(), WM_LBUTTONUP, 0, at);
  SendMessageA(Header(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageA(Header(), WM_LBUTTONUP, 0, at);
  const int width = static_cast<int>(SendMessageA(List().Handle(), LVM_GETCOLUMNWIDTH, 1, 0));
  EXPECT_LT(width, 100);  // "d0c1" is far narrower than the designed 100 pixels
  EXPECT_GT(width, 20);
}

TEST_F(ListControlTest, KeyUpReportsTheKeyAndItsModifiers) {
  AddRows(2);
  List().SetFocus();
  ui::TypeKey(VK_INSERT);
  ui::TypeKey(VK_UP, ssCtrl);
  ASSERT_EQ(2u, FKeysUp.size());
  EXPECT_EQ(VK_INSERT, FKeysUp[0].first);
  EXPECT_EQ(0u, FKeysUp[0].second);
  EXPECT_EQ(VK_UP, FKeysUp[1].first);
  EXPECT_EQ(ssCtrl, FKeysUp[1].second);
}

TEST_F(ListControlTest, SuspendedRepaintingAsksForNoTextsUntilTheLastResume) {
  AddRows(3);
  Repaint();
  List().BeginUpdate();
  List().BeginUpdate();
  FTextCalls = 0;
  PVirtualNode added = List().AddChild(3);
  List().MoveTo(added, nullptr, TVTNodeAttachMode::InsertAfter);
  ui::Pump();
  List().EndUpdate();
  ui::Pump();
  EXPECT_EQ(0, FTextCalls);
  List().EndUpdate();
  ui::Pump();
  EXPECT_GT(FTextCalls, 0);
}

}  // namespace
