#include <gtest/gtest.h>

#include <cstring>

#include "imaging/FileFormatList.h"
#include "tests/imaging/ByteWriter.h"
#include "tests/imaging/TestFiles.h"

namespace imaging {
namespace {

using test::Accepts;
using test::ReadReference;
using test::ReadTestFile;
using test::SamePixels;

Image LoadTiff(Bytes file) { return kTiffFormat.load(file, "picture.tif"); }
Image LoadEps(Bytes file) { return kEpsFormat.load(file, "picture.eps"); }

struct TiffCase {
  const char* name;
  uint32_t bitsPerPixel;
  bool hasAlpha;
  int tolerance;
};

class TiffPictures : public ::testing::TestWithParam<TiffCase> {};

TEST_P(TiffPictures, DecodeAsTheReference) {
  const TiffCase& c = GetParam();
  // libtiff premultiplies associated alpha, so a fully transparent pixel keeps no colour.
  test::ExpectDecodesAsReference(kTiffFormat, std::string("tiff/") + c.name + ".tif",
                                 {13, 9, c.bitsPerPixel, c.hasAlpha, c.tolerance, test::ClearPixels::kIgnoreColour});
}

// Tolerances: libtiff premultiplies RGB by alpha, which costs precision where alpha is small; ImageMagick's
// references truncate 16-bit samples to 8 bits, libtiff rounds some of them.
INSTANTIATE_TEST_SUITE_P(
    CompressionsAndLayouts, TiffPictures,
    ::testing::Values(
        TiffCase{"rgb8", 24, false, 0}, TiffCase{"rgb8-packbits", 24, false, 0}, TiffCase{"rgb8-lzw", 24, false, 0},
        TiffCase{"rgb8-deflate-predictor", 24, false, 0}, TiffCase{"rgb8-strips", 24, false, 0},
        TiffCase{"rgb8-tiles", 24, false, 0}, TiffCase{"rgb8-bigtiff", 24, false, 0},
        TiffCase{"rgb8-jpeg-ycbcr", 24, false, 0}, TiffCase{"rgb8-jpeg-rgb", 24, false, 0},
        TiffCase{"rgba8", 32, true, 2}, TiffCase{"rgba8-separate", 32, true, 2}, TiffCase{"rgb16", 48, false, 1},
        TiffCase{"rgb16-big-endian", 48, false, 1}, TiffCase{"grey8", 8, false, 0},
        TiffCase{"grey16", 16, false, 1}, TiffCase{"grey16-tiles", 16, false, 1}, TiffCase{"greyalpha8", 16, true, 0},
        TiffCase{"greyalpha8-tiles", 16, true, 0}, TiffCase{"greyalpha16", 32, true, 1}, TiffCase{"palette", 4, false, 0},
        TiffCase{"palette-lzw", 4, false, 0}, TiffCase{"bilevel", 1, false, 0},
        TiffCase{"bilevel-g3", 1, false, 0}, TiffCase{"bilevel-g4", 1, false, 0}, TiffCase{"cmyk", 32, false, 1}),
    [](const ::testing::TestParamInfo<TiffCase>& info) {
      std::string name = info.param.name;
      for (char& c : name)
        if (c == '-') c = '_';
      return name;
    });

// An uncompressed 8-bit grey TIFF written here, its directory in front of its one strip, so that a
// truncated copy keeps its directory and loses pixels.
std::vector<uint8_t> GreyTiff(uint32_t width, uint32_t height, const std::vector<uint8_t>& pixels) {
  constexpr uint32_t kShort = 3, kLong = 4;
  struct Entry {
    uint16_t tag;
    uint32_t type, value;
  };
  const std::vector<Entry> entries = {
      {256, kLong, width}, {257, kLong, height}, {258, kShort, 8}, {259, kShort, 1}, {262, kShort, 1},
      {273, kLong, 0},  // the strip offset, right behind the directory
      {277, kShort, 1}, {278, kLong, height}, {279, kLong, static_cast<uint32_t>(pixels.size())}};
  const uint32_t dataOffset = 8 + 2 + static_cast<uint32_t>(entries.size()) * 12 + 4;
  test::ByteWriter out;
  out.Text("II").U16Le(42).U32Le(8).U16Le(static_cast<uint32_t>(entries.size()));
  for (const Entry& entry : entries) {
    out.U16Le(entry.tag).U16Le(entry.type).U32Le(1);
    const uint32_t value = entry.tag == 273 ? dataOffset : entry.value;
    if (entry.type == kShort)
      out.U16Le(value).U16Le(0);
    else
      out.U32Le(value);
  }
  return out.U32Le(0).Put(pixels).bytes;
}

std::vector<uint8_t> Ramp(size_t count) {
  std::vector<uint8_t> pixels(count);
  for (size_t i = 0; i < count; ++i) pixels[i] = static_cast<uint8_t>(i * 7);
  return pixels;
}

TEST(TiffWriterCheck, WritesAFileThatDecodes) {
  const Image image = LoadTiff(GreyTiff(5, 3, Ramp(15)));
  ASSERT_EQ(image.pixels.size(), 15u);
  EXPECT_EQ(image.pixels[14], Argb(98, 98, 98));
  EXPECT_EQ(image.bitsPerPixel, 8u);
}

// Where the directory lies in front of the pixels, every cut loses pixels; files that keep their directory
// at the end may also lose only metadata behind it, which libtiff ignores.
TEST(TiffDamage, EveryTruncationFailsOrLosesOnlyIgnoredMetadata) {
  test::ExpectPrefixesFail(GreyTiff(13, 9, Ramp(117)), LoadTiff);
  for (const char* name : {"tiff/rgb8-lzw.tif", "tiff/rgb8-tiles.tif", "tiff/rgb8-jpeg-ycbcr.tif",
                           "tiff/bilevel-g4.tif", "tiff/rgb8-bigtiff.tif", "tiff/rgb16-big-endian.tif"}) {
    SCOPED_TRACE(name);
    test::ExpectPrefixes(test::Prefixes::kFailOrDecodeWhole, ReadTestFile(name), LoadTiff);
  }
}

TEST(TiffDamage, HugeOrEmptyDimensionsFailBeforeAllocating) {
  try {
    LoadTiff(GreyTiff(100000, 100000, Ramp(16)));
    ADD_FAILURE() << "a 100000 x 100000 picture loaded";
  } catch (const DecodeError& error) {
    EXPECT_NE(std::strstr(error.what(), "too large"), nullptr) << error.what();
  }
  EXPECT_THROW(LoadTiff(GreyTiff(0, 9, Ramp(16))), DecodeError);
}

// Found by fuzzing: a grey picture whose extra-samples tag names an alpha sample that has no place in its
// pixels made the grey routine read past each row.
TEST(TiffDamage, AnAlphaSampleThatIsNotThereIsRefused) {
  EXPECT_THROW(LoadTiff(ReadTestFile("../fuzz/regressions/tiff/grey-alpha-without-sample.tif")), DecodeError);
}

TEST(TiffDamage, DamagedBytesAreHandledQuietly) {
  ::testing::internal::CaptureStderr();
  for (const char* name : {"tiff/rgb8-lzw.tif", "tiff/rgb8-jpeg-ycbcr.tif", "tiff/bilevel-g3.tif",
                           "tiff/rgba8-separate.tif", "tiff/palette.tif"}) {
    SCOPED_TRACE(name);
    test::ExpectDamageHandled(ReadTestFile(name), LoadTiff);
  }
  test::ExpectDamageHandled(GreyTiff(13, 9, Ramp(117)), LoadTiff);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(TiffContentTest, AcceptsTheFourSignaturesOnly) {
  for (const char* head : {"II*\0xxxx", "MM\0*xxxx", "II+\0xxxx", "MM\0+xxxx"})
    EXPECT_TRUE(Accepts(kTiffFormat, std::vector<uint8_t>(head, head + 8))) << head;
  for (const char* head : {"II*\1xxxx", "MM*\0xxxx", "IM*\0xxxx", "II\0*xxxx"})
    EXPECT_FALSE(Accepts(kTiffFormat, std::vector<uint8_t>(head, head + 8))) << head;
  EXPECT_FALSE(Accepts(kTiffFormat, std::vector<uint8_t>{'I', 'I', 42, 0}));
}

constexpr size_t kTiffOffset = 20, kTiffLength = 24;

TEST(EpsPreview, DecodesTheTiffPreviewWhereverItLies) {
  const std::vector<uint8_t> tiff = ReadTestFile("tiff/rgb8-lzw.tif");
  for (uint32_t postScriptLength : {40u, 5000u}) {
    const std::vector<uint8_t> eps = test::DosEps(tiff, postScriptLength);
    EXPECT_TRUE(Accepts(kEpsFormat, eps)) << postScriptLength;
    const Image image = LoadEps(eps);
    EXPECT_EQ(image.bitsPerPixel, 24u);
    EXPECT_TRUE(SamePixels(image, ReadReference("tiff/rgb8.tif")));
  }
}

TEST(EpsPreview, SamplePicturesDecodeAsTheirPreview) {
  test::ExpectDecodesAsReference(kEpsFormat, "eps/rgb8-lzw.eps", {13, 9, 24, false});
  test::ExpectDecodesAsReference(kEpsFormat, "eps/grey8.eps", {13, 9, 8, false});
}

TEST(EpsPreview, FilesWithoutAWholeTiffPreviewAreRefused) {
  const std::vector<uint8_t> tiff = ReadTestFile("tiff/rgb8.tif");
  std::vector<std::vector<uint8_t>> refused;
  const std::string plain = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 13 9\nshowpage\n";
  refused.emplace_back(plain.begin(), plain.end());
  refused.push_back(tiff);
  for (auto [field, value] : {std::pair<size_t, uint32_t>{kTiffOffset, 0}, {kTiffLength, 0}, {kTiffOffset, 10},
                              {kTiffLength, 7}, {kTiffLength, static_cast<uint32_t>(tiff.size() + 1)},
                              {kTiffOffset, 0xFFFFFFF0u}, {kTiffOffset, 60}}) {
    test::ByteWriter damaged{test::DosEps(tiff)};
    damaged.PatchU32Le(field, value);
    refused.push_back(damaged.bytes);
  }
  for (size_t i = 0; i < refused.size(); ++i) {
    EXPECT_FALSE(Accepts(kEpsFormat, refused[i])) << i;
    EXPECT_THROW(LoadEps(refused[i]), DecodeError) << i;
  }
}

TEST(EpsPreview, EveryTruncationFails) {
  test::ExpectPrefixesFail(test::DosEps(ReadTestFile("tiff/rgb8-lzw.tif")), LoadEps);
}

}  // namespace
}  // namespace imaging
