#include <gtest/gtest.h>

#include <cstdlib>

#include "TempFolder.h"
#include "TestPictures.h"
#include "imaging/Bmp.h"
#include "graphics/Bitmap.h"
#include "graphics/Dib.h"
#include "graphics/PictureFiles.h"
#include "system/SysUtils.h"

namespace {

imaging::Image Picture(uint32_t width, uint32_t height, std::initializer_list<uint32_t> colours) {
  imaging::Image image;
  image.width = width;
  image.height = height;
  image.bitsPerPixel = 32;
  for (size_t i = 0; i < size_t{width} * height; ++i) image.pixels.push_back(colours.begin()[i % colours.size()]);
  return image;
}

// GDI widens 5 and 6-bit channels by repeating their top bits, a decoder may round v x 255 / 31 instead:
// the two differ by at most 1.
bool SameColour(uint32_t a, uint32_t b) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) > 1) return false;
  return true;
}

TEST(PixelFormatOf, FollowsTheFilesLayout) {
  auto format = [](uint32_t bits, bool masks, uint32_t r = 0, uint32_t g = 0, uint32_t b = 0) {
    imaging::BmpLayout layout;
    layout.bitCount = bits;
    layout.hasMasks = masks;
    layout.redMask = r, layout.greenMask = g, layout.blueMask = b;
    return PixelFormatOf(layout);
  };
  EXPECT_EQ(format(1, false), pf1bit);
  EXPECT_EQ(format(4, false), pf4bit);
  EXPECT_EQ(format(8, false), pf8bit);
  EXPECT_EQ(format(16, false), pf15bit);
  EXPECT_EQ(format(16, true, 0xF800, 0x07E0, 0x001F), pf16bit);
  EXPECT_EQ(format(16, true, 0x7C00, 0x03E0, 0x001F), pfCustom);
  EXPECT_EQ(format(24, false), pf24bit);
  EXPECT_EQ(format(32, false), pf32bit);
  EXPECT_EQ(format(32, true, 0xFF0000, 0xFF00, 0xFF), pfCustom);
}

TEST(TBitmap, LoadsWindowsBitmapFilesInTheirPixelFormat) {
  const std::pair<const char*, TPixelFormat> files[] = {
      {"bmp565.bmp", pf16bit}, {"bmp16-rgb.bmp", pf15bit}, {"bmp555.bmp", pfCustom},
      {"bmp24.bmp", pf24bit},  {"bmp4.bmp", pf4bit},
  };
  for (const auto& [name, format] : files) {
    TBitmap bitmap;
    bitmap.LoadFromFile(TestPicture(name));
    EXPECT_EQ(bitmap.PixelFormat(), format) << name;
    // The bitmap shows exactly the colours that the file holds.
    const std::vector<uint8_t> bytes = ReadPictureFile(TestPicture(name));
    const imaging::Image decoded = imaging::DecodeBmp(bytes);
    const imaging::Image shown = bitmap.ToImage();
    EXPECT_EQ(bitmap.Width(), static_cast<int>(decoded.width)) << name;
    EXPECT_EQ(bitmap.Height(), static_cast<int>(decoded.height)) << name;
    ASSERT_EQ(shown.pixels.size(), decoded.pixels.size()) << name;
    for (size_t i = 0; i < shown.pixels.size(); ++i)
      ASSERT_TRUE(SameColour(shown.pixels[i], decoded.pixels[i])) << name << " pixel " << i;
  }
}

TEST(TBitmap, BrokenFileRaisesInvalidGraphicAndKeepsThePicture) {
  TempFolder folder;
  const std::string broken = folder.Write("broken.bmp", std::string("BM\x10\0\0\0", 6));
  TBitmap bitmap;
  bitmap.SetSize(3, 2);
  EXPECT_THROW(bitmap.LoadFromFile(broken), EInvalidGraphic);
  EXPECT_THROW(bitmap.LoadFromFile(folder.File("missing.bmp")), EFOpenError);
  EXPECT_EQ(bitmap.Width(), 3);
  EXPECT_EQ(bitmap.Height(), 2);
}

TEST(TBitmap, ResizingKeepsPixelFormatAndPixels) {
  TBitmap bitmap;
  bitmap.Assign(Picture(2, 2, {0xFF102030, 0xFF405060}), pf24bit);
  bitmap.SetWidth(3);
  bitmap.SetHeight(1);
  EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
  const imaging::Image image = bitmap.ToImage();
  ASSERT_EQ(image.width, 3u);
  ASSERT_EQ(image.height, 1u);
  EXPECT_EQ(image.pixels, (imaging::Pixels{0xFF102030, 0xFF405060, 0xFFFFFFFF}));
  bitmap.SetHeight(0);
  EXPECT_EQ(bitmap.Handle(), nullptr);
  EXPECT_EQ(bitmap.Width(), 3);
  EXPECT_THROW(bitmap.SetSize(-1, 1), EInvalidGraphic);
}

TEST(TBitmap, IndexedFormatsKeepThePicturesOwnColours) {
  const imaging::Image picture = Picture(5, 3, {0xFF123456, 0xFFFEDCBA, 0xFF00FF01, 0xFF777777});
  for (const TPixelFormat format : {pf4bit, pf8bit}) {
    TBitmap bitmap;
    bitmap.Assign(picture, pf24bit);
    bitmap.SetPixelFormat(format);
    EXPECT_EQ(bitmap.PixelFormat(), format);
    EXPECT_EQ(bitmap.ToImage().pixels, picture.pixels) << format;
  }
}

TEST(TBitmap, DeviceBitmapIsTheDefault) {
  TBitmap bitmap;
  EXPECT_EQ(bitmap.PixelFormat(), pfDevice);
  bitmap.SetSize(4, 4);
  EXPECT_NE(bitmap.Handle(), nullptr);
  EXPECT_EQ(GetDeviceCaps(bitmap.CanvasHandle(), BITSPIXEL), GetDeviceCaps(TScreenDc().Handle(), BITSPIXEL));
}

TEST(TBitmap, CloneIsASeparateInstanceOfTheSameClass) {
  TBitmap bitmap;
  bitmap.Assign(Picture(2, 1, {0xFF0000FF, 0xFF00FF00}), pf16bit);
  const std::unique_ptr<TGraphic> copy = bitmap.Clone();
  const auto* copied = dynamic_cast<const TBitmap*>(copy.get());
  ASSERT_NE(copied, nullptr);
  EXPECT_NE(copied->Handle(), bitmap.Handle());
  EXPECT_EQ(copied->PixelFormat(), pf16bit);
  bitmap.SetSize(5, 5);
  EXPECT_EQ(copied->Width(), 2);
  EXPECT_EQ(copied->ToImage().pixels, (imaging::Pixels{0xFF0000FF, 0xFF00FF00}));
}

// Bitmaps of 24 and 32 bits are written and read through their rows, bottom-up with each row padded to four
// bytes; GDI reading the same bitmap is the reference. Widths 1 to 9 take every remainder of the four-pixel
// steps.
TEST(TBitmap, RowsOf24And32BitsAgreeWithGdi) {
  for (const TPixelFormat format : {pf24bit, pf32bit})
    for (uint32_t width = 1; width <= 9; ++width) {
      SCOPED_TRACE(testing::Message() << format << " " << width);
      const imaging::Image picture = Picture(width, 3, {0x80102030, 0xFF405060, 0x00708090, 0xFFA0B0C0, 0x7FD0E0F0});
      TBitmap bitmap;
      bitmap.Assign(picture, format);
      ASSERT_EQ(bitmap.RowBitCount(), format == pf24bit ? 24 : 32);
      imaging::Image byGdi = ReadBitmapPixels(bitmap.CanvasHandle(), bitmap.Handle(), bitmap.Width(), 3);
      for (uint32_t& pixel : byGdi.pixels) pixel |= format == pf24bit ? 0xFF000000u : 0;
      for (uint32_t i = 0; i < picture.pixels.size(); ++i)
        ASSERT_EQ(byGdi.pixels[i], picture.pixels[i] | (format == pf24bit ? 0xFF000000u : 0)) << i;
      EXPECT_EQ(bitmap.ToImage().pixels, byGdi.pixels);
      const std::unique_ptr<TGraphic> copy = bitmap.Clone();
      EXPECT_EQ(dynamic_cast<const TBitmap&>(*copy).ToImage().pixels, byGdi.pixels);
    }
}

}  // namespace
