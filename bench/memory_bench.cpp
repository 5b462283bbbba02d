// Peak memory of one desktop bitmap conversion, built for i686 and run under Wine:
//   memory_bench FILE center|stretch DW DH
// runs TWallpaperChanger::ConvertToBitmap once, writing Muralia.bmp into the current folder, and prints how far
// the process's peak working set rose above what it held before, beside the source raster (the picture at 32
// bits per pixel) and the target bitmap that the conversion cannot do without, and the ratio of the two.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>

#include "bench/Timing.h"
#include "engine/uGraphics.h"
#include "engine/uWallPaper.h"
#include "gui/Forms.h"
#include "system/Seams.h"

namespace {

PROCESS_MEMORY_COUNTERS Counters() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
    throw std::runtime_error("no memory counters");
  return counters;
}

double Mb(double bytes) { return bytes / 1048576.0; }

std::string CurrentFolder() {
  char folder[MAX_PATH];
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
  if (length == 0 || length >= MAX_PATH) throw std::runtime_error("no current folder");
  return std::string(folder, length) + "\\";
}

int Run(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: memory_bench FILE center|stretch DW DH\n");
    return 2;
  }
  const TScopedReplacement<std::function<std::string()>> program(
      ProgramFileName, [file = CurrentFolder() + "orlo.exe"] { return file; });
  const std::string path = argv[1];
  const TWallpaperStyle style = std::string(argv[2]) == "stretch" ? wpsStretch : wpsCenter;
  const int32_t screenWidth = std::atoi(argv[3]), screenHeight = std::atoi(argv[4]);
  const SIZE_T before = Counters().WorkingSetSize;
  TWallpaperChanger changer;
  if (changer.ConvertToBitmap(path, screenWidth, screenHeight, style).empty())
    throw std::runtime_error("no bitmap from " + path);
  const double rise = static_cast<double>(Counters().PeakWorkingSetSize - before);
  // The picture's size, found once the peak has been read.
  const std::unique_ptr<TPicture> picture = LoadPictureAs(PictureClassByContent(path), path);
  const double source = 4.0 * picture->Width() * picture->Height();
  const double target = style == wpsStretch ? 4.0 * screenWidth * screenHeight : source;
  std::printf("source %.1f MB, target %.1f MB, peak rise %.1f MB, %.2f times their sum\n", Mb(source), Mb(target),
              Mb(rise), rise / (source + target));
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return bench::GuardedMain("memory_bench", Run, argc, argv); }
