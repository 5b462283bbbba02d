#pragma once
// What both benchmarks share: a millisecond clock, the minimum over runs, a textured test raster, the
// picture fitted into the screen and the decode alone.
#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#endif

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <map>
#include <string>
#include <vector>

#include "imaging/Bitmap32.h"
#include "imaging/FileFormatList.h"
#include "imaging/Jpeg.h"

namespace bench {

inline double NowMs() {
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

// The fastest time of each named stage over several runs of a job, printed as "stage NAME MS" lines.
class Stages {
public:
  template <typename Work>
  void Time(const std::string& name, Work work) {
    const double start = NowMs();
    work();
    Add(name, NowMs() - start);
  }
  void Add(const std::string& name, double ms) {
    const auto [entry, added] = best_.try_emplace(name, ms);
    if (!added) entry->second = std::min(entry->second, ms);
    if (added) order_.push_back(name);
  }
  void Print() const {
    for (const std::string& name : order_) std::printf("stage %s %.2f\n", name.c_str(), best_.at(name));
  }

private:
  std::map<std::string, double> best_;
  std::vector<std::string> order_;
};

// A gradient with some texture, so that no pass meets a flat picture.
inline imaging::Bitmap32& FillTestRaster(imaging::Bitmap32& raster) {
  for (int32_t y = 0; y < raster.Height(); ++y)
    for (int32_t x = 0; x < raster.Width(); ++x)
      raster.Row(y)[x] = imaging::Argb(x * 255 / raster.Width(), y * 255 / raster.Height(),
                                       static_cast<uint32_t>(x * 7 + y * 13) & 0xFF);
  return raster;
}

// The box fitted to the picture by the smaller scale factor; the other side rounded, halves to even.
inline void FitInto(int32_t pictureWidth, int32_t pictureHeight, int32_t& width, int32_t& height) {
  const double fx = static_cast<double>(width) / pictureWidth, fy = static_cast<double>(height) / pictureHeight;
  if (fx < fy)
    height = static_cast<int32_t>(std::nearbyint(pictureHeight * fx));
  else
    width = static_cast<int32_t>(std::nearbyint(pictureWidth * fy));
}

// The picture decoded as the conversion decodes it, the pixels dropped: a PNG picture whole, a JPEG picture
// row by row.
inline void DecodeAlone(const std::string& path, const std::vector<uint8_t>& file) {
  if (path.ends_with(".png")) {
    imaging::kPngFormat.load(file, {});
    return;
  }
  imaging::JpegRows rows(file);
  for (int32_t y = 0; y < rows.Height(); ++y) rows.Row(y);
}

// A bench program's main: runs it and turns an exception into a message and exit status 1.
inline int GuardedMain(const char* program, int (*run)(int, char**), int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", program, e.what());
    return 1;
  }
}

}  // namespace bench
