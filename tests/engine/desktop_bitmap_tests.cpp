// Turning a picture into the desktop bitmap: sizes by style, the resampler's two ways, and what a failed
// conversion leaves behind.
#include <gtest/gtest.h>

#include <algorithm>

#include "JpegEncoder.h"
#include "TestPictures.h"
#include "engine/ChangerTestSupport.h"
#include "engine/uGraphics.h"
#include "imaging/Jpeg.h"
#include "system/FileUtils.h"
#include "system/SysUtils.h"

namespace {

using namespace changertest;

// Grey stripes of two levels: scaling by averaging stays within the levels, the Lanczos kernel overshoots
// them at every edge.
std::unique_ptr<TBitmap32> Stripes(int32_t width, int32_t height) {
  auto raster = std::make_unique<TBitmap32>();
  raster->SetSize(width, height);
  raster->FillRectS(raster->BoundsRect(), 0xFF404040u);
  for (int32_t x = 0; x < width; x += 14) raster->FillRectS({x, 0, x + 7, height}, 0xFFC0C0C0u);
  return raster;
}

struct TLevels {
  uint32_t Low = 255;
  uint32_t High = 0;
  bool AllGrey = true;
};

TLevels LevelsOf(const TBitmap32& raster) {
  TLevels levels;
  const imaging::Bitmap32& pixels = raster.Raster();
  for (int32_t y = 0; y < pixels.Height(); ++y)
    for (int32_t x = 0; x < pixels.Width(); ++x) {
      const uint32_t pixel = pixels.Pixel(x, y), green = pixel >> 8 & 0xFF;
      levels.Low = std::min(levels.Low, green);
      levels.High = std::max(levels.High, green);
      levels.AllGrey &= (pixel >> 16 & 0xFF) == green && (pixel & 0xFF) == green;
    }
  return levels;
}

enum class TWay { Halftone, Lanczos };

TWay WayOf(int32_t sourceWidth, int32_t sourceHeight, int32_t width, int32_t height) {
  const std::unique_ptr<TBitmap32> target =
      TWallpaperChanger::Resample(*Stripes(sourceWidth, sourceHeight), width, height, 0x008000);
  EXPECT_TRUE(target);
  if (!target) return TWay::Halftone;
  EXPECT_EQ(target->Width(), width);
  EXPECT_EQ(target->Height(), height);
  const TLevels levels = LevelsOf(*target);
  EXPECT_TRUE(levels.AllGrey) << "the fill shows";
  return levels.Low < 0x40 || levels.High > 0xC0 ? TWay::Lanczos : TWay::Halftone;
}

TEST(Resample, ScalesOfOnePointSixOrMoreTakeTheLanczosResampler) {
  EXPECT_EQ(WayOf(1200, 750, 1920, 1200), TWay::Lanczos);
  EXPECT_EQ(WayOf(1001, 626, 1600, 1000), TWay::Halftone);
  EXPECT_EQ(WayOf(3000, 1875, 1920, 1200), TWay::Halftone);
  EXPECT_EQ(WayOf(1920, 1200, 1200, 750), TWay::Lanczos);
}

TEST(Resample, TheSameSizeIsAnExactHalftoneCopy) {
  const std::unique_ptr<TBitmap32> source = Stripes(64, 40);
  const std::unique_ptr<TBitmap32> target = TWallpaperChanger::Resample(*source, 64, 40, 0x008000);
  ASSERT_TRUE(target);
  for (int32_t x = 0; x < 64; ++x)
    EXPECT_EQ(target->Raster().Pixel(x, 20) & 0xFFFFFF, source->Raster().Pixel(x, 20) & 0xFFFFFF) << x;
}

TEST(Resample, AZeroExtentGivesNoRaster) {
  EXPECT_FALSE(TWallpaperChanger::Resample(*Stripes(64, 40), 100, 0, 0x008000));
  TBitmap32 empty;
  EXPECT_FALSE(TWallpaperChanger::Resample(empty, 100, 100, 0x008000));
}

class ConversionTest : public ChangerTest {
protected:
  // A w x h picture: red on the left half, blue on the right, so that copies and scalings can be told apart.
  std::string Picture(const std::string& name, int32_t width, int32_t height) {
    return FFolder.Write(name, Bitmap24(width, height, [=](int32_t x, int32_t) {
                           return x < width / 2 ? 0xFF0000u : 0x0000FFu;
                         }));
  }

  std::optional<TBitmapHeader> Written() const { return ReadBitmapHeader(FFolder.Read("Muralia.bmp")); }
  static TBitmapHeader Header(int32_t width, int32_t height) { return {width, height, 32, BI_RGB}; }
};

TEST_F(ConversionTest, EachStyleGivesItsSize) {
  const std::string picture = Picture("wide.bmp", 300, 100);
  EXPECT_EQ(FChanger.ConvertToBitmap(picture, 160, 120, wpsStretch), BitmapPath());
  EXPECT_EQ(Written(), Header(160, 120));
  EXPECT_EQ(FChanger.ConvertToBitmap(picture, 160, 120, wpsFitDesktop), BitmapPath());
  EXPECT_EQ(Written(), Header(160, 53));
  // Own size, larger than the screen or not, for Center, Tile and unknown styles alike.
  for (const TWallpaperStyle style : {wpsCenter, wpsTile, 4, 255}) {
    FFolder.Write("Muralia.bmp", "previous");
    EXPECT_EQ(FChanger.ConvertToBitmap(picture, 160, 120, style), BitmapPath());
    EXPECT_EQ(Written(), Header(300, 100)) << style;
  }
  const std::string bitmap = FFolder.Read("Muralia.bmp");
  EXPECT_EQ(Pixel32(bitmap, 0, 0) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(Pixel32(bitmap, 299, 99) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(FFolder.Names().size(), 2u) << "no temporary file stays behind";
}

TEST_F(ConversionTest, OnlyFitDesktopWritesTheTileValue) {
  const std::string picture = Picture("small.bmp", 40, 30);
  for (const TWallpaperStyle style : {wpsCenter, wpsTile, wpsStretch, 4}) {
    SetTileValue("1");
    ASSERT_FALSE(FChanger.ConvertToBitmap(picture, 80, 60, style).empty());
    EXPECT_EQ(TileValue(), "1") << style;
  }
  ASSERT_FALSE(FChanger.ConvertToBitmap(picture, 80, 60, wpsFitDesktop).empty());
  EXPECT_EQ(TileValue(), "0");
  EXPECT_EQ(Written(), Header(80, 60));
}

TEST_F(ConversionTest, AFitWithAZeroSideGivesNothingButHasWrittenTheTileValue) {
  const std::string picture = Picture("thin.bmp", 2000, 1);
  FFolder.Write("Muralia.bmp", "previous");
  SetTileValue("1");
  EXPECT_EQ(FChanger.ConvertToBitmap(picture, 100, 100, wpsFitDesktop), "");
  EXPECT_EQ(TileValue(), "0");
  EXPECT_EQ(FFolder.Read("Muralia.bmp"), "previous");
}

TEST_F(ConversionTest, ThePictureIsFoundByItsContentFirst) {
  const std::string png = ORLO_TEST_DATA "/png/grey1.png";
  const std::string misnamed = FFolder.Path() + "photo.jpg";
  ASSERT_TRUE(CopyFileA(png.c_str(), misnamed.c_str(), FALSE));
  EXPECT_EQ(FChanger.ConvertToBitmap(misnamed, 100, 100, wpsCenter), BitmapPath());
  EXPECT_EQ(Written(), Header(13, 9));
}

TEST_F(ConversionTest, ContentThatIsNoPictureGivesNothing) {
  FFolder.Write("Muralia.bmp", "previous");
  for (const char* name : {"text.bmp", "text.png", "text.jpg", "text.xyz"}) {
    const std::string path = FFolder.Write(name, "This is no picture at all.");
    EXPECT_EQ(FChanger.ConvertToBitmap(path, 100, 100, wpsStretch), "") << name;
    EXPECT_EQ(FChanger.SetWallpaper(path, wpsCenter), swsNotConverted) << name;
  }
  EXPECT_EQ(FFolder.Read("Muralia.bmp"), "previous");
}

// A JPEG picture is resampled from its rows as they are decoded, and any other picture of the content test's
// formats from the pixels that its decoder gave: either way the bitmap is the one that the decoded picture
// gives, scaled both ways, fitted or at its own size.
class DecodedConversionTest : public ConversionTest {
protected:
  void ExpectBitmapOf(const std::string& picture, const TBitmap32& decoded) {
    const int32_t width = decoded.Width(), height = decoded.Height();
    struct TCase {
      TWallpaperStyle Style;
      int32_t Width, Height;
    };
    for (const TCase& c : {TCase{wpsStretch, width / 3, height / 3}, TCase{wpsStretch, width * 5 / 6, height * 5 / 6},
                           TCase{wpsFitDesktop, width / 2, width / 2}, TCase{wpsCenter, width, height}}) {
      ASSERT_EQ(FChanger.ConvertToBitmap(picture, c.Width, c.Height, c.Style), BitmapPath()) << c.Width;
      const std::string bitmap = FFolder.Read("Muralia.bmp");
      const std::optional<TBitmapHeader> header = ReadBitmapHeader(bitmap);
      ASSERT_TRUE(header);
      const std::unique_ptr<TBitmap32> expected =
          c.Style == wpsCenter ? nullptr : TWallpaperChanger::Resample(decoded, header->Width, header->Height, 0x008000);
      for (int32_t y = 0; y < header->Height; ++y)
        for (int32_t x = 0; x < header->Width; ++x)
          ASSERT_EQ(Pixel32(bitmap, x, y), (expected ? *expected : decoded).Raster().Pixel(x, y))
              << picture << " " << c.Width << " wide at " << x << "," << y;
    }
  }
};

TEST_F(DecodedConversionTest, AJpegPictureGivesTheBitmapOfItsDecodedPixels) {
  const std::vector<uint8_t> file = test::EncodeJpeg(120, 90);
  TBitmap32 decoded;
  decoded.Raster().Assign(imaging::DecodeJpeg(file));
  ExpectBitmapOf(FFolder.Write("photo.jpg", file.data(), file.size()), decoded);
}

// With and without transparency: a picture without any is opaque whatever alpha its decoder left.
TEST_F(DecodedConversionTest, OtherPicturesGiveTheBitmapOfTheirClass) {
  for (const char* sample : {"targa/rgba32.tga", "targa/rgb24.tga", "tiff/rgb8-lzw.tif", "pcx/palette8.pcx",
                             "psd/rgb-raw.psd"}) {
    const std::string path = std::string(ORLO_TEST_DATA) + "/" + sample;
    const std::unique_ptr<TGraphic> graphic = LoadGraphic(*PictureClassByContent(path), path);
    TBitmap32 decoded;
    decoded.Assign(*graphic);
    ExpectBitmapOf(path, decoded);
  }
}

// A JPEG or PNG file cut short fails as a picture that does not load, in every style and on every way of
// scaling: nothing written, the tile value untouched, the status the one of no bitmap.
TEST_F(ConversionTest, ACutJpegOrPngPictureFailsAsAPictureThatDoesNotLoad) {
  const std::vector<uint8_t> jpeg = test::EncodeJpeg(120, 90);
  const std::string png = ReadWholeFile(TestPicture("../conversion/photo.png"));
  struct TCut {
    std::string Picture;
    int32_t LanczosWidth, LanczosHeight, HalftoneWidth, HalftoneHeight;
  };
  for (const TCut& cut : {TCut{FFolder.Write("cut.jpg", jpeg.data(), jpeg.size() / 2), 40, 30, 100, 80},
                          TCut{FFolder.Write("cut.png", png.data(), png.size() / 2), 100, 60, 300, 180},
                          TCut{FFolder.Write("end-cut.png", png.data(), png.size() - 20), 100, 60, 300, 180}}) {
    FFolder.Write("Muralia.bmp", "previous");
    SetTileValue("1");
    for (const TWallpaperStyle style : {wpsCenter, wpsTile, wpsStretch, wpsFitDesktop, 4}) {
      EXPECT_EQ(FChanger.ConvertToBitmap(cut.Picture, cut.LanczosWidth, cut.LanczosHeight, style), "") << style;
      EXPECT_EQ(FChanger.ConvertToBitmap(cut.Picture, cut.HalftoneWidth, cut.HalftoneHeight, style), "") << style;
      EXPECT_EQ(FChanger.SetWallpaper(cut.Picture, style), swsNotConverted) << style;
      EXPECT_EQ(TileValue(), "1") << cut.Picture << " style " << style;
    }
    EXPECT_EQ(FFolder.Read("Muralia.bmp"), "previous") << cut.Picture;
  }
  EXPECT_EQ(FFolder.Names().size(), 4u) << "no temporary file stays behind";
}

// Fit Desktop turns tiling off even when the fit gives no bitmap (a zero side) or raises (a screen without
// width), but not for a JPEG picture that cannot be decoded: that fails as a picture that does not load.
TEST_F(ConversionTest, AFitThatFailsWritesTheTileValueOnlyForAPictureThatDecodes) {
  struct TCase {
    int32_t PictureWidth, PictureHeight, ScreenWidth;
    bool Raises;
  };
  for (const TCase& c : {TCase{4000, 16, 100, false}, TCase{120, 90, 0, true}}) {
    const std::vector<uint8_t> file = test::EncodeJpeg(c.PictureWidth, c.PictureHeight);
    const std::string whole = FFolder.Write("whole.jpg", file.data(), file.size());
    const std::string cut = FFolder.Write("cut.jpg", file.data(), file.size() / 2);
    SetTileValue("1");
    EXPECT_EQ(FChanger.ConvertToBitmap(cut, c.ScreenWidth, 100, wpsFitDesktop), "");
    EXPECT_EQ(TileValue(), "1");
    if (c.Raises)
      EXPECT_THROW(FChanger.ConvertToBitmap(whole, c.ScreenWidth, 100, wpsFitDesktop), EZeroDivide);
    else
      EXPECT_EQ(FChanger.ConvertToBitmap(whole, c.ScreenWidth, 100, wpsFitDesktop), "");
    EXPECT_EQ(TileValue(), "0") << c.PictureWidth;
  }
}

TEST_F(ConversionTest, APictureThatCannotBeOpenedForItsContentTestRaises) {
  const std::string picture = Picture("busy.bmp", 40, 30);
  HANDLE writer = CreateFileA(picture.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_THROW(FChanger.ConvertToBitmap(picture, 100, 100, wpsCenter), EFOpenError);
  CloseHandle(writer);
  EXPECT_EQ(FFolder.Read("Muralia.bmp"), "<missing>");
}

TEST_F(ConversionTest, AReadOnlyBitmapIsNotReplaced) {
  const std::string picture = Picture("small.bmp", 40, 30);
  FFolder.Write("Muralia.bmp", "previous");
  ASSERT_TRUE(SetFileAttributesA(BitmapPath().c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(FChanger.ConvertToBitmap(picture, 100, 100, wpsCenter), "");
  EXPECT_EQ(FFolder.Read("Muralia.bmp"), "previous");
  EXPECT_EQ(FFolder.Names().size(), 2u) << "no temporary file stays behind";
}

class ApplicationTest : public ConversionTest {
protected:
  int32_t FScreenWidth = GetSystemMetrics(SM_CXSCREEN);
  int32_t FScreenHeight = GetSystemMetrics(SM_CYSCREEN);
};

TEST_F(ApplicationTest, TheAppliedBitmapIsTheDesktopsWallpaperAndTilesByStyle) {
  const std::string picture = Picture("small.bmp", 40, 30);
  SetTileValue("0");
  EXPECT_EQ(FChanger.SetWallpaper(picture, wpsTile), swsApplied);
  EXPECT_EQ(DesktopWallpaper(), BitmapPath());
  EXPECT_EQ(TileValue(), "1");
  EXPECT_EQ(Written(), Header(40, 30));

  EXPECT_EQ(FChanger.SetWallpaper(picture, wpsStretch), swsApplied);
  EXPECT_EQ(TileValue(), "1");
  EXPECT_EQ(Written(), Header(FScreenWidth, FScreenHeight));

  EXPECT_EQ(FChanger.SetWallpaper(picture, 4), swsApplied);
  EXPECT_EQ(TileValue(), "1");
  EXPECT_EQ(FChanger.SetWallpaper(picture, wpsCenter), swsApplied);
  EXPECT_EQ(TileValue(), "0");
  EXPECT_EQ(FChanger.SetWallpaper(picture, wpsTile), swsApplied);
  EXPECT_EQ(FChanger.SetWallpaper(picture, wpsFitDesktop), swsApplied);
  EXPECT_EQ(TileValue(), "0");

  EXPECT_TRUE(FChanger.ClearWallpaper());
  EXPECT_EQ(DesktopWallpaper(), "");
  EXPECT_EQ(TileValue(), "0");
  EXPECT_TRUE(ReadBitmapHeader(FFolder.Read("Muralia.bmp")));
}

}  // namespace
