#include "platform/JPEG.h"

#include "imaging/Jpeg.h"
#include "platform/PictureFiles.h"

const TGraphicClass& TJPEGImage::Class() {
  static const TGraphicClass graphicClass{"TJPEGImage", [] { return std::make_unique<TJPEGImage>(); }};
  return graphicClass;
}

std::unique_ptr<TBitmap> TJPEGImage::Decode24(const std::vector<uint8_t>& file) {
  auto bitmap = std::make_unique<TBitmap>();
  imaging::DecodeJpeg(file, 3, [&bitmap](const imaging::JpegFrame& frame) {
    bitmap->NewDib(static_cast<int>(frame.width), static_cast<int>(frame.height), pf24bit);
    return bitmap->Rows();
  });
  return bitmap;
}

// The bitmap is replaced only once the whole file has decoded.
void TJPEGImage::LoadFromFile(const std::string& fileName) {
  const std::vector<uint8_t> bytes = ReadPictureFile(fileName);
  FBitmap = Decode([&] {
    if (FPixelFormat == jf24Bit) return Decode24(bytes);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->Assign(imaging::DecodeJpeg(bytes), pf8bit);
    return bitmap;
  });
}

std::unique_ptr<TGraphic> TJPEGImage::Clone() const {
  auto copy = std::make_unique<TJPEGImage>();
  copy->FPixelFormat = FPixelFormat;
  copy->FBitmap->AssignBitmap(*FBitmap);
  return copy;
}
