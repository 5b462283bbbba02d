#pragma once
// TBitmap32, the 32-bit raster that the desktop bitmap is drawn in: the portable raster with its pixels in a
// DIB section that stays selected into a memory device context, so that GDI draws into and out of the very
// pixels that the raster code reads and writes.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "imaging/Bitmap32.h"
#include "graphics/Bitmap.h"
#include "graphics/Graphics.h"
#include "system/WinHandles.h"

// Places a raster's pixels in a bottom-up 32-bit DIB section, laid out as the pixels of a bitmap file.
class TDibPixelStore final : public imaging::PixelStore {
public:
  TDibPixelStore();
  ~TDibPixelStore() override;
  TDibPixelStore(const TDibPixelStore&) = delete;
  TDibPixelStore& operator=(const TDibPixelStore&) = delete;

  imaging::PixelMemory Allocate(int32_t width, int32_t height) override;
  void Release() override;
  HDC Handle() const { return FCanvas.get(); }

private:
  TDcHandle FCanvas;
  HGDIOBJ FStockBitmap;
  TBitmapHandle FBitmap;
};

// Neither copied nor moved: its device context belongs to the raster that it was made with.
class TBitmap32 {
public:
  TBitmap32();
  TBitmap32(const TBitmap32&) = delete;
  TBitmap32& operator=(const TBitmap32&) = delete;

  int32_t Width() const { return FPending ? FPending.Width : FRaster.Width(); }
  int32_t Height() const { return FPending ? FPending.Height : FRaster.Height(); }
  imaging::Rect BoundsRect() const { return {0, 0, Width(), Height()}; }
  // The device context with the pixels selected; valid for the raster's lifetime.
  HDC Handle() const;
  // The pixels, once GDI has finished drawing into them.
  imaging::Bitmap32& Raster();
  const imaging::Bitmap32& Raster() const;
  // The pixels top to bottom for one reading. A picture that is not decoded yet is decoded as it is read, on
  // a second thread a few rows ahead of the reader, and never held whole.
  std::unique_ptr<imaging::RowStream> ReadRows() const;

  // New size, pixels zeroed; a zero side empties the raster. Raises EOutOfResources when it cannot be made.
  void SetSize(int32_t width, int32_t height);
  // Fills the rectangle (right and bottom exclusive), clipped to the raster.
  void FillRectS(const imaging::Rect& rect, imaging::Color32 color);
  // The graphic at its own size: a bitmap's or JPEG picture's pixels as they are; any other graphic drawn
  // opaque on white. A picture that decodes on demand is decoded only when the pixels are first needed, and
  // its decoding errors (EInvalidGraphic) come from there.
  void Assign(const TGraphic& graphic);
  // An exact copy of the other raster (a picture waiting to be decoded stays waiting).
  void Assign(const TBitmap32& other);
  // Writes a 32-bit BI_RGB Windows bitmap file. The file is written whole beside its place first and then
  // takes that place, so a failed save leaves any old file as it was. It is not forced onto the disk first:
  // the desktop bitmap is made anew at every change, and waiting for the disk took several times as long as
  // the write itself.
  void SaveToFile(const std::string& fileName) const;

private:
  explicit TBitmap32(std::unique_ptr<TDibPixelStore> store);
  void AssignBitmap(const TBitmap& bitmap);
  // Empties the raster and keeps the picture's rows to decode on first use.
  void Defer(TRowSource picture);
  // Decodes the pending picture into the pixels.
  void Realize() const;

  TDibPixelStore* FStore;  // owned by FRaster
  // Both change when a pending picture is decoded on first use of the pixels; until then the raster is empty
  // and has the picture's size.
  mutable imaging::Bitmap32 FRaster;
  mutable TRowSource FPending;
};
