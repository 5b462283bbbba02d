#include <gtest/gtest.h>
#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "imaging/FileFormatList.h"
#include "imaging/SampleScale.h"
#include "tests/imaging/ByteWriter.h"
#include "tests/imaging/TestFiles.h"

namespace imaging {
namespace {

using test::Accepts;
using test::ReadReference;
using test::ReadTestFile;
using test::SamePixels;

Image LoadTiff(Bytes file) { return kTiffFormat.load(file, {}); }
Image LoadEps(Bytes file) { return kEpsFormat.load(file, {}); }

struct TiffCase {
  const char* name;
  uint32_t bitsPerPixel;
  bool hasAlpha;
  int tolerance;
};

class TiffPictures : public ::testing::TestWithParam<TiffCase> {};

TEST_P(TiffPictures, DecodeAsTheReference) {
  const TiffCase& c = GetParam();
  test::ExpectDecodesAsReference(kTiffFormat, std::string("tiff/") + c.name + ".tif",
                                 {13, 9, c.bitsPerPixel, c.hasAlpha, c.tolerance});
}

// Straight alpha keeps the colour under it, even where alpha is 0. Deeper samples differ by one where
// ImageMagick's references cut them to 8 bits and we round (shown exactly in TiffSamples below); its CMYK
// conversion differs from ours by one in places too.
INSTANTIATE_TEST_SUITE_P(
    CompressionsAndLayouts, TiffPictures,
    ::testing::Values(
        TiffCase{"rgb8", 24, false, 0}, TiffCase{"rgb8-packbits", 24, false, 0}, TiffCase{"rgb8-lzw", 24, false, 0},
        TiffCase{"rgb8-deflate-predictor", 24, false, 0}, TiffCase{"rgb8-strips", 24, false, 0},
        TiffCase{"rgb8-tiles", 24, false, 0}, TiffCase{"rgb8-bigtiff", 24, false, 0},
        TiffCase{"rgb8-jpeg-ycbcr", 24, false, 0}, TiffCase{"rgb8-jpeg-rgb", 24, false, 0},
        TiffCase{"rgba8", 32, true, 0}, TiffCase{"rgba8-separate", 32, true, 0},
        TiffCase{"rgba8-separate-tiles", 32, true, 0}, TiffCase{"rgba16", 64, true, 1},
        TiffCase{"rgb16", 48, false, 1}, TiffCase{"rgb16-big-endian", 48, false, 1}, TiffCase{"grey8", 8, false, 0},
        TiffCase{"grey16", 16, false, 1}, TiffCase{"grey16-tiles", 16, false, 1}, TiffCase{"greyalpha8", 16, true, 0},
        TiffCase{"greyalpha8-tiles", 16, true, 0}, TiffCase{"greyalpha16", 32, true, 1}, TiffCase{"palette", 4, false, 0},
        TiffCase{"palette-lzw", 4, false, 0}, TiffCase{"bilevel", 1, false, 0},
        TiffCase{"bilevel-g3", 1, false, 0}, TiffCase{"bilevel-g4", 1, false, 0}, TiffCase{"cmyk", 32, false, 1},
        TiffCase{"cmyk16", 64, false, 1}, TiffCase{"float32", 128, true, 1}, TiffCase{"float32-predictor", 128, true, 1},
        TiffCase{"float64", 192, false, 1}, TiffCase{"float64-predictor-tiles", 192, false, 1},
        TiffCase{"greyfloat32", 32, false, 1}),
    [](const ::testing::TestParamInfo<TiffCase>& info) {
      std::string name = info.param.name;
      for (char& c : name)
        if (c == '-') c = '_';
      return name;
    });

// A TIFF directory entry of SHORT (3), LONG (4) or RATIONAL (5) values; a RATIONAL takes two values.
struct TiffTag {
  uint16_t tag;
  uint16_t type;
  std::vector<uint32_t> values;
};
constexpr uint16_t kShort = 3, kLong = 4, kRational = 5;

// An uncompressed little-endian TIFF written here: its directory, the values that do not fit an entry, then
// its one strip (whose offset, tag 273, is filled in), so that a truncated copy keeps its directory.
std::vector<uint8_t> TiffFile(std::vector<TiffTag> tags, const std::vector<uint8_t>& pixels) {
  tags.push_back({273, kLong, {0}});
  tags.push_back({279, kLong, {static_cast<uint32_t>(pixels.size())}});
  std::sort(tags.begin(), tags.end(), [](const TiffTag& a, const TiffTag& b) { return a.tag < b.tag; });
  auto bytesOf = [](const TiffTag& t) { return t.values.size() * (t.type == kShort ? 2 : 4); };
  const uint32_t directoryEnd = 8 + 2 + static_cast<uint32_t>(tags.size()) * 12 + 4;
  uint32_t outside = directoryEnd;
  for (const TiffTag& t : tags) outside += bytesOf(t) > 4 ? static_cast<uint32_t>(bytesOf(t)) : 0;
  test::ByteWriter out, values;
  out.Text("II").U16Le(42).U32Le(8).U16Le(static_cast<uint32_t>(tags.size()));
  for (TiffTag t : tags) {
    if (t.tag == 273) t.values = {outside};
    test::ByteWriter data;
    for (uint32_t v : t.values) t.type == kShort ? data.U16Le(v) : data.U32Le(v);
    const uint32_t count = static_cast<uint32_t>(t.values.size() / (t.type == kRational ? 2 : 1));
    out.U16Le(t.tag).U16Le(t.type).U32Le(count);
    if (data.Size() > 4) {
      out.U32Le(directoryEnd + static_cast<uint32_t>(values.Size()));
      values.Put(data.bytes);
    } else {
      out.Put(data.Zeros(4 - data.Size()).bytes);
    }
  }
  return out.U32Le(0).Put(values.bytes).Put(pixels).bytes;
}

// A grey picture of one strip, with bits bits per sample; further tags are added or replace those.
std::vector<uint8_t> GreyTiff(uint32_t width, uint32_t height, const std::vector<uint8_t>& pixels, uint32_t bits = 8,
                              const std::vector<TiffTag>& more = {}) {
  std::vector<TiffTag> tags = {{256, kLong, {width}}, {257, kLong, {height}}, {258, kShort, {bits}},
                               {259, kShort, {1}},    {262, kShort, {1}},     {277, kShort, {1}},
                               {278, kLong, {height}}};
  for (const TiffTag& tag : more) {
    std::erase_if(tags, [&](const TiffTag& t) { return t.tag == tag.tag; });
    tags.push_back(tag);
  }
  return TiffFile(tags, pixels);
}

std::vector<uint8_t> Le16Samples(const std::vector<uint16_t>& samples) {
  test::ByteWriter out;
  for (uint16_t sample : samples) out.U16Le(sample);
  return out.bytes;
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

// 16-bit samples and colour maps are rounded to 8 bits, not cut to their high byte (which gives 0, 1, 16, 127).
TEST(TiffSamples, SixteenBitsAreRounded) {
  const std::vector<uint16_t> samples = {0x00FF, 0x01FF, 0x10F0, 0x7FFF};
  const Image grey = LoadTiff(GreyTiff(4, 1, Le16Samples(samples), 16));
  test::ExpectPixels(grey, 4, 1, {Argb(1, 1, 1), Argb(2, 2, 2), Argb(17, 17, 17), Argb(127, 127, 127)});

  // Four colours of two bits, indexes 0, 1, 2, 3 in one byte; red, green and blue take the same ramp.
  std::vector<uint32_t> map;
  for (int channel = 0; channel < 3; ++channel) map.insert(map.end(), samples.begin(), samples.end());
  const Image palette = LoadTiff(GreyTiff(4, 1, {0x1B}, 2, {{262, kShort, {3}}, {320, kShort, map}}));
  test::ExpectPixels(palette, 4, 1, std::vector<uint32_t>(grey.pixels.begin(), grey.pixels.end()));
}

// Floating-point samples are scaled from 0..1; what lies outside, and NaN, is clamped.
TEST(TiffSamples, FloatingPointSamplesAreClamped) {
  test::ByteWriter floats;
  for (float value : {-1.0f, 0.5f, 2.0f, std::numeric_limits<float>::quiet_NaN()}) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    floats.U32Le(bits);
  }
  const Image image = LoadTiff(GreyTiff(4, 1, floats.bytes, 32, {{339, kShort, {3}}}));
  test::ExpectPixels(image, 4, 1, {Argb(0, 0, 0), Argb(128, 128, 128), Argb(255, 255, 255), Argb(0, 0, 0)});
}

// libtiff drops a tag that it cannot read, with a warning, and goes on with a default: a palette picture
// whose colour map is cut short would show as grey, a YCbCr one without its reference black and white would
// shift colour. Both fail instead; whole, they decode.
TEST(TiffDamage, ATagThatThePixelsNeedCannotBeDropped) {
  std::vector<uint32_t> map(3 * 256);
  for (size_t i = 0; i < map.size(); ++i) map[i] = static_cast<uint32_t>(i * 85);
  const std::vector<uint32_t> cutMap(map.begin(), map.end() - 3);
  EXPECT_EQ(LoadTiff(GreyTiff(2, 1, {1, 2}, 8, {{262, kShort, {3}}, {320, kShort, map}})).pixels[0],
            Argb(ScaleTo8Bits(85, 0xFFFF), ScaleTo8Bits(85 * 257, 0xFFFF), ScaleTo8Bits(85 * 513, 0xFFFF)));
  EXPECT_THROW(LoadTiff(GreyTiff(2, 1, {1, 2}, 8, {{262, kShort, {3}}, {320, kShort, cutMap}})), DecodeError);

  const std::vector<uint32_t> referenceBlackWhite = {0, 1, 255, 1, 128, 1, 255, 1, 128, 1, 255, 1};
  const std::vector<uint32_t> cutReference(referenceBlackWhite.begin(), referenceBlackWhite.end() - 2);
  auto ycbcr = [](const std::vector<uint32_t>& reference) {
    return TiffFile({{256, kLong, {1}}, {257, kLong, {1}}, {258, kShort, {8, 8, 8}}, {259, kShort, {1}},
                     {262, kShort, {6}}, {277, kShort, {3}}, {278, kLong, {1}}, {530, kShort, {1, 1}},
                     {532, kRational, reference}},
                    {200, 128, 128});
  };
  EXPECT_EQ(LoadTiff(ycbcr(referenceBlackWhite)).pixels[0], Argb(200, 200, 200));
  EXPECT_THROW(LoadTiff(ycbcr(cutReference)), DecodeError);
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

// The libtiff that ships is built with the codecs of the pictures we read and no others, so that a hostile
// file cannot reach the rest (the native build uses the system's libtiff).
TEST(TiffCodecs, TheShippedLibraryHasOnlyTheCodecsWeRead) {
#ifdef _WIN32
  for (uint16_t codec : {COMPRESSION_NONE, COMPRESSION_CCITTRLE, COMPRESSION_CCITTFAX3, COMPRESSION_CCITTFAX4,
                         COMPRESSION_PACKBITS, COMPRESSION_LZW, COMPRESSION_ADOBE_DEFLATE, COMPRESSION_JPEG,
                         COMPRESSION_OJPEG})
    EXPECT_TRUE(TIFFIsCODECConfigured(codec)) << codec;
  for (uint16_t codec : {COMPRESSION_PIXARLOG, COMPRESSION_THUNDERSCAN, COMPRESSION_NEXT, COMPRESSION_SGILOG,
                         COMPRESSION_SGILOG24, COMPRESSION_JBIG, COMPRESSION_LZMA, COMPRESSION_ZSTD, COMPRESSION_WEBP,
                         COMPRESSION_LERC})
    EXPECT_FALSE(TIFFIsCODECConfigured(codec)) << codec;
#else
  GTEST_SKIP() << "the native build tests the system's libtiff";
#endif
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
