#include <gtest/gtest.h>

#include <algorithm>

#include "imaging/Bmp.h"
#include "tests/imaging/ByteWriter.h"
#include "tests/imaging/TestFiles.h"

namespace imaging {
namespace {

using namespace test;

Image LoadBmp(const std::vector<uint8_t>& file, BmpLayout* layout = nullptr) {
  return DecodeBmp(Bytes(file), layout);
}

struct BmpFileLayout {
  uint32_t headerSize = 40;
  int32_t width = 1, height = 1;
  uint16_t bitCount = 24;
  uint32_t compression = 0, colorsUsed = 0;
  std::vector<uint32_t> masks{};    // inside a header of 52 bytes or more, after a 40-byte one
  std::vector<uint32_t> palette{};  // 0xRRGGBB
  uint32_t gap = 0;                 // bytes between the palette and the pixels
  std::vector<uint8_t> pixels{};
};

std::vector<uint8_t> InfoHeader(const BmpFileLayout& s) {
  ByteWriter info;
  if (s.headerSize == 12) return info.U32Le(12).U16Le(s.width).U16Le(s.height).U16Le(1).U16Le(s.bitCount).bytes;
  info.U32Le(s.headerSize).U32Le(s.width).U32Le(s.height).U16Le(1).U16Le(s.bitCount).U32Le(s.compression);
  info.U32Le(0).U32Le(2835).U32Le(2835).U32Le(s.colorsUsed).U32Le(0);
  if (s.headerSize > 40)
    for (uint32_t mask : s.masks) info.U32Le(mask);
  info.bytes.resize(s.headerSize);
  return info.bytes;
}

std::vector<uint8_t> WriteBmp(const BmpFileLayout& s) {
  ByteWriter tail{InfoHeader(s)};
  if (s.headerSize == 40)
    for (uint32_t mask : s.masks) tail.U32Le(mask);
  for (uint32_t colour : s.palette) {
    tail.Put({uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16)});
    if (s.headerSize != 12) tail.Put({0});
  }
  tail.bytes.resize(tail.bytes.size() + s.gap, 0xEE);
  const uint32_t offset = 14 + static_cast<uint32_t>(tail.bytes.size());
  ByteWriter file;
  file.Text("BM").U32Le(offset + static_cast<uint32_t>(s.pixels.size())).U32Le(0).U32Le(offset);
  return file.Put(tail.bytes).Put(s.pixels).bytes;
}

std::vector<uint32_t> Sixteen() {
  std::vector<uint32_t> colours;
  for (uint32_t i = 0; i < 16; ++i) colours.push_back(i * 0x100F01 + 0x000100);
  return colours;
}

uint32_t Opaque(uint32_t rgb) { return 0xFF000000u | rgb; }

TEST(Bmp, DecodesImageMagickSamples) {
  const struct {
    const char* name;
    uint32_t bitCount, compression;
    std::vector<uint32_t> masks;  // red, green, blue, alpha when the file gives masks
  } cases[] = {
      // ImageMagick widens 5- and 6-bit samples by shifting, which falls up to 7 short of full scale.
      {"rgb24-v3.bmp", 24, 0, {}},       {"rgb24-os2.bmp", 24, 0, {}},     {"palette8-v3.bmp", 8, 0, {}},
      {"palette8-os2.bmp", 8, 0, {}},    {"rle8.bmp", 8, 1, {}},           {"palette4.bmp", 4, 0, {}},
      {"mono.bmp", 1, 0, {}},            {"rgb565.bmp", 16, 3, {0xF800, 0x07E0, 0x001F, 0}},
      {"rgb555-v4.bmp", 16, 3, {0x7C00, 0x03E0, 0x001F, 0}},
      {"argb32-v5.bmp", 32, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string name = std::string("bmp/") + c.name;
    BmpLayout layout;
    const Image image = LoadBmp(ReadTestFile(name), &layout);
    EXPECT_EQ(image.bitsPerPixel, c.bitCount);
    EXPECT_EQ(layout.bitCount, c.bitCount);
    EXPECT_EQ(layout.compression, c.compression);
    EXPECT_EQ(layout.hasMasks, !c.masks.empty());
    if (!c.masks.empty()) {
      EXPECT_EQ(std::vector<uint32_t>({layout.redMask, layout.greenMask, layout.blueMask, layout.alphaMask}),
                c.masks);
    }
    EXPECT_EQ(image.hasAlpha, !c.masks.empty() && c.masks[3] != 0);
    ExpectPixels(image, 7, 5, ReadReference(name), c.bitCount == 16 ? 7 : 0);
  }
}

TEST(Bmp, Rle4DeltasSkipPixelsThatStayBlack) {
  // 7 x 3, bottom row first: a run of five, an absolute run of three (its last pixel falls past the row end),
  // end of line; a delta two right and one up; a run of two; end of bitmap.
  const BmpFileLayout layout{.width = 7, .height = 3, .bitCount = 4, .compression = 2, .palette = Sixteen(),
                             .pixels = {5, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 2, 2, 1, 2, 0xFF, 0, 1}};
  const Image image = LoadBmp(WriteBmp(layout));
  const auto c = [](uint32_t i) { return Opaque(Sixteen()[i]); };
  const uint32_t black = Argb(0, 0, 0);
  ExpectPixels(image, 7, 3, {black, black, c(15), c(15), black, black, black,  //
                             black, black, black, black, black, black, black,  //
                             c(1),  c(2),  c(1),  c(2),  c(1),  c(3),  c(4)});
}

TEST(Bmp, Rle8AbsoluteRunsArePaddedAndTopDownWorks) {
  const BmpFileLayout layout{.width = 4, .height = -2, .bitCount = 8, .compression = 1, .palette = Sixteen(),
                             .pixels = {0, 3, 1, 2, 3, 0, 1, 9, 0, 0, 4, 7, 0, 1}};
  const auto c = [](uint32_t i) { return Opaque(Sixteen()[i]); };
  ExpectPixels(LoadBmp(WriteBmp(layout)), 4, 2, {c(1), c(2), c(3), c(9), c(7), c(7), c(7), c(7)});

  BmpFileLayout missingEnd = layout;
  missingEnd.pixels.resize(missingEnd.pixels.size() - 2);  // the rows are complete: the end code may be missing
  EXPECT_NO_THROW(LoadBmp(WriteBmp(missingEnd)));
  BmpFileLayout truncated = layout;
  truncated.pixels.resize(9);
  EXPECT_THROW(LoadBmp(WriteBmp(truncated)), DecodeError);
  BmpFileLayout pastLastRow = layout;
  pastLastRow.pixels = {0, 2, 0, 2, 1, 0};  // a delta two rows down, then a pixel
  EXPECT_THROW(LoadBmp(WriteBmp(pastLastRow)), DecodeError);
}

TEST(Bmp, BitFieldsOfAnyContiguousWidthScaleToEightBits) {
  // 16 bits, 5-6-5, masks after a 40-byte header: pure green, and half-scale red.
  BmpLayout layout;
  const Image rgb565 = LoadBmp(WriteBmp({.width = 2, .bitCount = 16, .compression = 3,
                                         .masks = {0xF800, 0x07E0, 0x001F}, .pixels = {0xE0, 0x07, 0x00, 0x80}}),
                               &layout);
  ExpectPixels(rgb565, 2, 1, {Argb(0, 255, 0), Argb(132, 0, 0)});
  EXPECT_TRUE(layout.hasMasks);
  EXPECT_EQ(layout.greenMask, 0x07E0u);

  // 32 bits, 10-10-10-2 with alpha, as BI_ALPHABITFIELDS after a 40-byte header.
  const uint32_t pixel = (3u << 30) | (1023u << 20) | (512u << 10) | 0;
  const Image deep = LoadBmp(WriteBmp({.bitCount = 32, .compression = 6,
                                       .masks = {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000},
                                       .pixels = {uint8_t(pixel), uint8_t(pixel >> 8), uint8_t(pixel >> 16),
                                                  uint8_t(pixel >> 24)}}));
  EXPECT_TRUE(deep.hasAlpha);
  EXPECT_EQ(deep.pixels[0], Argb(255, 128, 0, 255));

  // The same masks inside 52-, 56- and 108-byte headers; alpha only from 56 bytes on.
  for (uint32_t headerSize : {52u, 56u, 108u}) {
    SCOPED_TRACE(headerSize);
    const Image image = LoadBmp(WriteBmp({.headerSize = headerSize, .bitCount = 32, .compression = 3,
                                          .masks = {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000},
                                          .pixels = {0, 0, 0xF0, 0x7F}}));
    EXPECT_EQ(image.hasAlpha, headerSize >= 56);
    EXPECT_EQ(image.pixels[0], Argb(255, 0, 0, headerSize >= 56 ? 85 : 255));
  }
}

TEST(Bmp, BadMasksFail) {
  for (const std::vector<uint32_t>& masks : std::vector<std::vector<uint32_t>>{
           {0xF00F, 0x0F00, 0x00F0}, {0x1F0000, 0x07E0, 0x001F}}) {
    EXPECT_THROW(LoadBmp(WriteBmp({.width = 2, .bitCount = 16, .compression = 3, .masks = masks,
                                   .pixels = {0, 0, 0, 0}})),
                 DecodeError);
  }
  EXPECT_THROW(LoadBmp(WriteBmp({.compression = 3, .masks = {0xFF0000, 0xFF00, 0xFF}, .pixels = {1, 2, 3, 0}})),
               DecodeError);  // bit fields need 16 or 32 bits
}

TEST(Bmp, UncompressedRowOrdersAndPadding) {
  // 2 x 2 at 24 bits: rows of 6 bytes padded to 8.
  const std::vector<uint8_t> rows = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
  const std::vector<uint32_t> firstRowOnTop = {Argb(3, 2, 1), Argb(6, 5, 4), Argb(9, 8, 7), Argb(12, 11, 10)};
  ExpectPixels(LoadBmp(WriteBmp({.width = 2, .height = -2, .pixels = rows})), 2, 2, firstRowOnTop);
  const Image bottomUp = LoadBmp(WriteBmp({.width = 2, .height = 2, .pixels = rows}));
  EXPECT_EQ(bottomUp.Row(1)[0], Argb(3, 2, 1));
  EXPECT_EQ(bottomUp.Row(0)[1], Argb(12, 11, 10));
  // 16 bits without masks is 5-5-5.
  ExpectPixels(LoadBmp(WriteBmp({.bitCount = 16, .pixels = {0x1F, 0x7C, 0, 0}})), 1, 1, {Argb(255, 0, 255)});
}

TEST(Bmp, Os2HeadersAndPaletteSizes) {
  const auto c = [](uint32_t i) { return Opaque(Sixteen()[i]); };
  const std::vector<uint8_t> indices = {0, 15, 2, 0};
  for (uint32_t headerSize : {12u, 16u, 64u}) {
    SCOPED_TRACE(headerSize);
    const Image image = LoadBmp(WriteBmp({.headerSize = headerSize, .width = 3, .bitCount = 8,
                                          .palette = Sixteen(), .pixels = indices}));
    ExpectPixels(image, 3, 1, {c(0), c(15), c(2)});
  }
  // Two colours used: index 15 lies beyond them and is black; the gap before the pixels is skipped.
  const Image few = LoadBmp(WriteBmp({.width = 3, .bitCount = 8, .colorsUsed = 2, .palette = {0x112233, 0x445566},
                                      .gap = 6, .pixels = {1, 15, 0, 0}}));
  ExpectPixels(few, 3, 1, {Argb(0x44, 0x55, 0x66), Argb(0, 0, 0), Argb(0x11, 0x22, 0x33)});
  // An OS/2 core palette shorter than 2^bits: the pixel offset says where it ends.
  const Image shortCore = LoadBmp(WriteBmp({.headerSize = 12, .width = 2, .bitCount = 8,
                                            .palette = {0x010203, 0x040506}, .pixels = {1, 0, 0, 0}}));
  ExpectPixels(shortCore, 2, 1, {Argb(4, 5, 6), Argb(1, 2, 3)});
}

TEST(Bmp, HostileHeadersFail) {
  std::vector<std::vector<uint8_t>> files = {
      WriteBmp({.height = INT32_MIN, .pixels = {1, 2, 3, 0}}),
      WriteBmp({.width = 100000, .height = 100000, .pixels = {1, 2, 3, 0}}),
      WriteBmp({.width = -2, .pixels = {1, 2, 3, 0}}),
      WriteBmp({.width = 8192, .height = 8192, .pixels = {1, 2, 3, 0}}),  // the rows are missing
      WriteBmp({.headerSize = 20, .pixels = {1, 2, 3, 0}}),
      WriteBmp({.compression = 4, .pixels = {1, 2, 3, 0}}),
      WriteBmp({.bitCount = 2, .pixels = {1, 2, 3, 0}}),
      WriteBmp({.headerSize = 64, .bitCount = 24, .compression = 4, .pixels = {1, 2, 3, 0}}),  // OS/2 RLE24
      WriteBmp({.bitCount = 8, .compression = 2, .pixels = {0, 1}}),  // RLE4 needs 4 bits
  };
  std::vector<uint8_t> offsetPastEnd = WriteBmp({.pixels = {1, 2, 3, 0}});
  offsetPastEnd[10] = 200;
  files.push_back(offsetPastEnd);
  std::vector<uint8_t> offsetInHeader = WriteBmp({.bitCount = 8, .palette = {1}, .pixels = {0, 0, 0, 0}});
  offsetInHeader[10] = 20;
  files.push_back(offsetInHeader);
  files.push_back({'B', 'M', 0, 0});
  files.push_back({'X', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0});
  for (size_t i = 0; i < files.size(); ++i) EXPECT_THROW(LoadBmp(files[i]), DecodeError) << "case " << i;
}

TEST(Bmp, EveryPrefixFailsCleanly) {
  for (const char* name : {"bmp/rle8.bmp", "bmp/palette4.bmp", "bmp/rgb565.bmp", "bmp/rgb24-os2.bmp"})
    ExpectPrefixes(Prefixes::kFailOrDecode, ReadTestFile(name), [](Bytes b) { return DecodeBmp(b); });
  ExpectPrefixes(Prefixes::kFailOrDecode, WriteBmp({.width = 7, .height = 3, .bitCount = 4, .compression = 2, .palette = Sixteen(),
                                      .pixels = {5, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 2, 2, 1, 2, 0xFF, 0, 1}}),
                            [](Bytes b) { return DecodeBmp(b); });
}

}  // namespace
}  // namespace imaging
