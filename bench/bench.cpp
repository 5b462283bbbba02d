// The imaging side of the desktop bitmap conversion, built natively: the same decoders, raster, resampler and
// bitmap writer as the program, without the platform classes. Times are the minimum of several runs:
//   bench resample SW SH DW DH RUNS         the resampling alone, of a SW x SH raster
//   bench job FILE stretch|fit DW DH RUNS OUT  read, decode, resample to the screen (or fitted into it), save
// Prints "ms <minimum>", and for a job "stage NAME MS" for each of its steps, and for the decode alone.
#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <vector>

#include "bench/Timing.h"
#include "imaging/BmpWriter.h"
#include "imaging/FileFormatList.h"
#include "imaging/Jpeg.h"
#include "imaging/Resample.h"

namespace {

using namespace imaging;

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) throw std::runtime_error("cannot open " + path);
  std::vector<uint8_t> bytes(static_cast<size_t>(in.tellg()));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
    throw std::runtime_error("cannot read " + path);
  return bytes;
}

void SaveBmp(const Bitmap32& raster, const std::string& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  WriteBmp32(raster, [&out](std::span<const uint8_t> bytes) {
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  });
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

// As the program converts: a JPEG picture is resampled from its rows as they are decoded, any other picture
// is decoded whole into a raster first.
void Job(bench::Stages& stages, const std::string& path, bool fit, int32_t width, int32_t height,
         const std::string& outPath) {
  std::vector<uint8_t> file;
  std::unique_ptr<RowStream> rows;
  Bitmap32 source;
  stages.Time("load", [&] {
    file = ReadFile(path);
    if (path.ends_with(".png"))
      source.Assign(kPngFormat.load(file, {}));
    else
      rows = std::make_unique<JpegRows>(file);
  });
  if (!rows) rows = std::make_unique<RasterRows>(source);
  if (fit) bench::FitInto(rows->Width(), rows->Height(), width, height);
  Bitmap32 target;
  stages.Time("resample", [&] {
    target.SetSize(width, height);
    target.FillRectS(target.BoundsRect(), Color32FromColorRef(0x008000));
    StretchTransfer(target, target.BoundsRect(), target.BoundsRect(), *rows, {0, 0, rows->Width(), rows->Height()});
  });
  stages.Time("save", [&] { SaveBmp(target, outPath); });
}

int Run(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "resample" && argc == 7) {
    Bitmap32 source;
    source.SetSize(std::atoi(argv[2]), std::atoi(argv[3]));
    bench::FillTestRaster(source);
    Bitmap32 target;
    target.SetSize(std::atoi(argv[4]), std::atoi(argv[5]));
    std::printf("ms %.2f\n", bench::MinimumMs(std::atoi(argv[6]), [&] {
                  StretchTransfer(target, target.BoundsRect(), target.BoundsRect(), source, source.BoundsRect());
                }));
    return 0;
  }
  if (mode == "job" && argc == 8) {
    const bool fit = std::string(argv[3]) == "fit";
    bench::Stages stages;
    std::printf("ms %.2f\n", bench::MinimumMs(std::atoi(argv[6]), [&] {
                  Job(stages, argv[2], fit, std::atoi(argv[4]), std::atoi(argv[5]), argv[7]);
                }));
    const std::vector<uint8_t> file = ReadFile(argv[2]);
    for (int i = 0; i < std::atoi(argv[6]); ++i) stages.Time("decode", [&] { bench::DecodeAlone(argv[2], file); });
    stages.Print();
    return 0;
  }
  std::fprintf(stderr, "usage: bench resample SW SH DW DH RUNS | bench job FILE stretch|fit DW DH RUNS OUT\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) { return bench::GuardedMain("bench", Run, argc, argv); }
