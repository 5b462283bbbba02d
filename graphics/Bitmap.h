#pragma once
// TBitmap: a device-independent bitmap in one of the pixel formats of TPixelFormat, or a device bitmap,
// selected into a memory device context that serves as its canvas.
#include <windows.h>

#include "imaging/Bmp.h"
#include "imaging/Image.h"
#include "graphics/Graphics.h"
#include "system/WinHandles.h"

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

// The pixel format that a Windows bitmap file's layout gives: 16 bits without masks are pf15bit, with the
// 5-6-5 masks pf16bit; any other masked layout is pfCustom.
TPixelFormat PixelFormatOf(const imaging::BmpLayout& layout);

class TBitmap : public TGraphic {
public:
  TBitmap();
  ~TBitmap() override;

  static const TGraphicClass& Class();
  const TGraphicClass& ClassType() const override { return Class(); }

  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  // Resizing keeps the pixel format and the pixels that still fit; new parts are white.
  void SetWidth(int width) { SetSize(width, FHeight); }
  void SetHeight(int height) { SetSize(FWidth, height); }
  void SetSize(int width, int height);

  TPixelFormat PixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat format);

  // The canvas: a memory device context with the bitmap selected, valid for the bitmap's lifetime.
  HDC CanvasHandle() const { return FCanvas.get(); }
  // Null while the bitmap has no pixels.
  HBITMAP Handle() const { return FBitmap.get(); }

  // Replaces the pixels by a black device-independent bitmap of the size in pf24bit or pf32bit (pfCustom too,
  // as 32 bits), for a caller that writes its rows through Rows(). Raises EOutOfResources.
  void NewDib(int width, int height, TPixelFormat format);
  // Where the rows of a 24- or 32-bit device-independent bitmap lie, once GDI has finished drawing into them;
  // no rows for any other bitmap.
  imaging::PixelRows Rows() const;
  // 24 or 32 when the bitmap has rows that Rows() gives, else 0.
  int RowBitCount() const { return FRowBitCount; }

  // Windows bitmap files (.bmp, .dib, .rle); the pixel format follows the file's layout.
  void LoadFromFile(const std::string& fileName) override;
  // Replaces size, pixels and pixel format. pfCustom keeps its pixels as 32 bits: the masks only matter
  // for reading the file, and 32 bits hold every colour that they can give.
  void Assign(const imaging::Image& image, TPixelFormat format);
  // The pixels as 32 bits, top row first.
  imaging::Image ToImage() const;

  std::unique_ptr<TGraphic> Clone() const override;
  void Draw(HDC dc, const RECT& rect) const override;

  // Makes this bitmap a copy of source's pixels and pixel format.
  void AssignBitmap(const TBitmap& source);

private:
  void Replace(TBitmapHandle bitmap, int width, int height, TPixelFormat format);
  imaging::Image RowsToImage() const;

  TDcHandle FCanvas;
  HGDIOBJ FStockBitmap = nullptr;
  TBitmapHandle FBitmap;
  imaging::PixelRows FRows;  // of a 24- or 32-bit device-independent bitmap, else none
  int FRowBitCount = 0;
  int FWidth = 0;
  int FHeight = 0;
  TPixelFormat FPixelFormat = pfDevice;
};
