#pragma once
// TJPEGImage, a JPEG picture: holds the file's data and decodes it when its pixels are first needed, into a
// bitmap of 24 bits, or 8 bits when its pixel format setting asks for that.
#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/Graphics.h"

enum TJPEGPixelFormat { jf24Bit, jf8Bit };
// The fraction of its size at which the picture decodes.
enum TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };

class TJPEGImage : public TGraphic {
public:
  static const TGraphicClass& Class();
  const TGraphicClass& ClassType() const override { return Class(); }

  // The size at the decoding scale: the picture's divided by 1, 2, 4 or 8, rounded up.
  int Width() const override { return Scaled(FWidth); }
  int Height() const override { return Scaled(FHeight); }

  // A decoding setting, as the pixel format is: the picture decodes at a fraction of its size, several times
  // faster, where it is shown small anyway.
  TJPEGScale Scale() const { return FScale; }
  void SetScale(TJPEGScale scale);

  // A decoding setting: loading a file does not change it; pixels decoded before are decoded anew.
  TJPEGPixelFormat PixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TJPEGPixelFormat format);
  // The decoded pixels, decoded on the first call; EInvalidGraphic when the data is corrupt or cut short.
  const TBitmap& Bitmap() const;

  // Reads the file and its header (EInvalidGraphic when it is no JPEG picture); on failure the picture keeps
  // what it held.
  void LoadFromFile(const std::string& fileName) override;
  std::unique_ptr<TGraphic> Clone() const override;
  void Draw(HDC dc, const RECT& rect) const override { Bitmap().Draw(dc, rect); }
  // A full-size 24-bit picture not decoded yet reads its rows straight from the data.
  TRowSource RowSource() const override;

private:
  std::unique_ptr<TBitmap> Decode24() const;
  int Scaled(int side) const { return (side + (1 << FScale) - 1) >> FScale; }

  TJPEGPixelFormat FPixelFormat = jf24Bit;
  TJPEGScale FScale = jsFullSize;
  std::shared_ptr<const std::vector<uint8_t>> FData;  // the file; null until one is loaded
  int FWidth = 0;
  int FHeight = 0;
  mutable std::unique_ptr<TBitmap> FBitmap;  // null until decoded
};
