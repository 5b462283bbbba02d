// Kodak Photo-CD image pacs. The image pac identifies itself with "PCD_IPI" at 0x800; its orientation is the
// low two bits of the byte at 0xE02 (quarter turns). The three lower resolutions are stored uncompressed at
// fixed offsets, each as groups of two luma rows followed by one row of each chroma channel at half
// resolution, in Kodak's PhotoYCC encoding. A chroma sample belongs to the pixel at the even column of the
// even row of its 2 x 2 block; the pixels between take the mean of their neighbouring samples, as Kodak's own
// decoder interpolates them, rather than a copy of one.
#include "imaging/Pcd.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "imaging/ByteReader.h"
#include "imaging/FileFormatList.h"

namespace imaging {

namespace {

constexpr size_t kSignatureOffset = 0x800, kOrientationOffset = 0xE02;

struct Layout {
  uint32_t width, height;
  size_t offset;
};

Layout LayoutOf(PcdResolution resolution) {
  switch (resolution) {
    case PcdResolution::Base16: return {192, 128, 0x2000};
    case PcdResolution::Base4: return {384, 256, 0xB800};
    default: return {768, 512, 0x30000};
  }
}

bool CanLoad(Bytes head, uint64_t) {
  return head.size() >= kSignatureOffset + 7 && std::memcmp(head.data() + kSignatureOffset, "PCD_IPI", 7) == 0;
}

uint8_t Clamp(double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 255.0))); }

uint32_t YccToArgb(uint8_t y, uint8_t c1, uint8_t c2) {
  const double luma = 1.3584 * y, chroma1 = 2.2179 * (c1 - 156), chroma2 = 1.8215 * (c2 - 137);
  return Argb(Clamp(luma + chroma2), Clamp(luma - 0.194 * chroma1 - 0.509 * chroma2), Clamp(luma + chroma1));
}

// Chroma plane 0 or 1, interpolated at pixel (x, y) of a w x h resolution whose samples start at data.
uint8_t ChromaAt(const uint8_t* data, const Layout& layout, size_t plane, uint32_t x, uint32_t y) {
  const size_t w = layout.width;
  const uint32_t lastX = layout.width / 2 - 1, lastY = layout.height / 2 - 1;
  const uint32_t x0 = x / 2, y0 = y / 2, x1 = std::min(x0 + (x & 1), lastX), y1 = std::min(y0 + (y & 1), lastY);
  auto sample = [&](uint32_t sx, uint32_t sy) -> uint32_t { return data[sy * 3 * w + 2 * w + plane * w / 2 + sx]; };
  return static_cast<uint8_t>((sample(x0, y0) + sample(x1, y0) + sample(x0, y1) + sample(x1, y1) + 2) / 4);
}

// Turns the upright picture by the stored number of quarter turns: 1 counter-clockwise, 3 clockwise.
Image Rotate(const Image& in, uint32_t quarterTurns) {
  if (quarterTurns == 0) return in;
  const bool swap = quarterTurns != 2;
  Image out = AllocateImage(swap ? in.height : in.width, swap ? in.width : in.height, in.bitsPerPixel);
  for (uint32_t y = 0; y < in.height; ++y)
    for (uint32_t x = 0; x < in.width; ++x) {
      const uint32_t pixel = in.Row(y)[x];
      if (quarterTurns == 1)
        out.Row(in.width - 1 - x)[y] = pixel;
      else if (quarterTurns == 3)
        out.Row(x)[in.height - 1 - y] = pixel;
      else
        out.Row(in.height - 1 - y)[in.width - 1 - x] = pixel;
    }
  return out;
}

Image Load(Bytes file, Bytes) { return DecodePcd(file, PcdResolution::Base); }

}  // namespace

Image DecodePcd(Bytes file, PcdResolution resolution) {
  if (!CanLoad(file, file.size()) || file.size() <= kOrientationOffset) throw DecodeError("Not a Photo-CD image");
  const Layout layout = LayoutOf(resolution);
  const size_t w = layout.width;
  const Bytes data = Slice(file, layout.offset, 3 * w * layout.height / 2);
  Image image = AllocateImage(layout.width, layout.height, 24);
  for (uint32_t y = 0; y < layout.height; ++y) {
    const uint8_t* luma = data.data() + y / 2 * 3 * w + (y & 1) * w;
    uint32_t* out = image.Row(y);
    for (uint32_t x = 0; x < layout.width; ++x)
      out[x] = YccToArgb(luma[x], ChromaAt(data.data(), layout, 0, x, y), ChromaAt(data.data(), layout, 1, x, y));
  }
  return Rotate(image, file[kOrientationOffset] & 3);
}

const FileFormat kPcdFormat = {
    "TPCDGraphic",
    {{"pcd", "Kodak Photo-CD images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
