// The pictures of the previews: loaded by their content, and drawn fitted into the preview's box.
#include <gtest/gtest.h>

#include <cstdlib>

#include "JpegEncoder.h"
#include "TempFolder.h"
#include "engine/uGraphics.h"
#include "engine/uPictureLoading.h"
#include "graphics/Bitmap32.h"

namespace {

// A large JPEG picture is previewed from a decode at a reduced scale: it must look as the preview of the
// whole decode does, within a few levels per channel on average (single pixels at sharp edges may differ
// more, as any two ways of shrinking differ there), at the whole picture's fitted size, which a reduced scale
// could round otherwise (672 x 447 decoded at half is 336 x 224, which fits as 166 x 111, not 167 x 111).
TEST(PicturePreview, ALargeJpegLooksAsTheWholeDecodeWould) {
  const std::vector<uint8_t> jpeg = test::EncodeJpeg(672, 447, {.subsampled = true, .smooth = true});
  const TempFolder folder;
  const std::string file = folder.Write("large.jpg", jpeg.data(), jpeg.size());
  const std::unique_ptr<TPicture> previewed = LoadPreviewPicture(file);
  ASSERT_NE(nullptr, previewed);
  TBitmap preview;
  DrawFitted(*previewed, preview, 168, 111);

  const std::unique_ptr<TPicture> picture = LoadPicture(file);
  TBitmap32 raster;
  raster.Assign(*picture->Graphic());
  TBitmap whole;
  whole.SetSize(raster.Width(), raster.Height());
  BitBlt(whole.CanvasHandle(), 0, 0, raster.Width(), raster.Height(), raster.Handle(), 0, 0, SRCCOPY);
  TBitmap expected;
  StretchToFit(whole, expected, 168, 111);

  ASSERT_EQ(expected.Width(), preview.Width());
  ASSERT_EQ(expected.Height(), preview.Height());
  double total = 0;
  for (int y = 0; y < preview.Height(); ++y) {
    for (int x = 0; x < preview.Width(); ++x) {
      const COLORREF a = GetPixel(preview.CanvasHandle(), x, y);
      const COLORREF b = GetPixel(expected.CanvasHandle(), x, y);
      for (const int shift : {0, 8, 16})
        total += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    }
  }
  EXPECT_LE(total / (3.0 * preview.Width() * preview.Height()), 3.0);
}

}  // namespace
