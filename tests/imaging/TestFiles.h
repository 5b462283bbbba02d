#pragma once
// The decoder tests' pictures: files under tests/data with their references (the raw 8-bit R, G, B, A rows
// that ImageMagick decodes, <picture stem>.rgba), pixel comparison, and the checks that every decoder must
// pass on truncated and damaged input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "imaging/FileFormat.h"
#include "imaging/RowStream.h"

namespace imaging::test {

// The content test, given at most the head that the loader reads.
inline bool Accepts(const FileFormat& format, const std::vector<uint8_t>& file) {
  return format.canLoad(Bytes(file).first(std::min(file.size(), kContentTestBytes)), file.size());
}

inline std::vector<uint8_t> ReadTestFile(const std::string& relativePath) {
  std::ifstream in(std::string(ORLO_TEST_DATA) + "/" + relativePath, std::ios::binary);
  if (!in) ADD_FAILURE() << "missing test file " << relativePath;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The reference beside a picture file, as 0xAARRGGBB pixels.
inline std::vector<uint32_t> ReadReference(const std::string& picturePath) {
  const std::vector<uint8_t> bytes = ReadTestFile(picturePath.substr(0, picturePath.rfind('.')) + ".rgba");
  std::vector<uint32_t> pixels(bytes.size() / 4);
  for (size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = Argb(bytes[i * 4], bytes[i * 4 + 1], bytes[i * 4 + 2], bytes[i * 4 + 3]);
  return pixels;
}

// How far apart two pixels are: the largest difference of any channel.
inline int ChannelDistance(uint32_t a, uint32_t b) {
  int largest = 0;
  for (int shift = 0; shift < 32; shift += 8)
    largest = std::max(largest, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
  return largest;
}

enum class ClearPixels { kCompareColour, kIgnoreColour };

// Every channel within tolerance: another program may round samples of other depths differently. Where a
// file's transparency throws the colour away, kIgnoreColour skips it where both pixels are fully transparent.
inline ::testing::AssertionResult SamePixels(const Image& image, const std::vector<uint32_t>& expected,
                                             int tolerance = 0, ClearPixels clear = ClearPixels::kCompareColour) {
  if (image.pixels.size() != expected.size() || image.pixels.size() != size_t{image.width} * image.height)
    return ::testing::AssertionFailure() << "size " << image.width << " x " << image.height << " with "
                                         << image.pixels.size() << " pixels, reference has " << expected.size();
  for (size_t i = 0; i < expected.size(); ++i) {
    const uint32_t got = image.pixels[i], want = expected[i];
    if (clear == ClearPixels::kIgnoreColour && (got >> 24) == 0 && (want >> 24) == 0) continue;
    if (ChannelDistance(got, want) > tolerance) {
      char text[96];
      std::snprintf(text, sizeof text, "pixel (%zu, %zu) is %08X, reference %08X", i % image.width, i / image.width,
                    static_cast<unsigned>(got), static_cast<unsigned>(want));
      return ::testing::AssertionFailure() << text;
    }
  }
  return ::testing::AssertionSuccess();
}

inline void ExpectPixels(const Image& image, uint32_t width, uint32_t height, const std::vector<uint32_t>& expected,
                         int tolerance = 0) {
  ASSERT_EQ(image.width, width);
  ASSERT_EQ(image.height, height);
  EXPECT_TRUE(SamePixels(image, expected, tolerance));
}

// What a test picture decodes to besides its reference pixels.
struct Expected {
  uint32_t width, height, bitsPerPixel;
  bool hasAlpha;
  int tolerance = 0;
  ClearPixels clear = ClearPixels::kCompareColour;
};

// A test picture that its format claims and decodes as its reference.
inline void ExpectDecodesAsReference(const FileFormat& format, const std::string& path, const Expected& expected) {
  SCOPED_TRACE(path);
  const std::vector<uint8_t> file = ReadTestFile(path);
  EXPECT_TRUE(Accepts(format, file));
  const Image image = format.load(file, {});
  EXPECT_EQ(image.width, expected.width);
  EXPECT_EQ(image.height, expected.height);
  EXPECT_EQ(image.bitsPerPixel, expected.bitsPerPixel);
  EXPECT_EQ(image.hasAlpha, expected.hasAlpha);
  EXPECT_TRUE(SamePixels(image, ReadReference(path), expected.tolerance, expected.clear));
}

// The pattern that the hand-made test pictures in tests/data carry: pixel (x, y) of a 13 x 7 picture.
inline uint32_t PatternPixel(uint32_t x, uint32_t y, uint32_t alpha = 255) {
  return Argb((x * 19 + y * 7) % 256, (x * 5 + y * 37) % 256, (255 - x * 13 - y * 3) % 256, alpha);
}
inline uint32_t PatternAlpha(uint32_t x, uint32_t y) { return x < 10 ? 255 : 40 * y; }

inline std::vector<uint32_t> Pattern(bool withAlpha) {
  std::vector<uint32_t> pixels;
  for (uint32_t y = 0; y < 7; ++y)
    for (uint32_t x = 0; x < 13; ++x) pixels.push_back(PatternPixel(x, y, withAlpha ? PatternAlpha(x, y) : 255));
  return pixels;
}

// Each channel within `tolerance` of the pattern (colour conversions of other programs round differently).
inline void ExpectPattern(const Image& image, bool withAlpha, int tolerance = 0) {
  ExpectPixels(image, 13, 7, Pattern(withAlpha), tolerance);
}

// A format's decoder as the checks below call it, with the companion file's bytes when it reads one.
inline auto Loader(const FileFormat& format, std::vector<uint8_t> companion = {}) {
  return [&format, companion](Bytes file) { return format.load(file, companion); };
}

inline Image Decode(const FileFormat& format, const std::vector<uint8_t>& file,
                    const std::vector<uint8_t>& companion = {}) {
  return format.load(file, companion);
}


// Files of up to this many bytes are tried at every length and every byte; larger ones at evenly spread ones.
constexpr size_t kExhaustiveBytes = 4096;

inline size_t Stride(const std::vector<uint8_t>& file) { return std::max<size_t>(1, file.size() / kExhaustiveBytes); }

enum class Prefixes {
  kFail,               // the last bytes are pixel data: every cut loses some
  kFailOrDecodeWhole,  // a cut may lose only metadata that the decoder may ignore
  kFailOrDecode,       // a cut may lose what the decoder fills in (a palette, padding)
};

// Each prefix of a file shorter than the whole minus `spare` bytes, each its own allocation so that the
// sanitizers catch a read past its end, obeys the rule; no prefix may fail other than with DecodeError.
template <class Decode>
void ExpectPrefixes(Prefixes rule, const std::vector<uint8_t>& file, Decode decode, size_t spare = 0) {
  const Image whole = rule == Prefixes::kFailOrDecodeWhole ? decode(Bytes(file)) : Image{};
  for (size_t length = 0; length + spare < file.size(); length += Stride(file)) {
    const std::vector<uint8_t> prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
    if (rule == Prefixes::kFail) {
      EXPECT_THROW(decode(Bytes(prefix)), DecodeError) << "prefix of " << length << " bytes";
      continue;
    }
    try {
      const Image image = decode(Bytes(prefix));
      if (rule == Prefixes::kFailOrDecodeWhole) {
        EXPECT_TRUE(image.pixels == whole.pixels && image.bitsPerPixel == whole.bitsPerPixel)
            << "prefix of " << length << " bytes decodes to another picture";
      }
    } catch (const DecodeError&) {
    }
  }
}

template <class Decode>
void ExpectPrefixesFail(const std::vector<uint8_t>& file, Decode decode, size_t spare = 0) {
  ExpectPrefixes(Prefixes::kFail, file, decode, spare);
}

// Copies of a file with one byte inverted, or set to 0x00, 0x7F, 0x80 or 0xFF, decode to a whole picture or
// fail with DecodeError; under the sanitizers this also checks that no damage makes the decoder read or
// write out of bounds.
template <class Decode>
void ExpectDamageHandled(const std::vector<uint8_t>& file, Decode decode) {
  for (size_t at = 0; at < file.size(); at += Stride(file))
    for (int value : {file[at] ^ 0xFF, 0x00, 0x7F, 0x80, 0xFF}) {
      std::vector<uint8_t> damaged = file;
      damaged[at] = static_cast<uint8_t>(value);
      try {
        const Image image = decode(Bytes(damaged));
        EXPECT_EQ(image.pixels.size(), size_t{image.width} * image.height) << "byte " << at << " set to " << value;
      } catch (const DecodeError&) {
      }
    }
}

// A stream over a file cut short gives its first rows, fails part way, and fails again there and at every
// later row.
inline void ExpectFailsPartWayAndStaysFailed(RowStream& rows) {
  int32_t failedAt = 0;
  try {
    for (; failedAt < rows.Height(); ++failedAt) rows.Row(failedAt);
  } catch (const DecodeError&) {
  }
  ASSERT_GT(failedAt, 0);
  ASSERT_LT(failedAt, rows.Height());
  EXPECT_THROW(rows.Row(failedAt), DecodeError);
  EXPECT_THROW(rows.Row(rows.Height() - 1), DecodeError);
}

}  // namespace imaging::test
