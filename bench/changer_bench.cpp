// The desktop bitmap conversion as the program ships it, timed inside the process: built for i686 with the
// program's own libraries and run under Wine. Times are the minimum of several runs:
//   changer_bench resample SW SH DW DH RUNS   the Lanczos resampling alone, between two rasters in DIB sections
//   changer_bench job FILE stretch|fit DW DH RUNS
//       TWallpaperChanger::ConvertToBitmap of the picture for a DW x DH screen, writing Muralia.bmp into the
//       current folder; then its steps one by one, each printed as "stage NAME MS": the picture loaded into
//       its platform class, the source raster assigned from it, the resampling (a JPEG picture is decoded in
//       it) and the save; and apart from them the file read and decoded alone.
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "bench/Timing.h"
#include "engine/uGraphics.h"
#include "engine/uWallPaper.h"
#include "imaging/Resample.h"
#include "platform/Forms.h"
#include "platform/PictureFiles.h"

namespace {

// The steps of the conversion, as ConvertToBitmap takes them.
void Steps(bench::Stages& stages, const std::string& path, bool fit, int32_t width, int32_t height) {
  stages.Time("decode", [&] { bench::DecodeAlone(path, ReadPictureFile(path)); });
  std::unique_ptr<TPicture> picture;
  stages.Time("load", [&] { picture = LoadPictureAs(PictureClassByContent(path), path); });
  TBitmap32 source;
  stages.Time("raster", [&] { source.Assign(*picture->Graphic()); });
  std::unique_ptr<TBitmap32> target;
  stages.Time("resample", [&] {
    if (fit) ScaleToFit(*picture->Graphic(), width, height);
    target = TWallpaperChanger::Resample(source, width, height, 0x008000);
  });
  stages.Time("save", [&] { target->SaveToFile(TWallpaperList::GetAppDir() + "Muralia.bmp"); });
}

std::string CurrentFolder() {
  char folder[MAX_PATH];
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
  if (length == 0 || length >= MAX_PATH) throw std::runtime_error("no current folder");
  return std::string(folder, length) + "\\";
}

int Run(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "resample" && argc == 7) {
    TBitmap32 source, target;
    source.SetSize(std::atoi(argv[2]), std::atoi(argv[3]));
    bench::FillTestRaster(source.Raster());
    target.SetSize(std::atoi(argv[4]), std::atoi(argv[5]));
    std::printf("ms %.2f\n", bench::MinimumMs(std::atoi(argv[6]), [&] {
                  imaging::StretchTransfer(target.Raster(), target.BoundsRect(), target.BoundsRect(), source.Raster(),
                                           source.BoundsRect());
                }));
    return 0;
  }
  if (mode == "job" && argc == 7) {
    Application.SetExeNameForTests(CurrentFolder() + "orlo.exe");
    const std::string path = argv[2];
    const bool fit = std::string(argv[3]) == "fit";
    const int32_t width = std::atoi(argv[4]), height = std::atoi(argv[5]);
    const TWallpaperStyle style = fit ? wpsFitDesktop : wpsStretch;
    const int runs = std::atoi(argv[6]);
    TWallpaperChanger changer;
    std::printf("ms %.2f\n", bench::MinimumMs(runs, [&] {
                  if (changer.ConvertToBitmap(path, width, height, style).empty())
                    throw std::runtime_error("no bitmap from " + path);
                }));
    bench::Stages stages;
    for (int i = 0; i < runs; ++i) Steps(stages, path, fit, width, height);
    stages.Print();
    return 0;
  }
  std::fprintf(stderr, "usage: changer_bench resample SW SH DW DH RUNS | changer_bench job FILE stretch|fit DW DH RUNS\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) { return bench::GuardedMain("changer_bench", Run, argc, argv); }
