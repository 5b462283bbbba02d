// The desktop bitmap conversion as the program ships it, timed inside the process: built for i686 with the
// program's own libraries and run under Wine. Answers bench/compare.py's commands, one run each:
//   job FILE stretch|fit DW DH   TWallpaperChanger::ConvertToBitmap of the picture for a DW x DH screen,
//                                writing Muralia.bmp into the current folder
//   steps FILE stretch|fit DW DH the same steps one by one, each as "stage NAME MS": the picture opened (its
//                                file read, its header), the source raster assigned from it, the resampling
//                                (the picture is decoded in it, on a second thread) and the save
//   decode FILE                  libjpeg-turbo's (or libpng's) decode of the file's bytes alone, in this build
//   resample FILE DW DH          the Lanczos resampling alone, from the picture decoded whole beforehand
//   save DW DH | write DW DH     a DW x DH raster saved as the program saves it, or its file's bytes written
//                                in one call
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "bench/Timing.h"
#include "engine/uGraphics.h"
#include "engine/uWallPaper.h"
#include "imaging/BmpWriter.h"
#include "imaging/Resample.h"
#include "gui/Forms.h"
#include "graphics/JPEG.h"
#include "graphics/PictureFiles.h"
#include "graphics/PictureRows.h"

namespace {

using Words = std::vector<std::string>;

void Steps(const std::string& path, bool fit, int32_t width, int32_t height) {
  bench::Stages stages;
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


std::string BitmapFileBytes(const TBitmap32& raster) {
  std::string bytes;
  imaging::WriteBmp32(raster.Raster(), [&bytes](std::span<const uint8_t> piece) {
    bytes.append(reinterpret_cast<const char*>(piece.data()), piece.size());
  });
  return bytes;
}

void Command(const Words& w) {
  const auto number = [&w](size_t i) { return static_cast<int32_t>(std::atoi(w.at(i).c_str())); };
  if (w[0] == "job") {
    TWallpaperChanger changer;
    const TWallpaperStyle style = w.at(2) == "fit" ? wpsFitDesktop : wpsStretch;
    std::printf("ms %.2f\n", bench::TimeMs([&] {
                  if (changer.ConvertToBitmap(w[1], number(3), number(4), style).empty())
                    throw std::runtime_error("no bitmap from " + w[1]);
                }));
  } else if (w[0] == "steps") {
    Steps(w.at(1), w.at(2) == "fit", number(3), number(4));
  } else if (w[0] == "decode") {
    const std::vector<uint8_t> file = ReadPictureFile(w.at(1));
    std::printf("ms %.2f\n", bench::TimeMs([&] { bench::DecodeAlone(w[1], file); }));
  } else if (w[0] == "resample") {
    TBitmap32 source, target;
    source.Raster().Assign(bench::DecodeWhole(w.at(1), ReadPictureFile(w[1])));
    target.SetSize(number(2), number(3));
    std::printf("ms %.2f\n", bench::TimeMs([&] {
                  imaging::StretchTransfer(target.Raster(), target.BoundsRect(), target.BoundsRect(),
                                           source.Raster(), source.BoundsRect());
                }));
  } else if (w[0] == "save" || w[0] == "write") {
    TBitmap32 raster;
    raster.SetSize(number(1), number(2));
    bench::FillTestRaster(raster.Raster());
    const std::string bytes = BitmapFileBytes(raster);
    std::printf("ms %.2f\n", bench::TimeMs([&] {
                  if (w[0] == "save")
                    raster.SaveToFile(CurrentFolder() + "save.bmp");
                  else
                    bench::PlainWrite(CurrentFolder() + "plain.bmp", bytes);
                }));
  } else {
    throw std::invalid_argument("unknown command " + w[0]);
  }
}

int Run(int, char**) {
  const TScopedReplacement<std::function<std::string()>> program(
      ProgramFileName, [file = CurrentFolder() + "orlo.exe"] { return file; });
  return bench::Serve(Command);
}

}  // namespace

int main(int argc, char** argv) { return bench::GuardedMain("changer_bench", Run, argc, argv); }
