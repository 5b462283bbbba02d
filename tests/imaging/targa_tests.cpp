#include <gtest/gtest.h>

#include "imaging/FileFormatList.h"
#include "tests/imaging/ByteWriter.h"
#include "tests/imaging/TestFiles.h"

namespace imaging {
namespace {

using namespace test;

Image LoadTarga(const std::vector<uint8_t>& file) { return kTargaFormat.load(Bytes(file), {}); }

struct TargaLayout {
  uint8_t imageType = 2, pixelDepth = 24, descriptor = 0;
  uint16_t width = 1, height = 1;
  uint8_t colorMapType = 0, mapEntrySize = 0;
  uint16_t mapFirst = 0, mapLength = 0;
  std::vector<uint8_t> map{}, pixels{};
};

std::vector<uint8_t> WriteTarga(const TargaLayout& s) {
  ByteWriter out;
  out.Put({0, s.colorMapType, s.imageType}).U16Le(s.mapFirst).U16Le(s.mapLength).Put({s.mapEntrySize});
  out.U16Le(0).U16Le(0).U16Le(s.width).U16Le(s.height).Put({s.pixelDepth, s.descriptor});
  return out.Put(s.map).Put(s.pixels).bytes;
}

// A TGA 2.0 footer with an extension area that gives the attributes type.
std::vector<uint8_t> WithFooter(std::vector<uint8_t> file, uint8_t attributesType) {
  ByteWriter out{std::move(file)};
  const uint32_t extension = static_cast<uint32_t>(out.bytes.size());
  out.U16Le(495).Zeros(492).Put({attributesType});
  return out.U32Le(extension).U32Le(0).Text("TRUEVISION-XFILE.").Put({0}).bytes;
}

TEST(Targa, DecodesImageMagickSamples) {
  const struct {
    const char* name;
    uint32_t bitsPerPixel;
    bool hasAlpha;
  } cases[] = {
      {"rgb24.tga", 24, false},       {"rgb24-topleft.tga", 24, false}, {"rgb24-rle.tga", 24, false},
      {"rgba32.tga", 32, true},       {"palette.tga", 8, false},        {"palette-rle.tga", 8, false},
      {"gray.tga", 8, false},         {"gray-rle.tga", 8, false},
  };
  for (const auto& c : cases)
    ExpectDecodesAsReference(kTargaFormat, std::string("targa/") + c.name, {7, 5, c.bitsPerPixel, c.hasAlpha});
}

TEST(Targa, EveryOriginPlacesTheFirstPixel) {
  // A 3 x 2 gray picture whose file order is 10, 20, 30, 40, 50, 60.
  const struct {
    uint8_t descriptor;
    std::vector<uint8_t> rows;  // top row first, as shown
  } cases[] = {
      {0x00, {40, 50, 60, 10, 20, 30}},  // bottom-left
      {0x20, {10, 20, 30, 40, 50, 60}},  // top-left
      {0x10, {60, 50, 40, 30, 20, 10}},  // bottom-right
      {0x30, {30, 20, 10, 60, 50, 40}},  // top-right
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(int{c.descriptor});
    const Image image = LoadTarga(WriteTarga(
        {.imageType = 3, .pixelDepth = 8, .descriptor = c.descriptor, .width = 3, .height = 2,
         .pixels = {10, 20, 30, 40, 50, 60}}));
    std::vector<uint32_t> expected;
    for (uint8_t v : c.rows) expected.push_back(Argb(v, v, v));
    ExpectPixels(image, 3, 2, expected);
  }
}

TEST(Targa, SixteenAndFifteenBitPixelsScaleAndCarryTheAttributeBit) {
  const std::vector<uint8_t> pixels = {0x00, 0x7C, 0xE0, 0x83, 0x10, 0x00};  // red, green + attribute, blue 16
  const Image withAlpha = LoadTarga(
      WriteTarga({.pixelDepth = 16, .descriptor = 0x21, .width = 3, .pixels = pixels}));
  EXPECT_EQ(withAlpha.bitsPerPixel, 16u);
  EXPECT_TRUE(withAlpha.hasAlpha);
  ExpectPixels(withAlpha, 3, 1, {Argb(255, 0, 0, 0), Argb(0, 255, 0), Argb(0, 0, 132, 0)});

  const Image fifteen = LoadTarga(WriteTarga({.pixelDepth = 15, .descriptor = 0x20, .width = 3, .pixels = pixels}));
  EXPECT_EQ(fifteen.bitsPerPixel, 15u);
  EXPECT_FALSE(fifteen.hasAlpha);
  ExpectPixels(fifteen, 3, 1, {Argb(255, 0, 0), Argb(0, 255, 0), Argb(0, 0, 132)});
}

TEST(Targa, ColourMapsOfEveryEntrySizeWithAFirstEntryIndex) {
  // Indices 4 and 5 are the map's two entries; 3 and 6 lie outside it and give black.
  const std::vector<uint8_t> indices = {4, 5, 3, 6};
  const struct {
    uint8_t entrySize, descriptor;
    std::vector<uint8_t> map;
    std::vector<uint32_t> expected;
  } cases[] = {
      {15, 0x20, {0x00, 0x7C, 0x1F, 0x00}, {Argb(255, 0, 0), Argb(0, 0, 255)}},
      {16, 0x21, {0x00, 0xFC, 0x1F, 0x00}, {Argb(255, 0, 0), Argb(0, 0, 255, 0)}},
      {24, 0x20, {1, 2, 3, 4, 5, 6}, {Argb(3, 2, 1), Argb(6, 5, 4)}},
      {32, 0x28, {1, 2, 3, 128, 4, 5, 6, 255}, {Argb(3, 2, 1, 128), Argb(6, 5, 4)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(int{c.entrySize});
    for (uint8_t type : {1, 9}) {
      const std::vector<uint8_t> pixels =
          type == 1 ? indices : std::vector<uint8_t>{0x01, 4, 5, 0x81, 3};  // raw 4 5, then 3 twice
      const Image image = LoadTarga(WriteTarga({.imageType = type, .pixelDepth = 8, .descriptor = c.descriptor,
                                                .width = 4, .colorMapType = 1, .mapEntrySize = c.entrySize,
                                                .mapFirst = 4, .mapLength = 2, .map = c.map, .pixels = pixels}));
      EXPECT_EQ(image.bitsPerPixel, 8u);
      EXPECT_EQ(image.hasAlpha, c.entrySize == 16 || c.entrySize == 32);
      ExpectPixels(image, 4, 1, {c.expected[0], c.expected[1], Argb(0, 0, 0), Argb(0, 0, 0)});
    }
  }
}

TEST(Targa, SixteenBitIndices) {
  const Image image = LoadTarga(WriteTarga({.imageType = 1, .pixelDepth = 16, .width = 2, .colorMapType = 1,
                                            .mapEntrySize = 24, .mapFirst = 300, .mapLength = 1,
                                            .map = {9, 8, 7}, .pixels = {0x2C, 0x01, 0x2D, 0x01}}));
  ExpectPixels(image, 2, 1, {Argb(7, 8, 9), Argb(0, 0, 0)});
}

TEST(Targa, RlePacketsMayCrossRowsButNotTheEnd) {
  // A 2 x 2 top-down picture: one repeated packet of 3 pixels, then one raw pixel.
  const TargaLayout layout{.imageType = 11, .pixelDepth = 8, .descriptor = 0x20, .width = 2, .height = 2,
                           .pixels = {0x82, 7, 0x00, 9}};
  ExpectPixels(LoadTarga(WriteTarga(layout)), 2, 2, {Argb(7, 7, 7), Argb(7, 7, 7), Argb(7, 7, 7), Argb(9, 9, 9)});
  TargaLayout past = layout;
  past.pixels = {0x82, 7, 0x81, 9};  // the second packet claims two pixels where one is left
  EXPECT_THROW(LoadTarga(WriteTarga(past)), DecodeError);
  TargaLayout truncated = layout;
  truncated.pixels = {0x82, 7, 0x01, 9};
  EXPECT_THROW(LoadTarga(WriteTarga(truncated)), DecodeError);
}

TEST(Targa, ExtensionAreaDecidesWhetherAlphaBitsAreAlpha) {
  const std::vector<uint8_t> file =
      WriteTarga({.pixelDepth = 32, .descriptor = 0x28, .width = 1, .pixels = {1, 2, 3, 64}});
  EXPECT_EQ(LoadTarga(file).pixels[0], Argb(3, 2, 1, 64));
  EXPECT_EQ(LoadTarga(WithFooter(file, 3)).pixels[0], Argb(3, 2, 1, 64));
  const Image ignored = LoadTarga(WithFooter(file, 0));
  EXPECT_FALSE(ignored.hasAlpha);
  EXPECT_EQ(ignored.pixels[0], Argb(3, 2, 1));
}

TEST(Targa, ContentTestIsStrictWithoutTheFooter) {
  const TargaLayout good{.width = 2, .height = 2, .pixels = std::vector<uint8_t>(12, 0)};
  EXPECT_TRUE(Accepts(kTargaFormat, WriteTarga(good)));

  // Map fields without a map, as a cursor file's header would have them: only the footer vouches for them.
  TargaLayout stray = good;
  stray.mapFirst = 1;
  EXPECT_FALSE(Accepts(kTargaFormat, WriteTarga(stray)));
  EXPECT_TRUE(Accepts(kTargaFormat, WithFooter(WriteTarga(stray), 0)));

  const auto rejects = [&](auto change) {
    TargaLayout layout = good;
    change(layout);
    return !Accepts(kTargaFormat, WriteTarga(layout)) && !Accepts(kTargaFormat, WithFooter(WriteTarga(layout), 0));
  };
  EXPECT_TRUE(rejects([](TargaLayout& s) { s.imageType = 4; }));
  EXPECT_TRUE(rejects([](TargaLayout& s) { s.imageType = 1; }));  // colour-mapped without a map
  EXPECT_TRUE(rejects([](TargaLayout& s) { s.colorMapType = 2; }));
  EXPECT_TRUE(rejects([](TargaLayout& s) { s.pixelDepth = 8; }));
  EXPECT_TRUE(rejects([](TargaLayout& s) { s.mapEntrySize = 12; }));
  EXPECT_TRUE(rejects([](TargaLayout& s) { s.width = 0; }));
  EXPECT_TRUE(rejects([](TargaLayout& s) { s.descriptor = 0x40; }));
  EXPECT_TRUE(rejects([](TargaLayout& s) {
    s.imageType = 1, s.colorMapType = 1, s.mapEntrySize = 24, s.mapLength = 2, s.pixelDepth = 24;
  }));

  TargaLayout short1 = good;
  short1.pixels.pop_back();
  EXPECT_FALSE(Accepts(kTargaFormat, WriteTarga(short1)));
}

TEST(Targa, HostileHeadersFailBeforeAllocating) {
  // 8192 x 8192 is within the pixel limit, but its RLE packets need far more than these bytes.
  EXPECT_THROW(LoadTarga(WriteTarga({.imageType = 10, .width = 8192, .height = 8192, .pixels = {0xFF, 1, 2, 3}})),
               DecodeError);
  EXPECT_THROW(LoadTarga(WriteTarga({.width = 65535, .height = 65535})), DecodeError);
  EXPECT_THROW(LoadTarga({0, 0, 2}), DecodeError);
}

TEST(Targa, EveryPrefixOfEveryVariantFailsCleanly) {
  for (const char* name : {"targa/rgb24-rle.tga", "targa/palette-rle.tga", "targa/rgba32.tga", "targa/gray.tga"})
    ExpectPrefixes(Prefixes::kFailOrDecode, ReadTestFile(name), Loader(kTargaFormat));
  ExpectPrefixes(Prefixes::kFailOrDecode, 
      WithFooter(WriteTarga({.pixelDepth = 32, .descriptor = 0x28, .width = 1, .pixels = {1, 2, 3, 4}}), 3),
      Loader(kTargaFormat));
}

}  // namespace
}  // namespace imaging
