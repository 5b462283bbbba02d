#pragma once
// TGraphicExGraphic, the picture classes of the imaging formats: one class per format, each a bitmap that also
// keeps the picture's properties as its file states them, and the content test that picks one for a file.
#include <cstdint>
#include <string>

#include "imaging/FileFormat.h"
#include "platform/Bitmap.h"

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

// The class of a format of imaging::FileFormats().
const TGraphicClass& GraphicExClass(const imaging::FileFormat& format);

// The content test: the class of the first format, in registration order, that accepts the file's first
// bytes, or nullptr. Raises EFOpenError "Cannot open file %s" when the file cannot be opened.
const TGraphicClass* GraphicExClassByContent(const std::string& fileName);
