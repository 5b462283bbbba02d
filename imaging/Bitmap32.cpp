#include "imaging/Bitmap32.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace imaging {

Rect Intersect(const Rect& a, const Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

PixelMemory HeapPixelStore::Allocate(int32_t width, int32_t height) {
  pixels_.clear();
  pixels_.shrink_to_fit();
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  return {pixels_.data(), width};
}

PixelMemory PixelStore::Adopt(Pixels&& pixels, int32_t width, int32_t height) {
  const PixelMemory memory = Allocate(width, height);
  for (int32_t y = 0; y < height; ++y)
    std::memcpy(memory.pixels + y * memory.stride, pixels.data() + static_cast<size_t>(y) * width,
                static_cast<size_t>(width) * sizeof(uint32_t));
  return memory;
}

PixelMemory HeapPixelStore::Adopt(Pixels&& pixels, int32_t width, int32_t /*height*/) {
  pixels_ = std::move(pixels);
  return {pixels_.data(), width};
}

void HeapPixelStore::Release() {
  pixels_.clear();
  pixels_.shrink_to_fit();
}

Bitmap32::Bitmap32() : store_(std::make_unique<HeapPixelStore>()) {}

Bitmap32::Bitmap32(std::unique_ptr<PixelStore> store) : store_(std::move(store)) {
  if (!store_) throw std::invalid_argument("A raster needs a pixel store");
}

Bitmap32::Bitmap32(Bitmap32&& other) noexcept
    : store_(std::move(other.store_)),
      memory_(std::exchange(other.memory_, {})),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

Bitmap32& Bitmap32::operator=(Bitmap32&& other) noexcept {
  Bitmap32 taken(std::move(other));
  std::swap(store_, taken.store_);
  std::swap(memory_, taken.memory_);
  std::swap(width_, taken.width_);
  std::swap(height_, taken.height_);
  return *this;
}

void Bitmap32::CheckSize(int64_t width, int64_t height) {
  if (width < 0 || height < 0) throw std::invalid_argument("A raster cannot have a negative size");
  const auto w = static_cast<uint64_t>(width), h = static_cast<uint64_t>(height);
  if (w > kMaxPixels || h > kMaxPixels || w * h > kMaxPixels)
    throw std::length_error("The raster is too large");
}

void Bitmap32::CheckPicture(const Image& image) {
  if (image.pixels.size() != uint64_t{image.width} * image.height)
    throw std::invalid_argument("The picture's pixels do not match its size");
  CheckSize(image.width, image.height);
}

void Bitmap32::Clear() {
  if (!store_) store_ = std::make_unique<HeapPixelStore>();
  store_->Release();
  memory_ = {};
  width_ = height_ = 0;
}

void Bitmap32::SetSize(int32_t width, int32_t height) {
  CheckSize(width, height);
  Clear();
  if (width == 0 || height == 0) return;
  memory_ = store_->Allocate(width, height);
  width_ = width;
  height_ = height;
}

void Bitmap32::FillRectS(const Rect& rect, Color32 color) {
  const Rect area = Intersect(rect, BoundsRect());
  if (area.IsEmpty()) return;
  for (int32_t y = area.top; y < area.bottom; ++y) std::fill(Row(y) + area.left, Row(y) + area.right, color);
}

void Bitmap32::Assign(const Bitmap32& other) {
  if (&other == this) return;
  SetSize(other.width_, other.height_);
  for (int32_t y = 0; y < height_; ++y)
    std::memcpy(Row(y), other.Row(y), static_cast<size_t>(width_) * sizeof(uint32_t));
}

void Bitmap32::Assign(const Image& image) {
  CheckPicture(image);
  SetSize(static_cast<int32_t>(image.width), static_cast<int32_t>(image.height));
  for (int32_t y = 0; y < height_; ++y)
    std::memcpy(Row(y), image.Row(static_cast<uint32_t>(y)), static_cast<size_t>(width_) * sizeof(uint32_t));
}

void Bitmap32::Assign(Image&& image) {
  CheckPicture(image);
  Clear();
  if (image.pixels.empty()) return;
  const auto width = static_cast<int32_t>(image.width), height = static_cast<int32_t>(image.height);
  memory_ = store_->Adopt(std::move(image.pixels), width, height);
  width_ = width;
  height_ = height;
}

}  // namespace imaging
