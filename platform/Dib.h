#pragma once
// Device-independent bitmaps in the framework's pixel formats, made from and read back as 32-bit pixels.
#include <windows.h>

#include "imaging/Image.h"
#include "platform/Bitmap.h"
#include "platform/WinHandles.h"

// A bitmap of the image's size in the pixel format, holding the image's pixels (a device bitmap for
// pfDevice). Indexed formats get the image's own colours as their palette when they fit, else a fixed
// palette to which GDI maps each pixel. Raises EOutOfResources when GDI cannot make it.
TBitmapHandle CreateBitmapFromImage(const imaging::Image& image, TPixelFormat format);

// The pixels of a bitmap as 32 bits, top row first; the alpha byte as the bitmap holds it.
imaging::Image ReadBitmapPixels(HDC dc, HBITMAP bitmap, int width, int height);
