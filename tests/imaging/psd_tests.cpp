#include <set>

#include "imaging/FileFormatList.h"
#include "tests/imaging/ByteWriter.h"
#include "tests/imaging/TestFiles.h"

namespace imaging::test {
namespace {

struct PsdLayout {
  uint32_t channels = 3, width = 13, height = 7, depth = 8, mode = 3;
  int16_t layerCount = 0;  // negative: the merged image has transparency
};

// A merged image of `planes` (one row list per channel, already in the file's sample layout).
std::vector<uint8_t> PsdFile(const PsdLayout& s, const std::vector<std::vector<uint8_t>>& rows, bool rle) {
  ByteWriter out;
  out.Text("8BPS").U16Be(1).Zeros(6).U16Be(s.channels).U32Be(s.height).U32Be(s.width).U16Be(s.depth).U16Be(s.mode);
  out.U32Be(0).U32Be(0);
  if (s.layerCount != 0)
    out.U32Be(8).U32Be(2).U16Be(static_cast<uint16_t>(s.layerCount)).Zeros(2);
  else
    out.U32Be(0);
  out.U16Be(rle);
  if (!rle) {
    for (const auto& row : rows) out.Put(row);
    return out.bytes;
  }
  // PackBits: every row as literal runs of up to 128 bytes.
  std::vector<std::vector<uint8_t>> packed;
  for (const auto& row : rows) {
    ByteWriter p;
    for (size_t at = 0; at < row.size(); at += 128) {
      const size_t n = std::min<size_t>(128, row.size() - at);
      p.U8(static_cast<uint32_t>(n - 1)).Put({row.begin() + at, row.begin() + at + n});
    }
    packed.push_back(p.bytes);
  }
  for (const auto& row : packed) out.U16Be(static_cast<uint32_t>(row.size()));
  for (const auto& row : packed) out.Put(row);
  return out.bytes;
}

// The pattern's channel rows: c 0..2 colour, 3 alpha, as 8- or 16-bit samples.
std::vector<std::vector<uint8_t>> PatternRows(uint32_t channels, uint32_t depth) {
  std::vector<std::vector<uint8_t>> rows;
  for (uint32_t c = 0; c < channels; ++c)
    for (uint32_t y = 0; y < 7; ++y) {
      std::vector<uint8_t> row;
      for (uint32_t x = 0; x < 13; ++x) {
        const uint32_t p = PatternPixel(x, y, PatternAlpha(x, y));
        const uint8_t v = static_cast<uint8_t>(c == 3 ? p >> 24 : p >> (16 - 8 * c));
        row.push_back(v);
        if (depth == 16) row.push_back(v);  // v spread over the whole 16-bit range
      }
      rows.push_back(row);
    }
  return rows;
}

TEST(PsdFormat, DecodesImageMagickFiles) {
  for (const char* name : {"psd/rgb-rle.psd", "psd/rgb-raw.psd", "psd/rgb16.psd"}) {
    SCOPED_TRACE(name);
    ExpectPattern(Decode(kPsdFormat, ReadTestFile(name)), false);
  }
  ExpectPattern(Decode(kPsdFormat, ReadTestFile("psd/cmyk.psd")), false, 1);
  const Image layered = Decode(kPsdFormat, ReadTestFile("psd/rgba-layers.psd"));
  ExpectPattern(layered, true);
  EXPECT_TRUE(layered.hasAlpha);
  EXPECT_EQ(Decode(kPsdFormat, ReadTestFile("psd/cmyk.psd")).bitsPerPixel, 32u);
  const Image indexed = Decode(kPsdFormat, ReadTestFile("psd/indexed.psd"));
  EXPECT_EQ(indexed.bitsPerPixel, 8u);
  EXPECT_LE(std::set<uint32_t>(indexed.pixels.begin(), indexed.pixels.end()).size(), 8u);
}

TEST(PsdFormat, DecodesRleAndRawAtBothDepths) {
  for (uint32_t depth : {8u, 16u})
    for (bool rle : {false, true}) {
      SCOPED_TRACE(depth * 10 + rle);
      PsdLayout layout;
      layout.depth = depth;
      const Image image = Decode(kPsdFormat, PsdFile(layout, PatternRows(3, depth), rle));
      ExpectPattern(image, false);
      EXPECT_EQ(image.bitsPerPixel, 3 * depth);
    }
}

// Rounded to 8 bits, not cut to the high byte (which gives 0, 1, 254).
TEST(PsdFormat, SixteenBitSamplesAreRounded) {
  const PsdLayout grey{1, 3, 1, 16, 1};
  ExpectPixels(Decode(kPsdFormat, PsdFile(grey, {{0x00, 0xFF, 0x01, 0xFF, 0xFE, 0x00}}, false)), 3, 1,
               {Argb(1, 1, 1), Argb(2, 2, 2), Argb(253, 253, 253)});
}

TEST(PsdFormat, ExtraChannelIsAlphaOnlyWhenTheLayerCountSaysSo) {
  PsdLayout layout;
  layout.channels = 4;
  ExpectPattern(Decode(kPsdFormat, PsdFile(layout, PatternRows(4, 8), true)), false);
  layout.layerCount = -1;
  ExpectPattern(Decode(kPsdFormat, PsdFile(layout, PatternRows(4, 8), true)), true);
}

TEST(PsdFormat, DecodesBitmapAndLabModes) {
  PsdLayout bitmap{1, 10, 1, 1, 0};
  const Image bits = Decode(kPsdFormat, PsdFile(bitmap, {{0b10100000, 0b01000000}}, false));
  const uint32_t k = Argb(0, 0, 0), w = Argb(255, 255, 255);
  EXPECT_EQ(bits.pixels, (Pixels{k, w, k, w, w, w, w, w, w, k}));
  EXPECT_EQ(bits.bitsPerPixel, 1u);

  PsdLayout lab{3, 3, 1, 8, 9};
  const Image colours = Decode(kPsdFormat, PsdFile(lab, {{255, 0, 138}, {128, 128, 208}, {128, 128, 195}}, true));
  EXPECT_EQ(colours.pixels[0], Argb(255, 255, 255));
  EXPECT_EQ(colours.pixels[1], Argb(0, 0, 0));
  const uint32_t red = colours.pixels[2];  // L 54, a 80, b 67: close to pure red
  EXPECT_GT(red >> 16 & 0xFF, 230u);
  EXPECT_LT(red >> 8 & 0xFF, 40u);
  EXPECT_LT(red & 0xFF, 40u);
}

TEST(PsdFormat, RejectsHostileFiles) {
  const std::vector<uint8_t> good = PsdFile({}, PatternRows(3, 8), true);
  ExpectPrefixesFail(good, Loader(kPsdFormat));
  ExpectPrefixesFail(ReadTestFile("psd/rgb-raw.psd"), Loader(kPsdFormat));
  ExpectDamageHandled(good, Loader(kPsdFormat));
  ExpectDamageHandled(ReadTestFile("psd/rgba-layers.psd"), Loader(kPsdFormat));
  // A run that overflows its row, and a row count that reaches past the end.
  auto rows = PatternRows(3, 8);
  std::vector<uint8_t> overflow = PsdFile({}, rows, true);
  overflow[26 + 12 + 2 + 42] = 0x81;  // first row: repeat 128 times
  EXPECT_THROW(Decode(kPsdFormat, overflow), DecodeError);
  std::vector<uint8_t> farCount = good;
  farCount[26 + 12 + 2] = 0xFF;
  EXPECT_THROW(Decode(kPsdFormat, farCount), DecodeError);
  PsdLayout zip;
  std::vector<uint8_t> zipped = PsdFile(zip, rows, false);
  zipped[26 + 12 + 1] = 2;
  EXPECT_THROW(Decode(kPsdFormat, zipped), DecodeError);
}

TEST(PsdFormat, HugeDimensionsFailBeforeAllocating) {
  PsdLayout huge{3, 30000, 30000, 8, 3};
  EXPECT_THROW(Decode(kPsdFormat, PsdFile(huge, {}, true)), DecodeError);
}

TEST(PsdFormat, ContentTestIsStrict) {
  EXPECT_TRUE(Accepts(kPsdFormat, ReadTestFile("psd/rgb-rle.psd")));
  std::vector<uint8_t> file = ReadTestFile("psd/rgb-rle.psd");
  file[5] = 2;  // large document format
  EXPECT_FALSE(Accepts(kPsdFormat, file));
  PsdLayout wide{3, 30001, 1, 8, 3};
  EXPECT_FALSE(Accepts(kPsdFormat, PsdFile(wide, {}, false)));
  PsdLayout mode{3, 1, 1, 8, 5};
  EXPECT_FALSE(Accepts(kPsdFormat, PsdFile(mode, {}, false)));
}

}  // namespace
}  // namespace imaging::test
