#include <gtest/gtest.h>

#include <cstring>

#include "imaging/FileFormatList.h"
#include "tests/imaging/TestFiles.h"

namespace imaging {
namespace {

using test::ReadTestFile;

Image LoadGif(Bytes file) { return kGifFormat.load(file, {}); }

TEST(GifPictures, DecodeExactlyAsTheReference) {
  struct Case {
    const char* name;
    uint32_t width, height;
    bool hasAlpha;
  };
  for (const Case& c : {Case{"palette", 13, 9, false}, Case{"interlaced", 13, 9, false},
                        Case{"transparent", 13, 9, true}, Case{"placed", 20, 15, true}}) {
    const uint32_t bitsPerPixel = 3;  // seven colours in a palette of eight
    test::ExpectDecodesAsReference(kGifFormat, std::string("gif/") + c.name + ".gif",
                                   {c.width, c.height, bitsPerPixel, c.hasAlpha});
  }
}

uint32_t Colour(int index, int salt) {
  return Argb((index * 70 + salt) & 0xFF, (255 - index * 40) & 0xFF, (index * 13 + salt * 3) & 0xFF);
}

// A GIF file written here. Its LZW data send every pixel as a literal code and clear the table before the
// code width would grow, so the codes keep one width.
class GifWriter {
public:
  GifWriter(uint16_t width, uint16_t height, int globalBits) {
    bytes_.assign({'G', 'I', 'F', '8', '9', 'a'});
    Put16(width);
    Put16(height);
    bytes_.push_back(globalBits ? static_cast<uint8_t>(0x80 | (globalBits - 1) << 4 | (globalBits - 1)) : 0);
    bytes_.insert(bytes_.end(), {0, 0});
    Palette(globalBits, 0);
  }

  GifWriter& Transparent(int index, bool flag = true) {
    bytes_.insert(bytes_.end(), {0x21, 0xF9, 4, static_cast<uint8_t>(flag ? 1 : 0), 0, 0,
                                 static_cast<uint8_t>(index), 0});
    return *this;
  }

  GifWriter& AddImage(uint16_t left, uint16_t top, uint16_t width, const std::vector<uint8_t>& pixels, int localBits,
                   int codeSize) {
    bytes_.push_back(0x2C);
    for (uint16_t value : {left, top, width, static_cast<uint16_t>(pixels.size() / width)}) Put16(value);
    bytes_.push_back(localBits ? static_cast<uint8_t>(0x80 | (localBits - 1)) : 0);
    Palette(localBits, 1);
    bytes_.push_back(static_cast<uint8_t>(codeSize));
    PutBlocks(Lzw(pixels, codeSize));
    return *this;
  }

  std::vector<uint8_t> End() {
    bytes_.push_back(0x3B);
    return bytes_;
  }

private:
  void Put16(uint16_t value) { bytes_.insert(bytes_.end(), {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)}); }

  void Palette(int bits, int salt) {
    for (int i = 0; bits && i < 1 << bits; ++i) {
      const uint32_t colour = Colour(i, salt);
      bytes_.insert(bytes_.end(), {static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                                   static_cast<uint8_t>(colour)});
    }
  }

  static std::vector<uint8_t> Lzw(const std::vector<uint8_t>& pixels, int codeSize) {
    const uint32_t clear = 1u << codeSize, width = codeSize + 1;
    std::vector<uint8_t> out;
    uint32_t buffer = 0, bits = 0;
    auto emit = [&](uint32_t code) {
      buffer |= code << bits;
      for (bits += width; bits >= 8; bits -= 8, buffer >>= 8) out.push_back(static_cast<uint8_t>(buffer));
    };
    for (size_t i = 0; i < pixels.size(); ++i) {
      if (i % (clear - 2) == 0) emit(clear);
      emit(pixels[i]);
    }
    emit(clear + 1);
    if (bits) out.push_back(static_cast<uint8_t>(buffer));
    return out;
  }

  void PutBlocks(const std::vector<uint8_t>& data) {
    for (size_t at = 0; at < data.size(); at += 255) {
      const size_t length = std::min<size_t>(255, data.size() - at);
      bytes_.push_back(static_cast<uint8_t>(length));
      bytes_.insert(bytes_.end(), data.begin() + at, data.begin() + at + length);
    }
    bytes_.push_back(0);
  }

  std::vector<uint8_t> bytes_;
};

const std::vector<uint8_t> kPixels = {0, 1, 2, 3, 3, 2, 1, 0};  // 4 x 2

TEST(GifPalettes, TheLocalPaletteOverridesTheGlobalOne) {
  const Image global = LoadGif(GifWriter(4, 2, 2).AddImage(0, 0, 4, kPixels, 0, 2).End());
  EXPECT_EQ(global.pixels[1], Colour(1, 0));
  EXPECT_EQ(global.bitsPerPixel, 2u);
  EXPECT_FALSE(global.hasAlpha);
  const Image local = LoadGif(GifWriter(4, 2, 2).AddImage(0, 0, 4, kPixels, 3, 3).End());
  for (size_t i = 0; i < kPixels.size(); ++i) EXPECT_EQ(local.pixels[i], Colour(kPixels[i], 1));
  EXPECT_EQ(local.bitsPerPixel, 3u);
}

TEST(GifPalettes, IndicesBeyondThePaletteAreOpaqueBlackAndNoPaletteFails) {
  const Image image = LoadGif(GifWriter(4, 2, 1).AddImage(0, 0, 4, kPixels, 0, 2).End());
  EXPECT_EQ(image.pixels[1], Colour(1, 0));
  EXPECT_EQ(image.pixels[2], 0xFF000000u);
  EXPECT_THROW(LoadGif(GifWriter(4, 2, 0).AddImage(0, 0, 4, kPixels, 0, 2).End()), DecodeError);
}

TEST(GifTransparency, TheLastControlBlockBeforeTheImageNamesTheTransparentIndex) {
  const Image image = LoadGif(GifWriter(4, 2, 2).Transparent(1).AddImage(0, 0, 4, kPixels, 0, 2).End());
  EXPECT_TRUE(image.hasAlpha);
  EXPECT_EQ(image.pixels[1] >> 24, 0u);
  EXPECT_EQ(image.pixels[0], Colour(0, 0));
  const Image cleared = LoadGif(GifWriter(4, 2, 2).Transparent(1).Transparent(1, false).AddImage(0, 0, 4, kPixels, 0, 2).End());
  EXPECT_FALSE(cleared.hasAlpha);
  EXPECT_EQ(cleared.pixels[1], Colour(1, 0));
}

TEST(GifPlacement, TheScreenGrowsToHoldTheImageAndUncoveredPixelsAreTransparent) {
  const Image image = LoadGif(GifWriter(3, 2, 2).AddImage(2, 1, 4, kPixels, 0, 2).End());
  ASSERT_EQ(image.width, 6u);
  ASSERT_EQ(image.height, 3u);
  EXPECT_TRUE(image.hasAlpha);
  EXPECT_EQ(image.pixels[0], 0u);
  EXPECT_EQ(image.Row(1)[1], 0u);
  EXPECT_EQ(image.Row(1)[3], Colour(1, 0));
  EXPECT_EQ(image.Row(2)[5], Colour(0, 0));
}

TEST(GifDamage, EveryTruncationBeforeTheTrailerFails) {
  // The trailer byte alone may be missing: the image is whole without it.
  for (const char* name : {"gif/interlaced.gif", "gif/transparent.gif", "gif/placed.gif"}) {
    SCOPED_TRACE(name);
    test::ExpectPrefixesFail(ReadTestFile(name), LoadGif, 1);
  }
  const std::vector<uint8_t> wide = GifWriter(40, 30, 4).AddImage(0, 0, 40, std::vector<uint8_t>(1200, 5), 0, 4).End();
  test::ExpectPrefixesFail(wide, LoadGif, 1);
}

TEST(GifDamage, FilesWithoutAnImageOrWithHugeOrEmptySizesFail) {
  EXPECT_THROW(LoadGif(GifWriter(4, 2, 2).End()), DecodeError);
  try {
    LoadGif(GifWriter(65535, 65535, 2).AddImage(0, 0, 4, kPixels, 0, 2).End());
    ADD_FAILURE() << "a 65535 x 65535 screen loaded";
  } catch (const DecodeError& error) {
    EXPECT_NE(std::strstr(error.what(), "too large"), nullptr) << error.what();
  }
  EXPECT_THROW(LoadGif(GifWriter(4, 2, 2).AddImage(65000, 65000, 4, kPixels, 0, 2).End()), DecodeError);
  std::vector<uint8_t> emptyImage = GifWriter(4, 2, 2).AddImage(0, 0, 4, kPixels, 0, 2).End();
  emptyImage[13 + 12 + 5] = 0;  // the image's width
  EXPECT_THROW(LoadGif(emptyImage), DecodeError);
}

TEST(GifDamage, DamagedBytesAreHandled) {
  test::ExpectDamageHandled(ReadTestFile("gif/interlaced.gif"), LoadGif);
  test::ExpectDamageHandled(GifWriter(4, 2, 2).Transparent(1).AddImage(1, 0, 4, kPixels, 3, 3).End(), LoadGif);
}

}  // namespace
}  // namespace imaging
