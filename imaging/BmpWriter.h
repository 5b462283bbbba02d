#pragma once
// Writes a raster as a Windows bitmap file: BITMAPFILEHEADER, a 40-byte BITMAPINFOHEADER (width, positive
// height for bottom-up rows, one plane, 32 bits, BI_RGB, no colour table), then the rows, bottom row first,
// each pixel B, G, R, A.
#include <cstdint>
#include <functional>
#include <span>

#include "imaging/Bitmap32.h"

namespace imaging {

// Receives the file's bytes in order, a header or a row at a time; may throw to stop the write.
using ByteSink = std::function<void(std::span<const uint8_t>)>;

constexpr uint32_t kBmpHeadersSize = 14 + 40;

// Throws std::invalid_argument for an empty raster, which has no bitmap file.
void WriteBmp32(const Bitmap32& raster, const ByteSink& sink);

}  // namespace imaging
