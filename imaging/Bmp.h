#pragma once
// Windows bitmap files: every header version, 1/4/8/16/24/32 bits, RLE4/RLE8, bit-field masks, both row orders.
#include <cstdint>

#include "imaging/FileFormat.h"

namespace imaging {

// The layout of a bitmap file's pixels, as its header states it.
struct BmpLayout {
  uint32_t bitCount = 0;     // 1, 4, 8, 16, 24 or 32
  uint32_t compression = 0;  // BI_RGB 0, BI_RLE8 1, BI_RLE4 2, BI_BITFIELDS 3, BI_ALPHABITFIELDS 6
  bool hasMasks = false;     // the file gives colour masks (bit fields)
  uint32_t redMask = 0, greenMask = 0, blueMask = 0, alphaMask = 0;
};

// Decodes a .bmp/.dib/.rle file (starting with "BM"); fills layout when given.
Image DecodeBmp(Bytes file, BmpLayout* layout = nullptr);

}  // namespace imaging
