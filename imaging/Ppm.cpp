// Netpbm portable maps. Layout: "P1" to "P6", then width, height and (but for bitmaps) maxval as ASCII
// decimals between whitespace, with '#' comments to the end of the line anywhere among them; for the raw
// kinds one whitespace byte, then the raster: plain kinds (P1-P3) as ASCII numbers (P1 as single digits that
// need no separator), raw kinds (P4-P6) as bytes, P4 rows padded to whole bytes, samples big-endian pairs
// when maxval exceeds 255. In bitmaps 1 is black.
// Hostile files: endless or overlong numbers, maxval 0 or above 65535, samples above maxval (clamped), a
// raster shorter than the header claims, and a tiny file claiming a huge picture (every sample takes at
// least one byte, checked before allocating).
#include "imaging/ByteReader.h"
#include "imaging/FileFormatList.h"
#include "imaging/SampleScale.h"

namespace imaging {

namespace {

constexpr uint32_t kMaxMaxval = 65535;

struct PnmHeader {
  char kind;  // '1' to '6'
  uint32_t width, height, maxval;

  bool IsPlain() const { return kind <= '3'; }
  bool IsBitmap() const { return kind == '1' || kind == '4'; }
  uint32_t Channels() const { return kind == '3' || kind == '6' ? 3 : 1; }
  uint32_t SampleBytes() const { return maxval > 255 ? 2 : 1; }
  uint32_t BitsPerPixel() const { return IsBitmap() ? 1 : Channels() * 8 * SampleBytes(); }
};

bool IsSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool IsDigit(int c) { return c >= '0' && c <= '9'; }

void SkipSpaceAndComments(ByteReader& in) {
  for (;;) {
    const int c = in.Peek();
    if (c == '#') {
      while (!in.AtEnd() && in.Peek() != '\n' && in.Peek() != '\r') in.Skip(1);
    } else if (IsSpace(c)) {
      in.Skip(1);
    } else {
      return;
    }
  }
}

uint32_t ReadNumber(ByteReader& in) {
  SkipSpaceAndComments(in);
  if (!IsDigit(in.Peek())) throw DecodeError("Number expected in portable map");
  uint64_t value = 0;
  while (IsDigit(in.Peek())) {
    value = value * 10 + (in.U8() - '0');
    if (value > UINT32_MAX) throw DecodeError("Number too large in portable map");
  }
  return static_cast<uint32_t>(value);
}

PnmHeader ReadHeader(ByteReader& in) {
  if (in.U8() != 'P') throw DecodeError("Not a portable map");
  PnmHeader h{static_cast<char>(in.U8()), 0, 0, 1};
  if (h.kind < '1' || h.kind > '6' || !(IsSpace(in.Peek()) || in.Peek() == '#'))
    throw DecodeError("Not a portable map");
  h.width = ReadNumber(in);
  h.height = ReadNumber(in);
  if (!h.IsBitmap()) h.maxval = ReadNumber(in);
  if (h.maxval == 0 || h.maxval > kMaxMaxval) throw DecodeError("Unsupported portable map maxval");
  if (!h.IsPlain() && !IsSpace(in.U8())) throw DecodeError("Portable map header ends without whitespace");
  return h;
}

// The header must fit in the head: files with a header of kilobytes of comments load by extension.
bool CanLoad(Bytes head, uint64_t) {
  try {
    ByteReader in(head);
    const PnmHeader h = ReadHeader(in);
    return h.width > 0 && h.height > 0;
  } catch (const DecodeError&) {
    return false;
  }
}

uint32_t ReadPlainBit(ByteReader& in) {
  SkipSpaceAndComments(in);
  const uint8_t c = in.U8();
  if (c != '0' && c != '1') throw DecodeError("Bad bit in portable bitmap");
  return c - '0';
}

void DecodeBitmap(ByteReader& in, const PnmHeader& h, Image& image) {
  const uint32_t rowBytes = (h.width + 7) / 8;
  for (uint32_t y = 0; y < h.height; ++y) {
    const Bytes row = h.IsPlain() ? Bytes{} : in.Take(rowBytes);
    for (uint32_t x = 0; x < h.width; ++x) {
      const uint32_t bit = h.IsPlain() ? ReadPlainBit(in) : PackedSample(row.data(), x, 1);
      image.Row(y)[x] = bit ? Argb(0, 0, 0) : Argb(255, 255, 255);
    }
  }
}

uint32_t ReadSample(ByteReader& in, const PnmHeader& h) {
  const uint32_t value = h.IsPlain() ? ReadNumber(in) : h.SampleBytes() == 2 ? in.U16Be() : in.U8();
  return ScaleTo8Bits(value, h.maxval);
}

void DecodeSamples(ByteReader& in, const PnmHeader& h, Image& image) {
  for (uint32_t y = 0; y < h.height; ++y) {
    for (uint32_t x = 0; x < h.width; ++x) {
      const uint32_t r = ReadSample(in, h);
      const uint32_t g = h.Channels() == 3 ? ReadSample(in, h) : r;
      const uint32_t b = h.Channels() == 3 ? ReadSample(in, h) : r;
      image.Row(y)[x] = Argb(r, g, b);
    }
  }
}

// The fewest bytes that the raster can take.
uint64_t MinimumRasterBytes(const PnmHeader& h) {
  if (h.kind == '4') return uint64_t{(h.width + 7) / 8} * h.height;
  const uint64_t samples = uint64_t{h.width} * h.height * h.Channels();
  return h.IsPlain() ? samples : samples * h.SampleBytes();
}

Image Load(Bytes file, Bytes) {
  ByteReader in(file);
  const PnmHeader h = ReadHeader(in);
  CheckDimensions(h.width, h.height);
  if (in.Remaining() < MinimumRasterBytes(h)) throw DecodeError("Portable map is truncated");
  Image image = AllocateImage(h.width, h.height, h.BitsPerPixel());
  if (h.IsBitmap())
    DecodeBitmap(in, h, image);
  else
    DecodeSamples(in, h, image);
  return image;
}

}  // namespace

const FileFormat kPpmFormat = {
    "TPPMGraphic",
    {{"ppm", "Portable pixel map images"},
        {"pgm", "Portable gray map images"},
        {"pbm", "Portable bitmap images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
