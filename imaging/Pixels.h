#pragma once
// Building 0xAARRGGBB pixels: from a colour table, or channel by channel as planar files store them.
#include <array>
#include <cstdint>

#include "imaging/ByteReader.h"
#include "imaging/SampleScale.h"

namespace imaging {

// 256 entries, so that any 8-bit index falls inside; entries that a file does not give are opaque black.
using Palette = std::array<uint32_t, 256>;

inline Palette BlackPalette() {
  Palette palette;
  palette.fill(Argb(0, 0, 0));
  return palette;
}

// levels (2 to 256) greys from black to white, then black.
inline Palette GreyPalette(uint32_t levels = 256) {
  Palette palette = BlackPalette();
  for (uint32_t i = 0; i < levels; ++i) {
    const uint32_t grey = ScaleTo8Bits(i, levels - 1);
    palette[i] = Argb(grey, grey, grey);
  }
  return palette;
}

enum class ColourOrder { kRgb, kBgr };

// count (at most 256) entries of entryBytes (3 or more) each, the first three bytes the colour.
inline Palette ReadPalette(Bytes entries, size_t count, size_t entryBytes, ColourOrder order) {
  const Bytes table = Slice(entries, 0, uint64_t{count} * entryBytes);
  const size_t red = order == ColourOrder::kRgb ? 0 : 2;
  Palette palette = BlackPalette();
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = &table[i * entryBytes];
    palette[i] = Argb(e[red], e[1], e[2 - red]);
  }
  return palette;
}

// Replaces one channel: shift 24 alpha, 16 red, 8 green, 0 blue.
inline void SetChannel(uint32_t& pixel, uint32_t shift, uint32_t value) {
  pixel = (pixel & ~(0xFFu << shift)) | value << shift;
}

// Replaces the colour by a grey, keeping alpha.
inline void SetGrey(uint32_t& pixel, uint32_t value) { pixel = (pixel & 0xFF000000u) | value << 16 | value << 8 | value; }

}  // namespace imaging
