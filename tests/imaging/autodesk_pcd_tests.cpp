#include <cstring>

#include "imaging/FileFormatList.h"
#include "imaging/Pcd.h"
#include "tests/imaging/ByteWriter.h"
#include "tests/imaging/TestFiles.h"

namespace imaging::test {
namespace {

std::vector<uint8_t> CelFile(uint32_t w, uint32_t h, bool eightBitPalette) {
  ByteWriter out;
  out.U16Le(0x9119).U16Le(w).U16Le(h).U16Le(0).U16Le(0).U8(8).U8(0).U32Le(w * h).Zeros(16);
  for (uint32_t i = 0; i < 256; ++i) {
    const uint32_t level = eightBitPalette ? i : i / 4;
    out.U8(level).U8(eightBitPalette ? 255 - i : 63 - level).U8(0);
  }
  for (uint32_t i = 0; i < w * h; ++i) out.U8(i * 37);
  return out.bytes;
}

TEST(AutodeskFormat, DecodesBothPaletteKinds) {
  const Image six = Decode(kAutodeskFormat, CelFile(5, 3, false));
  EXPECT_EQ(six.width, 5u);
  EXPECT_EQ(six.height, 3u);
  EXPECT_EQ(six.bitsPerPixel, 8u);
  EXPECT_EQ(six.pixels[0], Argb(0, 255, 0));
  EXPECT_EQ(six.pixels[7], Argb((7 * 37 % 256 / 4) * 255 / 63, (63 - 7 * 37 % 256 / 4) * 255 / 63, 0));
  const Image eight = Decode(kAutodeskFormat, CelFile(5, 3, true));
  EXPECT_EQ(eight.pixels[7], Argb(7 * 37 % 256, 255 - 7 * 37 % 256, 0));
  const Image sample = Decode(kAutodeskFormat, ReadTestFile("autodesk/six-bit.cel"));
  EXPECT_EQ(sample.width, 13u);
}

TEST(AutodeskFormat, RejectsDamagedAndForeignFiles) {
  const std::vector<uint8_t> good = CelFile(5, 3, false);
  EXPECT_TRUE(Accepts(kAutodeskFormat, good));
  for (size_t field : {0u, 10u, 11u, 12u}) {  // magic, depth, compression, image size
    std::vector<uint8_t> bad = good;
    bad[field] ^= 1;
    EXPECT_FALSE(Accepts(kAutodeskFormat, bad)) << field;
    EXPECT_THROW(Decode(kAutodeskFormat, bad), DecodeError);
  }
  ExpectPrefixesFail(good, Loader(kAutodeskFormat));
  std::vector<uint8_t> huge = CelFile(1, 1, false);
  huge[2] = huge[3] = huge[4] = huge[5] = 0xFF;  // 65535 x 65535, size field still 1
  EXPECT_THROW(Decode(kAutodeskFormat, huge), DecodeError);
}

// A Photo-CD image pac whose pixels tell their position: the left half darker than the right, the top
// half neutral and the bottom half reddish.
std::vector<uint8_t> PcdFile(uint8_t orientation) {
  std::vector<uint8_t> file(0xC0000, 0);
  std::memcpy(&file[0x800], "PCD_IPI", 7);
  file[0xE02] = orientation;
  struct { size_t w, h, offset; } layouts[] = {{192, 128, 0x2000}, {384, 256, 0xB800}, {768, 512, 0x30000}};
  for (const auto& l : layouts)
    for (size_t pair = 0; pair < l.h / 2; ++pair) {
      uint8_t* group = &file[l.offset + pair * 3 * l.w];
      for (size_t x = 0; x < l.w; ++x) group[x] = group[l.w + x] = x < l.w / 2 ? 60 : 120;
      std::memset(group + 2 * l.w, 156, l.w / 2);
      std::memset(group + 2 * l.w + l.w / 2, 2 * pair < l.h / 2 ? 137 : 180, l.w / 2);
    }
  return file;
}

TEST(PcdFormat, DecodesEveryResolution) {
  const std::vector<uint8_t> file = PcdFile(0);
  const uint32_t dark = Argb(82, 82, 82);  // 60 x 1.3584 on every channel: neutral chroma
  for (auto [resolution, w, h] : {std::tuple{PcdResolution::Base16, 192u, 128u}, {PcdResolution::Base4, 384u, 256u},
                                  {PcdResolution::Base, 768u, 512u}}) {
    const Image image = DecodePcd(file, resolution);
    ASSERT_EQ(image.width, w);
    ASSERT_EQ(image.height, h);
    EXPECT_EQ(image.bitsPerPixel, 24u);
    EXPECT_EQ(image.Row(0)[0], dark);
    EXPECT_EQ(image.Row(0)[w - 1], Argb(163, 163, 163));
    const uint32_t reddish = image.Row(h - 1)[0];
    EXPECT_GT(reddish >> 16 & 0xFF, 150u);
    EXPECT_LT(reddish >> 8 & 0xFF, 82u);
  }
  EXPECT_EQ(Decode(kPcdFormat, file).width, 768u);
}

// Chroma samples alternate between 137 and 181 from column to column and from row pair to row pair: the
// pixels between two samples take their mean, 159, those between four too.
TEST(PcdFormat, ChromaIsInterpolatedBetweenSamples) {
  std::vector<uint8_t> file = PcdFile(0);
  const size_t w = 768, offset = 0x30000;
  for (size_t pair = 0; pair < 256; ++pair) {
    uint8_t* red = &file[offset + pair * 3 * w + 2 * w + w / 2];
    for (size_t x = 0; x < w / 2; ++x) red[x] = (x + pair) % 2 ? 181 : 137;
  }
  const Image image = Decode(kPcdFormat, file);
  std::vector<uint8_t> even = PcdFile(0), between = PcdFile(0);
  for (size_t pair = 0; pair < 256; ++pair) {
    std::memset(&even[offset + pair * 3 * w + 2 * w + w / 2], 137, w / 2);
    std::memset(&between[offset + pair * 3 * w + 2 * w + w / 2], 159, w / 2);
  }
  const Image sample = Decode(kPcdFormat, even), mean = Decode(kPcdFormat, between);
  EXPECT_EQ(image.Row(0)[0], sample.Row(0)[0]);
  for (auto [x, y] : {std::pair{1u, 0u}, {0u, 1u}, {1u, 1u}, {101u, 200u}})
    EXPECT_EQ(image.Row(y)[x], mean.Row(y)[x]) << x << "," << y;
  // The last column and row have no sample beyond them: they keep their own.
  EXPECT_EQ(image.Row(0)[767], image.Row(0)[766]);
  EXPECT_EQ(image.Row(511)[0], image.Row(510)[0]);
}

TEST(PcdFormat, TurnsPortraitPicturesUpright) {
  const uint32_t dark = Argb(82, 82, 82), light = Argb(163, 163, 163);
  const Image landscape = Decode(kPcdFormat, PcdFile(0));
  const Image left = Decode(kPcdFormat, PcdFile(1));  // a quarter turn counter-clockwise
  ASSERT_EQ(left.width, 512u);
  ASSERT_EQ(left.height, 768u);
  EXPECT_EQ(left.Row(767)[0], dark);   // the stored top-left corner
  EXPECT_EQ(left.Row(0)[0], light);    // the stored top-right corner
  const Image right = Decode(kPcdFormat, PcdFile(3));
  EXPECT_EQ(right.Row(0)[511], dark);
  EXPECT_EQ(right.Row(767)[511], light);
  const Image upsideDown = Decode(kPcdFormat, PcdFile(2));
  ASSERT_EQ(upsideDown.width, 768u);
  EXPECT_EQ(upsideDown.Row(511)[767], landscape.Row(0)[0]);
  EXPECT_EQ(upsideDown.Row(0)[0], landscape.Row(511)[767]);
  EXPECT_EQ(Decode(kPcdFormat, ReadTestFile("pcd/portrait.pcd")).height, 768u);
}

TEST(PcdFormat, ContentTestAndTruncation) {
  std::vector<uint8_t> file = PcdFile(0);
  EXPECT_TRUE(Accepts(kPcdFormat, file));
  file[0x806] = 'X';
  EXPECT_FALSE(Accepts(kPcdFormat, file));
  EXPECT_THROW(Decode(kPcdFormat, file), DecodeError);
  ExpectPrefixesFail(PcdFile(1), Loader(kPcdFormat));
  const std::vector<uint8_t> whole = PcdFile(0);
  const std::vector<uint8_t> base4Only(whole.begin(), whole.begin() + 0x30000);
  EXPECT_EQ(DecodePcd(base4Only, PcdResolution::Base4).width, 384u);
  EXPECT_THROW(DecodePcd(base4Only, PcdResolution::Base), DecodeError);
}

}  // namespace
}  // namespace imaging::test
