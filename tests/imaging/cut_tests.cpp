#include <filesystem>

#include "imaging/FileFormatList.h"
#include "tests/imaging/ByteWriter.h"
#include "tests/imaging/TestFiles.h"

namespace imaging::test {
namespace {

namespace fs = std::filesystem;

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

class CutFormatTest : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("orlo-cut-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Write(const std::string& name, const std::vector<uint8_t>& data) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data.data()), data.size());
    return path.string();
  }

  fs::path dir_;
};

TEST_F(CutFormatTest, DecodesRowsWithThePaletteBesideIt) {
  const std::string name = Write("picture.cut", CutFile());
  Write("picture.pal", PalFile(8, 63));
  const Image image = Decode(kCutFormat, CutFile(), name);
  ASSERT_EQ(image.width, 6u);
  ASSERT_EQ(image.height, 2u);
  EXPECT_EQ(image.bitsPerPixel, 8u);
  const auto colour = [](uint32_t i) { return Argb(i * 255 / 63, 2 * i * 255 / 63, 3 * i * 255 / 63); };
  EXPECT_EQ(image.pixels, (Pixels{colour(1), colour(1), colour(1), colour(2), colour(3), colour(4),
                                                 colour(0), colour(1), colour(2), colour(3), colour(4), colour(5)}));
}

TEST_F(CutFormatTest, ReadsPaletteEntriesAcrossBlocks) {
  const std::string name = Write("big.cut", CutFile());
  Write("big.pal", PalFile(256, 255));
  // Entry 5 of a 256-colour palette lies in the first block; the file spans three blocks.
  EXPECT_EQ(Decode(kCutFormat, CutFile(), name).pixels[11], Argb(5, 10, 15));
  ByteWriter last;
  last.U16Le(1).U16Le(1).U16Le(0).U16Le(3).U8(0x81).U8(255).U8(0);
  EXPECT_EQ(Decode(kCutFormat, last.bytes, name).pixels[0], Argb(255, 254, 253));
}

TEST_F(CutFormatTest, ShowsGreyWithoutPaletteAndFailsOnABadOne) {
  EXPECT_EQ(Decode(kCutFormat, CutFile(), Write("grey.cut", CutFile())).pixels[5], Argb(4, 4, 4));
  const std::string name = Write("bad.cut", CutFile());
  std::vector<uint8_t> pal = PalFile(8, 63);
  pal[0] = 'X';
  Write("bad.pal", pal);
  EXPECT_THROW(Decode(kCutFormat, CutFile(), name), DecodeError);
  pal[0] = 'A';
  pal.resize(50);  // the header and a triple and a half
  Write("bad.pal", pal);
  EXPECT_THROW(Decode(kCutFormat, CutFile(), name), DecodeError);
}

TEST_F(CutFormatTest, RejectsDamagedRowsAndNeverClaimsContent) {
  const std::vector<uint8_t> good = CutFile();
  EXPECT_FALSE(Accepts(kCutFormat, good));
  EXPECT_FALSE(Accepts(kCutFormat, ReadTestFile("cut/halo.cut")));
  ExpectPrefixesFail(good, Loader(kCutFormat, "missing.cut"));
  ExpectDamageHandled(good, Loader(kCutFormat, "missing.cut"));
  std::vector<uint8_t> overflow = good;
  overflow[8] = 0x87;  // a run of seven in a row of six
  EXPECT_THROW(Decode(kCutFormat, overflow, "missing.cut"), DecodeError);
  ByteWriter huge;
  huge.U16Le(65535).U16Le(65535).U16Le(0);
  EXPECT_THROW(Decode(kCutFormat, huge.bytes, "missing.cut"), DecodeError);
  EXPECT_EQ(Decode(kCutFormat, ReadTestFile("cut/halo.cut"), std::string(ORLO_TEST_DATA) + "/cut/halo.cut").pixels[0],
            Argb(0, 255, 0));
}

}  // namespace
}  // namespace imaging::test
