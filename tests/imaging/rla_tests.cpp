#include "imaging/FileFormatList.h"
#include "tests/imaging/ByteWriter.h"
#include "tests/imaging/TestFiles.h"

namespace imaging::test {
namespace {

// One span of the pattern's channel: runs for repeated bytes, literals otherwise.
std::vector<uint8_t> Span(const std::vector<uint8_t>& values) {
  ByteWriter out;
  for (size_t i = 0; i < values.size();) {
    size_t run = 1;
    while (i + run < values.size() && values[i + run] == values[i] && run < 128) ++run;
    if (run > 1) {
      out.U8(static_cast<uint32_t>(run - 1)).U8(values[i]);
    } else {
      out.U8(0xFF).U8(values[i]);  // a literal of one
    }
    i += run;
  }
  return out.bytes;
}

struct RlaLayout {
  uint32_t width = 13, height = 7, colours = 3, mattes = 1, bits = 8;
  bool reversed = false;  // scanline data stored top first, the table still bottom first
};

std::vector<uint8_t> RlaFile(const RlaLayout& s, uint32_t grey = 0x40) {
  ByteWriter out;
  out.U16Be(0).U16Be(s.width - 1).U16Be(0).U16Be(s.height - 1);
  out.U16Be(0).U16Be(s.width - 1).U16Be(0).U16Be(s.height - 1);
  out.U16Be(1).U16Be(0).U16Be(s.colours).U16Be(s.mattes).U16Be(0).U16Be(0xFFFE);
  out.Zeros(658 - out.Size()).U16Be(s.bits).U16Be(0).U16Be(s.bits).Zeros(740 - 664);
  const size_t table = out.Size();
  out.Zeros(4 * s.height);
  for (uint32_t n = 0; n < s.height; ++n) {
    const uint32_t line = s.reversed ? s.height - 1 - n : n, y = s.height - 1 - line;
    out.PatchU32Be(table + 4 * line, static_cast<uint32_t>(out.Size()));
    for (uint32_t c = 0; c < s.colours + s.mattes; ++c) {
      std::vector<uint8_t> high, low;
      for (uint32_t x = 0; x < s.width; ++x) {
        const uint32_t p = PatternPixel(x, y, PatternAlpha(x, y));
        const bool matte = c == s.colours;
        high.push_back(static_cast<uint8_t>(s.colours == 1 && !matte ? grey + x : matte ? p >> 24 : p >> (16 - 8 * c)));
        low.push_back(0x99);
      }
      std::vector<uint8_t> record = Span(high);
      if (s.bits == 16) {
        const std::vector<uint8_t> lower = Span(low);
        record.insert(record.end(), lower.begin(), lower.end());
      }
      out.U16Be(static_cast<uint32_t>(record.size())).Put(record);
    }
  }
  return out.bytes;
}

TEST(RlaFormat, DecodesTestFilesWithMatte) {
  for (const char* name : {"rla/rgba8.rla", "rla/rgba16.rpf"}) {
    SCOPED_TRACE(name);
    const Image image = Decode(kRlaFormat, ReadTestFile(name));
    ExpectPattern(image, true);
    EXPECT_TRUE(image.hasAlpha);
  }
  EXPECT_EQ(Decode(kRlaFormat, ReadTestFile("rla/rgba16.rpf")).bitsPerPixel, 64u);
}

TEST(RlaFormat, DecodesDepthsOrdersAndGrey) {
  for (uint32_t bits : {8u, 16u})
    for (bool reversed : {false, true}) {
      SCOPED_TRACE(bits * 10 + reversed);
      RlaLayout layout;
      layout.bits = bits;
      layout.reversed = reversed;
      ExpectPattern(Decode(kRlaFormat, RlaFile(layout)), true);
      layout.mattes = 0;
      const Image opaque = Decode(kRlaFormat, RlaFile(layout));
      ExpectPattern(opaque, false);
      EXPECT_FALSE(opaque.hasAlpha);
      EXPECT_EQ(opaque.bitsPerPixel, 3 * bits);
    }
  RlaLayout grey;
  grey.colours = 1;
  grey.mattes = 0;
  const Image image = Decode(kRlaFormat, RlaFile(grey));
  EXPECT_EQ(image.Row(3)[5], Argb(0x45, 0x45, 0x45));
  EXPECT_EQ(image.bitsPerPixel, 8u);
}

TEST(RlaFormat, RejectsHostileOffsetsAndRuns) {
  const std::vector<uint8_t> good = RlaFile({});
  ByteWriter patch;
  patch.bytes = good;
  patch.PatchU32Be(740 + 4 * 3, static_cast<uint32_t>(good.size() - 1));  // a scanline starting at the last byte
  EXPECT_THROW(Decode(kRlaFormat, patch.bytes), DecodeError);
  patch.PatchU32Be(740 + 4 * 3, 0xFFFFFFF0u);
  EXPECT_THROW(Decode(kRlaFormat, patch.bytes), DecodeError);
  // A run reaching past the scanline's width.
  std::vector<uint8_t> overflow = good;
  overflow[740 + 4 * 7 + 2] = 0x7F;
  EXPECT_THROW(Decode(kRlaFormat, overflow), DecodeError);
  ExpectPrefixesFail(good, Loader(kRlaFormat));
  ExpectDamageHandled(good, Loader(kRlaFormat));
  ExpectDamageHandled(ReadTestFile("rla/rgba16.rpf"), Loader(kRlaFormat));
}

TEST(RlaFormat, HugeDimensionsFailBeforeAllocating) {
  std::vector<uint8_t> file = RlaFile({});
  file[10] = 0x7F;  // active window right: 32767
  file[14] = 0x7F;  // active window top: 32767
  EXPECT_THROW(Decode(kRlaFormat, file), DecodeError);
}

TEST(RlaFormat, ContentTestIsStrict) {
  const std::vector<uint8_t> good = RlaFile({});
  EXPECT_TRUE(Accepts(kRlaFormat, good));
  for (size_t field : {18u, 20u, 22u}) {  // storage type, colour channels, matte channels
    std::vector<uint8_t> bad = good;
    bad[field + 1] = 7;
    EXPECT_FALSE(Accepts(kRlaFormat, bad)) << field;
  }
  std::vector<uint8_t> inverted = good;
  inverted[15] = 0xFF;  // top below bottom
  inverted[14] = 0xFF;
  EXPECT_FALSE(Accepts(kRlaFormat, inverted));
  EXPECT_FALSE(Accepts(kRlaFormat, std::vector<uint8_t>(good.begin(), good.begin() + 760)));  // offset past the end
}

}  // namespace
}  // namespace imaging::test
