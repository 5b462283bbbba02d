#pragma once
// Test pictures under tests/data and their references: raw 8-bit R, G, B, A rows written by ImageMagick.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "imaging/FileFormat.h"

namespace imaging::test {

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
    pixels[i] = uint32_t{bytes[i * 4 + 3]} << 24 | uint32_t{bytes[i * 4]} << 16 | uint32_t{bytes[i * 4 + 1]} << 8 |
                bytes[i * 4 + 2];
  return pixels;
}

// Every channel within tolerance; colour is not compared where both pixels are fully transparent.
inline ::testing::AssertionResult SamePixels(const Image& image, const std::vector<uint32_t>& expected,
                                             int tolerance = 0) {
  if (image.pixels.size() != expected.size() || image.pixels.size() != size_t{image.width} * image.height)
    return ::testing::AssertionFailure() << "size " << image.width << " x " << image.height << " with "
                                         << image.pixels.size() << " pixels, reference has " << expected.size();
  for (size_t i = 0; i < expected.size(); ++i) {
    const uint32_t got = image.pixels[i], want = expected[i];
    const bool bothClear = (got >> 24) == 0 && (want >> 24) == 0;
    for (int shift = 0; shift < 32 && !bothClear; shift += 8) {
      const int difference = static_cast<int>((got >> shift) & 0xFF) - static_cast<int>((want >> shift) & 0xFF);
      if (std::abs(difference) > tolerance) {
        char text[96];
        std::snprintf(text, sizeof text, "pixel (%zu, %zu) is %08X, reference %08X", i % image.width,
                      i / image.width, static_cast<unsigned>(got), static_cast<unsigned>(want));
        return ::testing::AssertionFailure() << text;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// Each prefix shorter than the whole file minus `spare` bytes fails with DecodeError. Each prefix is its own
// allocation, so that the sanitizers catch a read past its end.
template <class Decode>
void ExpectPrefixesFail(const std::vector<uint8_t>& file, Decode decode, size_t spare = 0) {
  for (size_t length = 0; length + spare < file.size(); ++length) {
    const std::vector<uint8_t> prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_THROW(decode(Bytes(prefix)), DecodeError) << "prefix of " << length << " bytes";
  }
}

// Each prefix shorter than the whole file fails with DecodeError or, when what it cuts off is metadata
// that the decoder may ignore, decodes to exactly the whole file's picture.
template <class Decode>
void ExpectPrefixesFailOrDecodeWhole(const std::vector<uint8_t>& file, Decode decode) {
  const Image whole = decode(Bytes(file));
  for (size_t length = 0; length < file.size(); ++length) {
    const std::vector<uint8_t> prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
    try {
      const Image image = decode(Bytes(prefix));
      EXPECT_TRUE(image.pixels == whole.pixels && image.bitsPerPixel == whole.bitsPerPixel)
          << "prefix of " << length << " bytes decodes to another picture";
    } catch (const DecodeError&) {
    }
  }
}

// A copy of the file with each byte in turn inverted either decodes or fails with DecodeError; under the
// sanitizers this also checks that no damage makes the decoder read or write out of bounds.
template <class Decode>
void ExpectByteFlipsHandled(const std::vector<uint8_t>& file, Decode decode) {
  for (size_t at = 0; at < file.size(); ++at) {
    std::vector<uint8_t> damaged = file;
    damaged[at] ^= 0xFF;
    try {
      decode(Bytes(damaged));
    } catch (const DecodeError&) {
    }
  }
}

}  // namespace imaging::test
