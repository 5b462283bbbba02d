// "Add" through the system's own open dialog, driven from inside its loop as a user would: the folder typed
// into the name box, one picture selected for the preview, two quoted names typed, then "Open".
#include <gtest/gtest.h>
// dlgs.h needs the Windows types first.
#include <windows.h>
#include <dlgs.h>

#include <algorithm>

#include "forms/Resources.h"
#include "system/FileUtils.h"
#include "shell/EditingTestSupport.h"

namespace {

// Lets messages run until done() holds or five seconds pass.
bool WaitFor(const std::function<bool()>& done) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > 5000) return false;
    ui::Pump();
    Sleep(10);
  }
  return true;
}

// The edit of the file-name box: inside an extended combo box, a combo box, or on its own in older dialogs.
HWND FileNameBox(HWND dialog) {
  HWND combo = GetDlgItem(dialog, cmb13);
  if (!combo) return GetDlgItem(dialog, edt1);
  if (auto* edit = reinterpret_cast<HWND>(SendMessageA(combo, CBEM_GETEDITCONTROL, 0, 0))) return edit;
  return FindWindowExA(combo, nullptr, "Edit", nullptr);
}

void TypeInto(HWND edit, const std::string& text) {
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SendMessageA(edit, WM_CHAR, VK_BACK, 1);
  for (const char c : text) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void PressOpen(HWND dialog) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

// The dialog is the wide one, so it answers in wide characters.
std::string FolderOf(HWND dialog) {
  wchar_t folder[MAX_PATH] = L"";
  SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
  return IncludeTrailingBackslash(AnsiPath(folder).value_or(""));
}

HWND FileList(HWND dialog) {
  HWND view = FindWindowExA(dialog, nullptr, "SHELLDLL_DefView", nullptr);
  return view ? FindWindowExA(view, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
}

// Selects the file in the dialog's file list, as a click on it would.
bool SelectInFileList(HWND dialog, const std::string& name) {
  HWND list = FileList(dialog);
  if (!list) return false;
  const auto find = [list](const std::string& text) {
    LVFINDINFOA info{.flags = LVFI_STRING, .psz = text.c_str()};
    const LRESULT item = SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&info));
    return static_cast<int>(item);
  };
  int item = find(name);
  if (item < 0) item = find(name.substr(0, name.rfind('.')));  // the dialog may hide known extensions
  if (item < 0) return false;
  LVITEMA state{.state = LVIS_SELECTED | LVIS_FOCUSED, .stateMask = LVIS_SELECTED | LVIS_FOCUSED};
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
  return true;
}

// Cancels the dialog when a step ends before it pressed "Open", so that no failure leaves the dialog open.
struct TCancelUnlessOpened {
  HWND Dialog;
  bool Opened = false;
  ~TCancelUnlessOpened() {
    if (!Opened) PostMessageA(Dialog, WM_COMMAND, IDCANCEL, 0);
  }
};

using EditingDialog = EditingTest;

TEST_F(EditingDialog, TheSystemsDialogAddsTwoTypedNamesAndPreviewsTheSelectedPicture) {
  CreateWith(3, 1);
  const TScopedReplacement<TGetOpenFileNameCall> system(
      GetOpenFileNameCall, [](OPENFILENAMEW& dialog) { return GetOpenFileNameW(&dialog) != FALSE; });
  std::string previewSize;
  ui::Later([&] {
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = ui::FindMessageBox().Handle) != nullptr; })) << "no dialog";
    TCancelUnlessOpened closer{dialog};
    HWND name = FileNameBox(dialog);
    ASSERT_NE(nullptr, name);
    TypeInto(name, FFolder.Path());
    PressOpen(dialog);
    ASSERT_TRUE(WaitFor([&] { return FolderOf(dialog) == FFolder.Path(); })) << FolderOf(dialog);

    HWND preview = FindWindowExA(dialog, nullptr, "#32770", nullptr);
    ASSERT_TRUE(WaitFor([&] { return SelectInFileList(dialog, "picture1.bmp"); }));
    WaitFor([&] { return !ui::TextOf(GetDlgItem(preview, IDC_PICTURE_SIZE)).empty(); });
    previewSize = ui::TextOf(GetDlgItem(preview, IDC_PICTURE_SIZE));

    TypeInto(name, "\"picture1.bmp\" \"picture2.bmp\"");
    PressOpen(dialog);
    closer.Opened = true;
  });
  frmEditor->AddImages();
  ui::RunSteps();
  EXPECT_EQ("4 x 4", previewSize);
  EXPECT_EQ((std::vector<int>{0, 1, 2}), RowPictures());
  EXPECT_EQ((std::vector<int>{0, 1, 2}), ListFile());
}

// Names longer than the dialog's first file buffer holds: the buffer grows as the selection does, and every
// chosen file arrives.
TEST_F(EditingDialog, ASelectionLongerThanTheFileBufferKeepsEveryFile) {
  CreateWith(1, 1);
  const int count = 340;  // 340 names of over 200 characters pass 64 KB
  std::vector<std::string> files;
  for (int k = 0; k < count; ++k)
    files.push_back(FFolder.Write(std::string(200, 'x') + std::to_string(k) + ".bmp", ""));
  const TScopedReplacement<TGetOpenFileNameCall> system(
      GetOpenFileNameCall, [](OPENFILENAMEW& dialog) { return GetOpenFileNameW(&dialog) != FALSE; });
  ui::Later([&] {
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = ui::FindMessageBox().Handle) != nullptr; })) << "no dialog";
    TCancelUnlessOpened closer{dialog};
    TypeInto(FileNameBox(dialog), FFolder.Path());
    PressOpen(dialog);
    ASSERT_TRUE(WaitFor([&] { return FolderOf(dialog) == FFolder.Path(); })) << FolderOf(dialog);
    HWND list = FileList(dialog);
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == count + 1; }));
    LVITEMA state{.state = LVIS_SELECTED, .stateMask = LVIS_SELECTED};
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    ui::Pump();
    PressOpen(dialog);
    closer.Opened = true;
  });
  frmEditor->AddImages();
  ui::RunSteps();
  ASSERT_EQ(count + 2, frmEditor->vstWallpapers.RootNodeCount());
  std::vector<std::string> added;
  for (int32_t index = 1; index <= count + 1; ++index) added.push_back(frmEditor->WallpaperList().GetFileName(index));
  std::sort(added.begin(), added.end());
  files.push_back(FPictures[0]);
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, added);
}

}  // namespace
