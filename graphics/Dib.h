#pragma once
// Device-independent bitmaps in the pixel formats of TPixelFormat, made from and read back as 32-bit pixels.
#include <windows.h>

#include "imaging/Image.h"
#include "graphics/Bitmap.h"
#include "system/WinHandles.h"

// A bitmap of the image's size in the pixel format, holding the image's pixels (a device bitmap for
// pfDevice). Indexed formats get the image's own colours as their palette when they fit, else a fixed
// palette to which GDI maps each pixel. Raises EOutOfResources when GDI cannot make it.
TBitmapHandle CreateBitmapFromImage(const imaging::Image& image, TPixelFormat format);

// A black device-independent bitmap of 24 or 32 bits per pixel (BI_RGB), bottom-up as TBitmap keeps its
// bitmaps, for its rows to be written directly. Raises EOutOfResources when GDI cannot make it.
TBitmapHandle CreateDib(int width, int height, int bitCount);

// The pixels of a bitmap as 32 bits, top row first; the alpha byte as the bitmap holds it.
imaging::Image ReadBitmapPixels(HDC dc, HBITMAP bitmap, int width, int height);

// Where the rows of a device-independent bitmap lie in memory, with its bits per pixel; no rows for a device
// bitmap.
struct TDibRows {
  imaging::PixelRows rows;
  int bitCount = 0;
};
TDibRows DibRowsOf(HBITMAP bitmap);

// One row of a 24- or 32-bit device-independent bitmap as 32-bit pixels: 24 bits become opaque, 32 bits are
// taken as they are.
void DibRowToPixels(const uint8_t* row, int bitCount, int width, uint32_t* pixels);
// The other way: 24 bits drop the alpha byte.
void PixelsToDibRow(const uint32_t* pixels, int width, int bitCount, uint8_t* row);
