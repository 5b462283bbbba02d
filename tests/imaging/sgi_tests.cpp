#include "imaging/FileFormatList.h"
#include "tests/imaging/ByteWriter.h"
#include "tests/imaging/TestFiles.h"

namespace imaging::test {
namespace {

// One sample of channel c at (x, y), top row first.
uint32_t Sample(uint32_t channels, uint32_t c, uint32_t x, uint32_t y) {
  const uint32_t p = PatternPixel(x, y, PatternAlpha(x, y));
  if (channels <= 2) return c == 0 ? (p >> 8 & 0xFF) : p >> 24;
  return c == 3 ? p >> 24 : p >> (16 - 8 * c) & 0xFF;
}

std::vector<uint8_t> SgiHeader(bool rle, uint32_t bpc, uint32_t dimension, uint32_t w, uint32_t h, uint32_t z) {
  ByteWriter out;
  out.U16Be(474).U8(rle).U8(bpc).U16Be(dimension).U16Be(w).U16Be(h).U16Be(z).U32Be(0).U32Be(bpc == 1 ? 255 : 65535);
  out.Zeros(512 - out.Size());
  return out.bytes;
}

// A run code, or an 8-bit sample (for 16 bits, spread over the whole range).
void PutCode(ByteWriter& out, uint32_t bpc, uint32_t code) { bpc == 1 ? out.U8(code) : out.U16Be(code); }
void PutSample(ByteWriter& out, uint32_t bpc, uint32_t v) { bpc == 1 ? out.U8(v) : out.U16Be(v * 257); }

// RLE rows, each a literal run per sample; the tables list the rows in reverse order of their data.
std::vector<uint8_t> SgiRle(uint32_t channels, uint32_t bpc) {
  const uint32_t w = 13, h = 7;
  ByteWriter out;
  out.Put(SgiHeader(true, bpc, 3, w, h, channels));
  const size_t tables = out.Size();
  out.Zeros(8 * h * channels);
  for (uint32_t row = h * channels; row-- > 0;) {
    const uint32_t c = row / h, y = h - 1 - row % h;
    const size_t start = out.Size();
    for (uint32_t x = 0; x < w; x += 5) {
      const uint32_t n = std::min(5u, w - x);
      PutCode(out, bpc, 0x80 | n);
      for (uint32_t i = 0; i < n; ++i) PutSample(out, bpc, Sample(channels, c, x + i, y));
    }
    PutCode(out, bpc, 0);
    out.PatchU32Be(tables + 4 * row, static_cast<uint32_t>(start));
    out.PatchU32Be(tables + 4 * (h * channels + row), static_cast<uint32_t>(out.Size() - start));
  }
  return out.bytes;
}

void ExpectSgiPattern(const Image& image, uint32_t channels) {
  ASSERT_EQ(image.width, 13u);
  ASSERT_EQ(image.height, 7u);
  for (uint32_t y = 0; y < 7; ++y)
    for (uint32_t x = 0; x < 13; ++x) {
      const uint32_t a = channels % 2 == 0 ? Sample(channels, channels - 1, x, y) : 255;
      const uint32_t expected = channels <= 2 ? Argb(Sample(channels, 0, x, y), Sample(channels, 0, x, y), Sample(channels, 0, x, y), a)
                                              : PatternPixel(x, y, a);
      ASSERT_EQ(image.Row(y)[x], expected) << x << "," << y;
    }
}

TEST(SgiFormat, DecodesImageMagickFiles) {
  ExpectPattern(Decode(kSgiFormat, ReadTestFile("sgi/rgb-rle.sgi")), false);
  const Image wide = Decode(kSgiFormat, ReadTestFile("sgi/rgba16-raw.sgi"));
  ExpectPattern(wide, true);
  EXPECT_EQ(wide.bitsPerPixel, 64u);
  EXPECT_TRUE(wide.hasAlpha);
  EXPECT_EQ(Decode(kSgiFormat, ReadTestFile("sgi/grey-rle.bw")).bitsPerPixel, 8u);
}

TEST(SgiFormat, DecodesEveryChannelCountAndDepthFromReorderedTables) {
  for (uint32_t channels = 1; channels <= 4; ++channels)
    for (uint32_t bpc = 1; bpc <= 2; ++bpc) {
      SCOPED_TRACE(channels * 10 + bpc);
      const Image image = Decode(kSgiFormat, SgiRle(channels, bpc));
      ExpectSgiPattern(image, channels);
      EXPECT_EQ(image.bitsPerPixel, 8 * bpc * channels);
    }
}

// Rounded to 8 bits, not cut to the high byte (which gives 0, 1, 254).
TEST(SgiFormat, SixteenBitSamplesAreRounded) {
  ByteWriter raw;
  raw.Put(SgiHeader(false, 2, 2, 3, 1, 1)).U16Be(0x00FF).U16Be(0x01FF).U16Be(0xFE00);
  ExpectPixels(Decode(kSgiFormat, raw.bytes), 3, 1, {Argb(1, 1, 1), Argb(2, 2, 2), Argb(253, 253, 253)});
}

TEST(SgiFormat, SharedRowsDecodeOnce) {
  // Every row of a 4 x 3 grey picture points at the same run: 4 copies of 0x42.
  ByteWriter out;
  out.Put(SgiHeader(true, 1, 2, 4, 3, 1));
  for (int i = 0; i < 3; ++i) out.U32Be(512 + 24);
  for (int i = 0; i < 3; ++i) out.U32Be(3);
  out.U8(4).U8(0x42).U8(0);
  const Image image = Decode(kSgiFormat, out.bytes);
  for (uint32_t p : image.pixels) EXPECT_EQ(p, Argb(0x42, 0x42, 0x42));
}

TEST(SgiFormat, RejectsHostileTablesAndRuns) {
  const std::vector<uint8_t> good = SgiRle(3, 1);
  auto withEntry = [&](size_t entry, uint32_t value) {
    std::vector<uint8_t> file = good;
    ByteWriter patch;
    patch.bytes = file;
    patch.PatchU32Be(512 + 4 * entry, value);
    return patch.bytes;
  };
  EXPECT_THROW(Decode(kSgiFormat, withEntry(0, static_cast<uint32_t>(good.size()))), DecodeError);  // start past the end
  EXPECT_THROW(Decode(kSgiFormat, withEntry(21 + 4, 0xFFFFFFF0u)), DecodeError);                   // length past the end
  EXPECT_THROW(Decode(kSgiFormat, withEntry(21 + 4, 3)), DecodeError);  // row ends before the width
  // A run longer than the row.
  ByteWriter out;
  out.Put(SgiHeader(true, 1, 2, 4, 1, 1)).U32Be(520).U32Be(3).U8(0x7F).U8(1).U8(0);
  EXPECT_THROW(Decode(kSgiFormat, out.bytes), DecodeError);
  ExpectPrefixesFail(good, Loader(kSgiFormat));
  ExpectPrefixesFail(ReadTestFile("sgi/rgba16-raw.sgi"), Loader(kSgiFormat));
  ExpectDamageHandled(good, Loader(kSgiFormat));
}

TEST(SgiFormat, HugeDimensionsFailBeforeAllocating) {
  EXPECT_THROW(Decode(kSgiFormat, SgiHeader(false, 1, 3, 65535, 65535, 4)), DecodeError);
  EXPECT_THROW(Decode(kSgiFormat, SgiHeader(true, 2, 3, 65535, 65535, 4)), DecodeError);
}

TEST(SgiFormat, ContentTestIsStrict) {
  EXPECT_TRUE(Accepts(kSgiFormat, SgiRle(3, 1)));
  EXPECT_FALSE(Accepts(kSgiFormat, SgiHeader(true, 3, 3, 4, 4, 3)));   // 3 bytes per sample
  EXPECT_FALSE(Accepts(kSgiFormat, SgiHeader(true, 1, 3, 4, 4, 5)));   // 5 channels
  EXPECT_FALSE(Accepts(kSgiFormat, SgiHeader(false, 1, 3, 0, 4, 3)));  // no width
  EXPECT_FALSE(Accepts(kSgiFormat, std::vector<uint8_t>{0x01, 0xDA, 0x01, 0x01}));
}

}  // namespace
}  // namespace imaging::test
