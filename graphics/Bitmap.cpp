#include "graphics/Bitmap.h"

#include <algorithm>
#include <cstring>

#include "graphics/Dib.h"
#include "graphics/PictureFiles.h"
#include "system/SysUtils.h"

namespace {

void CheckBitmapSize(int width, int height) {
  if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > imaging::kMaxPixels)
    throw EOutOfResources(Format("Bitmap of %d x %d pixels is too large", width, height));
}

// The bits per pixel of a format whose bitmaps are made with rows that we write directly, or 0.
int RowBitCountOf(TPixelFormat format) {
  switch (format) {
    case pf24bit: return 24;
    case pf32bit:
    case pfCustom: return 32;
    default: return 0;
  }
}

// New bitmap areas are white, as a canvas's default brush paints them.
imaging::Image WhiteImage(int width, int height) {
  CheckBitmapSize(width, height);
  imaging::Image image;
  image.width = static_cast<uint32_t>(width);
  image.height = static_cast<uint32_t>(height);
  image.bitsPerPixel = 32;
  image.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFFFFFFFFu);
  return image;
}

void CopyOverlap(const imaging::Image& from, imaging::Image& to) {
  const uint32_t width = std::min(from.width, to.width), height = std::min(from.height, to.height);
  for (uint32_t y = 0; y < height; ++y) std::memcpy(to.Row(y), from.Row(y), width * sizeof(uint32_t));
}

}  // namespace

TPixelFormat PixelFormatOf(const imaging::BmpLayout& layout) {
  switch (layout.bitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16:
      if (!layout.hasMasks) return pf15bit;
      return layout.redMask == 0xF800 && layout.greenMask == 0x07E0 && layout.blueMask == 0x001F ? pf16bit
                                                                                                   : pfCustom;
    case 24: return pf24bit;
    case 32: return layout.hasMasks ? pfCustom : pf32bit;
    default: return pfCustom;
  }
}

TBitmap::TBitmap() : FCanvas(CreateCompatibleDC(nullptr)) {
  if (!FCanvas) throw EOutOfResources("Out of system resources");
  FStockBitmap = GetCurrentObject(FCanvas.get(), OBJ_BITMAP);
}

// The bitmap must leave the canvas before either is deleted.
TBitmap::~TBitmap() { SelectObject(FCanvas.get(), FStockBitmap); }

const TGraphicClass& TBitmap::Class() {
  static const TGraphicClass graphicClass{"TBitmap", [] { return std::make_unique<TBitmap>(); }};
  return graphicClass;
}

void TBitmap::Replace(TBitmapHandle bitmap, int width, int height, TPixelFormat format) {
  SelectObject(FCanvas.get(), bitmap ? static_cast<HGDIOBJ>(bitmap.get()) : FStockBitmap);
  FBitmap = std::move(bitmap);
  const TDibRows rows = FBitmap ? DibRowsOf(FBitmap.get()) : TDibRows{};
  const bool direct = rows.rows.first && (rows.bitCount == 24 || rows.bitCount == 32);
  FRows = direct ? rows.rows : imaging::PixelRows{};
  FRowBitCount = direct ? rows.bitCount : 0;
  FWidth = width;
  FHeight = height;
  FPixelFormat = format;
}

void TBitmap::SetSize(int width, int height) {
  if (width < 0 || height < 0) throw EInvalidGraphic(Format("Invalid bitmap size %d x %d", width, height));
  if (width == FWidth && height == FHeight) return;
  if (width == 0 || height == 0) return Replace(nullptr, width, height, FPixelFormat);
  imaging::Image image = WhiteImage(width, height);
  if (FBitmap) CopyOverlap(ToImage(), image);
  Replace(CreateBitmapFromImage(image, FPixelFormat), width, height, FPixelFormat);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == FPixelFormat) return;
  if (!FBitmap) {
    FPixelFormat = format;
    return;
  }
  Replace(CreateBitmapFromImage(ToImage(), format), FWidth, FHeight, format);
}

void TBitmap::NewDib(int width, int height, TPixelFormat format) {
  const int bitCount = RowBitCountOf(format);
  if (bitCount == 0) throw EInvalidGraphic("A bitmap for direct rows has 24 or 32 bits per pixel");
  if (width <= 0 || height <= 0) throw EInvalidGraphic(Format("Invalid bitmap size %d x %d", width, height));
  CheckBitmapSize(width, height);
  Replace(CreateDib(width, height, bitCount), width, height, format);
}

imaging::PixelRows TBitmap::Rows() const {
  GdiFlush();
  return FRows;
}

void TBitmap::LoadFromFile(const std::string& fileName) {
  const std::vector<uint8_t> bytes = ReadPictureFile(fileName);
  imaging::BmpLayout layout;
  const imaging::Image image = Decode([&] { return imaging::DecodeBmp(bytes, &layout); });
  Assign(image, PixelFormatOf(layout));
}

void TBitmap::Assign(const imaging::Image& image, TPixelFormat format) {
  if (image.width == 0 || image.height == 0) return Replace(nullptr, 0, 0, format);
  if (RowBitCountOf(format)) {
    NewDib(static_cast<int>(image.width), static_cast<int>(image.height), format);
    for (uint32_t y = 0; y < image.height; ++y)
      PixelsToDibRow(image.Row(y), FWidth, FRowBitCount, FRows.Row(y));
    return;
  }
  Replace(CreateBitmapFromImage(image, format), static_cast<int>(image.width), static_cast<int>(image.height),
          format);
}

imaging::Image TBitmap::ToImage() const {
  if (!FBitmap) return {};
  if (FRowBitCount) return RowsToImage();
  imaging::Image image = ReadBitmapPixels(FCanvas.get(), FBitmap.get(), FWidth, FHeight);
  image.hasAlpha = FPixelFormat == pf32bit || FPixelFormat == pfCustom;
  if (!image.hasAlpha)
    for (uint32_t& pixel : image.pixels) pixel |= 0xFF000000u;
  return image;
}

// A 24-bit bitmap is opaque; 32 bits are pf32bit or pfCustom, both of which keep their alpha.
imaging::Image TBitmap::RowsToImage() const {
  imaging::Image image;
  image.width = static_cast<uint32_t>(FWidth);
  image.height = static_cast<uint32_t>(FHeight);
  image.bitsPerPixel = 32;
  image.hasAlpha = FRowBitCount == 32;
  image.pixels.resize(static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight));
  const imaging::PixelRows rows = Rows();
  for (uint32_t y = 0; y < image.height; ++y) DibRowToPixels(rows.Row(y), FRowBitCount, FWidth, image.Row(y));
  return image;
}

void TBitmap::AssignBitmap(const TBitmap& source) {
  if (!source.FBitmap) return Replace(nullptr, source.FWidth, source.FHeight, source.FPixelFormat);
  if (!source.FRowBitCount) return Assign(source.ToImage(), source.FPixelFormat);
  NewDib(source.FWidth, source.FHeight, source.FPixelFormat);
  const imaging::PixelRows from = source.Rows();
  const size_t rowBytes = static_cast<size_t>(FWidth) * static_cast<size_t>(FRowBitCount / 8);
  for (int y = 0; y < FHeight; ++y) std::memcpy(FRows.Row(y), from.Row(y), rowBytes);
}

std::unique_ptr<TGraphic> TBitmap::Clone() const {
  auto copy = std::make_unique<TBitmap>();
  copy->AssignBitmap(*this);
  return copy;
}

void TBitmap::Draw(HDC dc, const RECT& rect) const {
  if (!FBitmap) return;
  StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FCanvas.get(), 0, 0, FWidth,
             FHeight, SRCCOPY);
}
