#include "imaging/Image.h"

#include <algorithm>
#include <new>

namespace imaging {

void CheckDimensions(uint64_t width, uint64_t height) {
  if (width == 0 || height == 0) throw DecodeError("Picture has no pixels");
  if (width > kMaxPixels || height > kMaxPixels || width * height > kMaxPixels)
    throw DecodeError("Picture is too large (" + std::to_string(width) + " x " + std::to_string(height) +
                      " pixels)");
}

Image AllocateImageForOverwrite(uint64_t width, uint64_t height, uint32_t bitsPerPixel) {
  CheckDimensions(width, height);
  Image image;
  image.width = static_cast<uint32_t>(width);
  image.height = static_cast<uint32_t>(height);
  image.bitsPerPixel = bitsPerPixel;
  try {
    image.pixels.resize(static_cast<size_t>(width * height));
  } catch (const std::bad_alloc&) {
    throw DecodeError("Not enough memory for the picture");
  }
  return image;
}

Image AllocateImage(uint64_t width, uint64_t height, uint32_t bitsPerPixel) {
  Image image = AllocateImageForOverwrite(width, height, bitsPerPixel);
  std::fill(image.pixels.begin(), image.pixels.end(), 0xFF000000u);
  return image;
}

}  // namespace imaging
