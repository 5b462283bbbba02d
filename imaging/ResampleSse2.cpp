#include <emmintrin.h>

#include <cstring>

#include "imaging/ResamplePasses.h"

namespace imaging::resample {
namespace {

// Two adjacent 16-bit weights as one 32-bit lane pattern, for pmaddwd against pairs of channels.
__m128i WeightPair(const int16_t* w) {
  int32_t pair;
  std::memcpy(&pair, w, sizeof pair);
  return _mm_set1_epi32(pair);
}

__m128i WeightPair(int16_t w) { return _mm_set1_epi32(static_cast<uint16_t>(w)); }

// Weighted sum of count pixels from src: 4 channel sums with kWeightBits fraction bits.
__m128i HorizontalSum(const uint32_t* src, const int16_t* w, int32_t count) {
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
    sum = _mm_add_epi32(sum, _mm_madd_epi16(_mm_unpacklo_epi16(p, zero), WeightPair(w[k])));
  }
  return sum;
}

__m128i RoundShift(__m128i sum, int bits) {
  return _mm_srai_epi32(_mm_add_epi32(sum, _mm_set1_epi32(1 << (bits - 1))), bits);
}

void Horizontal(const uint32_t* src, const AxisWeights& weights, int16_t* out) {
  for (int32_t j = 0; j < weights.Outputs(); ++j, out += 4) {
    const __m128i sum = HorizontalSum(src + weights.first[j], &weights.weights[j * weights.taps], weights.count[j]);
    const __m128i value = RoundShift(sum, kWeightBits - kIntermediateBits);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packs_epi32(value, value));
  }
}

void HorizontalToPixels(const uint32_t* src, const AxisWeights& weights, uint32_t* out) {
  for (int32_t j = 0; j < weights.Outputs(); ++j) {
    const __m128i sum = HorizontalSum(src + weights.first[j], &weights.weights[j * weights.taps], weights.count[j]);
    const __m128i value = _mm_packs_epi32(RoundShift(sum, kWeightBits), sum);
    out[j] = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(value, value))) | 0xFF000000u;
  }
}

// Two intermediate pixels (8 lanes) of each row, weighted: the sums of pixel 0 and of pixel 1.
struct PixelPairSum {
  __m128i first, second;
};

// Rows and weights go in pairs (k, k + 1); an odd count has a zero weight after its last.
PixelPairSum VerticalSum(const int16_t* const* rows, const int16_t* weights, int32_t count, int32_t x) {
  PixelPairSum sum{_mm_setzero_si128(), _mm_setzero_si128()};
  const auto add = [&sum](__m128i a, __m128i b, __m128i pair) {
    sum.first = _mm_add_epi32(sum.first, _mm_madd_epi16(_mm_unpacklo_epi16(a, b), pair));
    sum.second = _mm_add_epi32(sum.second, _mm_madd_epi16(_mm_unpackhi_epi16(a, b), pair));
  };
  int32_t k = 0;
  for (; k + 2 <= count; k += 2)
    add(_mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + 4 * x)),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k + 1] + 4 * x)), WeightPair(weights + k));
  if (k < count)
    add(_mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + 4 * x)), _mm_setzero_si128(),
        WeightPair(weights + k));
  return sum;
}

__m128i OpaquePixels(__m128i first, __m128i second) {
  constexpr int bits = kWeightBits + kIntermediateBits;
  const __m128i words = _mm_packs_epi32(RoundShift(first, bits), RoundShift(second, bits));
  return _mm_or_si128(_mm_packus_epi16(words, words), _mm_set1_epi32(static_cast<int>(0xFF000000u)));
}

void Vertical(const int16_t* const* rows, const int16_t* weights, int32_t count, int32_t width, uint32_t* out) {
  int32_t x = 0;
  for (; x + 2 <= width; x += 2) {
    const PixelPairSum sum = VerticalSum(rows, weights, count, x);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x), OpaquePixels(sum.first, sum.second));
  }
  if (x < width) {
    // The last odd pixel: read it alone, as the rows end there.
    __m128i sum = _mm_setzero_si128();
    const __m128i zero = _mm_setzero_si128();
    for (int32_t k = 0; k < count; ++k) {
      const __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(rows[k] + 4 * x));
      sum = _mm_add_epi32(sum, _mm_madd_epi16(_mm_unpacklo_epi16(a, zero), WeightPair(weights[k])));
    }
    out[x] = static_cast<uint32_t>(_mm_cvtsi128_si32(OpaquePixels(sum, sum)));
  }
}

}  // namespace

const Passes& Sse2Passes() {
  static const Passes passes{Horizontal, HorizontalToPixels, Vertical};
  return passes;
}

}  // namespace imaging::resample
