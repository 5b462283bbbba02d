#pragma once
// JPEG files through libjpeg: baseline, progressive, greyscale, CMYK and YCCK (Adobe inverted CMYK too).
#include <functional>

#include "imaging/FileFormat.h"

namespace imaging {

Image DecodeJpeg(Bytes file);

struct JpegFrame {
  uint32_t width;
  uint32_t height;
  uint32_t bitsPerPixel;  // 8 for greyscale, else 24
};

// Decodes straight into memory of the caller's: once the header is read, allocate receives the picture's
// frame (already within CheckDimensions) and returns the rows to fill, each pixel B, G, R (bytesPerPixel 3)
// or B, G, R, 255 (bytesPerPixel 4). Throws DecodeError, or what allocate throws; the rows may then be
// partly written.
void DecodeJpeg(Bytes file, int bytesPerPixel, const std::function<PixelRows(const JpegFrame&)>& allocate);

}  // namespace imaging
