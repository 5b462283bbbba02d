#include <gtest/gtest.h>

#include <cstring>

#include "ReferencePictures.h"
#include "imaging/FileFormatList.h"

namespace imaging {
namespace {

using test::ReadReference;
using test::ReadTestFile;
using test::SamePixels;

Image LoadTiff(Bytes file) { return kTiffFormat.load(file, "picture.tif"); }
Image LoadEps(Bytes file) { return kEpsFormat.load(file, "picture.eps"); }

bool Accepts(const FileFormat& format, const std::vector<uint8_t>& file) {
  return format.canLoad(Bytes(file).first(std::min(file.size(), kContentTestBytes)), file.size());
}

struct TiffCase {
  const char* name;
  uint32_t bitsPerPixel;
  bool hasAlpha;
  int tolerance;
};

class TiffPictures : public ::testing::TestWithParam<TiffCase> {};

TEST_P(TiffPictures, DecodeAsTheReference) {
  const std::string path = std::string("tiff/") + GetParam().name + ".tif";
  const Image image = LoadTiff(ReadTestFile(path));
  EXPECT_EQ(image.width, 13u);
  EXPECT_EQ(image.height, 9u);
  EXPECT_EQ(image.bitsPerPixel, GetParam().bitsPerPixel);
  EXPECT_EQ(image.hasAlpha, GetParam().hasAlpha);
  EXPECT_TRUE(SamePixels(image, ReadReference(path), GetParam().tolerance));
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

void PutLe(std::vector<uint8_t>& bytes, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void SetLe32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

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
  std::vector<uint8_t> bytes = {'I', 'I', 42, 0};
  PutLe(bytes, 8, 4);
  PutLe(bytes, static_cast<uint32_t>(entries.size()), 2);
  for (const Entry& entry : entries) {
    PutLe(bytes, entry.tag, 2);
    PutLe(bytes, entry.type, 2);
    PutLe(bytes, 1, 4);
    PutLe(bytes, entry.tag == 273 ? dataOffset : entry.value, entry.type == kShort ? 2 : 4);
    if (entry.type == kShort) PutLe(bytes, 0, 2);
  }
  PutLe(bytes, 0, 4);
  bytes.insert(bytes.end(), pixels.begin(), pixels.end());
  return bytes;
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
    test::ExpectPrefixesFailOrDecodeWhole(ReadTestFile(name), LoadTiff);
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

TEST(TiffDamage, DamagedBytesAreHandledQuietly) {
  ::testing::internal::CaptureStderr();
  for (const char* name : {"tiff/rgb8-lzw.tif", "tiff/rgb8-jpeg-ycbcr.tif", "tiff/bilevel-g3.tif",
                           "tiff/rgba8-separate.tif", "tiff/palette.tif"}) {
    SCOPED_TRACE(name);
    test::ExpectByteFlipsHandled(ReadTestFile(name), LoadTiff);
  }
  test::ExpectByteFlipsHandled(GreyTiff(13, 9, Ramp(117)), LoadTiff);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(TiffContentTest, AcceptsTheFourSignaturesOnly) {
  for (const char* head : {"II*\0xxxx", "MM\0*xxxx", "II+\0xxxx", "MM\0+xxxx"})
    EXPECT_TRUE(Accepts(kTiffFormat, std::vector<uint8_t>(head, head + 8))) << head;
  for (const char* head : {"II*\1xxxx", "MM*\0xxxx", "IM*\0xxxx", "II\0*xxxx"})
    EXPECT_FALSE(Accepts(kTiffFormat, std::vector<uint8_t>(head, head + 8))) << head;
  EXPECT_FALSE(Accepts(kTiffFormat, std::vector<uint8_t>{'I', 'I', 42, 0}));
}

// A DOS EPS file: the binary header, a PostScript section of the given length, then the TIFF preview.
std::vector<uint8_t> Eps(const std::vector<uint8_t>& tiff, uint32_t postScriptLength = 40) {
  std::vector<uint8_t> bytes = {0xC5, 0xD0, 0xD3, 0xC6};
  for (uint32_t value : {30u, postScriptLength, 0u, 0u, 30 + postScriptLength, static_cast<uint32_t>(tiff.size())})
    PutLe(bytes, value, 4);
  PutLe(bytes, 0xFFFF, 2);
  const std::string postScript = "%!PS-Adobe-3.0 EPSF-3.0\n";
  for (uint32_t i = 0; i < postScriptLength; ++i) bytes.push_back(i < postScript.size() ? postScript[i] : ' ');
  bytes.insert(bytes.end(), tiff.begin(), tiff.end());
  return bytes;
}

constexpr size_t kTiffOffset = 20, kTiffLength = 24;

TEST(EpsPreview, DecodesTheTiffPreviewWhereverItLies) {
  const std::vector<uint8_t> tiff = ReadTestFile("tiff/rgb8-lzw.tif");
  for (uint32_t postScriptLength : {40u, 5000u}) {
    const std::vector<uint8_t> eps = Eps(tiff, postScriptLength);
    EXPECT_TRUE(Accepts(kEpsFormat, eps)) << postScriptLength;
    const Image image = LoadEps(eps);
    EXPECT_EQ(image.bitsPerPixel, 24u);
    EXPECT_TRUE(SamePixels(image, ReadReference("tiff/rgb8.tif")));
  }
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
    refused.push_back(Eps(tiff));
    SetLe32(refused.back(), field, value);
  }
  for (size_t i = 0; i < refused.size(); ++i) {
    EXPECT_FALSE(Accepts(kEpsFormat, refused[i])) << i;
    EXPECT_THROW(LoadEps(refused[i]), DecodeError) << i;
  }
}

TEST(EpsPreview, EveryTruncationFails) { test::ExpectPrefixesFail(Eps(ReadTestFile("tiff/rgb8-lzw.tif")), LoadEps); }

}  // namespace
}  // namespace imaging
