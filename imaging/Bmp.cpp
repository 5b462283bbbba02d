// Windows and OS/2 bitmaps. Layout: a 14-byte file header ("BM", file size, reserved, offset of the pixels),
// an info header that starts with its own size (12: OS/2 1.x, 16-bit sizes, 3-byte palette entries; 16 or 64:
// OS/2 2.x; 40, 52, 56, 108, 124: Windows, with colour masks inside from 52 bytes on), the masks after a
// 40-byte header for BI_BITFIELDS, the palette, then at the pixel offset the rows, bottom-up unless the height
// is negative, each padded to 4 bytes; or RLE8/RLE4 codes (count and value runs; escapes for end of line, end
// of bitmap, a delta jump over pixels that stay black, and absolute runs padded to 2 bytes).
// Hostile files: offsets beyond the file or inside the headers, palette sizes beyond the bit count, indices
// beyond the palette (black), masks that are not contiguous or wider than the pixel, a height of INT32_MIN,
// RLE runs past the row or the last row, codes that end early; and an RLE file may legitimately claim a large
// picture from a few bytes, so only the pixel limit bounds it.
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "imaging/Bmp.h"
#include "imaging/ByteReader.h"
#include "imaging/Pixels.h"
#include "imaging/SampleScale.h"

namespace imaging {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr size_t kLargestHeaderSize = 124;
constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

struct BmpInfo {
  uint32_t headerSize = 0;
  uint32_t width = 0, height = 0;
  bool topDown = false;
  uint32_t bitCount = 0, compression = 0, colorsUsed = 0;
  std::array<uint32_t, 4> masks{};  // red, green, blue, alpha

  bool IsOs2() const { return headerSize == kCoreHeaderSize || headerSize == 16 || headerSize == 64; }
  bool HasMasks() const { return compression == kBitFields || compression == kAlphaBitFields; }
  bool IsRle() const { return compression == kRle8 || compression == kRle4; }
};

bool IsKnownHeaderSize(uint32_t size) {
  switch (size) {
    case 12: case 16: case 40: case 52: case 56: case 64: case 108: case 124: return true;
    default: return false;
  }
}

void SetHeight(BmpInfo& info, int32_t height) {
  if (height == INT32_MIN) throw DecodeError("Bitmap height is out of range");
  info.topDown = height < 0;
  info.height = static_cast<uint32_t>(height < 0 ? -height : height);
}

// The info header, zero-extended to its largest version so that short OS/2 2.x headers read as zeros.
BmpInfo ReadInfoHeader(ByteReader& in) {
  BmpInfo info;
  info.headerSize = in.U32Le();
  if (!IsKnownHeaderSize(info.headerSize)) throw DecodeError("Unknown bitmap header version");
  uint8_t h[kLargestHeaderSize] = {};
  const Bytes body = in.Take(info.headerSize - 4);
  std::memcpy(h + 4, body.data(), body.size());
  if (info.headerSize == kCoreHeaderSize) {
    info.width = Le16(h + 4);
    info.height = Le16(h + 6);
    info.bitCount = Le16(h + 10);
    return info;
  }
  info.width = Le32(h + 4);
  if (static_cast<int32_t>(info.width) < 0) throw DecodeError("Bitmap width is negative");
  SetHeight(info, static_cast<int32_t>(Le32(h + 8)));
  info.bitCount = Le16(h + 14);
  info.compression = Le32(h + 16);
  info.colorsUsed = Le32(h + 32);
  for (size_t i = 0; i < 4; ++i) info.masks[i] = Le32(h + 40 + 4 * i);
  if (info.headerSize < 56) info.masks[3] = 0;
  return info;
}

void CheckCompression(const BmpInfo& info) {
  const uint32_t bits = info.bitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    throw DecodeError("Unsupported bitmap bit count");
  const uint32_t c = info.compression;
  const bool fits = c == kRgb || (c == kRle8 && bits == 8) || (c == kRle4 && bits == 4) ||
                    (!info.IsOs2() && info.HasMasks() && (bits == 16 || bits == 32));
  if (!fits) throw DecodeError("Unsupported bitmap compression");
}

// A contiguous colour mask, as shift and width.
struct Channel {
  uint32_t mask = 0, shift = 0, bits = 0;

  explicit Channel(uint32_t m, uint32_t bitCount) : mask(m) {
    if (m == 0) return;
    shift = static_cast<uint32_t>(std::countr_zero(m));
    bits = static_cast<uint32_t>(std::countr_one(m >> shift));
    if (bits + shift < 32 && (m >> (shift + bits)) != 0) throw DecodeError("Bitmap colour mask is not contiguous");
    if (bits + shift > bitCount) throw DecodeError("Bitmap colour mask is wider than the pixel");
  }
  uint32_t operator()(uint32_t v) const { return ScaleBitsTo8((v & mask) >> shift, bits); }
};

class MaskedPixels {
public:
  MaskedPixels(const std::array<uint32_t, 4>& m, uint32_t bits)
      : r_(m[0], bits), g_(m[1], bits), b_(m[2], bits), a_(m[3], bits) {}
  uint32_t operator()(uint32_t v) const { return Argb(r_(v), g_(v), b_(v), a_.mask ? a_(v) : 255); }

private:
  Channel r_, g_, b_, a_;
};

// The masks that the 16- and 32-bit pixels are read with; none for the other bit counts.
std::array<uint32_t, 4> PixelMasks(const BmpInfo& info) {
  if (info.HasMasks()) return info.masks;
  if (info.bitCount == 16) return {0x7C00, 0x03E0, 0x001F, 0};
  if (info.bitCount == 32) return {0xFF0000, 0x00FF00, 0x0000FF, 0};
  return {};
}

// The masks of a BI_BITFIELDS file with a 40-byte header follow the header.
void ReadTrailingMasks(ByteReader& in, BmpInfo& info) {
  if (info.headerSize != kInfoHeaderSize || !info.HasMasks()) return;
  const size_t count = info.compression == kAlphaBitFields ? 4 : 3;
  for (size_t i = 0; i < count; ++i) info.masks[i] = in.U32Le();
}

// Indices beyond the palette that the file gives stay black.
Palette ReadColourTable(ByteReader& in, const BmpInfo& info, uint32_t pixelOffset) {
  if (info.bitCount > 8) return BlackPalette();
  const uint32_t full = 1u << info.bitCount;
  const uint32_t declared = info.colorsUsed == 0 ? full : std::min(info.colorsUsed, full);
  const size_t entryBytes = info.headerSize == kCoreHeaderSize ? 3 : 4;
  if (pixelOffset < in.Offset()) throw DecodeError("Bitmap pixels overlap its header");
  const size_t room = (pixelOffset - in.Offset()) / entryBytes;
  const size_t count = std::min<size_t>(declared, room);
  return ReadPalette(in.Take(count * entryBytes), count, entryBytes, ColourOrder::kBgr);
}

uint64_t RowBits(const BmpInfo& info) { return uint64_t{info.width} * info.bitCount; }
uint64_t RowStride(const BmpInfo& info) { return (RowBits(info) + 31) / 32 * 4; }

// Uncompressed rows must all be there; the last one may lack its padding.
void CheckRowsPresent(const ByteReader& in, const BmpInfo& info) {
  if (info.IsRle()) return;
  if (in.Remaining() < (info.height - 1) * RowStride(info) + (RowBits(info) + 7) / 8)
    throw DecodeError("Bitmap is truncated");
}

struct Decoder {
  const BmpInfo& info;
  const Palette& palette;
  const MaskedPixels& masked;
  Image& image;

  uint32_t* RowOf(uint64_t fileRow) const {
    return image.Row(static_cast<uint32_t>(info.topDown ? fileRow : info.height - 1 - fileRow));
  }

  void DecodeRows(ByteReader& in) const {
    const uint64_t stride = RowStride(info);
    for (uint32_t row = 0; row < info.height; ++row) {
      const Bytes bytes = in.Take(std::min<uint64_t>(stride, in.Remaining()));
      ConvertRow(bytes.data(), RowOf(row));
    }
  }

  void ConvertRow(const uint8_t* p, uint32_t* out) const {
    const uint32_t bits = info.bitCount;
    for (uint32_t x = 0; x < info.width; ++x) {
      if (bits <= 8) {
        out[x] = palette[PackedSample(p, x, bits)];
      } else if (bits == 24) {
        out[x] = Argb(p[3 * x + 2], p[3 * x + 1], p[3 * x]);
      } else {
        out[x] = masked(bits == 16 ? Le16(p + 2 * x) : Le32(p + 4 * x));
      }
    }
  }

  void DecodeRle(ByteReader& in) const {
    const bool rle4 = info.compression == kRle4;
    uint64_t x = 0, row = 0;
    const auto put = [&](uint32_t index) {
      if (row >= info.height) throw DecodeError("Bitmap run goes past the last row");
      if (x < info.width) RowOf(row)[x++] = palette[index];
    };
    const auto putRun = [&](const uint8_t* values, uint32_t count, bool repeat) {
      for (uint32_t i = 0; i < count; ++i) {
        const uint8_t v = values[repeat ? 0 : (rle4 ? i / 2 : i)];
        put(rle4 ? (i % 2 == 0 ? v >> 4 : v & 15) : v);
      }
    };
    // Files whose codes fill every row may end without the end-of-bitmap code.
    const auto complete = [&] { return row >= info.height || (row + 1 == info.height && x >= info.width); };
    while (!(in.AtEnd() && complete())) {
      const uint8_t count = in.U8();
      const uint8_t code = in.U8();
      if (count > 0) {
        putRun(&code, count, true);
      } else if (code == 0) {
        x = 0, ++row;
      } else if (code == 1) {
        return;
      } else if (code == 2) {
        x += in.U8();
        row += in.U8();
      } else {
        const uint32_t bytes = rle4 ? (code + 1u) / 2 : code;
        putRun(in.Take(bytes).data(), code, false);
        in.Skip(bytes % 2);
      }
    }
  }
};

void FillLayout(const BmpInfo& info, BmpLayout& layout) {
  layout = BmpLayout{};
  layout.bitCount = info.bitCount;
  layout.compression = info.compression;
  layout.hasMasks = info.HasMasks();
  if (!layout.hasMasks) return;
  layout.redMask = info.masks[0];
  layout.greenMask = info.masks[1];
  layout.blueMask = info.masks[2];
  layout.alphaMask = info.masks[3];
}

}  // namespace

Image DecodeBmp(Bytes file, BmpLayout* layout) {
  if (file.size() < kFileHeaderSize || file[0] != 'B' || file[1] != 'M') throw DecodeError("Not a bitmap file");
  ByteReader in(file);
  in.Seek(10);
  const uint32_t pixelOffset = in.U32Le();
  BmpInfo info = ReadInfoHeader(in);
  CheckCompression(info);
  ReadTrailingMasks(in, info);
  CheckDimensions(info.width, info.height);
  const MaskedPixels masked(PixelMasks(info), info.bitCount);
  const Palette palette = ReadColourTable(in, info, pixelOffset);
  in.Seek(pixelOffset);
  CheckRowsPresent(in, info);

  Image image = AllocateImage(info.width, info.height, info.bitCount);
  image.hasAlpha = info.HasMasks() && info.masks[3] != 0;
  const Decoder decoder{info, palette, masked, image};
  if (info.IsRle())
    decoder.DecodeRle(in);
  else
    decoder.DecodeRows(in);
  if (layout) FillLayout(info, *layout);
  return image;
}

}  // namespace imaging
