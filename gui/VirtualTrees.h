#pragma once
// The list control: a report-mode ListView whose rows each carry one 32-bit data item and whose cell texts
// are asked of the owner whenever a cell is painted or measured; the control stores no text. Rows are
// handed out as nodes that stay valid through moves until the row is deleted; a node knows its position.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gui/ComponentDef.h"
#include "gui/Controls.h"
#include "gui/Keys.h"

class TVirtualStringTree;

class TVirtualNode {
public:
  // The row's position among the rows, 0 for the first.
  int Index() const { return FIndex; }

private:
  friend class TVirtualStringTree;
  int FIndex = 0;
};
using PVirtualNode = TVirtualNode*;

enum class TVSTTextType { Normal, Static };
enum class TVTNodeAttachMode { InsertBefore, InsertAfter };

using TVSTGetTextEvent = std::function<void(TVirtualStringTree* sender, PVirtualNode node, int column,
                                            TVSTTextType textType, std::wstring& cellText)>;
using TVTBeforeCellPaintEvent = std::function<void(TVirtualStringTree* sender, HDC targetCanvas, PVirtualNode node,
                                                   int column, const RECT& cellRect)>;
using TVTFocusChangeEvent = std::function<void(TVirtualStringTree* sender, PVirtualNode node)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;

class TVirtualStringTree : public TControl {
public:
  using TControl::TControl;

  // The window class and styles that the form's builder creates the control with.
  static const char* WindowClass();
  static DWORD WindowStyle();
  // After the window is made: the look, and the columns with their designed widths.
  void Configure(const TComponentDef& def, const TLayoutContext& context) override;

  // Appends a row at the end, carrying data. The rows appended in one go show when messages run again.
  PVirtualNode AddChild(int32_t data);
  int RootNodeCount() const { return static_cast<int>(FNodes.size()); }
  // The row's data item; none for no row.
  std::optional<int32_t> GetNodeData(PVirtualNode node) const;
  void SetNodeData(PVirtualNode node, int32_t data);

  // Moves node next to target; with no target the node becomes the first row. Focus and selection stay
  // with the node.
  void MoveTo(PVirtualNode node, PVirtualNode target, TVTNodeAttachMode mode);
  // Deletes the selected row, if any. A deleted focused row leaves no focused row, without OnFocusChanged.
  void DeleteSelectedNodes();
  // Deletes every row, leaving none focused, without OnFocusChanged.
  void Clear();

  PVirtualNode FocusedNode() const { return FFocusedNode; }
  // Focuses node (none: no row); OnFocusChanged runs when the focused row changes, and what it raises
  // reaches the caller.
  void SetFocusedNode(PVirtualNode node);
  bool Selected(PVirtualNode node) const;
  // Selecting a row deselects the one selected before.
  void SetSelected(PVirtualNode node, bool selected);

  PVirtualNode GetFirst() const { return FNodes.empty() ? nullptr : FNodes.front().get(); }
  // None past either end, and none for no row.
  PVirtualNode GetNext(PVirtualNode node) const { return node ? NodeAt(node->FIndex + 1) : nullptr; }
  PVirtualNode GetPrevious(PVirtualNode node) const { return node ? NodeAt(node->FIndex - 1) : nullptr; }

  // Repainting stops until as many EndUpdate calls as BeginUpdate calls have come.
  void BeginUpdate();
  void EndUpdate();

  TVSTGetTextEvent OnGetText;
  TVTBeforeCellPaintEvent OnBeforeCellPaint;
  TVTFocusChangeEvent OnFocusChanged;
  TKeyEvent OnKeyUp;

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT Notify(UINT code, LPARAM lParam) override;

private:
  PVirtualNode NodeAt(int index) const;
  LRESULT GetDispInfo(NMLVDISPINFOW& info);
  LRESULT CustomDraw(NMLVCUSTOMDRAW& draw);
  RECT CellRect(int item, int column) const;
  UINT ItemState(int item, UINT mask) const;
  void SetItemState(int item, UINT state, UINT mask);
  void Renumber(int from);
  // Takes the control's focused row as the tree's, running OnFocusChanged when it differs.
  void FocusChangedByControl();

  std::vector<std::unique_ptr<TVirtualNode>> FNodes;  // in display order
  PVirtualNode FFocusedNode = nullptr;
  int FUpdateCount = 0;
  int FInternal = 0;  // inside an operation of ours: the control's own focus changes are not the user's
  bool FAppending = false;
};
