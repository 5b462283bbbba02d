#include "imaging/FileFormatList.h"
#include "tests/imaging/ByteWriter.h"
#include "tests/imaging/TestFiles.h"

namespace imaging::test {
namespace {

// A 6 x 2 picture: row 0 a run of three 1s and a literal 2, 3, 4; row 1 a literal 0..5.
std::vector<uint8_t> CutFile() {
  ByteWriter out;
  out.U16Le(6).U16Le(2).U16Le(0);
  out.U16Le(7).U8(0x83).U8(1).U8(3).U8(2).U8(3).U8(4).U8(0);
  out.U16Le(8).U8(6).U8(0).U8(1).U8(2).U8(3).U8(4).U8(5).U8(0);
  return out.bytes;
}

// A palette of `count` colours (i, 2i, 3i) on a scale of 0..max, in 512-byte blocks that no triple crosses.
std::vector<uint8_t> PalFile(uint32_t count, uint32_t max) {
  ByteWriter out;
  out.Text("AH").U16Le(0xE3).U16Le(0).U8(0x0A).U8(0).U16Le(0).U16Le(0).U16Le(count - 1);
  out.U16Le(max).U16Le(max).U16Le(max).Text("Dr. Halo").Zeros(12);
  for (uint32_t i = 0; i < count; ++i) {
    if (512 - out.Size() % 512 < 6) out.Zeros(512 - out.Size() % 512);
    out.U16Le(i % (max + 1)).U16Le(2 * i % (max + 1)).U16Le(3 * i % (max + 1));
  }
  return out.bytes;
}

TEST(CutFormat, DecodesRowsWithItsPalette) {
  const Image image = Decode(kCutFormat, CutFile(), PalFile(8, 63));
  ASSERT_EQ(image.width, 6u);
  ASSERT_EQ(image.height, 2u);
  EXPECT_EQ(image.bitsPerPixel, 8u);
  const auto colour = [](uint32_t i) { return Argb(i * 255 / 63, 2 * i * 255 / 63, 3 * i * 255 / 63); };
  EXPECT_EQ(image.pixels, (Pixels{colour(1), colour(1), colour(1), colour(2), colour(3), colour(4),
                                                 colour(0), colour(1), colour(2), colour(3), colour(4), colour(5)}));
}

TEST(CutFormat, ReadsPaletteEntriesAcrossBlocks) {
  const std::vector<uint8_t> palette = PalFile(256, 255);
  // Entry 5 of a 256-colour palette lies in the first block; the file spans three blocks.
  EXPECT_EQ(Decode(kCutFormat, CutFile(), palette).pixels[11], Argb(5, 10, 15));
  ByteWriter last;
  last.U16Le(1).U16Le(1).U16Le(0).U16Le(3).U8(0x81).U8(255).U8(0);
  EXPECT_EQ(Decode(kCutFormat, last.bytes, palette).pixels[0], Argb(255, 254, 253));
}

TEST(CutFormat, ShowsGreyWithoutPaletteAndFailsOnABadOne) {
  EXPECT_EQ(Decode(kCutFormat, CutFile()).pixels[5], Argb(4, 4, 4));
  std::vector<uint8_t> pal = PalFile(8, 63);
  pal[0] = 'X';
  EXPECT_THROW(Decode(kCutFormat, CutFile(), pal), DecodeError);
  pal[0] = 'A';
  pal.resize(50);  // the header and a triple and a half
  EXPECT_THROW(Decode(kCutFormat, CutFile(), pal), DecodeError);
  // An empty palette file is no palette; any other cut is a bad one.
  const std::vector<uint8_t> whole = PalFile(8, 63);
  for (size_t length : {1u, 39u, 40u, 45u, 81u})
    EXPECT_THROW(Decode(kCutFormat, CutFile(), std::vector<uint8_t>(whole.begin(), whole.begin() + length)),
                 DecodeError)
        << length;
}

TEST(CutFormat, RejectsDamagedRowsAndNeverClaimsContent) {
  const std::vector<uint8_t> good = CutFile();
  EXPECT_FALSE(Accepts(kCutFormat, good));
  EXPECT_FALSE(Accepts(kCutFormat, ReadTestFile("cut/halo.cut")));
  ExpectPrefixesFail(good, Loader(kCutFormat));
  ExpectDamageHandled(good, Loader(kCutFormat));
  std::vector<uint8_t> overflow = good;
  overflow[8] = 0x87;  // a run of seven in a row of six
  EXPECT_THROW(Decode(kCutFormat, overflow), DecodeError);
  ByteWriter huge;
  huge.U16Le(65535).U16Le(65535).U16Le(0);
  EXPECT_THROW(Decode(kCutFormat, huge.bytes), DecodeError);
  EXPECT_EQ(Decode(kCutFormat, ReadTestFile("cut/halo.cut"), ReadTestFile("cut/halo.pal")).pixels[0], Argb(0, 255, 0));
}

}  // namespace
}  // namespace imaging::test
