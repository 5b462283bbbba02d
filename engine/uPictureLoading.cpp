#include "engine/uPictureLoading.h"

#include <cstdint>
#include <exception>

#include "engine/uGraphics.h"
#include "engine/uWallPaper.h"
#include "imaging/FileFormatList.h"
#include "graphics/Bitmap32.h"
#include "graphics/JPEG.h"
#include "graphics/PictureRows.h"
#include "system/SysUtils.h"

namespace {

std::unique_ptr<TPicture> PictureOf(std::unique_ptr<TGraphic> graphic, const std::string& fileName) {
  graphic->LoadFromFile(fileName);
  auto picture = std::make_unique<TPicture>();
  picture->TakeGraphic(std::move(graphic));
  return picture;
}

// A PNG picture is only opened, not decoded whole: the conversion decodes its rows as it resamples them, as it
// does a JPEG picture's. Any other picture of the content test's formats is decoded whole, and its rows are read
// from the decoded pixels themselves: a bitmap of them would hold the picture a second time.
std::unique_ptr<TPicture> ConvertiblePicture(const TGraphicClass* graphicClass, const std::string& fileName) {
  if (graphicClass == &GraphicExClass(imaging::kPngFormat))
    return PictureOf(std::make_unique<TStreamedPNG>(), fileName);
  if (graphicClass) return PictureOf(std::make_unique<TDecodedPicture>(GraphicExFormat(*graphicClass)), fileName);
  return LoadPictureByExtension(fileName);
}

uint32_t CheckedUnsigned(int value) {
  if (value < 0) RaiseRangeError();
  return static_cast<uint32_t>(value);
}

uint8_t BitmapBitsPerPixel(const TBitmap& bitmap) {
  switch (bitmap.PixelFormat()) {
    case pfDevice: {
      const int bits = GetDeviceCaps(bitmap.CanvasHandle(), BITSPIXEL);
      if (bits < 0 || bits > 255) RaiseRangeError();
      return static_cast<uint8_t>(bits);
    }
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    // The 5-6-5 layout counts as 15 bits, as the 5-5-5 one does.
    case pf15bit:
    case pf16bit: return 15;
    case pf24bit: return 24;
    case pf32bit: return 32;
    case pfCustom: break;
  }
  return 0;
}

// The properties that the content-chosen class's own reader found; zeros when it cannot load the file.
TImageProperties ContentClassProperties(const TGraphicClass& graphicClass, const std::string& fileName) {
  try {
    const std::unique_ptr<TGraphic> graphic = LoadGraphic(graphicClass, fileName);
    if (const auto* loaded = dynamic_cast<const TGraphicExGraphic*>(graphic.get())) return loaded->ImageProperties();
  } catch (const std::exception&) {
    // A file that its own class cannot read shows as 0x0x0b.
  }
  return {};
}

TImageProperties ExtensionClassProperties(const std::string& fileName) {
  const std::unique_ptr<TPicture> picture = LoadPictureByExtension(fileName);
  const TGraphic& graphic = *picture->Graphic();
  CheckDecodes(graphic);
  TImageProperties props;
  props.Width = CheckedUnsigned(graphic.Width());
  props.Height = CheckedUnsigned(graphic.Height());
  if (const auto* jpeg = dynamic_cast<const TJPEGImage*>(&graphic))
    props.BitsPerPixel = jpeg->PixelFormat() == jf24Bit ? 24 : 8;
  if (const auto* bitmap = dynamic_cast<const TBitmap*>(&graphic)) props.BitsPerPixel = BitmapBitsPerPixel(*bitmap);
  return props;
}

}  // namespace

std::unique_ptr<TPicture> LoadWallpaperPicture(const std::string& fileName) {
  const TGraphicClass* graphicClass = PictureClassByContent(fileName);
  try {
    return ConvertiblePicture(graphicClass, fileName);
  } catch (const std::exception& e) {
    throw EUnusablePicture(fileName, e.what());
  }
}

std::unique_ptr<TPicture> LoadPreviewPicture(const std::string& fileName) {
  const TGraphicClass* graphicClass = PictureClassByContent(fileName);
  try {
    return LoadPictureAs(graphicClass, fileName);
  } catch (const std::exception&) {
    return nullptr;
  }
}

// The loaded picture is drawn at its own size into a raster, the raster copied into a bitmap, and that fitted
// into target. A JPEG picture is decoded at the smallest scale that keeps it twice the box on both sides: shrunk
// into the box by the halftone stretch, it looks the same, and it decodes several times faster. The fitted size
// comes from the whole picture, as a reduced scale rounds its sides.
void DrawFitted(const TPicture& picture, TBitmap& target, int width, int height) {
  int fittedWidth = width, fittedHeight = height;
  ScaleToFit(*picture.Graphic(), fittedWidth, fittedHeight);
  if (auto* jpeg = dynamic_cast<TJPEGImage*>(picture.Graphic())) {
    for (const TJPEGScale scale : {jsEighth, jsQuarter, jsHalf, jsFullSize}) {
      jpeg->SetScale(scale);
      if (jpeg->Width() >= 2 * width && jpeg->Height() >= 2 * height) break;
    }
  }
  TBitmap32 raster;
  raster.Assign(*picture.Graphic());
  TBitmap bitmap;
  bitmap.SetSize(raster.Width(), raster.Height());
  BitBlt(bitmap.CanvasHandle(), 0, 0, raster.Width(), raster.Height(), raster.Handle(), 0, 0, SRCCOPY);
  StretchInto(bitmap, target, fittedWidth, fittedHeight);
}

TImageProperties LoadPictureProperties(const std::string& fileName) {
  const TGraphicClass* graphicClass = PictureClassByContent(fileName);
  return graphicClass ? ContentClassProperties(*graphicClass, fileName) : ExtensionClassProperties(fileName);
}
