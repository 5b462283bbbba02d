#pragma once
// Scaling of colour samples of any depth to 8 bits, rounded to the nearest value, so that full scale stays 255.
#include <cstdint>

namespace imaging {

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
