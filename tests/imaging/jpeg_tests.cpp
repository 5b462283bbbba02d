#include <gtest/gtest.h>

#include <cstring>

#include "imaging/Jpeg.h"
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

TEST(JpegDamage, EveryTruncationFails) {
  for (const char* name : {"jpeg/baseline.jpg", "jpeg/progressive.jpg", "jpeg/cmyk.jpg"}) {
    SCOPED_TRACE(name);
    test::ExpectPrefixesFail(ReadTestFile(name), LoadJpeg);
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

}  // namespace
}  // namespace imaging
