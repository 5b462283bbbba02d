#pragma once
// A decoded picture: 32-bit pixels, top row first, each 0xAARRGGBB (in memory B, G, R, A, as a Windows
// 32-bit DIB lays them out), with the width, height and bits per pixel that the file states.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
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

// An allocator whose resize leaves new pixels unwritten, for pictures that a decoder then writes whole: a
// fill first would only add a pass over the whole picture. assign and value-initialisation still fill.
template <class T>
struct UninitialisedAllocator : std::allocator<T> {
  template <class U>
  struct rebind {
    using other = UninitialisedAllocator<U>;
  };
  UninitialisedAllocator() = default;
  template <class U>
  UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
  template <class U>
  void construct(U* place) noexcept {
    ::new (static_cast<void*>(place)) U;
  }
  template <class U, class... Args>
  void construct(U* place, Args&&... args) {
    ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
  }
};

using Pixels = std::vector<uint32_t, UninitialisedAllocator<uint32_t>>;

struct Image {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t bitsPerPixel = 0;
  bool hasAlpha = false;
  Pixels pixels;

  uint32_t* Row(uint32_t y) { return pixels.data() + static_cast<size_t>(y) * width; }
  const uint32_t* Row(uint32_t y) const { return pixels.data() + static_cast<size_t>(y) * width; }
};

// Rows of pixels in memory of someone else's: row y (top row 0) starts at first + y * stride bytes, so a
// bottom-up bitmap gives its last row and a negative stride.
struct PixelRows {
  uint8_t* first = nullptr;
  ptrdiff_t stride = 0;

  uint8_t* Row(uint32_t y) const { return first + static_cast<ptrdiff_t>(y) * stride; }
};

// Fails unless 0 < width, 0 < height and width x height <= kMaxPixels.
void CheckDimensions(uint64_t width, uint64_t height);

// Allocates an image after CheckDimensions; pixels start opaque black. Allocation failure is a DecodeError.
Image AllocateImage(uint64_t width, uint64_t height, uint32_t bitsPerPixel);
// The same with the pixels left unwritten, for decoders that write every pixel or fail.
Image AllocateImageForOverwrite(uint64_t width, uint64_t height, uint32_t bitsPerPixel);

inline uint32_t Argb(uint32_t r, uint32_t g, uint32_t b, uint32_t a = 255) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

}  // namespace imaging
