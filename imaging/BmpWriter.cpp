#include "imaging/BmpWriter.h"

#include <array>
#include <bit>
#include <stdexcept>

namespace imaging {
namespace {

class LittleEndianWriter {
public:
  explicit LittleEndianWriter(uint8_t* out) : out_(out) {}
  void U16(uint32_t value) { Bytes(value, 2); }
  void U32(uint32_t value) { Bytes(value, 4); }

private:
  void Bytes(uint32_t value, int count) {
    for (int i = 0; i < count; ++i) *out_++ = static_cast<uint8_t>(value >> (8 * i));
  }
  uint8_t* out_;
};

std::array<uint8_t, kBmpHeadersSize> Headers(int32_t width, int32_t height) {
  // kMaxPixels x 4 bytes stays far below 2^32, so the sizes cannot wrap.
  const uint32_t imageSize = static_cast<uint32_t>(width) * static_cast<uint32_t>(height) * 4;
  std::array<uint8_t, kBmpHeadersSize> headers{};
  LittleEndianWriter out(headers.data());
  out.U16('B' | 'M' << 8);
  out.U32(kBmpHeadersSize + imageSize);  // bfSize
  out.U32(0);                            // bfReserved1, bfReserved2
  out.U32(kBmpHeadersSize);              // bfOffBits
  out.U32(40);                           // biSize
  out.U32(static_cast<uint32_t>(width));
  out.U32(static_cast<uint32_t>(height));  // positive: bottom-up rows
  out.U16(1);                              // biPlanes
  out.U16(32);                             // biBitCount
  out.U32(0);                              // biCompression BI_RGB
  out.U32(imageSize);                      // biSizeImage
  // biXPelsPerMeter, biYPelsPerMeter, biClrUsed, biClrImportant stay 0.
  return headers;
}

}  // namespace

// The resampler needs x86 anyway; there a pixel 0xAARRGGBB is B, G, R, A in memory, as the file wants it.
static_assert(std::endian::native == std::endian::little);

void WriteBmp32(const Bitmap32& raster, const ByteSink& sink) {
  if (raster.IsEmpty()) throw std::invalid_argument("An empty raster has no bitmap file");
  sink(Headers(raster.Width(), raster.Height()));
  const size_t rowBytes = static_cast<size_t>(raster.Width()) * 4;
  // Rows that lie bottom-up without gaps, as in a bottom-up DIB section, are the file's pixels already.
  const int32_t bottom = raster.Height() - 1;
  if (raster.Stride() == -static_cast<ptrdiff_t>(raster.Width()))
    return sink({reinterpret_cast<const uint8_t*>(raster.Row(bottom)), rowBytes * static_cast<size_t>(raster.Height())});
  for (int32_t y = bottom; y >= 0; --y) sink({reinterpret_cast<const uint8_t*>(raster.Row(y)), rowBytes});
}

}  // namespace imaging
