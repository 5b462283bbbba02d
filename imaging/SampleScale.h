#pragma once
// Colour samples: taken from rows packed at 1 to 8 bits per sample, and scaled from any depth to 8 bits,
// rounded to the nearest value, so that full scale stays 255.
#include <cstdint>

namespace imaging {

// Sample x of a row of bits-wide samples (1, 2, 4 or 8), the leftmost in the most significant bits of a byte.
inline uint32_t PackedSample(const uint8_t* row, uint64_t x, uint32_t bits) {
  const uint64_t bit = x * bits;
  return (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
}

// value in 0..maxValue (values above are clamped); maxValue >= 1.
inline uint32_t ScaleTo8Bits(uint32_t value, uint32_t maxValue) {
  if (value >= maxValue) return 255;
  return static_cast<uint32_t>((uint64_t{value} * 255 + maxValue / 2) / maxValue);
}

// A sample of the given width in bits (1 to 32); width 0 gives 0.
inline uint32_t ScaleBitsTo8(uint32_t value, uint32_t bits) {
  if (bits == 0) return 0;
  const uint32_t maxValue = bits >= 32 ? 0xFFFFFFFFu : (uint32_t{1} << bits) - 1;
  return ScaleTo8Bits(value, maxValue);
}

}  // namespace imaging
