// SGI images: a 512-byte big-endian header (magic 474), then either the channel planes verbatim (each plane's
// rows bottom to top) or RLE rows found through two tables of ysize x zsize row offsets and lengths. Writers
// share, reorder and overlap rows through these tables, so each entry is checked against the file on its own.
#include <vector>

#include "imaging/ByteReader.h"
#include "imaging/FileFormatList.h"
#include "imaging/Pixels.h"

namespace imaging {

namespace {

constexpr size_t kHeaderSize = 512;

struct SgiHeader {
  bool rle = false;
  uint32_t bytesPerSample = 0;
  uint32_t width = 0, height = 0, channels = 0;
};

// Reads and checks the header; a header that is not a loadable SGI one is a DecodeError.
SgiHeader ParseHeader(Bytes head) {
  if (head.size() < kHeaderSize) throw DecodeError("SGI header is truncated");
  if (Be16(head.data()) != 474) throw DecodeError("Not an SGI image");
  SgiHeader h;
  const uint8_t storage = head[2], bpc = head[3];
  const uint16_t dimension = Be16(head.data() + 4);
  if (storage > 1 || (bpc != 1 && bpc != 2) || dimension < 1 || dimension > 3)
    throw DecodeError("SGI header is invalid");
  if (Be32(head.data() + 104) != 0) throw DecodeError("SGI colour-map images are not supported");
  h.rle = storage == 1;
  h.bytesPerSample = bpc;
  h.width = Be16(head.data() + 6);
  h.height = dimension >= 2 ? Be16(head.data() + 8) : 1;
  h.channels = dimension == 3 ? Be16(head.data() + 10) : 1;
  if (h.channels < 1 || h.channels > 4) throw DecodeError("SGI images have 1 to 4 channels");
  return h;
}

bool CanLoad(Bytes head, uint64_t) {
  try {
    const SgiHeader h = ParseHeader(head);
    return h.width > 0 && h.height > 0;
  } catch (const DecodeError&) {
    return false;
  }
}

// Where channel z's samples go in an 0xAARRGGBB pixel: grey (+alpha) for 1 or 2 channels, RGB(A) otherwise.
void StoreSample(uint32_t& pixel, uint32_t channels, uint32_t z, uint32_t value) {
  if (channels <= 2 && z == 0)
    SetGrey(pixel, value);
  else
    SetChannel(pixel, (channels <= 2 || z == 3) ? 24 : 16 - 8 * z, value);
}

uint32_t Sample(Bytes data, size_t index, uint32_t bytesPerSample) {
  return bytesPerSample == 1 ? data[index] : Be16(data.data() + 2 * index);
}

// A sample as 8 bits, rounded.
uint8_t Sample8(Bytes data, size_t index, uint32_t bytesPerSample) {
  const uint32_t sample = Sample(data, index, bytesPerSample);
  return static_cast<uint8_t>(bytesPerSample == 1 ? sample : ScaleTo8Bits(sample, 0xFFFF));
}

// Expands one RLE row of `width` samples; every run is checked against both ends.
void ExpandRow(Bytes in, uint32_t bytesPerSample, std::vector<uint8_t>& out, uint32_t width) {
  const size_t inCount = in.size() / bytesPerSample;
  size_t i = 0, x = 0;
  while (i < inCount) {
    const uint32_t code = Sample(in, i++, bytesPerSample);
    const uint32_t count = code & 0x7F;
    if (count == 0) break;
    if (count > width - x) throw DecodeError("SGI row overflows the picture width");
    if (code & 0x80) {
      if (count > inCount - i) throw DecodeError("SGI row data is truncated");
      for (uint32_t n = 0; n < count; ++n) out[x++] = Sample8(in, i++, bytesPerSample);
    } else {
      if (i >= inCount) throw DecodeError("SGI row data is truncated");
      const uint8_t value = Sample8(in, i++, bytesPerSample);
      for (uint32_t n = 0; n < count; ++n) out[x++] = value;
    }
  }
  if (x != width) throw DecodeError("SGI row is shorter than the picture width");
}

void ReadVerbatimRow(Bytes file, const SgiHeader& h, uint32_t row, std::vector<uint8_t>& out) {
  const uint64_t rowBytes = uint64_t{h.width} * h.bytesPerSample;
  const Bytes data = Slice(file, kHeaderSize + row * rowBytes, rowBytes);
  for (uint32_t x = 0; x < h.width; ++x)
    out[x] = Sample8(data, x, h.bytesPerSample);
}

void ReadRleRow(Bytes file, const SgiHeader& h, uint32_t row, std::vector<uint8_t>& out) {
  const uint64_t tableEntries = uint64_t{h.height} * h.channels;
  const Bytes starts = Slice(file, kHeaderSize, 4 * tableEntries);
  const Bytes lengths = Slice(file, kHeaderSize + 4 * tableEntries, 4 * tableEntries);
  const uint32_t start = Be32(starts.data() + 4 * size_t{row}), length = Be32(lengths.data() + 4 * size_t{row});
  ExpandRow(Slice(file, start, length), h.bytesPerSample, out, h.width);
}

Image Load(Bytes file, Bytes) {
  const SgiHeader h = ParseHeader(file);
  CheckDimensions(h.width, h.height);
  if (h.rle)
    Slice(file, kHeaderSize, 8 * uint64_t{h.height} * h.channels);
  else
    Slice(file, kHeaderSize, uint64_t{h.width} * h.height * h.channels * h.bytesPerSample);
  Image image = AllocateImage(h.width, h.height, 8 * h.bytesPerSample * h.channels);
  image.hasAlpha = h.channels == 2 || h.channels == 4;
  std::vector<uint8_t> row(h.width);
  for (uint32_t z = 0; z < h.channels; ++z) {
    for (uint32_t y = 0; y < h.height; ++y) {
      const uint32_t index = z * h.height + y;
      if (h.rle)
        ReadRleRow(file, h, index, row);
      else
        ReadVerbatimRow(file, h, index, row);
      uint32_t* pixels = image.Row(h.height - 1 - y);
      for (uint32_t x = 0; x < h.width; ++x) StoreSample(pixels[x], h.channels, z, row[x]);
    }
  }
  return image;
}

}  // namespace

const FileFormat kSgiFormat = {
    "TSGIGraphic",
    {{"sgi", "SGI true color images"},
     {"rgb", "SGI true color images"},
     {"rgba", "SGI true color images with alpha"},
     {"bw", "SGI black/white images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
