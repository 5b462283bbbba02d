#pragma once
// The platform JPEG picture (TJPEGImage role): decodes into a bitmap of 24 bits, or 8 bits when its
// pixel format setting asks for that before the load.
#include <memory>

#include "platform/Bitmap.h"
#include "platform/Graphics.h"

enum TJPEGPixelFormat { jf24Bit, jf8Bit };

class TJPEGImage : public TGraphic {
public:
  static const TGraphicClass& Class();
  const TGraphicClass& ClassType() const override { return Class(); }

  int Width() const override { return FBitmap->Width(); }
  int Height() const override { return FBitmap->Height(); }

  // A decoding setting: loading a file does not change it.
  TJPEGPixelFormat PixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TJPEGPixelFormat format) { FPixelFormat = format; }
  const TBitmap& Bitmap() const { return *FBitmap; }

  void LoadFromFile(const std::string& fileName) override;
  std::unique_ptr<TGraphic> Clone() const override;
  void Draw(HDC dc, const RECT& rect) const override { FBitmap->Draw(dc, rect); }

private:
  // A 24-bit picture is decoded straight into its bitmap's rows.
  static std::unique_ptr<TBitmap> Decode24(const std::vector<uint8_t>& file);

  TJPEGPixelFormat FPixelFormat = jf24Bit;
  std::unique_ptr<TBitmap> FBitmap = std::make_unique<TBitmap>();  // never null
};
