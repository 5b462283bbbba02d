// Soak of the change timer: the control panel made as the program makes it, changing the wallpaper on every
// tick of its timer, over a collection of five real pictures, of which those that the screen scales by 1.6 or
// more take the resampler with its rows read ahead on a second thread. The interval is the shortest useful one: a
// little longer than one change takes, so that ticks do not pile up inside a change. Prints the process's
// kernel handle, GDI and USER object counts and its private memory every 100 changes: a count that grows is a
// leak. (Wine answers 0 for the GDI and USER counts.) Usage: soak.exe <folder with the pictures, ending in a backslash> [changes]
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

#include "engine/uWallPaper.h"
#include "gui/Forms.h"
#include "settings/uOptions.h"
#include "shell/ufrmEditor.h"
#include "shell/ufrmOptions.h"

namespace {

constexpr uint32_t kInterval = 100;
const char* const kPictures[] = {"photo.jpg", "photo.png", "camera.jpg", "large.jpg", "large.png"};

// The kernel handles open in this process, by asking about every handle value in turn (Wine answers 0 to
// GetProcessHandleCount).
unsigned long KernelHandles() {
  unsigned long count = 0;
  for (uintptr_t value = 4; value < 0x10000; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}

// How a Stretch change scales each picture to the screen: the soak must take the resampler's path too.
void PrintWays(const std::string& pictures) {
  const imaging::Rect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  for (const char* name : kPictures) {
    TImageProperties size;
    TWallpaperList::GetImageProperties(pictures + name, size);
    const imaging::Rect picture{0, 0, static_cast<int32_t>(size.Width), static_cast<int32_t>(size.Height)};
    std::printf("%s %ux%u: %s\n", name, size.Width, size.Height,
                TWallpaperChanger::IsMildScale(picture, screen) ? "halftone stretch"
                                                                : "Lanczos resampler, rows read ahead");
  }
}

int Run(const std::string& pictures, int changes) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "orlo-soak\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string list;
  for (const char* name : kPictures) list += pictures + name + "\r\n";
  HANDLE file = CreateFileA((folder + "wallp.sl").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, list.data(), static_cast<DWORD>(list.size()), &written, nullptr);
  CloseHandle(file);

  const TScopedReplacement<std::function<std::string()>> program(ProgramFileName,
                                                                 [&] { return folder + "orlo.exe"; });
  TOptions options;
  options.SetFirstRun(false);
  options.SetChangeWallpaperOnStartup(false);
  options.SetChangeOnTimer(true);
  options.SetWallpaperStyle(wpsStretch);
  Application.Initialize();
  Application.CreateForm(frmEditor);
  Application.CreateForm(frmOptions);
  frmEditor->Timer()->SetInterval(kInterval);
  const int32_t entries = frmEditor->WallpaperList().LastIndex() + 1;
  if (entries != static_cast<int32_t>(std::size(kPictures))) {
    std::fprintf(stderr, "soak: the collection has %d of the pictures\n", entries);
    return 1;
  }

  PrintWays(pictures);
  std::printf("changes handles gdi user private_kb\n");
  int last = -1;
  int done = 0;
  while (done < changes) {
    Application.HandleMessage();
    const int position = frmEditor->CurrentIndex();
    if (position == last) continue;
    last = position;
    ++done;
    if (done % 100 == 0) {
      const unsigned long handles = KernelHandles();
      PROCESS_MEMORY_COUNTERS memory{};
      GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
      std::printf("%d %lu %lu %lu %lu\n", done, handles, GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                  GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS),
                  static_cast<unsigned long>(memory.PagefileUsage / 1024));
      std::fflush(stdout);
    }
  }
  Application.DestroyForms();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: soak.exe <folder with the pictures of soak.sh> [changes]\n");
    return 2;
  }
  return Run(argv[1], argc > 2 ? std::atoi(argv[2]) : 1000);
}
