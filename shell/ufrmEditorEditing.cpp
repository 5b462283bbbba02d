// Editing the collection from the control panel: each operation keeps the entries of the collection and the
// rows of the list in step, each row carrying the index of its entry.
#include <algorithm>

#include "gui/Dialogs.h"
#include "shell/ufrmEditor.h"

namespace {

// Restarts the list's repainting when the operation ends, however it ends.
class TUpdateGuard {
public:
  explicit TUpdateGuard(TVirtualStringTree& tree) : FTree(tree) { FTree.BeginUpdate(); }
  ~TUpdateGuard() { FTree.EndUpdate(); }
  TUpdateGuard(const TUpdateGuard&) = delete;
  TUpdateGuard& operator=(const TUpdateGuard&) = delete;

private:
  TVirtualStringTree& FTree;
};

}  // namespace

void TfrmEditor::AddImages() {
  if (!OpenPictureDialog().Execute(Handle())) return;
  TWallpaperList& list = WallpaperList();
  for (const std::string& file : OpenPictureDialog().Files()) {
    const bool wasEmpty = list.IsEmpty();
    list.Add(file);
    vstWallpapers.AddChild(list.LastIndex());
    if (wasEmpty) SelectFirstImage();
  }
  list.SaveToFile();
  UpdateButtons();  // the focused row may have lost its place as the last one
  const std::vector<std::wstring>& refused = OpenPictureDialog().Refused();
  if (refused.empty()) return;
  std::wstring text = L"These pictures cannot be added: their names hold characters that the system's code page "
                      L"lacks, and they have no short names to use instead.\n";
  for (const std::wstring& name : refused) text += L"\n" + name;
  MessageDlg(text, TMsgDlgType::Warning);
}

void TfrmEditor::RemoveImage() {
  if (MessageDlg("Would you like to delete image from the list?", TMsgDlgType::Confirmation) != mrYes) return;
  const std::optional<int32_t> index = FocusedIndexData();
  if (!index) return;
  PVirtualNode focused = vstWallpapers.FocusedNode();
  PVirtualNode neighbour = vstWallpapers.GetPrevious(focused);
  if (!neighbour) neighbour = vstWallpapers.GetNext(focused);
  FWallpaperList->Delete(*index);
  // The row whose entry was blanked goes, also when a click beside the rows took its selection.
  vstWallpapers.SetSelected(focused, true);
  vstWallpapers.DeleteSelectedNodes();
  if (neighbour) {
    vstWallpapers.SetSelected(neighbour, true);
    vstWallpapers.SetFocusedNode(neighbour);
    ShowImageInfo(neighbour);
  } else {
    ClearImageInfo();
  }
  imgPreview.ClearPicture();
  FWallpaperList->SaveToFile();
}

void TfrmEditor::RemoveAllImages() {
  if (MessageDlg("Would you like to remove all images from the list?", TMsgDlgType::Confirmation) != mrYes) return;
  TWallpaperList& list = WallpaperList();  // read in, with its rows, before the rows go
  {
    const TUpdateGuard update(vstWallpapers);
    vstWallpapers.Clear();
  }
  list.Clear();
  list.SaveToFile();
  ClearImageInfo();
  imgPreview.ClearPicture();
}

void TfrmEditor::actRemoveMissingImagesExecute(TObject*) {
  const TUpdateGuard update(vstWallpapers);
  const THourglass hourglass;
  TWallpaperList& list = WallpaperList();
  list.RemoveInvalid();
  list.SaveToFile();
  vstWallpapers.Clear();
  LoadWallpaperList();
  if (!vstWallpapers.GetFirst()) {  // no row is left to describe
    ClearImageInfo();
    imgPreview.ClearPicture();
  }
}

// A row moves past its neighbouring row, and the two rows exchange their entries and indexes, so that each row
// keeps its own picture and the entries follow the rows' order. Before a removal the two indexes are adjacent;
// after one they can lie further apart, with blanked entries between them, which stay where they are.
void TfrmEditor::MoveFocusedPast(PVirtualNode neighbour, TVTNodeAttachMode mode) {
  PVirtualNode focused = vstWallpapers.FocusedNode();
  const int32_t index = *vstWallpapers.GetNodeData(focused);
  const int32_t other = *vstWallpapers.GetNodeData(neighbour);
  vstWallpapers.MoveTo(focused, neighbour, mode);
  vstWallpapers.SetNodeData(focused, other);
  vstWallpapers.SetNodeData(neighbour, index);
  FWallpaperList->Exchange(std::min(index, other), std::max(index, other));
}

void TfrmEditor::MoveImageUp() {
  if (CanMoveImageUp()) {
    MoveFocusedPast(vstWallpapers.GetPrevious(vstWallpapers.FocusedNode()), TVTNodeAttachMode::InsertBefore);
  }
  UpdateButtons();
}

void TfrmEditor::MoveImageDown() {
  if (CanMoveImageDown()) {
    MoveFocusedPast(vstWallpapers.GetNext(vstWallpapers.FocusedNode()), TVTNodeAttachMode::InsertAfter);
  }
  UpdateButtons();
}

// The user's own command: a picture that cannot be made the wallpaper, its file gone included, is reported.
void TfrmEditor::PlaceImage() {
  const THourglass hourglass;
  if (const std::optional<int32_t> index = FocusedIndexData())
    WallpaperChanger().PlaceWallpaper(FWallpaperList->GetPath(*index), WallpaperStyle());
}

void TfrmEditor::SelectFirstImage() {
  PVirtualNode first = vstWallpapers.GetFirst();
  if (!first) return;
  vstWallpapers.SetSelected(first, true);
  vstWallpapers.SetFocusedNode(first);
  ShowImageInfo(first);
}

void TfrmEditor::UpdateButtons() {
  btnUp.SetEnabled(CanMoveImageUp());
  btnDown.SetEnabled(CanMoveImageDown());
  btnRemove.SetEnabled(HasFocusedImage());
  btnPut.SetEnabled(HasFocusedImage());
}

bool TfrmEditor::HasFocusedImage() const { return vstWallpapers.FocusedNode() != nullptr; }

std::optional<int32_t> TfrmEditor::FocusedIndexData() const {
  return vstWallpapers.GetNodeData(vstWallpapers.FocusedNode());
}

// A row moves only past a row: blanked entries beyond the first or the last row leave it where it is.
bool TfrmEditor::CanMoveImageUp() const { return vstWallpapers.GetPrevious(vstWallpapers.FocusedNode()) != nullptr; }

bool TfrmEditor::CanMoveImageDown() const { return vstWallpapers.GetNext(vstWallpapers.FocusedNode()) != nullptr; }

// Insert and Delete with any modifiers, and Ctrl with Up, Down or Enter, run their routine when the key comes
// up, unless its going down ran the same routine as a shortcut: one press runs it once.
void TfrmEditor::vstWallpapersKeyUp(TObject*, WORD& key, TShiftState shift) {
  if (std::exchange(FShortCutKey, 0) == key) return;
  const bool ctrl = (shift & ssCtrl) != 0;
  switch (key) {
    case VK_INSERT: AddImages(); break;
    case VK_DELETE: RemoveImage(); break;
    case VK_UP: if (ctrl) MoveImageUp(); break;
    case VK_DOWN: if (ctrl) MoveImageDown(); break;
    case VK_RETURN: if (ctrl) PlaceImage(); break;
    default: break;
  }
}

// Every key going down decides anew, so that a shortcut whose key came up elsewhere (in the question, the
// picture dialog or another control) cannot swallow a later key-up on the list. Modifiers going down leave
// the decision alone: Shift pressed while Ctrl+Up is held does not make its release run again.
bool TfrmEditor::IsShortCut(const MSG& msg) {
  const auto key = static_cast<WORD>(msg.wParam);
  if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) return TForm::IsShortCut(msg);
  FShortCutKey = key;  // kept when the shortcut's routine raises: it ran all the same
  if (TForm::IsShortCut(msg)) return true;
  FShortCutKey = 0;
  return false;
}
