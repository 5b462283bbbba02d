#include "graphics/JPEG.h"

#include "imaging/Jpeg.h"
#include "graphics/PictureFiles.h"
#include "graphics/PictureRows.h"

const TGraphicClass& TJPEGImage::Class() {
  static const TGraphicClass graphicClass{"TJPEGImage", [] { return std::make_unique<TJPEGImage>(); }};
  return graphicClass;
}

void TJPEGImage::SetPixelFormat(TJPEGPixelFormat format) {
  if (format != FPixelFormat) FBitmap.reset();
  FPixelFormat = format;
}

void TJPEGImage::SetScale(TJPEGScale scale) {
  if (scale != FScale) FBitmap.reset();
  FScale = scale;
}

std::unique_ptr<TBitmap> TJPEGImage::Decode24() const {
  auto bitmap = std::make_unique<TBitmap>();
  imaging::DecodeJpeg(
      *FData, 3,
      [&bitmap](const imaging::JpegFrame& frame) {
        bitmap->NewDib(static_cast<int>(frame.width), static_cast<int>(frame.height), pf24bit);
        return bitmap->Rows();
      },
      1u << FScale);
  return bitmap;
}

const TBitmap& TJPEGImage::Bitmap() const {
  if (FBitmap) return *FBitmap;
  if (!FData) return *(FBitmap = std::make_unique<TBitmap>());
  FBitmap = Decode([&] {
    if (FPixelFormat == jf24Bit) return Decode24();
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->Assign(imaging::DecodeJpeg(*FData, 1u << FScale), pf8bit);
    return bitmap;
  });
  return *FBitmap;
}

void TJPEGImage::LoadFromFile(const std::string& fileName) {
  auto data = std::make_shared<const std::vector<uint8_t>>(ReadPictureFile(fileName));
  const TPictureRows<imaging::JpegRows> header(data);
  FData = std::move(data);
  FWidth = header.Width();
  FHeight = header.Height();
  FBitmap.reset();
}

std::unique_ptr<TGraphic> TJPEGImage::Clone() const {
  auto copy = std::make_unique<TJPEGImage>();
  copy->FPixelFormat = FPixelFormat;
  copy->FScale = FScale;
  copy->FData = FData;
  copy->FWidth = FWidth;
  copy->FHeight = FHeight;
  if (FBitmap) {
    copy->FBitmap = std::make_unique<TBitmap>();
    copy->FBitmap->AssignBitmap(*FBitmap);
  }
  return copy;
}

TRowSource TJPEGImage::RowSource() const {
  if (!FData || FBitmap || FPixelFormat != jf24Bit || FScale != jsFullSize) return {};
  return {FWidth, FHeight, [data = FData] { return std::make_unique<TPictureRows<imaging::JpegRows>>(data); }};
}
