#pragma once
// What the benchmark programs share: a millisecond clock, the loop that answers the driver's commands, a
// textured test raster, the picture fitted into the screen and the decode alone.
#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#endif

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "imaging/Bitmap32.h"
#include "imaging/FileFormatList.h"
#include "imaging/Jpeg.h"
#include "imaging/Png.h"

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
double TimeMs(Work work) {
  const double start = NowMs();
  work();
  return NowMs() - start;
}

template <typename Work>
double MinimumMs(int runs, Work work) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) best = std::min(best, TimeMs(work));
  return best;
}

// Answers the driver (bench/compare.py): says "ready", then reads one command a line (words separated by
// blanks, "quit" or the end of input to stop) and answers each with its lines and then "end". A command that
// fails answers "error MESSAGE". The driver interleaves the contenders' runs, so each command is one run.
inline int Serve(const std::function<void(const std::vector<std::string>&)>& command) {
  std::printf("ready\n");
  std::fflush(stdout);
  char line[4096];
  while (std::fgets(line, sizeof line, stdin)) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    if (words.empty() || words[0] == "quit") break;
    try {
      command(words);
    } catch (const std::exception& e) {
      std::printf("error %s\n", e.what());
    }
    std::printf("end\n");
    std::fflush(stdout);
  }
  return 0;
}

// The time of each step of one run, printed as "stage NAME MS" lines in the order the steps ran.
class Stages {
public:
  template <typename Work>
  void Time(const std::string& name, Work work) {
    const double ms = TimeMs(work);
    std::printf("stage %s %.2f\n", name.c_str(), ms);
  }
};

// The bytes written into a new file (or over an old one) in one call: the floor of any save.
inline void PlainWrite(const std::string& path, const std::string& bytes) {
#ifdef _WIN32
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
#else
  std::FILE* file = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
#endif
}

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

// The picture decoded as the conversion decodes it, row by row, the pixels dropped: the decoder alone, on the
// thread that reads the rows.
inline void DecodeAlone(const std::string& path, const std::vector<uint8_t>& file) {
  std::unique_ptr<imaging::RowStream> rows;
  if (path.ends_with(".png"))
    rows = std::make_unique<imaging::PngRows>(file);
  else
    rows = std::make_unique<imaging::JpegRows>(file);
  for (int32_t y = 0; y < rows->Height(); ++y) rows->Row(y);
}

// The picture decoded whole, for timing the resampling alone.
inline imaging::Image DecodeWhole(const std::string& path, const std::vector<uint8_t>& file) {
  return path.ends_with(".png") ? imaging::kPngFormat.load(file, {}) : imaging::DecodeJpeg(file);
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
