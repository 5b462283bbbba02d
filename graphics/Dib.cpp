#include "graphics/Dib.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "system/SysUtils.h"

namespace {

struct TDibInfo {
  BITMAPINFOHEADER header{};
  RGBQUAD colors[256]{};
};

int BitCountOf(TPixelFormat format) {
  switch (format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    default: return 32;
  }
}

// height > 0: bottom-up rows, as TBitmap keeps its bitmaps; height < 0: top row first.
TDibInfo MakeInfo(int width, int height, int bitCount) {
  TDibInfo info;
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = height;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bitCount);
  info.header.biCompression = BI_RGB;
  return info;
}

// Colours as 0x00RRGGBB, which is an RGBQUAD's layout in memory.
std::vector<uint32_t> FixedPalette(int bitCount) {
  static const uint32_t kVga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                    0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                    0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  if (bitCount == 1) return {0x000000, 0xFFFFFF};
  std::vector<uint32_t> palette(std::begin(kVga), std::end(kVga));
  if (bitCount == 8)
    for (uint32_t r = 0; r < 6; ++r)
      for (uint32_t g = 0; g < 6; ++g)
        for (uint32_t b = 0; b < 6; ++b) palette.push_back((r * 51) << 16 | (g * 51) << 8 | b * 51);
  return palette;
}

// The image's distinct colours, padded with the fixed palette's; the fixed palette alone when the image
// has more colours than the format holds.
std::vector<uint32_t> MakePalette(const imaging::Image& image, int bitCount) {
  const size_t size = size_t{1} << bitCount;
  std::vector<uint32_t> palette;
  std::unordered_set<uint32_t> seen;
  for (const uint32_t pixel : image.pixels) {
    const uint32_t colour = pixel & 0xFFFFFF;
    if (!seen.insert(colour).second) continue;
    if (palette.size() == size) {
      palette.clear();
      seen.clear();
      break;
    }
    palette.push_back(colour);
  }
  for (const uint32_t colour : FixedPalette(bitCount))
    if (palette.size() < size && seen.insert(colour).second) palette.push_back(colour);
  return palette;
}

void SetLayout(TDibInfo& info, TPixelFormat format, const imaging::Image& image) {
  if (format == pf16bit) {
    static const DWORD kMasks565[3] = {0xF800, 0x07E0, 0x001F};
    info.header.biCompression = BI_BITFIELDS;
    std::memcpy(info.colors, kMasks565, sizeof kMasks565);
  } else if (info.header.biBitCount <= 8) {
    const std::vector<uint32_t> palette = MakePalette(image, info.header.biBitCount);
    info.header.biClrUsed = static_cast<DWORD>(palette.size());
    std::memcpy(info.colors, palette.data(), palette.size() * sizeof(uint32_t));
  }
}

HBITMAP CreateEmptyBitmap(HDC screen, const imaging::Image& image, TPixelFormat format) {
  const int width = static_cast<int>(image.width), height = static_cast<int>(image.height);
  if (format == pfDevice) return CreateCompatibleBitmap(screen, width, height);
  TDibInfo info = MakeInfo(width, height, BitCountOf(format));
  SetLayout(info, format, image);
  void* bits = nullptr;
  return CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
}

}  // namespace

TBitmapHandle CreateDib(int width, int height, int bitCount) {
  const TScreenDc screen;
  TDibInfo info = MakeInfo(width, height, bitCount);
  void* bits = nullptr;
  TBitmapHandle bitmap(
      CreateDIBSection(screen.Handle(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) throw EOutOfResources("Out of system resources");
  return bitmap;
}

TBitmapHandle CreateBitmapFromImage(const imaging::Image& image, TPixelFormat format) {
  const TScreenDc screen;
  TBitmapHandle bitmap(CreateEmptyBitmap(screen.Handle(), image, format));
  if (!bitmap) throw EOutOfResources("Out of system resources");
  TDibInfo source = MakeInfo(static_cast<int>(image.width), -static_cast<int>(image.height), 32);
  if (!SetDIBits(screen.Handle(), bitmap.get(), 0, image.height, image.pixels.data(),
                 reinterpret_cast<BITMAPINFO*>(&source), DIB_RGB_COLORS))
    throw EOutOfResources("Out of system resources");
  return bitmap;
}

imaging::Image ReadBitmapPixels(HDC dc, HBITMAP bitmap, int width, int height) {
  imaging::Image image;
  image.width = static_cast<uint32_t>(width);
  image.height = static_cast<uint32_t>(height);
  image.bitsPerPixel = 32;
  image.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  TDibInfo info = MakeInfo(width, -height, 32);
  if (!GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), image.pixels.data(),
                 reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS))
    throw EOutOfResources("Out of system resources");
  return image;
}

TDibRows DibRowsOf(HBITMAP bitmap) {
  DIBSECTION section{};
  if (GetObject(bitmap, sizeof section, &section) != sizeof section || !section.dsBm.bmBits) return {};
  auto* bits = static_cast<uint8_t*>(section.dsBm.bmBits);
  const ptrdiff_t stride = section.dsBm.bmWidthBytes;
  const bool bottomUp = section.dsBmih.biHeight > 0;
  const imaging::PixelRows rows = bottomUp ? imaging::PixelRows{bits + (section.dsBm.bmHeight - 1) * stride, -stride}
                                           : imaging::PixelRows{bits, stride};
  return {rows, section.dsBmih.biBitCount};
}

void DibRowToPixels(const uint8_t* row, int bitCount, int width, uint32_t* pixels) {
  if (bitCount == 32) {
    std::memcpy(pixels, row, static_cast<size_t>(width) * sizeof(uint32_t));
    return;
  }
  // Four pixels from three words at a time: B G R B | G R B G | R B G R.
  int x = 0;
  for (; x + 4 <= width; x += 4, row += 12) {
    uint32_t word[3];
    std::memcpy(word, row, sizeof word);
    pixels[x] = 0xFF000000u | (word[0] & 0xFFFFFF);
    pixels[x + 1] = 0xFF000000u | word[0] >> 24 | (word[1] & 0xFFFF) << 8;
    pixels[x + 2] = 0xFF000000u | word[1] >> 16 | (word[2] & 0xFF) << 16;
    pixels[x + 3] = 0xFF000000u | word[2] >> 8;
  }
  for (; x < width; ++x, row += 3) pixels[x] = 0xFF000000u | row[2] << 16 | row[1] << 8 | row[0];
}

void PixelsToDibRow(const uint32_t* pixels, int width, int bitCount, uint8_t* row) {
  if (bitCount == 32) {
    std::memcpy(row, pixels, static_cast<size_t>(width) * sizeof(uint32_t));
    return;
  }
  int x = 0;
  for (; x + 4 <= width; x += 4, row += 12) {
    const uint32_t word[3] = {(pixels[x] & 0xFFFFFF) | pixels[x + 1] << 24,
                              (pixels[x + 1] >> 8 & 0xFFFF) | pixels[x + 2] << 16,
                              (pixels[x + 2] >> 16 & 0xFF) | pixels[x + 3] << 8};
    std::memcpy(row, word, sizeof word);
  }
  for (; x < width; ++x, row += 3) std::memcpy(row, &pixels[x], 3);
}
