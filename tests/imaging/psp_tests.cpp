#include <zlib.h>

#include "imaging/FileFormatList.h"
#include "tests/imaging/ByteWriter.h"
#include "tests/imaging/TestFiles.h"

namespace imaging::test {
namespace {

struct PspLayout {
  uint16_t major = 5;
  uint16_t compression = 1;
  uint16_t bitDepth = 24;
  uint16_t layerCount = 1;
  bool composite = true;       // a composite image bank (otherwise one layer)
  uint32_t rowPadding = 0;     // bytes after each channel row
  int32_t layerLeft = 0, layerTop = 0;
  bool transparency = false;   // a transparency mask channel
};

std::vector<uint8_t> Compress(const std::vector<uint8_t>& data, uint16_t compression) {
  if (compression == 0) return data;
  if (compression == 2) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::vector<uint8_t> out(size);
    compress(out.data(), &size, data.data(), static_cast<uLong>(data.size()));
    out.resize(size);
    return out;
  }
  ByteWriter out;  // RLE: repeats of equal bytes, single literals otherwise
  for (size_t i = 0; i < data.size();) {
    size_t run = 1;
    while (i + run < data.size() && data[i + run] == data[i] && run < 127) ++run;
    if (run > 1)
      out.U8(static_cast<uint32_t>(128 + run)).U8(data[i]);
    else
      out.U8(1).U8(data[i]);
    i += run;
  }
  return out.bytes;
}

class PspWriter {
public:
  explicit PspWriter(const PspLayout& layout) : s_(layout) {}

  // A block whose leading fields are `info`, followed by `rest`.
  std::vector<uint8_t> Block(uint16_t id, const std::vector<uint8_t>& info, const std::vector<uint8_t>& rest = {}) const {
    ByteWriter out;
    out.Text(std::string("~BK\0", 4)).U16Le(id);
    if (s_.major == 3)
      out.U32Le(static_cast<uint32_t>(info.size())).U32Le(static_cast<uint32_t>(info.size() + rest.size())).Put(info);
    else
      out.U32Le(static_cast<uint32_t>(4 + info.size() + rest.size())).U32Le(static_cast<uint32_t>(4 + info.size())).Put(info);
    return out.Put(rest).bytes;
  }

  // Channel of the 13 x 7 pattern: type 0 palette index (x + y) at the file's depth, 1..3 colours, 4 alpha.
  std::vector<uint8_t> Channel(uint32_t type) const {
    const uint32_t bits = type == 0 ? s_.bitDepth : 8;
    ByteWriter plane;
    for (uint32_t y = 0; y < 7; ++y) {
      std::vector<uint8_t> row((13 * bits + 7) / 8 + s_.rowPadding, 0xEE);
      for (uint32_t x = 0; x < 13; ++x) {
        const uint32_t p = PatternPixel(x, y, PatternAlpha(x, y));
        const uint32_t v = type == 0 ? (x + y) % (1u << bits) : type == 4 ? p >> 24 : p >> (24 - 8 * type) & 0xFF;
        if (bits == 8) row[x] = static_cast<uint8_t>(v);
        if (bits == 4) row[x / 2] = static_cast<uint8_t>(x % 2 ? (row[x / 2] & 0xF0) | v : v << 4);
        if (bits == 1) row[x / 8] = static_cast<uint8_t>(x % 8 ? row[x / 8] | v << (7 - x % 8) : v << 7);
      }
      plane.Put(row);
    }
    const std::vector<uint8_t> data = Compress(plane.bytes, s_.compression);
    ByteWriter info;
    info.U32Le(static_cast<uint32_t>(data.size())).U32Le(static_cast<uint32_t>(plane.Size()));
    info.U16Le(type == 4 ? 1 : 0).U16Le(type == 4 ? 0 : type);
    return Block(5, info.bytes, data);
  }

  std::vector<uint8_t> Bitmap() const {
    ByteWriter out;
    if (s_.bitDepth != 24) {
      ByteWriter entries;
      for (uint32_t i = 0; i < 256; ++i) entries.U8(i).U8(2 * i).U8(3 * i).U8(0);  // blue, green, red, reserved
      out.Put(Block(2, ByteWriter().U32Le(256).bytes, entries.bytes));
      out.Put(Channel(0));
    } else {
      for (uint32_t c = 1; c <= 3; ++c) out.Put(Channel(c));
    }
    if (s_.transparency) out.Put(Channel(4));
    return out.bytes;
  }

  std::vector<uint8_t> File() const {
    ByteWriter out;
    out.Text("Paint Shop Pro Image File\n\x1a").Zeros(5).U16Le(s_.major).U16Le(0);
    ByteWriter attributes;
    attributes.U32Le(13).U32Le(7).Zeros(9).U16Le(s_.compression).U16Le(s_.bitDepth).U16Le(1).U32Le(256).U8(0);
    attributes.U32Le(0).U32Le(0).U16Le(s_.layerCount);
    if (s_.major > 3) attributes.U32Le(1);
    out.Put(Block(0, attributes.bytes));
    if (s_.composite) {
      ByteWriter bank = ByteWriter().Put(CompositeAttributes(1)).Put(Block(18, {1, 2, 3}));  // a thumbnail first
      bank.Put(CompositeAttributes(0)).Put(Block(9, ByteWriter().U16Le(1).U16Le(3).bytes, Bitmap()));
      out.Put(Block(16, ByteWriter().U32Le(2).bytes, bank.bytes));
    } else {
      out.Put(Block(3, {}, Layer()));
    }
    return out.bytes;
  }

private:
  std::vector<uint8_t> CompositeAttributes(uint16_t type) const {
    const uint32_t w = type == 0 ? 13 : 4;
    return Block(17, ByteWriter().U32Le(w).U32Le(7).U16Le(s_.bitDepth).U16Le(s_.compression).U16Le(1).U32Le(256).U16Le(type).bytes);
  }

  std::vector<uint8_t> Layer() const {
    ByteWriter info;
    if (s_.major == 3)
      info.Text("Background").Zeros(246);
    else
      info.U16Le(10).Text("Background");
    info.U8(s_.major == 3 ? 0 : 1);
    for (int i = 0; i < 2; ++i) info.U32Le(s_.layerLeft).U32Le(s_.layerTop).U32Le(s_.layerLeft + 13).U32Le(s_.layerTop + 7);
    info.Zeros(40);
    ByteWriter rest;
    if (s_.major == 3)
      info.U16Le(1).U16Le(3);
    else
      rest.U32Le(8).U16Le(1).U16Le(3);
    rest.Put(Bitmap());
    return Block(4, info.bytes, rest.bytes);
  }

  PspLayout s_;
};

TEST(PspFormat, DecodesTestFiles) {
  ExpectPattern(Decode(kPspFormat, ReadTestFile("psp/composite-rle.psp")), false);
  ExpectPattern(Decode(kPspFormat, ReadTestFile("psp/layer-lz77.psp")), false);
}

TEST(PspFormat, DecodesEveryLayoutAndCompression) {
  for (uint16_t major : {3, 4, 5, 10})
    for (uint16_t compression : {0, 1, 2})
      for (bool composite : {false, true}) {
        if (composite && major < 5) continue;
        SCOPED_TRACE(major * 100 + compression * 10 + composite);
        PspLayout layout;
        layout.major = major;
        layout.compression = compression;
        layout.composite = composite;
        const Image image = Decode(kPspFormat, PspWriter(layout).File());
        ExpectPattern(image, false);
        EXPECT_EQ(image.bitsPerPixel, 24u);
      }
}

TEST(PspFormat, DecodesPalettesPaddedRowsAndMasks) {
  for (uint16_t depth : {1, 4, 8})
    for (uint32_t padding : {0u, 3u}) {
      SCOPED_TRACE(depth * 10 + padding);
      PspLayout layout;
      layout.bitDepth = depth;
      layout.rowPadding = padding;
      const Image image = Decode(kPspFormat, PspWriter(layout).File());
      EXPECT_EQ(image.bitsPerPixel, depth);
      for (uint32_t y = 0; y < 7; ++y)
        for (uint32_t x = 0; x < 13; ++x) {
          const uint32_t i = (x + y) % (1u << depth);
          ASSERT_EQ(image.Row(y)[x], Argb(3 * i % 256, 2 * i % 256, i)) << x << "," << y;
        }
    }
  PspLayout masked;
  masked.composite = false;
  masked.transparency = true;
  const Image image = Decode(kPspFormat, PspWriter(masked).File());
  ExpectPattern(image, true);
  EXPECT_TRUE(image.hasAlpha);
}

TEST(PspFormat, PlacesAnOffsetLayerOnATransparentCanvas) {
  PspLayout layout;
  layout.composite = false;
  layout.layerLeft = 2;
  layout.layerTop = -1;
  const Image image = Decode(kPspFormat, PspWriter(layout).File());
  EXPECT_TRUE(image.hasAlpha);
  EXPECT_EQ(image.Row(0)[0], 0u);
  EXPECT_EQ(image.Row(0)[2], PatternPixel(0, 1));
  EXPECT_EQ(image.Row(5)[12], PatternPixel(10, 6));
  EXPECT_EQ(image.Row(6)[5], 0u);
}

TEST(PspFormat, RejectsWhatItCannotShow) {
  PspLayout layers;
  layers.composite = false;
  layers.layerCount = 2;
  EXPECT_THROW(Decode(kPspFormat, PspWriter(layers).File()), DecodeError);
  PspLayout jpeg;
  jpeg.compression = 3;
  EXPECT_THROW(Decode(kPspFormat, PspWriter(jpeg).File()), DecodeError);
}

TEST(PspFormat, RejectsDamagedFiles) {
  for (uint16_t major : {3, 5}) {
    PspLayout layout;
    layout.major = major;
    layout.composite = major == 5;
    const std::vector<uint8_t> file = PspWriter(layout).File();
    ExpectPrefixesFail(file, Loader(kPspFormat));
    ExpectDamageHandled(file, Loader(kPspFormat));
  }
  PspLayout huge;
  std::vector<uint8_t> file = PspWriter(huge).File();
  file[36 + 10 + 4 + 3] = 0x7F;  // width 0x7F00000D
  EXPECT_THROW(Decode(kPspFormat, file), DecodeError);
}

TEST(PspFormat, ContentTestIsStrict) {
  std::vector<uint8_t> file = PspWriter({}).File();
  EXPECT_TRUE(Accepts(kPspFormat, file));
  file[32] = 2;  // major version 2
  EXPECT_FALSE(Accepts(kPspFormat, file));
  file[32] = 5;
  file[25] = '\r';
  EXPECT_FALSE(Accepts(kPspFormat, file));
}

}  // namespace
}  // namespace imaging::test
