#pragma once
// The TIFF layouts that libtiff's RGBA interface reads wrongly or not at all, read from their samples here:
// RGB with straight (unassociated) alpha, which that interface premultiplies at 8 bits and so loses the
// colour under low alpha; 16-bit CMYK; and floating-point samples.
#include <tiffio.h>

#include <optional>

#include "imaging/Image.h"

namespace imaging {

[[noreturn]] void FailTiff(const char* message);

enum class TiffColour { kRgb, kGrey, kGreyInverted, kCmyk };

struct TiffSampleLayout {
  TiffColour colour;
  uint16_t samplesPerPixel;
  uint16_t bitsPerSample;
  bool floatingPoint;
  bool separatePlanes;
  int alphaSample;  // -1 without alpha
  bool premultiplied;
  bool flipX;
  bool flipY;
};

// The layout of the current directory when it is one of those read here, else nothing.
std::optional<TiffSampleLayout> OwnSampleLayout(TIFF* tiff);

// Reads the pixels strip by strip or tile by tile into image (already of the picture's size). libtiff's own
// error text, when it gives one, lands in libtiffMessage.
void ReadOwnSamples(TIFF* tiff, const TiffSampleLayout& layout, Image& image, const char* libtiffMessage);

}  // namespace imaging
