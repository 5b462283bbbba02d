#pragma once
// Sample pictures of the decoder tests: reading them with their reference pixels, writing small ones in code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "imaging/FileFormat.h"
#include "imaging/Image.h"

namespace imaging::samples {

inline std::vector<uint8_t> ReadSample(const std::string& name) {
  std::ifstream file(std::string(ORLO_TEST_DATA) + "/" + name, std::ios::binary);
  EXPECT_TRUE(file.good()) << name;
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The pixels that ImageMagick decodes from a sample (<name>.rgba, 8-bit RGBA), as 0xAARRGGBB.
inline std::vector<uint32_t> ReadReference(const std::string& name) {
  const std::vector<uint8_t> raw = ReadSample(name + ".rgba");
  std::vector<uint32_t> pixels;
  for (size_t i = 0; i + 3 < raw.size(); i += 4) pixels.push_back(Argb(raw[i], raw[i + 1], raw[i + 2], raw[i + 3]));
  return pixels;
}

inline uint32_t ChannelDistance(uint32_t a, uint32_t b) {
  uint32_t largest = 0;
  for (uint32_t shift = 0; shift < 32; shift += 8) {
    const int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    largest = std::max<uint32_t>(largest, static_cast<uint32_t>(std::abs(difference)));
  }
  return largest;
}

// Every channel within tolerance: a reference tool may round samples of other depths differently.
inline void ExpectPixels(const Image& image, uint32_t width, uint32_t height, const std::vector<uint32_t>& expected,
                         uint32_t tolerance = 0) {
  ASSERT_EQ(image.width, width);
  ASSERT_EQ(image.height, height);
  ASSERT_EQ(image.pixels.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    ASSERT_LE(ChannelDistance(image.pixels[i], expected[i]), tolerance)
        << std::hex << image.pixels[i] << " != " << expected[i] << std::dec << " at pixel " << i % width << ","
        << i / width;
  }
}

// Every prefix of a file either decodes or fails with DecodeError; anything else (a crash under the
// sanitizers, another exception) fails the test.
inline void ExpectPrefixesFailCleanly(const std::vector<uint8_t>& file, const std::function<void(Bytes)>& decode) {
  for (size_t length = 0; length < file.size(); ++length) {
    try {
      decode(Bytes(file.data(), length));
    } catch (const DecodeError&) {
    }
  }
}

// Little-endian file bytes, built in a test.
struct ByteSink {
  std::vector<uint8_t> bytes;

  ByteSink& U8(std::initializer_list<uint8_t> values) {
    bytes.insert(bytes.end(), values);
    return *this;
  }
  ByteSink& U16(uint32_t v) { return U8({static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)}); }
  ByteSink& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  ByteSink& Append(const std::vector<uint8_t>& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
    return *this;
  }
  ByteSink& Text(const std::string& text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
    return *this;
  }
  ByteSink& Zeros(size_t count) {
    bytes.resize(bytes.size() + count);
    return *this;
  }
};

inline Bytes AsBytes(const std::vector<uint8_t>& file) { return Bytes(file.data(), file.size()); }

}  // namespace imaging::samples
