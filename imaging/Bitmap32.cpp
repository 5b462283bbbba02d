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
  pixels_.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
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

void Bitmap32::SetSize(int32_t width, int32_t height) {
  if (width < 0 || height < 0) throw std::invalid_argument("A raster cannot have a negative size");
  if (uint64_t{static_cast<uint32_t>(width)} * static_cast<uint32_t>(height) > kMaxPixels)
    throw std::length_error("The raster is too large");
  if (!store_) store_ = std::make_unique<HeapPixelStore>();
  store_->Release();
  memory_ = {};
  width_ = height_ = 0;
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
  if (image.pixels.size() != uint64_t{image.width} * image.height)
    throw std::invalid_argument("The picture's pixels do not match its size");
  SetSize(static_cast<int32_t>(std::min<uint32_t>(image.width, INT32_MAX)),
          static_cast<int32_t>(std::min<uint32_t>(image.height, INT32_MAX)));
  for (int32_t y = 0; y < height_; ++y)
    std::memcpy(Row(y), image.Row(static_cast<uint32_t>(y)), static_cast<size_t>(width_) * sizeof(uint32_t));
}

}  // namespace imaging
