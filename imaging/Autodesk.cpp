// Autodesk Animator cel and pic files: a 32-byte little-endian header (magic 0x9119, width, height, origin,
// 8 bits, no compression, image size), a 768-byte palette (6-bit values as the VGA took them; some writers
// stored 8-bit values) and the pixel bytes, top row first.
#include <algorithm>

#include "imaging/ByteReader.h"
#include "imaging/FileFormatList.h"

namespace imaging {

namespace {

constexpr size_t kHeaderSize = 32, kPaletteSize = 768;

bool CanLoad(Bytes head, uint64_t fileSize) {
  if (head.size() < kHeaderSize || Le16(head.data()) != 0x9119) return false;
  const uint32_t width = Le16(head.data() + 2), height = Le16(head.data() + 4);
  const uint32_t imageSize = Le32(head.data() + 12);
  return width > 0 && height > 0 && head[10] == 8 && head[11] == 0 && imageSize == width * height &&
         fileSize >= kHeaderSize + kPaletteSize + uint64_t{imageSize};
}

Image Load(Bytes file, Bytes) {
  if (!CanLoad(file, file.size())) throw DecodeError("Not an Autodesk Animator image");
  const uint32_t width = Le16(file.data() + 2), height = Le16(file.data() + 4);
  const Bytes palette = Slice(file, kHeaderSize, kPaletteSize);
  const Bytes pixels = Slice(file, kHeaderSize + kPaletteSize, uint64_t{width} * height);
  const bool sixBit = std::all_of(palette.begin(), palette.end(), [](uint8_t v) { return v < 64; });
  uint32_t colours[256];
  for (size_t i = 0; i < 256; ++i) {
    const auto level = [&](size_t c) { return sixBit ? palette[3 * i + c] * 255u / 63 : uint32_t{palette[3 * i + c]}; };
    colours[i] = Argb(level(0), level(1), level(2));
  }
  Image image = AllocateImage(width, height, 8);
  for (size_t i = 0; i < pixels.size(); ++i) image.pixels[i] = colours[pixels[i]];
  return image;
}

}  // namespace

const FileFormat kAutodeskFormat = {
    "TAutodeskGraphic",
    {{"cel", "Autodesk images"},
     {"pic", "Autodesk images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
