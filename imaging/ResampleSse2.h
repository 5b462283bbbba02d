#pragma once
// The SSE2 building blocks of the resampler's passes, shared by the SSE2 passes and by the AVX2 passes for
// what is left over after their wider steps.
#include <emmintrin.h>

#include <cstring>

#include "imaging/ResamplePasses.h"

namespace imaging::resample::sse2 {

// Two adjacent 16-bit weights as one 32-bit lane pattern, for pmaddwd against pairs of channels.
inline __m128i WeightPair(const int16_t* w) {
  int32_t pair;
  std::memcpy(&pair, w, sizeof pair);
  return _mm_set1_epi32(pair);
}

inline __m128i RoundShift(__m128i sum, int bits) {
  return _mm_srai_epi32(_mm_add_epi32(sum, _mm_set1_epi32(1 << (bits - 1))), bits);
}

// Weighted sum of count pixels from src: 4 channel sums with kWeightBits fraction bits.
inline __m128i HorizontalSum(const uint32_t* src, const int16_t* w, int32_t count) {
  const __m128i zero = _mm_setzero_si128();
  __m128i sum = zero;
  int32_t k = 0;
  for (; k + 4 <= count; k += 4) {
    const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + k));
    const __m128i p01 = _mm_unpacklo_epi8(pixels, zero);
    const __m128i p23 = _mm_unpackhi_epi8(pixels, zero);
    // Weights w0 w2 w1 w3, so that lane pairs match the channel pairs (p0, p2) and (p1, p3).
    const __m128i w4 = _mm_shufflelo_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(w + k)),
                                           _MM_SHUFFLE(3, 1, 2, 0));
    sum = _mm_add_epi32(sum, _mm_madd_epi16(_mm_unpacklo_epi16(p01, p23), _mm_shuffle_epi32(w4, 0x00)));
    sum = _mm_add_epi32(sum, _mm_madd_epi16(_mm_unpackhi_epi16(p01, p23), _mm_shuffle_epi32(w4, 0x55)));
  }
  if (k + 2 <= count) {
    const __m128i p01 = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(src + k)), zero);
    const __m128i pairs = _mm_unpacklo_epi16(p01, _mm_srli_si128(p01, 8));
    sum = _mm_add_epi32(sum, _mm_madd_epi16(pairs, WeightPair(w + k)));
    k += 2;
  }
  if (k < count) {
    const __m128i p = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(src[k])), zero);
    sum = _mm_add_epi32(sum, _mm_madd_epi16(_mm_unpacklo_epi16(p, zero), _mm_set1_epi32(static_cast<uint16_t>(w[k]))));
  }
  return sum;
}

inline void StoreIntermediate(__m128i sum, int16_t* out) {
  const __m128i value = RoundShift(sum, kWeightBits - kIntermediateBits);
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packs_epi32(value, value));
}

inline uint32_t OpaquePixel(__m128i sum, int bits) {
  const __m128i value = RoundShift(sum, bits);
  const __m128i words = _mm_packs_epi32(value, value);
  return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words))) | 0xFF000000u;
}

// Two intermediate pixels of count rows, weighted: the sums of pixel x and of pixel x + 1. Rows and weights go
// in pairs (k, k + 1); an odd count has a zero weight after its last.
inline void VerticalSum(const int16_t* const* rows, const int16_t* weights, int32_t count, int32_t x,
                        __m128i& first, __m128i& second) {
  first = second = _mm_setzero_si128();
  const auto add = [&](__m128i a, __m128i b, __m128i pair) {
    first = _mm_add_epi32(first, _mm_madd_epi16(_mm_unpacklo_epi16(a, b), pair));
    second = _mm_add_epi32(second, _mm_madd_epi16(_mm_unpackhi_epi16(a, b), pair));
  };
  int32_t k = 0;
  for (; k + 2 <= count; k += 2)
    add(_mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + 4 * x)),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k + 1] + 4 * x)), WeightPair(weights + k));
  if (k < count)
    add(_mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + 4 * x)), _mm_setzero_si128(),
        WeightPair(weights + k));
}

// The vertical pass over the pixels [x, width).
inline void VerticalFrom(const int16_t* const* rows, const int16_t* weights, int32_t count, int32_t x,
                         int32_t width, uint32_t* out) {
  constexpr int bits = kWeightBits + kIntermediateBits;
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  for (; x + 2 <= width; x += 2) {
    __m128i first, second;
    VerticalSum(rows, weights, count, x, first, second);
    const __m128i words = _mm_packs_epi32(RoundShift(first, bits), RoundShift(second, bits));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x), _mm_or_si128(_mm_packus_epi16(words, words), alpha));
  }
  if (x < width) {
    // The last odd pixel alone, as the rows end there.
    __m128i sum = _mm_setzero_si128();
    for (int32_t k = 0; k < count; ++k) {
      const __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(rows[k] + 4 * x));
      sum = _mm_add_epi32(sum, _mm_madd_epi16(_mm_unpacklo_epi16(a, _mm_setzero_si128()),
                                              _mm_set1_epi32(static_cast<uint16_t>(weights[k]))));
    }
    out[x] = OpaquePixel(sum, bits);
  }
}

}  // namespace imaging::resample::sse2
