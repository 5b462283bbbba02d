#include "platform/JPEG.h"

#include "imaging/Jpeg.h"
#include "platform/PictureFiles.h"

const TGraphicClass& TJPEGImage::Class() {
  static const TGraphicClass graphicClass{"TJPEGImage", [] { return std::make_unique<TJPEGImage>(); }};
  return graphicClass;
}

void TJPEGImage::LoadFromFile(const std::string& fileName) {
  const std::vector<uint8_t> bytes = ReadPictureFile(fileName);
  const imaging::Image image = Decode([&] { return imaging::DecodeJpeg(bytes); });
  FBitmap.Assign(image, FPixelFormat == jf8Bit ? pf8bit : pf24bit);
}

std::unique_ptr<TGraphic> TJPEGImage::Clone() const {
  auto copy = std::make_unique<TJPEGImage>();
  copy->FPixelFormat = FPixelFormat;
  copy->FBitmap.Assign(FBitmap.ToImage(), FBitmap.PixelFormat());
  return copy;
}
