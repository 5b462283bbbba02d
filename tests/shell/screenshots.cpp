// Pictures of the dialogs for the README, written into the current folder by `make screenshot`; not a test.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "engine/ProgramFolder.h"
#include "shell/EditorTestSupport.h"
#include "shell/ufrmAbout.h"
#include "shell/ufrmOptions.h"

namespace {

void Picture(HWND window, const char* name) { ui::RequestScreenshot(window, name); }

// The folder that tools/screenshot-windows.sh works in, with a backslash at the end.
std::string WorkFolder() {
  char folder[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, folder);
  return std::string(folder) + "\\";
}

class Screenshots : public ShellTest {};
class ControlPanelScreenshots : public EditorTest {};

TEST_F(Screenshots, DISABLED_Dialogs) {
  const ProgramFolder program(WorkFolder());  // where the script put orlo.exe, whose version the about dialog shows
  TFormPtr<TfrmOptions> options = MakeForm<TfrmOptions>();
  ui::Later([&] { Picture(options->Handle(), "options-general"); });
  ui::Later([&] { ui::Click(options->lblWallpaper); });
  ui::Later([&] { Picture(options->Handle(), "options-wallpaper"); });
  ui::Later([&] { ui::Click(options->btnCancel); });
  options->ShowModal();

  TFormPtr<TfrmAbout> about = MakeForm<TfrmAbout>();
  ui::Later([&] { Picture(about->Handle(), "about"); });
  ui::Later([&] { ui::Click(about->Component<TButton>("btnOk")); });
  about->ShowModal();
}

// The control panel with a few pictures, the second focused, and its open File menu. The pictures are made
// by tools/screenshot-windows.sh in the current folder.
TEST_F(ControlPanelScreenshots, DISABLED_ControlPanel) {
  std::string list;
  for (const char* name : {"sunset.jpg", "lagoon.png", "dunes.jpg", "meadow.jpg"}) list += WorkFolder() + name + "\r\n";
  FFolder.Write("wallp.sl", list);
  TfrmEditor& editor = Create();
  editor.Show();
  ui::Later([&] {
    editor.vstWallpapers.SetSelected(editor.vstWallpapers.GetNext(editor.vstWallpapers.GetFirst()), true);
    editor.vstWallpapers.SetFocusedNode(editor.vstWallpapers.GetNext(editor.vstWallpapers.GetFirst()));
    editor.vstWallpapers.SetFocus();
  });
  ui::Later([&] { Picture(editor.Handle(), "control-panel"); });
  ui::Later([&] { PostMessageA(editor.Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f'); });
  ui::Later([&] { Picture(editor.Handle(), "file-menu"); });
  ui::Later([&] { PostMessageA(editor.Handle(), WM_CANCELMODE, 0, 0); });
  ui::RunSteps();

  // The picture dialog, opened on the pictures' folder, with one of them selected and previewed.
  ui::Later([&] {
    HWND dialog = ui::FindMessageBox().Handle;
    if (!dialog) return;
    // Select "sunset" in the file list, as a click would, and let the preview draw.
    HWND view = FindWindowExA(dialog, nullptr, "SHELLDLL_DefView", nullptr);
    HWND files = view ? FindWindowExA(view, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
    LVFINDINFOA find{.flags = LVFI_PARTIAL | LVFI_STRING, .psz = "sunset"};
    const LRESULT item = SendMessageA(files, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find));
    LVITEMA state{.state = LVIS_SELECTED | LVIS_FOCUSED, .stateMask = LVIS_SELECTED | LVIS_FOCUSED};
    SendMessageA(files, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
    for (int i = 0; i < 20; ++i) {
      ui::Pump();
      Sleep(25);
    }
    Picture(dialog, "picture-dialog");
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  editor.AddImages();
  ui::RunSteps();
}

}  // namespace
