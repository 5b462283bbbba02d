#include "gui/VirtualTrees.h"

#include <commctrl.h>

#include <algorithm>

#include "system/SysUtils.h"

namespace {

// Marks the length of one of our own operations on the control.
class TInternal {
public:
  explicit TInternal(int& count) : FCount(count) { ++FCount; }
  ~TInternal() { --FCount; }
  TInternal(const TInternal&) = delete;
  TInternal& operator=(const TInternal&) = delete;

private:
  int& FCount;
};

// Posted by the first of a run of appended rows: the run is painted once, when the program waits again.
const UINT kAppendsEnded = RegisterWindowMessageA("OrloListAppendsEnded");

// The user's keys (arrows, paging, typing a row's first letters) and clicks move the control's focused row.
bool MovesFocus(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK);
}

}  // namespace

const char* TVirtualStringTree::WindowClass() { return WC_LISTVIEWA; }

DWORD TVirtualStringTree::WindowStyle() { return LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS; }

void TVirtualStringTree::Configure(const TComponentDef& def, const TLayoutContext&) {
  const std::span<const TVirtualTreeColumn> columns = def.Columns;
  const TFont& headerFont = def.HeaderFont ? *def.HeaderFont : Font();  // null: the control's
  // Wide texts in the notifications: the owner's texts are wide strings.
  SendMessageA(Handle(), LVM_SETUNICODEFORMAT, TRUE, 0);
  const DWORD look = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP;
  SendMessageA(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, look, look);
  for (size_t i = 0; i < columns.size(); ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = columns[i].Alignment == TAlignment::RightJustify ? LVCFMT_RIGHT : LVCFMT_LEFT;
    column.cx = ScaleToScreen(columns[i].Width);
    column.pszText = const_cast<char*>(columns[i].Text);
    column.iSubItem = static_cast<int>(i);
    SendMessageA(Handle(), LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
  HWND header = reinterpret_cast<HWND>(SendMessageA(Handle(), LVM_GETHEADER, 0, 0));
  SendMessageA(header, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(headerFont)), TRUE);
}

PVirtualNode TVirtualStringTree::NodeAt(int index) const {
  if (index < 0 || index >= RootNodeCount()) return nullptr;
  return FNodes[static_cast<size_t>(index)].get();
}

void TVirtualStringTree::Renumber(int from) {
  for (size_t i = static_cast<size_t>(std::max(from, 0)); i < FNodes.size(); ++i) FNodes[i]->FIndex = static_cast<int>(i);
}

PVirtualNode TVirtualStringTree::AddChild(int32_t data) {
  const TInternal internal(FInternal);
  // Under Wine each row appended to a visible list costs a repaint of its scroll bar: 20 ms a row.
  if (!FAppending) {
    FAppending = true;
    BeginUpdate();
    PostMessageA(Handle(), kAppendsEnded, 0, 0);
  }
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = RootNodeCount();
  item.pszText = LPSTR_TEXTCALLBACKA;
  item.lParam = data;
  if (SendMessageA(Handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) < 0)
    throw EOutOfResources("Cannot add a row to the list");
  FNodes.push_back(std::make_unique<TVirtualNode>());
  FNodes.back()->FIndex = item.iItem;
  return FNodes.back().get();
}

std::optional<int32_t> TVirtualStringTree::GetNodeData(PVirtualNode node) const {
  if (!node) return std::nullopt;
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = node->FIndex;
  SendMessageA(Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return static_cast<int32_t>(item.lParam);
}

void TVirtualStringTree::SetNodeData(PVirtualNode node, int32_t data) {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = node->FIndex;
  item.lParam = data;
  SendMessageA(Handle(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  SendMessageA(Handle(), LVM_REDRAWITEMS, node->FIndex, node->FIndex);  // its texts follow its data
}

UINT TVirtualStringTree::ItemState(int item, UINT mask) const {
  return static_cast<UINT>(SendMessageA(Handle(), LVM_GETITEMSTATE, item, mask));
}

void TVirtualStringTree::SetItemState(int item, UINT state, UINT mask) {
  LVITEMA change{};
  change.state = state;
  change.stateMask = mask;
  SendMessageA(Handle(), LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&change));
}

void TVirtualStringTree::MoveTo(PVirtualNode node, PVirtualNode target, TVTNodeAttachMode mode) {
  if (node == target) return;
  const int from = node->FIndex;
  int to = target ? target->FIndex + (mode == TVTNodeAttachMode::InsertAfter ? 1 : 0) : 0;
  if (from < to) --to;
  if (to == from) return;
  const TInternal internal(FInternal);
  const UINT state = ItemState(from, LVIS_SELECTED | LVIS_FOCUSED);
  const int32_t data = *GetNodeData(node);
  SendMessageA(Handle(), LVM_DELETEITEM, from, 0);
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = to;
  item.pszText = LPSTR_TEXTCALLBACKA;
  item.lParam = data;
  SendMessageA(Handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  if (state) SetItemState(to, state, LVIS_SELECTED | LVIS_FOCUSED);
  std::unique_ptr<TVirtualNode> moved = std::move(FNodes[static_cast<size_t>(from)]);
  FNodes.erase(FNodes.begin() + from);
  FNodes.insert(FNodes.begin() + to, std::move(moved));
  Renumber(std::min(from, to));
}

void TVirtualStringTree::DeleteSelectedNodes() {
  const int index = static_cast<int>(SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  PVirtualNode node = NodeAt(index);
  if (!node) return;
  const TInternal internal(FInternal);
  SendMessageA(Handle(), LVM_DELETEITEM, index, 0);
  if (node == FFocusedNode) {
    FFocusedNode = nullptr;
    SetItemState(-1, 0, LVIS_FOCUSED);  // the control may have passed the focus on
  }
  FNodes.erase(FNodes.begin() + index);
  Renumber(index);
}

void TVirtualStringTree::Clear() {
  const TInternal internal(FInternal);
  SendMessageA(Handle(), LVM_DELETEALLITEMS, 0, 0);
  FNodes.clear();
  FFocusedNode = nullptr;
}

void TVirtualStringTree::SetFocusedNode(PVirtualNode node) {
  {
    const TInternal internal(FInternal);
    if (node) {
      SetItemState(node->FIndex, LVIS_FOCUSED, LVIS_FOCUSED);
      SendMessageA(Handle(), LVM_ENSUREVISIBLE, node->FIndex, FALSE);
    } else {
      SetItemState(-1, 0, LVIS_FOCUSED);
    }
  }
  FocusChangedByControl();
}

bool TVirtualStringTree::Selected(PVirtualNode node) const {
  return node && ItemState(node->FIndex, LVIS_SELECTED) != 0;
}

void TVirtualStringTree::SetSelected(PVirtualNode node, bool selected) {
  const TInternal internal(FInternal);
  SetItemState(node->FIndex, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

void TVirtualStringTree::BeginUpdate() {
  if (FUpdateCount++ == 0) SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TVirtualStringTree::EndUpdate() {
  if (FUpdateCount == 0 || --FUpdateCount > 0) return;
  SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TVirtualStringTree::FocusChangedByControl() {
  PVirtualNode focused;
  {
    const TInternal internal(FInternal);
    focused = NodeAt(static_cast<int>(SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
  }
  if (focused == FFocusedNode) return;
  FFocusedNode = focused;
  if (OnFocusChanged) OnFocusChanged(this, focused);
}

LRESULT TVirtualStringTree::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      // Ctrl with an arrow scrolls the rows and leaves the focus where it is, as the tree control does; the
      // ListView would move the focus, and the key's release would then act on another row.
      if ((wParam == VK_UP || wParam == VK_DOWN) && (KeyboardShiftState() & ssCtrl)) {
        const int line = HIWORD(SendMessageA(Handle(), LVM_GETITEMSPACING, TRUE, 0));
        SendMessageA(Handle(), LVM_SCROLL, 0, wParam == VK_UP ? -line : line);
        return 0;
      }
      break;
    case WM_CONTEXTMENU:
      // The right button made the row under it the control's focused and selected one while the button was
      // still down: the menu's commands act on that row.
      if (FInternal == 0) FocusChangedByControl();
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (OnKeyUp) {
        WORD key = static_cast<WORD>(wParam);
        OnKeyUp(this, key, KeyboardShiftState());
        if (key == 0) return 0;
        wParam = key;
      }
      break;
    default:
      if (message == kAppendsEnded && FAppending) {
        FAppending = false;
        EndUpdate();
        return 0;
      }
      break;
  }
  const LRESULT result = TControl::WndProc(message, wParam, lParam);
  if (FInternal == 0 && MovesFocus(message)) FocusChangedByControl();
  return result;
}

LRESULT TVirtualStringTree::Notify(UINT code, LPARAM lParam) {
  switch (code) {
    case LVN_GETDISPINFOW: return GetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(lParam));
    case NM_CUSTOMDRAW: return CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
    default: return 0;
  }
}

LRESULT TVirtualStringTree::GetDispInfo(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return 0;
  std::wstring text;
  if (PVirtualNode node = NodeAt(item.iItem); node && OnGetText)
    OnGetText(this, node, item.iSubItem, TVSTTextType::Normal, text);
  lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
  return 0;
}

RECT TVirtualStringTree::CellRect(int item, int column) const {
  RECT row{};
  row.left = LVIR_BOUNDS;
  SendMessageA(Handle(), LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&row));
  HWND header = reinterpret_cast<HWND>(SendMessageA(Handle(), LVM_GETHEADER, 0, 0));
  RECT cell{};
  SendMessageA(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&cell));
  MapWindowPoints(header, Handle(), reinterpret_cast<POINT*>(&cell), 2);
  // The grid lines lie on each cell's right and bottom edge and are drawn before the cells.
  return {cell.left, row.top, cell.right - 1, row.bottom - 1};
}

LRESULT TVirtualStringTree::CustomDraw(NMLVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return OnBeforeCellPaint ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    case CDDS_ITEMPREPAINT: return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
      const int item = static_cast<int>(draw.nmcd.dwItemSpec);
      PVirtualNode node = NodeAt(item);
      if (!node || !OnBeforeCellPaint) return CDRF_DODEFAULT;
      const RECT cell = CellRect(item, draw.iSubItem);
      const int saved = SaveDC(draw.nmcd.hdc);
      OnBeforeCellPaint(this, draw.nmcd.hdc, node, draw.iSubItem, cell);
      RestoreDC(draw.nmcd.hdc, saved);
      // The selection goes over the owner's painting across the whole row, as the control would draw it.
      if (ItemState(item, LVIS_SELECTED)) {
        const bool focused = Focused();
        FillRect(draw.nmcd.hdc, &cell, GetSysColorBrush(focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
        draw.clrText = GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
      }
      draw.clrTextBk = CLR_NONE;  // the text goes over what the owner painted
      return CDRF_DODEFAULT;
    }
    default: return CDRF_DODEFAULT;
  }
}
