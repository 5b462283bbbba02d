// Dr. Halo cut files: a 6-byte little-endian header (width, height, a reserved word), then one record per row:
// a byte count and RLE codes (0 ends the row, a set high bit repeats the next byte, otherwise that many bytes
// are copied). The colours live in a palette file of the same name with the extension ".pal": an "AH" header
// of 40 bytes, then 16-bit R, G, B triples in 512-byte blocks (the header counting in the first one) that no
// triple crosses; the caller reads that file. Without a palette the indexes are shown as grey levels. The file
// has no signature, so the content test never accepts it and it loads by its extension only.
#include <vector>

#include "imaging/ByteReader.h"
#include "imaging/FileFormatList.h"
#include "imaging/Pixels.h"

namespace imaging {

namespace {

constexpr size_t kPaletteHeaderSize = 40, kPaletteBlockSize = 512;

bool CanLoad(Bytes, uint64_t) { return false; }

Palette ParsePalette(Bytes file) {
  if (file.size() < kPaletteHeaderSize || file[0] != 'A' || file[1] != 'H' || file[6] != 0x0A)
    throw DecodeError("Dr. Halo palette file is invalid");
  const uint32_t count = Le16(file.data() + 12) + 1u;
  const uint32_t maxima[3] = {Le16(file.data() + 14), Le16(file.data() + 16), Le16(file.data() + 18)};
  if (count > 256 || maxima[0] == 0 || maxima[1] == 0 || maxima[2] == 0)
    throw DecodeError("Dr. Halo palette file is invalid");
  Palette palette = BlackPalette();
  size_t at = kPaletteHeaderSize;
  for (uint32_t i = 0; i < count; ++i) {
    if (kPaletteBlockSize - at % kPaletteBlockSize < 6) at += kPaletteBlockSize - at % kPaletteBlockSize;
    const Bytes triple = Slice(file, at, 6);
    at += 6;
    uint32_t levels[3];
    for (int c = 0; c < 3; ++c) levels[c] = std::min<uint32_t>(Le16(triple.data() + 2 * c), maxima[c]) * 255 / maxima[c];
    palette[i] = Argb(levels[0], levels[1], levels[2]);
  }
  return palette;
}


void DecodeRow(Bytes in, const Palette& palette, uint32_t* out, uint32_t width) {
  size_t i = 0;
  uint32_t x = 0;
  while (i < in.size()) {
    const uint8_t code = in[i++];
    if (code == 0) break;
    const uint32_t count = code & 0x7F;
    if (count > width - x) throw DecodeError("Dr. Halo row overflows the picture width");
    if (code & 0x80) {
      if (i >= in.size()) throw DecodeError("Dr. Halo row is truncated");
      std::fill_n(out + x, count, palette[in[i++]]);
    } else {
      if (count > in.size() - i) throw DecodeError("Dr. Halo row is truncated");
      for (uint32_t n = 0; n < count; ++n) out[x + n] = palette[in[i++]];
    }
    x += count;
  }
  if (x != width) throw DecodeError("Dr. Halo row is shorter than the picture width");
}

Image Load(Bytes file, Bytes palette) {
  ByteReader in(file);
  const uint32_t width = in.U16Le(), height = in.U16Le();
  in.Skip(2);
  CheckDimensions(width, height);
  if (uint64_t{height} * 2 > in.Remaining()) throw DecodeError("Dr. Halo file is truncated");
  const Palette colours = palette.empty() ? GreyPalette() : ParsePalette(palette);
  Image image = AllocateImage(width, height, 8);
  for (uint32_t y = 0; y < height; ++y) DecodeRow(in.Take(in.U16Le()), colours, image.Row(y), width);
  return image;
}

}  // namespace

const FileFormat kCutFormat = {
    "TCUTGraphic",
    {{"cut", "Dr. Halo images"}},
    CanLoad,
    Load,
    ".pal",
};

}  // namespace imaging
