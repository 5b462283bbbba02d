#pragma once
// Test pictures for the Windows tests: the sample files' Wine paths.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

// A Unix path as Wine sees it (the Unix root is drive Z:), with backslashes only.
inline std::string WinePath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// tests/data/pictures/<name> as Wine sees it.
inline std::string TestPicture(const std::string& name) {
  return WinePath(std::string(ORLO_TEST_DATA) + "/pictures/" + name);
}

// A Windows bitmap file of one colour, 24 bits per pixel.
inline std::string SolidBitmap(COLORREF colour, int width = 4, int height = 4) {
  const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  std::string file(54 + stride * static_cast<uint32_t>(height), '\0');
  auto put32 = [&file](size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>(value >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  file[26] = 1;
  file[28] = 24;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const size_t pixel = 54 + y * stride + x * 3;
      file[pixel] = static_cast<char>(GetBValue(colour));
      file[pixel + 1] = static_cast<char>(GetGValue(colour));
      file[pixel + 2] = static_cast<char>(GetRValue(colour));
    }
  }
  return file;
}

// The colour of the first pixel that a Windows bitmap file of 24 or 32 bits stores; none for a file too short.
inline std::optional<COLORREF> FirstPixel(const std::string& bitmap) {
  if (bitmap.size() < 58) return std::nullopt;
  const uint32_t offset = static_cast<uint8_t>(bitmap[10]) | static_cast<uint8_t>(bitmap[11]) << 8;
  if (offset + 3 > bitmap.size()) return std::nullopt;
  return RGB(static_cast<uint8_t>(bitmap[offset + 2]), static_cast<uint8_t>(bitmap[offset + 1]),
             static_cast<uint8_t>(bitmap[offset]));
}
