#include <gtest/gtest.h>

#include "imaging/FileFormatList.h"
#include "tests/imaging/ByteWriter.h"
#include "tests/imaging/TestFiles.h"

namespace imaging {
namespace {

using namespace test;

std::vector<uint8_t> Text(const std::string& text) { return {text.begin(), text.end()}; }
Image LoadPpm(const std::vector<uint8_t>& file) { return kPpmFormat.load(Bytes(file), {}); }

TEST(Ppm, DecodesImageMagickSamplesOfEveryKind) {
  const struct {
    const char* name;
    uint32_t bitsPerPixel;
  } cases[] = {
      {"p1.pbm", 1}, {"p2.pgm", 8}, {"p3.ppm", 24}, {"p4.pbm", 1},
      {"p5.pgm", 8}, {"p6.ppm", 24}, {"p5-16bit.pgm", 16}, {"p6-16bit.ppm", 48},
  };
  for (const auto& c : cases) {
    const int tolerance = c.bitsPerPixel >= 16 ? 1 : 0;  // rounding of 16-bit samples
    ExpectDecodesAsReference(kPpmFormat, std::string("ppm/") + c.name, {7, 5, c.bitsPerPixel, false, tolerance});
  }
}

TEST(Ppm, CommentsMayStandAnywhereInTheHeader) {
  const Image image = LoadPpm(Text("P6#kind\n# size follows\n2#w\n 1 # h\n#maxval next\n255\n\x01\x02\x03\x04\x05\x06"));
  ExpectPixels(image, 2, 1, {Argb(1, 2, 3), Argb(4, 5, 6)});
  EXPECT_TRUE(Accepts(kPpmFormat, Text("P1\n# a bitmap\n1 1\n1")));
}

TEST(Ppm, PlainBitmapDigitsNeedNoSeparatorAndOneIsBlack) {
  ExpectPixels(LoadPpm(Text("P1 3 2 010\n1 0 0")), 3, 2,
               {Argb(255, 255, 255), Argb(0, 0, 0), Argb(255, 255, 255), Argb(0, 0, 0), Argb(255, 255, 255),
                Argb(255, 255, 255)});
  // Raw bitmap rows are padded to whole bytes: 10 pixels take 2 bytes a row.
  const Image raw = LoadPpm(Text(std::string("P4 10 2\n\xC0\x40\x00\x80", 12)));
  EXPECT_EQ(raw.Row(0)[1], Argb(0, 0, 0));
  EXPECT_EQ(raw.Row(0)[9], Argb(0, 0, 0));
  EXPECT_EQ(raw.Row(1)[0], Argb(255, 255, 255));
  EXPECT_EQ(raw.Row(1)[8], Argb(0, 0, 0));
}

TEST(Ppm, SamplesScaleFromAnyMaxvalToEightBits) {
  ExpectPixels(LoadPpm(Text("P2 4 1 1000 0 500 1000 1200")), 4, 1,
               {Argb(0, 0, 0), Argb(128, 128, 128), Argb(255, 255, 255), Argb(255, 255, 255)});
  ExpectPixels(LoadPpm(Text("P3 1 1 1 1 0 1")), 1, 1, {Argb(255, 0, 255)});
  const Image wide = LoadPpm(Text(std::string("P5 2 1 65535 \x80\x80\xFF\xFF", 17)));
  EXPECT_EQ(wide.bitsPerPixel, 16u);
  ExpectPixels(wide, 2, 1, {Argb(128, 128, 128), Argb(255, 255, 255)});
  const Image deep = LoadPpm(Text(std::string("P6 1 1 300 \x01\x2C\x00\x00\x00\x96", 17)));
  EXPECT_EQ(deep.bitsPerPixel, 48u);
  ExpectPixels(deep, 1, 1, {Argb(255, 0, 128)});
}

TEST(Ppm, BadHeadersAndRastersFail) {
  for (const char* text : {"P6 1 1 0 \x01\x02\x03", "P5 1 1 65536 \x01\x02", "P5 1 1 255\x01", "P5 1 x 255 \x01",
                           "P7 1 1 255 \x01", "P5 1 1 255 ", "P3 1 1 255 1 2", "P1 2 1 0 2", "P5 99999999999 1 255 1",
                           "P6 65535 65535 255 \x01", "P6 8192 8192 255 \x01\x02\x03", "P2 8192 8192 255 1 2 3"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(LoadPpm(Text(text)), DecodeError);
  }
}

TEST(Ppm, ContentTestWantsAWholeHeader) {
  EXPECT_TRUE(Accepts(kPpmFormat, Text("P6 7 5 255\n")));
  for (const char* text : {"P6", "P6 7 5", "P67 5 255\n", "P0 7 5 255\n", "P6 0 5 255\n", "p6 7 5 255\n",
                           "P6\n7 5 255x"})
    EXPECT_FALSE(Accepts(kPpmFormat, Text(text))) << text;
}

TEST(Ppm, EveryPrefixFailsCleanly) {
  for (const char* name : {"ppm/p1.pbm", "ppm/p3.ppm", "ppm/p4.pbm", "ppm/p6-16bit.ppm"})
    ExpectPrefixes(Prefixes::kFailOrDecode, ReadTestFile(name), Loader(kPpmFormat));
}

}  // namespace
}  // namespace imaging
