#include <gtest/gtest.h>

#include <filesystem>
#include <zlib.h>

#include <cstring>
#include <optional>

#include "imaging/FileFormatList.h"
#include "imaging/Png.h"
#include "imaging/ReadAheadRows.h"
#include "tests/imaging/ByteWriter.h"
#include "tests/imaging/RowsImage.h"
#include "tests/imaging/TestFiles.h"

namespace imaging {
namespace {

using test::ReadTestFile;

Image LoadPng(Bytes file) { return kPngFormat.load(file, {}); }

struct PngCase {
  const char* name;
  uint32_t bitsPerPixel;
  bool hasAlpha;
  int tolerance = 0;  // 16-bit samples: ImageMagick's references truncate to 8 bits, libpng rounds
};

class PngPictures : public ::testing::TestWithParam<PngCase> {};

TEST_P(PngPictures, DecodeExactlyAsTheReference) {
  const PngCase& c = GetParam();
  test::ExpectDecodesAsReference(kPngFormat, std::string("png/") + c.name + ".png",
                                 {13, 9, c.bitsPerPixel, c.hasAlpha, c.tolerance});
}

INSTANTIATE_TEST_SUITE_P(
    EveryColourTypeAndDepth, PngPictures,
    ::testing::Values(PngCase{"grey1", 1, false}, PngCase{"grey1-interlaced", 1, false}, PngCase{"grey2", 2, false},
                      PngCase{"grey4", 4, false}, PngCase{"grey8", 8, false}, PngCase{"grey16", 16, false, 1},
                      PngCase{"grey-key", 8, true}, PngCase{"greyalpha8", 16, true},
                      PngCase{"greyalpha16", 32, true, 1}, PngCase{"palette1", 1, false},
                      PngCase{"palette2", 2, false}, PngCase{"palette4", 4, false},
                      PngCase{"palette4-interlaced", 4, false}, PngCase{"palette8", 8, false},
                      PngCase{"palette-key", 8, true}, PngCase{"rgb8", 24, false}, PngCase{"rgb8-key", 24, true},
                      PngCase{"rgb16", 48, false, 1}, PngCase{"rgb16-interlaced", 48, false, 1},
                      PngCase{"rgba8", 32, true}, PngCase{"rgba8-interlaced", 32, true},
                      PngCase{"rgba16", 64, true, 1}),
    [](const ::testing::TestParamInfo<PngCase>& info) {
      std::string name = info.param.name;
      for (char& c : name)
        if (c == '-') c = '_';
      return name;
    });

// A PNG file written here: the signature and chunks with their CRCs.
class PngWriter {
public:
  PngWriter() { out_.Put({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}); }

  PngWriter& Chunk(const char* type, const std::vector<uint8_t>& data) {
    out_.U32Be(static_cast<uint32_t>(data.size()));
    const size_t start = out_.Size();
    out_.Text(std::string(type, 4)).Put(data);
    out_.U32Be(static_cast<uint32_t>(crc32(0, out_.bytes.data() + start, static_cast<uInt>(out_.Size() - start))));
    return *this;
  }

  PngWriter& Header(uint32_t width, uint32_t height) {
    return Chunk("IHDR", test::ByteWriter().U32Be(width).U32Be(height).Put({8, 2, 0, 0, 0}).bytes);  // 8-bit RGB, not interlaced
  }

  // Rows of filter type 0 holding the given RGB bytes.
  PngWriter& Data(uint32_t height, const std::vector<uint8_t>& row) {
    std::vector<uint8_t> raw;
    for (uint32_t y = 0; y < height; ++y) {
      raw.push_back(0);
      raw.insert(raw.end(), row.begin(), row.end());
    }
    std::vector<uint8_t> packed(compressBound(static_cast<uLong>(raw.size())));
    uLongf packedSize = static_cast<uLongf>(packed.size());
    compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()));
    packed.resize(packedSize);
    return Chunk("IDAT", packed);
  }

  std::vector<uint8_t> End() {
    Chunk("IEND", {});
    return out_.bytes;
  }

private:
  test::ByteWriter out_;
};

const std::vector<uint8_t> kTwoPixels = {255, 0, 0, 0, 0, 255};

TEST(PngWriterCheck, WritesAFileThatDecodes) {
  const Image image = LoadPng(PngWriter().Header(2, 3).Data(3, kTwoPixels).End());
  ASSERT_EQ(image.pixels.size(), 6u);
  EXPECT_EQ(image.pixels[4], 0xFFFF0000u);
  EXPECT_EQ(image.pixels[5], 0xFF0000FFu);
}

TEST(PngDamage, EveryTruncationFails) {
  for (const char* name : {"png/rgba8-interlaced.png", "png/palette1.png", "png/rgb16.png"}) {
    SCOPED_TRACE(name);
    test::ExpectPrefixesFail(ReadTestFile(name), LoadPng);
  }
}

TEST(PngDamage, BadChunkChecksumsAndBadPixelDataFail) {
  const std::vector<uint8_t> good = PngWriter().Header(2, 3).Data(3, kTwoPixels).End();
  std::vector<uint8_t> badHeaderCrc = good;
  badHeaderCrc[8 + 8 + 13] ^= 1;
  EXPECT_THROW(LoadPng(badHeaderCrc), DecodeError);
  std::vector<uint8_t> badDataCrc = good;
  badDataCrc[good.size() - 12 - 1] ^= 1;
  EXPECT_THROW(LoadPng(badDataCrc), DecodeError);
  // A zlib stream with a wrong checksum, in a chunk whose own CRC is right.
  std::vector<uint8_t> stream(good.begin() + 33 + 8, good.end() - 12 - 4);
  stream.back() ^= 1;
  EXPECT_THROW(LoadPng(PngWriter().Header(2, 3).Chunk("IDAT", stream).End()), DecodeError);
  EXPECT_THROW(LoadPng(PngWriter().Header(2, 3).Data(2, kTwoPixels).End()), DecodeError);
  EXPECT_THROW(LoadPng(PngWriter().Header(2, 3).End()), DecodeError);
}

// Files spoiled in one way each (tests/data/make-damaged-pngs.sh): bad chunk checksums, header sizes and
// bit depths, data cut short, a bad filter type, a palette index past the palette, a missing palette.
TEST(PngDamage, DamagedFilesOfOurOwnFailCleanly) {
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(ORLO_TEST_DATA) + "/png-damaged")) {
    const std::string name = "png-damaged/" + entry.path().filename().string();
    EXPECT_THROW(LoadPng(ReadTestFile(name)), DecodeError) << name;
    ++files;
  }
  EXPECT_EQ(files, 12u);
}

TEST(PngDamage, HugeOrEmptyDimensionsFailBeforeAllocating) {
  try {
    LoadPng(PngWriter().Header(100000, 100000).Data(1, kTwoPixels).End());
    ADD_FAILURE() << "a 100000 x 100000 picture loaded";
  } catch (const DecodeError& error) {
    EXPECT_NE(std::strstr(error.what(), "too large"), nullptr) << error.what();
  }
  EXPECT_THROW(LoadPng(PngWriter().Header((1u << 26) + 1, 1).Data(1, kTwoPixels).End()), DecodeError);
  EXPECT_THROW(LoadPng(PngWriter().Header(0, 3).Data(3, kTwoPixels).End()), DecodeError);
}

// The rows read one by one, checked against the whole decode: both fail, or both give the same pixels.
Image StreamPngAsWhole(Bytes file) {
  std::optional<Image> whole;
  try {
    whole = LoadPng(file);
  } catch (const DecodeError&) {
  }
  try {
    Image streamed = test::ReadAllPngRows(file);
    EXPECT_TRUE(whole) << "the stream decodes what the whole decode refuses";
    if (whole) {
      EXPECT_EQ(streamed.pixels, whole->pixels);
    }
    return streamed;
  } catch (const DecodeError&) {
    EXPECT_FALSE(whole) << "the stream fails where the whole decode does not";
    throw;
  }
}

TEST(PngRows, GiveTheRowsOfTheWholeDecode) {
  for (const char* name : {"conversion/photo.png", "conversion/interlaced-alpha.png", "conversion/grey16.png",
                           "conversion/palette.png", "png/rgb16-interlaced.png", "png/grey1.png", "png/palette-key.png",
                           "png/greyalpha16.png"}) {
    SCOPED_TRACE(name);
    StreamPngAsWhole(ReadTestFile(name));
  }
}

TEST(PngRows, ReadAheadGivesTheRowsOfTheWholeDecode) {
  for (const char* name : {"conversion/photo.png", "conversion/interlaced-alpha.png"}) {
    const std::vector<uint8_t> file = ReadTestFile(name);
    ReadAheadRows rows(std::make_unique<PngRows>(file));
    EXPECT_EQ(test::ReadAllRows(rows).pixels, LoadPng(file).pixels) << name;
  }
}

TEST(PngRows, SkipForwardButNeverBack) {
  for (const char* name : {"conversion/photo.png", "conversion/interlaced-alpha.png"}) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> file = ReadTestFile(name);
    const Image whole = LoadPng(file);
    PngRows rows(file);
    EXPECT_EQ(rows.Width(), static_cast<int32_t>(whole.width));
    EXPECT_EQ(rows.Height(), static_cast<int32_t>(whole.height));
    for (const int32_t y : {3, 3, 4, 17, 40, 139})
      EXPECT_TRUE(std::equal(whole.Row(static_cast<uint32_t>(y)), whole.Row(static_cast<uint32_t>(y)) + whole.width,
                             rows.Row(y)))
          << "row " << y;
    EXPECT_THROW(rows.Row(40), std::out_of_range);
    EXPECT_THROW(rows.Row(rows.Height()), std::out_of_range);
    EXPECT_THROW(rows.Row(-1), std::out_of_range);
  }
}

// A damaged file fails on the row where its data gives out, or at the last row where only its end is
// damaged, as the whole decode fails; and a failed stream gives no more rows.
TEST(PngRowsDamage, CutAndDamagedFilesFailAsTheWholeDecodeDoes) {
  for (const char* name : {"png/rgba8-interlaced.png", "png/rgb8.png", "png/palette4.png"}) {
    SCOPED_TRACE(name);
    test::ExpectPrefixesFail(ReadTestFile(name), StreamPngAsWhole);
    test::ExpectDamageHandled(ReadTestFile(name), StreamPngAsWhole);
  }
  const std::vector<uint8_t> good = PngWriter().Header(2, 3).Data(3, kTwoPixels).End();
  std::vector<uint8_t> badDataCrc = good;
  badDataCrc[good.size() - 12 - 1] ^= 1;
  EXPECT_THROW(StreamPngAsWhole(badDataCrc), DecodeError);

  const std::vector<uint8_t> photo = ReadTestFile("conversion/photo.png");
  const std::vector<uint8_t> cut(photo.begin(), photo.begin() + static_cast<std::ptrdiff_t>(photo.size() / 2));
  PngRows rows(cut);
  test::ExpectFailsPartWayAndStaysFailed(rows);
}

}  // namespace
}  // namespace imaging
