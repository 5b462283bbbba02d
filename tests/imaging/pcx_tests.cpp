#include <gtest/gtest.h>

#include "imaging/FileFormatList.h"
#include "tests/imaging/ByteWriter.h"
#include "tests/imaging/TestFiles.h"

namespace imaging {
namespace {

using namespace test;

Image LoadPcx(const std::vector<uint8_t>& file) { return kPcxFormat.load(Bytes(file), {}); }

// Runs of up to 63 equal bytes, carried across lines as some writers do; lone bytes below 0xC0 stand alone.
std::vector<uint8_t> EncodeRle(const std::vector<uint8_t>& data) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i < data.size();) {
    size_t run = 1;
    while (i + run < data.size() && run < 63 && data[i + run] == data[i]) ++run;
    if (run > 1 || data[i] >= 0xC0) out.push_back(static_cast<uint8_t>(0xC0 | run));
    out.push_back(data[i]);
    i += run;
  }
  return out;
}

struct PcxLayout {
  uint8_t version = 5, bits = 1, planes = 1, encoding = 1;
  uint16_t width = 1, height = 1, bytesPerLine = 1;
  std::vector<uint8_t> headerPalette{};  // up to 48 bytes
  std::vector<uint8_t> lines{};          // the unencoded plane lines, height x planes x bytesPerLine
  std::vector<uint8_t> endPalette{};     // 768 bytes, or none
};

std::vector<uint8_t> WritePcx(const PcxLayout& s) {
  ByteWriter out;
  out.Put({0x0A, s.version, s.encoding, s.bits}).U16Le(0).U16Le(0).U16Le(s.width - 1u).U16Le(s.height - 1u).U16Le(72).U16Le(72);
  std::vector<uint8_t> palette = s.headerPalette;
  palette.resize(48);
  out.Put(palette).Put({0, s.planes}).U16Le(s.bytesPerLine).U16Le(1).Zeros(58).Put(EncodeRle(s.lines));
  if (!s.endPalette.empty()) out.Put({0x0C}).Put(s.endPalette);
  return out.bytes;
}

// Sixteen distinct colours for the header palette.
std::vector<uint8_t> HeaderPalette() {
  std::vector<uint8_t> rgb;
  for (uint8_t i = 0; i < 16; ++i) rgb.insert(rgb.end(), {uint8_t(i * 16), uint8_t(255 - i * 16), uint8_t(i * 8 + 1)});
  return rgb;
}

uint32_t HeaderColour(uint32_t i) { return Argb(i * 16, 255 - i * 16, i * 8 + 1); }

TEST(Pcx, DecodesImageMagickSamples) {
  const struct {
    const char* name;
    uint32_t bitsPerPixel;
    bool hasAlpha;
  } cases[] = {{"rgb24.pcx", 24, false}, {"rgba32.pcx", 32, true}, {"palette8.pcx", 8, false}};
  for (const auto& c : cases)
    ExpectDecodesAsReference(kPcxFormat, std::string("pcx/") + c.name, {7, 5, c.bitsPerPixel, c.hasAlpha});
}

// A 9 x 2 picture of 1-bit planes, index (x + 3y) mod 2^planes, each plane line padded with 0xFF bytes.
PcxLayout Planar(uint8_t planes, uint16_t bytesPerLine) {
  PcxLayout s{.planes = planes, .width = 9, .height = 2, .bytesPerLine = bytesPerLine,
              .headerPalette = HeaderPalette()};
  for (uint32_t y = 0; y < 2; ++y) {
    for (uint32_t p = 0; p < planes; ++p) {
      std::vector<uint8_t> line(bytesPerLine, 0xFF);
      line[0] = line[1] = 0;
      for (uint32_t x = 0; x < 9; ++x)
        if ((((x + 3 * y) % (1u << planes)) >> p) & 1) line[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
      s.lines.insert(s.lines.end(), line.begin(), line.end());
    }
  }
  return s;
}

TEST(Pcx, PlanarPicturesWithEvenAndOddLinePadding) {
  for (uint8_t planes = 1; planes <= 4; ++planes) {
    for (uint16_t bytesPerLine : {2, 3}) {
      SCOPED_TRACE(testing::Message() << int{planes} << " planes, " << bytesPerLine << " bytes per line");
      const Image image = LoadPcx(WritePcx(Planar(planes, bytesPerLine)));
      EXPECT_EQ(image.bitsPerPixel, planes);
      std::vector<uint32_t> expected;
      for (uint32_t y = 0; y < 2; ++y) {
        for (uint32_t x = 0; x < 9; ++x) {
          const uint32_t index = (x + 3 * y) % (1u << planes);
          expected.push_back(planes == 1 ? (index ? Argb(255, 255, 255) : Argb(0, 0, 0)) : HeaderColour(index));
        }
      }
      ExpectPixels(image, 9, 2, expected);
    }
  }
}

TEST(Pcx, VersionWithoutPaletteUsesTheEgaColours) {
  PcxLayout s = Planar(4, 2);
  s.version = 3;
  const Image image = LoadPcx(WritePcx(s));
  EXPECT_EQ(image.pixels[1], Argb(0, 0, 0xAA));
  EXPECT_EQ(image.pixels[6], Argb(0xAA, 0x55, 0));
  EXPECT_EQ(image.Row(1)[8], Argb(0x55, 0xFF, 0xFF));  // index 11
}

TEST(Pcx, PackedTwoAndFourBitPixels) {
  // Two-bit: indices 0 1 2 3 2 in one byte-and-a-bit; four-bit: 5 10 15.
  const Image two = LoadPcx(WritePcx({.bits = 2, .width = 5, .bytesPerLine = 2, .headerPalette = HeaderPalette(),
                                      .lines = {0x1B, 0x80}}));
  EXPECT_EQ(two.bitsPerPixel, 2u);
  ExpectPixels(two, 5, 1, {HeaderColour(0), HeaderColour(1), HeaderColour(2), HeaderColour(3), HeaderColour(2)});
  const Image four = LoadPcx(WritePcx({.bits = 4, .width = 3, .bytesPerLine = 2, .headerPalette = HeaderPalette(),
                                       .lines = {0x5A, 0xF0}}));
  EXPECT_EQ(four.bitsPerPixel, 4u);
  ExpectPixels(four, 3, 1, {HeaderColour(5), HeaderColour(10), HeaderColour(15)});
}

TEST(Pcx, EightBitPixelsUseTheEndPaletteOrGray) {
  std::vector<uint8_t> endPalette(768);
  endPalette[3 * 200] = 1, endPalette[3 * 200 + 1] = 2, endPalette[3 * 200 + 2] = 3;
  const PcxLayout s{.bits = 8, .width = 2, .bytesPerLine = 2, .lines = {200, 0xC5}, .endPalette = endPalette};
  ExpectPixels(LoadPcx(WritePcx(s)), 2, 1, {Argb(1, 2, 3), Argb(0, 0, 0)});
  PcxLayout gray = s;
  gray.endPalette.clear();
  ExpectPixels(LoadPcx(WritePcx(gray)), 2, 1, {Argb(200, 200, 200), Argb(0xC5, 0xC5, 0xC5)});
  // A palette cut short is not taken for no palette at all.
  for (size_t kept : {1u, 2u, 400u, 768u}) {
    std::vector<uint8_t> cut = WritePcx(s);
    cut.resize(cut.size() - 769 + kept);
    EXPECT_THROW(LoadPcx(cut), DecodeError) << kept;
  }
}

TEST(Pcx, RunsMustStayInsideThePicture) {
  PcxLayout s{.bits = 8, .width = 2, .height = 2, .bytesPerLine = 2, .lines = {7, 7, 7, 7}};
  ExpectPixels(LoadPcx(WritePcx(s)), 2, 2, std::vector<uint32_t>(4, Argb(7, 7, 7)));  // one run over both lines
  std::vector<uint8_t> past = WritePcx(s);
  past[128] = 0xC5;  // five bytes where four are left
  EXPECT_THROW(LoadPcx(past), DecodeError);
  std::vector<uint8_t> truncated = WritePcx(s);
  truncated[128] = 0xC3;
  EXPECT_THROW(LoadPcx(truncated), DecodeError);
}

TEST(Pcx, ContentTestChecksTheHeader) {
  const PcxLayout good = Planar(4, 2);
  EXPECT_TRUE(Accepts(kPcxFormat, WritePcx(good)));
  const auto rejects = [&](auto change) {
    PcxLayout s = good;
    change(s);
    return !Accepts(kPcxFormat, WritePcx(s));
  };
  EXPECT_TRUE(rejects([](PcxLayout& s) { s.version = 1; }));
  EXPECT_TRUE(rejects([](PcxLayout& s) { s.version = 6; }));
  EXPECT_TRUE(rejects([](PcxLayout& s) { s.encoding = 0; }));
  EXPECT_TRUE(rejects([](PcxLayout& s) { s.bits = 3; }));
  EXPECT_TRUE(rejects([](PcxLayout& s) { s.planes = 5; }));
  EXPECT_TRUE(rejects([](PcxLayout& s) { s.bits = 8, s.planes = 2; }));
  EXPECT_TRUE(rejects([](PcxLayout& s) { s.bytesPerLine = 1; }));  // 9 pixels need 2 bytes
  std::vector<uint8_t> wrongMaker = WritePcx(good);
  wrongMaker[0] = 0x0B;
  EXPECT_FALSE(Accepts(kPcxFormat, wrongMaker));
  std::vector<uint8_t> inverted = WritePcx(good);
  inverted[8] = 0, inverted[4] = 5;  // xmax below xmin
  EXPECT_FALSE(Accepts(kPcxFormat, inverted));
}

TEST(Pcx, HostileFilesFailCleanly) {
  // 65535 x 1000 one-bit pixels need 8 MB of lines: a few bytes cannot hold them.
  EXPECT_THROW(LoadPcx(WritePcx({.width = 65535, .height = 1000, .bytesPerLine = 8192, .lines = {0, 0}})),
               DecodeError);
  EXPECT_THROW(LoadPcx(WritePcx({.width = 65535, .height = 65535, .bytesPerLine = 8192})), DecodeError);
  for (const char* name : {"pcx/rgb24.pcx", "pcx/palette8.pcx"})
    ExpectPrefixes(Prefixes::kFailOrDecode, ReadTestFile(name), Loader(kPcxFormat));
  ExpectPrefixes(Prefixes::kFailOrDecode, WritePcx(Planar(4, 3)), Loader(kPcxFormat));
}

}  // namespace
}  // namespace imaging
