#pragma once
// TGraphicExGraphic, the picture classes of the imaging formats: one class per format, each a bitmap that also
// keeps the picture's properties as its file states them, and the content test that picks one for a file.
#include <cstdint>
#include <memory>
#include <string>

#include "imaging/FileFormat.h"
#include "graphics/Bitmap.h"

struct TImageProperties {
  uint32_t Width = 0;
  uint32_t Height = 0;
  uint8_t BitsPerPixel = 0;  // 0 when not determined
};

class TGraphicExGraphic : public TBitmap {
public:
  explicit TGraphicExGraphic(const imaging::FileFormat& format) : FFormat(format) {}

  const TGraphicClass& ClassType() const override;
  const imaging::FileFormat& PictureFormat() const { return FFormat; }
  const TImageProperties& ImageProperties() const { return FImageProperties; }

  // Decoded pixels are kept as 32 bits when the picture has transparency, else as 24 bits.
  void LoadFromFile(const std::string& fileName) override;
  std::unique_ptr<TGraphic> Clone() const override;

private:
  const imaging::FileFormat& FFormat;
  TImageProperties FImageProperties;
};

// A picture of one of the imaging formats decoded whole and kept as the decoder gave its 32-bit pixels, for a
// raster to read its rows: the desktop bitmap is made from them without a bitmap of the picture in between,
// which would hold it a second time. Its class is the format's.
class TDecodedPicture final : public TGraphic {
public:
  explicit TDecodedPicture(const imaging::FileFormat& format) : FFormat(format) {}

  const TGraphicClass& ClassType() const override;
  int Width() const override { return FPixels ? static_cast<int>(FPixels->width) : 0; }
  int Height() const override { return FPixels ? static_cast<int>(FPixels->height) : 0; }
  void LoadFromFile(const std::string& fileName) override;
  // The copy shares the pixels, which no one changes.
  std::unique_ptr<TGraphic> Clone() const override;
  void Draw(HDC dc, const RECT& rect) const override;
  TRowSource RowSource() const override;

private:
  const imaging::FileFormat& FFormat;
  std::shared_ptr<const imaging::Image> FPixels;  // null until a file is loaded
};

// The class of a format of imaging::FileFormats().
const TGraphicClass& GraphicExClass(const imaging::FileFormat& format);
// The format of such a class; EInvalidGraphic for any other class.
const imaging::FileFormat& GraphicExFormat(const TGraphicClass& graphicClass);

// The content test: the class of the first format, in registration order, that accepts the file's first
// bytes, or nullptr. Raises EFOpenError "Cannot open file %s" when the file cannot be opened.
const TGraphicClass* GraphicExClassByContent(const std::string& fileName);
