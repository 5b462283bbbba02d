#pragma once
// Helpers for the decoder tests: test files, a byte writer for making awkward files, and the checks that
// every decoder must pass on truncated and damaged input.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "imaging/FileFormatList.h"

namespace imaging::test {

inline std::vector<uint8_t> ReadTestFile(const std::string& relative) {
  std::ifstream in(std::string(ORLO_TEST_DATA) + "/" + relative, std::ios::binary);
  EXPECT_TRUE(in.good()) << relative;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The pattern that the test pictures in tests/data carry: pixel (x, y) of a 13 x 7 picture, alpha aside.
inline uint32_t PatternPixel(uint32_t x, uint32_t y, uint32_t alpha = 255) {
  return Argb((x * 19 + y * 7) % 256, (x * 5 + y * 37) % 256, (255 - x * 13 - y * 3) % 256, alpha);
}
inline uint32_t PatternAlpha(uint32_t x, uint32_t y) { return x < 10 ? 255 : 40 * y; }

// Each channel within `tolerance` of the pattern (colour conversions of other programs round differently).
inline void ExpectPattern(const Image& image, bool withAlpha, int tolerance = 0) {
  ASSERT_EQ(image.width, 13u);
  ASSERT_EQ(image.height, 7u);
  for (uint32_t y = 0; y < 7; ++y)
    for (uint32_t x = 0; x < 13; ++x) {
      const uint32_t actual = image.Row(y)[x], expected = PatternPixel(x, y, withAlpha ? PatternAlpha(x, y) : 255);
      for (int shift = 0; shift < 32; shift += 8)
        ASSERT_LE(std::abs(int(actual >> shift & 0xFF) - int(expected >> shift & 0xFF)), tolerance)
            << x << "," << y << std::hex << " actual " << actual << " expected " << expected;
    }
}

class Writer {
public:
  std::vector<uint8_t> bytes;

  Writer& U8(uint32_t v) { bytes.push_back(static_cast<uint8_t>(v)); return *this; }
  Writer& U16BE(uint32_t v) { return U8(v >> 8).U8(v); }
  Writer& U16LE(uint32_t v) { return U8(v).U8(v >> 8); }
  Writer& U32BE(uint32_t v) { return U16BE(v >> 16).U16BE(v); }
  Writer& U32LE(uint32_t v) { return U16LE(v).U16LE(v >> 16); }
  Writer& Put(const std::vector<uint8_t>& data) { bytes.insert(bytes.end(), data.begin(), data.end()); return *this; }
  Writer& Text(const std::string& text) { bytes.insert(bytes.end(), text.begin(), text.end()); return *this; }
  Writer& Zeros(size_t count) { bytes.resize(bytes.size() + count); return *this; }
  size_t Size() const { return bytes.size(); }
  void PatchU32BE(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
  }
};

inline Image Decode(const FileFormat& format, const std::vector<uint8_t>& file, const std::string& name = "test") {
  return format.load(file, name);
}

inline bool Accepts(const FileFormat& format, const std::vector<uint8_t>& file) {
  return format.canLoad(Bytes(file).first(std::min(file.size(), kContentTestBytes)), file.size());
}

// Every proper prefix of a file whose last bytes are pixel data must fail with a DecodeError.
inline void ExpectPrefixesFail(const FileFormat& format, const std::vector<uint8_t>& file,
                               const std::string& name = "test") {
  const size_t step = std::max<size_t>(1, file.size() / 700);
  for (size_t length = 0; length < file.size(); length += step) {
    const std::vector<uint8_t> prefix(file.begin(), file.begin() + length);
    EXPECT_THROW(format.load(prefix, name), DecodeError) << "prefix of " << length << " bytes";
  }
}

// Damaged bytes anywhere decode or fail with a DecodeError, never anything else (the sanitizers watch).
inline void ExpectCorruptionsHandled(const FileFormat& format, const std::vector<uint8_t>& file,
                                     const std::string& name = "test") {
  const size_t step = std::max<size_t>(1, file.size() / 400);
  for (size_t at = 0; at < file.size(); at += step)
    for (uint8_t value : {uint8_t{0x00}, uint8_t{0x7F}, uint8_t{0x80}, uint8_t{0xFF}}) {
      std::vector<uint8_t> damaged = file;
      damaged[at] = value;
      try {
        const Image image = format.load(damaged, name);
        EXPECT_EQ(image.pixels.size(), size_t{image.width} * image.height);
      } catch (const DecodeError&) {
      }
    }
}

}  // namespace imaging::test
