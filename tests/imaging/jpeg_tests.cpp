#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "imaging/Jpeg.h"
#include "imaging/ReadAheadRows.h"
#include "tests/JpegEncoder.h"
#include "tests/imaging/RowsImage.h"
#include "tests/imaging/TestFiles.h"

namespace imaging {
namespace {

using test::ReadReference;
using test::ReadTestFile;
using test::SamePixels;

Image LoadJpeg(Bytes file) { return DecodeJpeg(file); }

TEST(JpegPictures, DecodeAsTheReference) {
  struct Case {
    const char* name;
    uint32_t bitsPerPixel;
  };
  for (const Case& c : {Case{"baseline", 24}, Case{"progressive", 24}, Case{"subsampled", 24}, Case{"grey", 8},
                        Case{"cmyk", 24}}) {
    SCOPED_TRACE(c.name);
    const std::string path = std::string("jpeg/") + c.name + ".jpg";
    const Image image = LoadJpeg(ReadTestFile(path));
    EXPECT_EQ(image.width, 13u);
    EXPECT_EQ(image.height, 9u);
    EXPECT_EQ(image.bitsPerPixel, c.bitsPerPixel);
    EXPECT_FALSE(image.hasAlpha);
    EXPECT_TRUE(SamePixels(image, ReadReference(path), 1));
  }
}

// The offset of the first marker of the given kind, or the file's size.
size_t FindMarker(const std::vector<uint8_t>& file, uint8_t kind, size_t from = 0) {
  for (size_t at = from; at + 1 < file.size(); ++at)
    if (file[at] == 0xFF && file[at + 1] == kind) return at;
  return file.size();
}

// Some programs leave out the EOI marker at the end of a file. In a single-scan file nothing else is lost
// then; a progressive file cut short may have lost whole scans, which its end cannot tell.
TEST(JpegDamage, EveryTruncationFailsButAMissingEndMarkerAfterASingleScan) {
  for (const char* name : {"jpeg/baseline.jpg", "jpeg/subsampled.jpg", "jpeg/cmyk.jpg"}) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> file = ReadTestFile(name);
    ASSERT_EQ(FindMarker(file, 0xD9), file.size() - 2);
    test::ExpectPrefixesFail(file, LoadJpeg, 2);
    const Image whole = LoadJpeg(file);
    for (const size_t cut : {1, 2}) {
      const std::vector<uint8_t> withoutEnd(file.begin(), file.end() - static_cast<std::ptrdiff_t>(cut));
      EXPECT_EQ(LoadJpeg(withoutEnd).pixels, whole.pixels) << cut << " bytes cut off";
    }
  }
  test::ExpectPrefixesFail(ReadTestFile("jpeg/progressive.jpg"), LoadJpeg);
}

// Rows of three bytes, bottom-up with padding between them, as a 24-bit device-independent bitmap has them.
TEST(JpegPictures, DecodeIntoRowsOfTheCallersLayout) {
  for (const char* name : {"jpeg/baseline.jpg", "jpeg/progressive.jpg", "jpeg/grey.jpg", "jpeg/cmyk.jpg"}) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> file = ReadTestFile(name);
    const Image expected = LoadJpeg(file);
    constexpr ptrdiff_t kStride = 13 * 3 + 5;
    std::vector<uint8_t> bitmap(kStride * 9, 0xEE);
    JpegFrame frame{};
    DecodeJpeg(file, 3, [&](const JpegFrame& given) {
      frame = given;
      return PixelRows{bitmap.data() + 8 * kStride, -kStride};
    });
    EXPECT_EQ(frame.width, 13u);
    EXPECT_EQ(frame.height, 9u);
    EXPECT_EQ(frame.bitsPerPixel, expected.bitsPerPixel);
    for (uint32_t y = 0; y < 9; ++y)
      for (uint32_t x = 0; x < 13; ++x) {
        const uint8_t* pixel = &bitmap[(8 - y) * kStride + x * 3];
        ASSERT_EQ(Argb(pixel[2], pixel[1], pixel[0]), expected.Row(y)[x]) << x << "," << y;
      }
    for (ptrdiff_t y = 0; y < 9; ++y)
      for (ptrdiff_t padding = 13 * 3; padding < kStride; ++padding) ASSERT_EQ(bitmap[y * kStride + padding], 0xEE);
  }
}

TEST(JpegDamage, HugeDimensionsFailBeforeAllocating) {
  std::vector<uint8_t> file = ReadTestFile("jpeg/baseline.jpg");
  const size_t frame = FindMarker(file, 0xC0);
  ASSERT_LT(frame + 9, file.size());
  for (size_t at : {frame + 5, frame + 7}) {
    file[at] = 0xFD;  // 65000
    file[at + 1] = 0xE8;
  }
  EXPECT_THROW(JpegRows{file}, DecodeError);
  try {
    LoadJpeg(file);
    ADD_FAILURE() << "a 65000 x 65000 picture loaded";
  } catch (const DecodeError& error) {
    EXPECT_NE(std::strstr(error.what(), "too large"), nullptr) << error.what();
  }
}

// The offset of the marker that ends the entropy-coded data starting at `from`.
size_t EndOfScan(const std::vector<uint8_t>& file, size_t from) {
  for (size_t at = from; at + 1 < file.size(); ++at)
    if (file[at] == 0xFF && file[at + 1] != 0 && (file[at + 1] & 0xF8) != 0xD0) return at;
  return file.size();
}

// Repeating a progressive file's first (DC) scan at its end only earns warnings from libjpeg, but every
// scan costs a pass over the whole picture.
std::vector<uint8_t> WithRepeatedFirstScan(int repeats) {
  const std::vector<uint8_t> file = ReadTestFile("jpeg/progressive.jpg");
  const size_t first = FindMarker(file, 0xDA);
  const size_t firstEnd = EndOfScan(file, first + 2);
  const size_t end = FindMarker(file, 0xD9, first);
  std::vector<uint8_t> result(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(end));
  for (int i = 0; i < repeats; ++i)
    result.insert(result.end(), file.begin() + static_cast<std::ptrdiff_t>(first),
                  file.begin() + static_cast<std::ptrdiff_t>(firstEnd));
  result.insert(result.end(), {0xFF, 0xD9});
  return result;
}

TEST(JpegDamage, TooManyScansFail) {
  EXPECT_NO_THROW(LoadJpeg(WithRepeatedFirstScan(400)));
  try {
    LoadJpeg(WithRepeatedFirstScan(600));
    ADD_FAILURE() << "a file of more than 600 scans loaded";
  } catch (const DecodeError& error) {
    EXPECT_NE(std::strstr(error.what(), "scans"), nullptr) << error.what();
  }
}

TEST(JpegDamage, DamagedBytesAreHandledQuietly) {
  ::testing::internal::CaptureStderr();
  for (const char* name : {"jpeg/baseline.jpg", "jpeg/progressive.jpg", "jpeg/cmyk.jpg"}) {
    SCOPED_TRACE(name);
    test::ExpectDamageHandled(ReadTestFile(name), LoadJpeg);
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

Image StreamJpeg(Bytes file) { return test::ReadAllJpegRows(file); }

// Taller than the rows that the stream decodes at a time, and not a multiple of them.
std::vector<uint8_t> TallJpeg(::test::JpegEncoding encoding = {}) { return ::test::EncodeJpeg(29, 75, encoding); }

TEST(JpegRows, GiveTheRowsOfTheWholeDecode) {
  std::vector<std::vector<uint8_t>> files{TallJpeg(), TallJpeg({.subsampled = true}),
                                          TallJpeg({.progressive = true, .subsampled = true})};
  for (const char* name : {"baseline", "progressive", "subsampled", "grey", "cmyk"})
    files.push_back(ReadTestFile(std::string("jpeg/") + name + ".jpg"));
  for (size_t i = 0; i < files.size(); ++i) {
    const Image whole = DecodeJpeg(files[i]);
    const Image streamed = StreamJpeg(files[i]);
    EXPECT_EQ(streamed.width, whole.width) << "file " << i;
    EXPECT_EQ(streamed.pixels, whole.pixels) << "file " << i;
  }
}

TEST(JpegRows, SkipForwardButNeverBack) {
  const std::vector<uint8_t> file = TallJpeg({.subsampled = true});
  const Image whole = DecodeJpeg(file);
  JpegRows rows(file);
  EXPECT_EQ(rows.Width(), 29);
  EXPECT_EQ(rows.Height(), 75);
  for (const int32_t y : {3, 3, 4, 17, 40, 74})
    EXPECT_TRUE(std::equal(whole.Row(static_cast<uint32_t>(y)), whole.Row(static_cast<uint32_t>(y)) + 29, rows.Row(y)))
        << "row " << y;
  EXPECT_THROW(rows.Row(40), std::out_of_range);
  EXPECT_THROW(rows.Row(75), std::out_of_range);
  EXPECT_THROW(rows.Row(-1), std::out_of_range);
}

// Rows asked for in batches, as the read-ahead stream asks for them: batches where the decoder stands are
// decoded straight into the caller's rows, others (after a row read on its own) are copied; either way they
// are the whole decode's rows.
TEST(JpegRows, GiveTheWholeDecodesRowsInBatchesAndReadAhead) {
  for (const std::vector<uint8_t>& file : {TallJpeg(), TallJpeg({.progressive = true, .subsampled = true}),
                                           ReadTestFile("jpeg/cmyk.jpg")}) {
    const Image whole = DecodeJpeg(file);
    for (const int32_t batch : {40, 7}) {
      for (const int32_t rowsOnTheirOwn : {0, 1}) {
        JpegRows rows(file);
        Image image = AllocateImage(whole.width, whole.height, 24);
        if (rowsOnTheirOwn) std::copy_n(rows.Row(0), whole.width, image.Row(0));
        for (int32_t first = rowsOnTheirOwn; first < rows.Height(); first += batch)
          rows.ReadInto(first, std::min(batch, rows.Height() - first), image.Row(static_cast<uint32_t>(first)),
                        static_cast<ptrdiff_t>(image.width));
        EXPECT_EQ(image.pixels, whole.pixels) << "batches of " << batch << " after " << rowsOnTheirOwn;
      }
    }
    ReadAheadRows ahead(std::make_unique<JpegRows>(file));
    EXPECT_EQ(test::ReadAllRows(ahead).pixels, whole.pixels) << "read ahead";
  }
}

// A cut or damaged file fails on the row where its data gives out, as the whole decode fails.
TEST(JpegRowsDamage, CutAndDamagedFilesFailAsTheWholeDecodeDoes) {
  ::testing::internal::CaptureStderr();
  const std::vector<uint8_t> baseline = TallJpeg({.quality = 75});
  test::ExpectPrefixesFail(baseline, StreamJpeg, 2);
  test::ExpectPrefixesFail(TallJpeg({.quality = 75, .progressive = true}), StreamJpeg);
  test::ExpectDamageHandled(baseline, StreamJpeg);
  test::ExpectDamageHandled(ReadTestFile("jpeg/cmyk.jpg"), StreamJpeg);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

  // Once failed, the stream gives no more rows.
  const std::vector<uint8_t> cut(baseline.begin(), baseline.begin() + static_cast<std::ptrdiff_t>(baseline.size() / 2));
  JpegRows rows(cut);
  test::ExpectFailsPartWayAndStaysFailed(rows);
}

}  // namespace
}  // namespace imaging
