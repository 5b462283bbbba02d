// ZSoft PCX. Layout: a 128-byte little-endian header (manufacturer 0x0A, version, encoding 1, bits per pixel
// of one plane, the window xmin ymin xmax ymax, resolution, a 16-colour palette, plane count, bytes per line
// of one plane, palette info), then the scan lines, RLE-coded: each line holds every plane's bytes in turn; a
// byte with its top two bits set repeats the next byte by its low six bits, any other byte stands for itself.
// A 256-colour picture ends with 0x0C and a 768-byte palette.
// Hostile files: a window with xmax below xmin, bytes per line too few for the width, runs that carry past
// the last line, a data stream that ends early, and a tiny file claiming a huge picture (two bytes give at
// most 63, which bounds what the file can hold; checked before allocating).
#include <algorithm>
#include <array>

#include "imaging/ByteReader.h"
#include "imaging/FileFormatList.h"
#include "imaging/Pixels.h"
#include "imaging/SampleScale.h"

namespace imaging {

namespace {

constexpr size_t kHeaderSize = 128;
constexpr uint8_t kManufacturer = 0x0A;
constexpr uint8_t kEncodingRle = 1;
constexpr uint8_t kVersionWithoutPalette = 3;
constexpr uint8_t kVersionWithEndPalette = 5;
constexpr size_t kHeaderPaletteOffset = 16;
constexpr size_t kEndPaletteSize = 1 + 256 * 3;
constexpr uint8_t kEndPaletteMarker = 0x0C;
constexpr uint32_t kMaxRun = 63;

constexpr std::array<uint32_t, 16> kEgaPalette = {
    0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA, 0xAA5500, 0xAAAAAA,
    0x555555, 0x5555FF, 0x55FF55, 0x55FFFF, 0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF,
};

struct PcxHeader {
  uint8_t version, bitsPerPixel, planes;
  uint16_t xMin, yMin, xMax, yMax, bytesPerLine;

  uint32_t Width() const { return xMax - xMin + 1u; }
  uint32_t Height() const { return yMax - yMin + 1u; }
  uint32_t BitsPerPixel() const { return uint32_t{bitsPerPixel} * planes; }
  bool IsDirectColor() const { return bitsPerPixel == 8 && planes >= 3; }
  uint64_t LineBytes() const { return uint64_t{planes} * bytesPerLine; }
};

PcxHeader ParseHeader(const uint8_t* p) {
  return {p[1], p[3], p[65], Le16(p + 4), Le16(p + 6), Le16(p + 8), Le16(p + 10), Le16(p + 66)};
}

bool IsKnownLayout(uint32_t bits, uint32_t planes) {
  switch (bits) {
    case 1: return planes >= 1 && planes <= 4;
    case 2:
    case 4: return planes == 1;
    case 8: return planes == 1 || planes == 3 || planes == 4;
    default: return false;
  }
}

bool HasValidHeader(Bytes file) {
  if (file.size() < kHeaderSize) return false;
  const uint8_t* p = file.data();
  const uint8_t version = p[1];
  if (p[0] != kManufacturer || p[2] != kEncodingRle || version == 1 || version > 5) return false;
  const PcxHeader h = ParseHeader(p);
  if (!IsKnownLayout(h.bitsPerPixel, h.planes) || h.xMax < h.xMin || h.yMax < h.yMin) return false;
  return h.bytesPerLine >= (uint64_t{h.Width()} * h.bitsPerPixel + 7) / 8;
}

bool CanLoad(Bytes head, uint64_t fileSize) { return fileSize > kHeaderSize && HasValidHeader(head); }

bool HasEndPalette(const PcxHeader& h, Bytes file) {
  return h.BitsPerPixel() == 8 && h.version == kVersionWithEndPalette && file.size() >= kHeaderSize + kEndPaletteSize &&
         file[file.size() - kEndPaletteSize] == kEndPaletteMarker;
}

Palette EgaPalette() {
  Palette palette = BlackPalette();
  for (size_t i = 0; i < kEgaPalette.size(); ++i) palette[i] = 0xFF000000u | kEgaPalette[i];
  return palette;
}

Palette ChoosePalette(const PcxHeader& h, Bytes file) {
  if (h.BitsPerPixel() == 1) return GreyPalette(2);
  if (h.BitsPerPixel() == 8) {
    if (!HasEndPalette(h, file)) return GreyPalette();
    return ReadPalette(file.subspan(file.size() - kEndPaletteSize + 1), 256, 3, ColourOrder::kRgb);
  }
  Bytes header = file.subspan(kHeaderPaletteOffset, 16 * 3);
  const bool blank = std::all_of(header.begin(), header.end(), [](uint8_t b) { return b == 0; });
  if (h.version == kVersionWithoutPalette || blank) return EgaPalette();
  return ReadPalette(header, 16, 3, ColourOrder::kRgb);
}

// The RLE stream; a run may carry from one line into the next.
class RleReader {
public:
  explicit RleReader(Bytes data) : in_(data) {}

  void ReadLine(std::vector<uint8_t>& line) {
    for (size_t filled = 0; filled < line.size();) {
      if (runLength_ == 0) NextRun();
      const size_t count = std::min<size_t>(runLength_, line.size() - filled);
      std::fill_n(line.begin() + filled, count, runValue_);
      filled += count;
      runLength_ -= static_cast<uint32_t>(count);
    }
  }

  bool RunPending() const { return runLength_ != 0; }
  // Where the next run would start.
  size_t Offset() const { return in_.Offset(); }

private:
  void NextRun() {
    const uint8_t b = in_.U8();
    const bool isRun = (b & 0xC0) == 0xC0;
    runLength_ = isRun ? b & 0x3Fu : 1;
    runValue_ = isRun ? in_.U8() : b;
  }

  ByteReader in_;
  uint32_t runLength_ = 0;
  uint8_t runValue_ = 0;
};

void ConvertLine(const PcxHeader& h, const Palette& palette, const std::vector<uint8_t>& line, uint32_t* out) {
  const uint8_t* plane[4] = {};
  for (uint32_t p = 0; p < h.planes; ++p) plane[p] = line.data() + size_t{p} * h.bytesPerLine;
  for (uint32_t x = 0; x < h.Width(); ++x) {
    if (h.IsDirectColor()) {
      out[x] = Argb(plane[0][x], plane[1][x], plane[2][x], h.planes == 4 ? plane[3][x] : 255);
      continue;
    }
    uint32_t index = 0;
    for (uint32_t p = 0; p < h.planes; ++p) index |= PackedSample(plane[p], x, h.bitsPerPixel) << (p * h.bitsPerPixel);
    out[x] = palette[index];
  }
}

Image Load(Bytes file, Bytes) {
  if (!HasValidHeader(file)) throw DecodeError("Unsupported PCX picture");
  const PcxHeader h = ParseHeader(file.data());
  CheckDimensions(h.Width(), h.Height());
  const size_t dataEnd = HasEndPalette(h, file) ? file.size() - kEndPaletteSize : file.size();
  const Bytes data = file.subspan(kHeaderSize, dataEnd - kHeaderSize);
  if (h.LineBytes() * h.Height() > uint64_t{data.size()} * kMaxRun / 2) throw DecodeError("PCX picture is truncated");

  const Palette palette = ChoosePalette(h, file);
  Image image = AllocateImage(h.Width(), h.Height(), h.BitsPerPixel());
  image.hasAlpha = h.IsDirectColor() && h.planes == 4;
  std::vector<uint8_t> line(h.LineBytes());
  RleReader rle(data);
  for (uint32_t y = 0; y < h.Height(); ++y) {
    rle.ReadLine(line);
    ConvertLine(h, palette, line, image.Row(y));
  }
  if (rle.RunPending()) throw DecodeError("PCX run goes past the end of the picture");
  // A palette that begins behind the pixels but ends early would leave the picture grey.
  if (h.BitsPerPixel() == 8 && dataEnd == file.size() && rle.Offset() < data.size() &&
      data[rle.Offset()] == kEndPaletteMarker)
    throw DecodeError("PCX palette is cut short");
  return image;
}

}  // namespace

const FileFormat kPcxFormat = {
    "TPCXGraphic",
    {{"pcx", "ZSoft Paintbrush images"},
        {"pcc", "ZSoft Paintbrush images"},
        {"scr", "Word 5.x screen capture images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
