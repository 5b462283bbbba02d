#pragma once
// A decoded picture: 32-bit pixels, top row first, each 0xAARRGGBB (in memory B, G, R, A, as a Windows
// 32-bit DIB lays them out), with the width, height and bits per pixel that the file states.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace imaging {

// Any file that cannot be decoded: bad header, truncated data, a picture too large for the process.
class DecodeError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The largest picture that we allocate: 2^26 pixels (256 MB as 32-bit pixels), so that the decoded
// picture, its device bitmap and a resampled copy still fit the 2 GB of a 32-bit process.
constexpr uint64_t kMaxPixels = uint64_t{1} << 26;

struct Image {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t bitsPerPixel = 0;
  bool hasAlpha = false;
  std::vector<uint32_t> pixels;

  uint32_t* Row(uint32_t y) { return pixels.data() + static_cast<size_t>(y) * width; }
  const uint32_t* Row(uint32_t y) const { return pixels.data() + static_cast<size_t>(y) * width; }
};

// Fails unless 0 < width, 0 < height and width x height <= kMaxPixels.
void CheckDimensions(uint64_t width, uint64_t height);

// Allocates an image after CheckDimensions; pixels start opaque black. Allocation failure is a DecodeError.
Image AllocateImage(uint64_t width, uint64_t height, uint32_t bitsPerPixel);

inline uint32_t Argb(uint32_t r, uint32_t g, uint32_t b, uint32_t a = 255) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

}  // namespace imaging
