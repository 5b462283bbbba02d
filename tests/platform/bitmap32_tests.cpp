// The raster bitmap over a DIB section: taking graphics at their own size, and saving.
#include <gtest/gtest.h>

#include "JpegEncoder.h"
#include "TempFolder.h"
#include "TestPictures.h"
#include "imaging/Jpeg.h"
#include "graphics/Bitmap.h"
#include "graphics/Bitmap32.h"
#include "graphics/JPEG.h"
#include "graphics/Metafile.h"
#include "graphics/PictureFiles.h"
#include "system/SysUtils.h"

namespace {

// An enhanced metafile with one red square in the middle of a white-less, transparent frame.
std::string RedSquareMetafile(const std::string& path) {
  const RECT frame{0, 0, 2000, 2000};  // hundredths of a millimetre
  HDC dc = CreateEnhMetaFileA(nullptr, path.c_str(), &frame, nullptr);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  const RECT square{20, 20, 50, 50};
  FillRect(dc, &square, red);
  DeleteObject(red);
  DeleteEnhMetaFile(CloseEnhMetaFile(dc));
  return path;
}

TEST(Bitmap32, AGraphicIsDrawnOpaqueOnWhiteAtItsOwnSize) {
  TempFolder folder;
  TMetafile metafile;
  metafile.LoadFromFile(RedSquareMetafile(folder.Path() + "square.emf"));
  ASSERT_GT(metafile.Width(), 0);
  TBitmap32 raster;
  raster.Assign(metafile);
  ASSERT_EQ(raster.Width(), metafile.Width());
  ASSERT_EQ(raster.Height(), metafile.Height());
  EXPECT_EQ(raster.Raster().Pixel(0, 0), 0xFFFFFFFFu);
  bool red = false;
  for (int32_t y = 0; y < raster.Height(); ++y)
    for (int32_t x = 0; x < raster.Width(); ++x) red |= raster.Raster().Pixel(x, y) == 0xFFFF0000u;
  EXPECT_TRUE(red);
}

TEST(Bitmap32, ABitmapGivesItsPixelsAndGdiSeesTheRastersPixels) {
  imaging::Image image;
  image.width = 3;
  image.height = 2;
  image.pixels = {0xFF112233, 0xFF445566, 0xFF778899, 0xFFAABBCC, 0xFFDDEEFF, 0xFF000000};
  TBitmap bitmap;
  bitmap.Assign(image, pf24bit);
  TBitmap32 raster;
  raster.Assign(bitmap);
  ASSERT_EQ(raster.Width(), 3);
  EXPECT_EQ(raster.Raster().Pixel(2, 0), 0xFF778899u);
  EXPECT_EQ(raster.Raster().Pixel(1, 1), 0xFFDDEEFFu);
  EXPECT_EQ(GetPixel(raster.Handle(), 0, 1), RGB(0xAA, 0xBB, 0xCC));

  TBitmap32 copy;
  copy.Assign(raster);
  copy.FillRectS({1, 0, 9, 1}, 0xFF008000u);
  EXPECT_EQ(GetPixel(copy.Handle(), 2, 0), RGB(0, 0x80, 0));
  EXPECT_EQ(copy.Raster().Pixel(0, 0), 0xFF112233u);
  EXPECT_EQ(raster.Raster().Pixel(2, 0), 0xFF778899u);
}

// Its pixels as the decoder gives them, which is what drawing the picture would give.
TEST(Bitmap32, AJpegPictureGivesItsDecodedPixels) {
  const std::string path = TestPicture("jpeg.jpg");
  const imaging::Image decoded = imaging::DecodeJpeg(ReadPictureFile(path));
  for (const TJPEGPixelFormat format : {jf24Bit, jf8Bit}) {
    TJPEGImage jpeg;
    jpeg.SetPixelFormat(format);
    jpeg.LoadFromFile(path);
    TBitmap32 raster, drawn;
    raster.Assign(jpeg);
    ASSERT_EQ(raster.Width(), static_cast<int32_t>(decoded.width));
    ASSERT_EQ(raster.Height(), static_cast<int32_t>(decoded.height));
    drawn.SetSize(raster.Width(), raster.Height());
    jpeg.Draw(drawn.Handle(), RECT{0, 0, raster.Width(), raster.Height()});
    for (int32_t y = 0; y < raster.Height(); ++y)
      for (int32_t x = 0; x < raster.Width(); ++x) {
        ASSERT_EQ(raster.Raster().Pixel(x, y), drawn.Raster().Pixel(x, y) | 0xFF000000u) << x << "," << y;
        if (format == jf24Bit) {
          ASSERT_EQ(raster.Raster().Pixel(x, y), decoded.Row(y)[x]) << x << "," << y;
        }
      }
  }
}

TEST(Bitmap32, SavingAnEmptyRasterOrOverAReadOnlyFileFails) {
  TempFolder folder;
  TBitmap32 raster;
  EXPECT_THROW(raster.SaveToFile(folder.Path() + "empty.bmp"), EInvalidGraphic);
  raster.SetSize(2, 2);
  const std::string path = folder.Write("locked.bmp", "old");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_THROW(raster.SaveToFile(path), EFCreateError);
  EXPECT_EQ(folder.Read("locked.bmp"), "old");
  EXPECT_EQ(folder.Names().size(), 1u);
  EXPECT_THROW(raster.SetSize(-1, 2), EInvalidGraphic);
  EXPECT_THROW(raster.SetSize(100000, 100000), EOutOfResources);
}

// A JPEG picture's raster takes the picture's size at once and decodes only when its pixels are needed:
// read as rows, it is never decoded whole; a copy waits as the original does.
TEST(Bitmap32, AJpegPictureDecodesWhenItsPixelsAreFirstNeeded) {
  TempFolder folder;
  const std::vector<uint8_t> file = test::EncodeJpeg(40, 30);
  const imaging::Image decoded = imaging::DecodeJpeg(file);
  TJPEGImage jpeg;
  jpeg.LoadFromFile(folder.Write("photo.jpg", file.data(), file.size()));
  TBitmap32 raster, copy;
  raster.Assign(jpeg);
  copy.Assign(raster);
  EXPECT_EQ(raster.BoundsRect(), (imaging::Rect{0, 0, 40, 30}));
  EXPECT_EQ(copy.Width(), 40);
  const std::unique_ptr<imaging::RowStream> rows = raster.ReadRows();
  ASSERT_EQ(rows->Height(), 30);
  for (int32_t y = 0; y < 30; ++y)
    ASSERT_TRUE(std::equal(rows->Row(y), rows->Row(y) + 40, decoded.Row(static_cast<uint32_t>(y)))) << y;
  for (const TBitmap32* bitmap : {&copy, &raster})
    for (int32_t y = 0; y < 30; ++y)
      for (int32_t x = 0; x < 40; ++x) ASSERT_EQ(bitmap->Raster().Pixel(x, y), decoded.Row(y)[x]) << x << "," << y;
  // Once decoded, the rows are the raster's own.
  EXPECT_EQ(raster.ReadRows()->Row(5), raster.Raster().Row(5));
}

// A file cut short has a header and so loads; its pixels fail where they are needed, and a failed save leaves
// the old file.
TEST(Bitmap32, ACutJpegPictureFailsWhenItsPixelsAreNeeded) {
  TempFolder folder;
  const std::vector<uint8_t> file = test::EncodeJpeg(40, 30);
  TJPEGImage jpeg;
  jpeg.LoadFromFile(folder.Write("cut.jpg", file.data(), file.size() / 2));
  EXPECT_EQ(jpeg.Width(), 40);
  EXPECT_EQ(jpeg.Height(), 30);
  EXPECT_THROW(jpeg.Bitmap(), EInvalidGraphic);
  TBitmap32 raster;
  raster.Assign(jpeg);
  EXPECT_EQ(raster.Width(), 40);
  EXPECT_THROW(raster.Handle(), EInvalidGraphic);
  EXPECT_THROW(raster.Raster(), EInvalidGraphic);
  const std::string path = folder.Write("Muralia.bmp", "old");
  EXPECT_THROW(raster.SaveToFile(path), EInvalidGraphic);
  EXPECT_EQ(folder.Read("Muralia.bmp"), "old");
  EXPECT_EQ(folder.Names().size(), 2u);
}

}  // namespace
