#pragma once
// A 32-bit raster: one 0xAARRGGBB pixel per position, top row first (in memory B, G, R, A, as a 32-bit DIB).
// The pixels live in a PixelStore: the heap by default; the platform gives a store that places them in a DIB
// section, so that GDI draws into and from the same memory.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/Image.h"

namespace imaging {

using Color32 = uint32_t;

// Left, top, right, bottom; right and bottom exclusive, so a whole W x H raster is {0, 0, W, H}.
struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;

  int64_t Width() const { return int64_t{right} - left; }
  int64_t Height() const { return int64_t{bottom} - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool operator==(const Rect&) const = default;
};

Rect Intersect(const Rect& a, const Rect& b);

// A platform colour value (red in the low byte, then green, then blue) as an opaque Color32.
constexpr Color32 Color32FromColorRef(uint32_t colorRef) {
  return 0xFF000000u | (colorRef & 0xFFu) << 16 | (colorRef & 0xFF00u) | (colorRef >> 16 & 0xFFu);
}

// Where the pixels of a W x H raster start and how many pixels apart its rows are.
struct PixelMemory {
  uint32_t* pixels = nullptr;
  ptrdiff_t stride = 0;
};

class PixelStore {
public:
  virtual ~PixelStore() = default;
  // Drops the old pixels and makes room for width x height zeroed pixels (width, height > 0); throws on failure.
  virtual PixelMemory Allocate(int32_t width, int32_t height) = 0;
  // Drops the pixels: the raster is now empty.
  virtual void Release() = 0;
  // Drops the old pixels and takes width x height pixels laid out top-down without gaps: copies them by
  // default; a store that can keep the vector itself saves the copy of a whole picture.
  virtual PixelMemory Adopt(Pixels&& pixels, int32_t width, int32_t height);
};

class HeapPixelStore final : public PixelStore {
public:
  PixelMemory Allocate(int32_t width, int32_t height) override;
  void Release() override;
  PixelMemory Adopt(Pixels&& pixels, int32_t width, int32_t height) override;

private:
  Pixels pixels_;
};

// The raster owns its store, which may own a system handle: moving is allowed (the source is left empty,
// and takes a heap store when it is sized again), copying is Assign.
class Bitmap32 {
public:
  Bitmap32();
  explicit Bitmap32(std::unique_ptr<PixelStore> store);
  Bitmap32(Bitmap32&& other) noexcept;
  Bitmap32& operator=(Bitmap32&& other) noexcept;
  Bitmap32(const Bitmap32&) = delete;
  Bitmap32& operator=(const Bitmap32&) = delete;

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  bool IsEmpty() const { return width_ == 0 || height_ == 0; }
  Rect BoundsRect() const { return {0, 0, width_, height_}; }
  ptrdiff_t Stride() const { return memory_.stride; }
  uint32_t* Row(int32_t y) { return memory_.pixels + y * memory_.stride; }
  const uint32_t* Row(int32_t y) const { return memory_.pixels + y * memory_.stride; }
  Color32 Pixel(int32_t x, int32_t y) const { return Row(y)[x]; }

  // New size, pixels zeroed (transparent black). A zero side empties the raster. Negative sides and more
  // than kMaxPixels pixels throw std::invalid_argument and std::length_error.
  void SetSize(int32_t width, int32_t height);
  // Fills the rectangle, clipped to the raster.
  void FillRectS(const Rect& rect, Color32 color);
  // An exact copy of the other raster's size and pixels (into this raster's own store).
  void Assign(const Bitmap32& other);
  // The picture's size and pixels, as decoded; from a temporary, its pixels are taken over without a copy
  // where the store allows.
  void Assign(const Image& image);
  void Assign(Image&& image);

private:
  static void CheckSize(int64_t width, int64_t height);
  static void CheckPicture(const Image& image);
  void Clear();

  std::unique_ptr<PixelStore> store_;
  PixelMemory memory_;
  int32_t width_ = 0;
  int32_t height_ = 0;
};

}  // namespace imaging
