// The control panel's speed, under Wine (make bench-panel):
//   list N      a collection of N entries: from making the window to the control panel shown and painted,
//               then a page down through the whole list, repainting at each page
//   preview F   the preview of the JPEG picture F (ShowPreview) against libjpeg-turbo decoding it whole,
//               minimum of 7 runs each, interleaved
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/Timing.h"
#include "imaging/Jpeg.h"
#include "gui/Forms.h"
#include "graphics/PictureFiles.h"
#include "settings/uOptions.h"
#include "shell/ufrmEditor.h"
#include "shell/ufrmOptions.h"

namespace {

std::string TempFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "orlo-panel-bench\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

void WriteFile(const std::string& path, const std::string& data) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  ::WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  CloseHandle(file);
}

void MakeEditor(const std::string& folder) {
  TOptions options;
  options.SetFirstRun(false);
  options.SetChangeWallpaperOnStartup(false);
  options.SetChangeOnTimer(false);
  Application.Initialize();
  Application.CreateForm(frmEditor);
  Application.CreateForm(frmOptions);
  (void)folder;
}

int List(int entries) {
  const std::string folder = TempFolder();
  std::string list;
  for (int i = 0; i < entries; ++i) {
    const std::string path = folder + "picture" + std::to_string(i) + ".bmp";
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) WriteFile(path, std::string(70, 'B'));
    list += path + "\r\n";
  }
  WriteFile(folder + "wallp.sl", list);
  const TScopedReplacement<std::function<std::string()>> program(ProgramFileName, [&] { return folder + "orlo.exe"; });
  const double shown = bench::TimeMs([&] {
    MakeEditor(folder);
    frmEditor->Show();
    Application.ProcessMessages();
    UpdateWindow(frmEditor->Handle());
  });
  HWND list_window = frmEditor->vstWallpapers.Handle();
  SetFocus(list_window);
  int pages = 0;
  const double paged = bench::TimeMs([&] {
    while (frmEditor->vstWallpapers.FocusedNode() && frmEditor->vstWallpapers.FocusedNode()->Index() < entries - 1) {
      SendMessageA(list_window, WM_KEYDOWN, VK_NEXT, 1);
      SendMessageA(list_window, WM_KEYUP, VK_NEXT, 0xC0000001);
      Application.ProcessMessages();
      UpdateWindow(list_window);
      ++pages;
    }
  });
  std::printf("entries %d\nshown_ms %.1f\npages %d\npage_down_ms %.1f (%.2f ms a page)\n", entries, shown, pages, paged,
              paged / std::max(pages, 1));
  Application.DestroyForms();
  return 0;
}

int Preview(const std::string& file) {
  const std::string folder = TempFolder();
  WriteFile(folder + "wallp.sl", file + "\r\n");
  const TScopedReplacement<std::function<std::string()>> program(ProgramFileName, [&] { return folder + "orlo.exe"; });
  MakeEditor(folder);
  const std::vector<uint8_t> bytes = ReadPictureFile(file);
  double preview = 1e300, decode = 1e300, eighth = 1e300;
  for (int round = 0; round < 7; ++round) {
    preview = std::min(preview, bench::TimeMs([&] { frmEditor->ShowPreview(0); }));
    decode = std::min(decode, bench::TimeMs([&] { imaging::DecodeJpeg(bytes); }));
    eighth = std::min(eighth, bench::TimeMs([&] { imaging::DecodeJpeg(bytes, 8); }));
  }
  std::printf("preview_ms %.1f\ndecode_ms %.1f\ndecode_at_one_eighth_ms %.1f\nratio %.2f (goal at most 0.30)\n", preview,
              decode, eighth, preview / decode);
  Application.DestroyForms();
  return 0;
}

int Run(int argc, char** argv) {
  const std::string mode = argc > 2 ? argv[1] : "";
  if (mode == "list") return List(std::atoi(argv[2]));
  if (mode == "preview") return Preview(argv[2]);
  std::fprintf(stderr, "usage: panel_bench list N | preview FILE.jpg\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) { return bench::GuardedMain("panel_bench", Run, argc, argv); }
