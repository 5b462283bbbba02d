// Times our side of the desktop bitmap conversion, in-process, as the minimum of several runs:
//   bench resample SW SH DW DH RUNS         the resampling alone, of a decoded SW x SH raster
//   bench job FILE stretch|fit DW DH RUNS OUT  read, decode, resample to the screen (or fitted into it), save
// Prints "ms <minimum>". Built for Windows it is timed with QueryPerformanceCounter, natively with steady_clock.
#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#endif

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "imaging/Bitmap32.h"
#include "imaging/BmpWriter.h"
#include "imaging/FileFormatList.h"
#include "imaging/Jpeg.h"
#include "imaging/Resample.h"

namespace {

using namespace imaging;

double NowMs() {
#ifdef _WIN32
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
#else
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
#endif
}

template <typename Work>
double MinimumMs(int runs, Work work) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    const double start = NowMs();
    work();
    best = std::min(best, NowMs() - start);
  }
  return best;
}

// A gradient with some texture, so that no pass meets a flat picture.
Bitmap32 TestRaster(int32_t width, int32_t height) {
  Bitmap32 raster;
  raster.SetSize(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      raster.Row(y)[x] = Argb(x * 255 / width, y * 255 / height, static_cast<uint32_t>(x * 7 + y * 13) & 0xFF);
  return raster;
}

// The box fitted to the picture by the smaller scale factor; the other side rounded, halves to even.
void ScaleToFit(int32_t pictureWidth, int32_t pictureHeight, int32_t& width, int32_t& height) {
  const double fx = static_cast<double>(width) / pictureWidth, fy = static_cast<double>(height) / pictureHeight;
  if (fx < fy)
    height = static_cast<int32_t>(std::nearbyint(pictureHeight * fx));
  else
    width = static_cast<int32_t>(std::nearbyint(pictureWidth * fy));
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) throw std::runtime_error("cannot open " + path);
  std::vector<uint8_t> bytes(static_cast<size_t>(in.tellg()));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
    throw std::runtime_error("cannot read " + path);
  return bytes;
}

Image Decode(const std::string& path, const std::vector<uint8_t>& file) {
  if (path.ends_with(".png")) return kPngFormat.load(file, path);
  return DecodeJpeg(file);
}

void SaveBmp(const Bitmap32& raster, const std::string& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  WriteBmp32(raster, [&out](std::span<const uint8_t> bytes) {
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  });
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

void Job(const std::string& path, bool fit, int32_t width, int32_t height, const std::string& outPath) {
  Bitmap32 source;
  source.Assign(Decode(path, ReadFile(path)));
  if (fit) ScaleToFit(source.Width(), source.Height(), width, height);
  Bitmap32 target;
  target.SetSize(width, height);
  target.FillRectS(target.BoundsRect(), Color32FromColorRef(0x008000));
  StretchTransfer(target, target.BoundsRect(), target.BoundsRect(), source, source.BoundsRect());
  SaveBmp(target, outPath);
}

int Run(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "resample" && argc == 7) {
    const Bitmap32 source = TestRaster(std::atoi(argv[2]), std::atoi(argv[3]));
    Bitmap32 target;
    target.SetSize(std::atoi(argv[4]), std::atoi(argv[5]));
    std::printf("ms %.2f\n", MinimumMs(std::atoi(argv[6]), [&] {
                  StretchTransfer(target, target.BoundsRect(), target.BoundsRect(), source, source.BoundsRect());
                }));
    return 0;
  }
  if (mode == "job" && argc == 8) {
    const bool fit = std::string(argv[3]) == "fit";
    std::printf("ms %.2f\n", MinimumMs(std::atoi(argv[6]), [&] {
                  Job(argv[2], fit, std::atoi(argv[4]), std::atoi(argv[5]), argv[7]);
                }));
    return 0;
  }
  std::fprintf(stderr, "usage: bench resample SW SH DW DH RUNS | bench job FILE stretch|fit DW DH RUNS OUT\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench: %s\n", e.what());
    return 1;
  }
}
