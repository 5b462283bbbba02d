// The passes with 256-bit steps, for processors that have AVX2; chosen at run time, so only the functions
// marked with the target attribute use those instructions.
#include <immintrin.h>

#include "imaging/ResampleSse2.h"

#define ORLO_AVX2 __attribute__((target("avx2")))

namespace imaging::resample {
namespace {

ORLO_AVX2 __m128i HorizontalSum(const uint32_t* src, const int16_t* w, int32_t count) {
  const __m256i zero = _mm256_setzero_si256();
  __m256i sum = zero;
  int32_t k = 0;
  for (; k + 8 <= count; k += 8) {
    // Each 128-bit lane works as the SSE2 step does, on pixels 0-3 and 4-7.
    const __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + k));
    const __m256i p01 = _mm256_unpacklo_epi8(pixels, zero);
    const __m256i p23 = _mm256_unpackhi_epi8(pixels, zero);
    const __m128i w8 = _mm_shufflehi_epi16(
        _mm_shufflelo_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(w + k)), _MM_SHUFFLE(3, 1, 2, 0)),
        _MM_SHUFFLE(3, 1, 2, 0));
    // Lane 0 gets weight pairs (w0, w2) and (w1, w3), lane 1 gets (w4, w6) and (w5, w7).
    const __m256i lanes = _mm256_permute4x64_epi64(_mm256_castsi128_si256(w8), _MM_SHUFFLE(1, 1, 0, 0));
    sum = _mm256_add_epi32(sum, _mm256_madd_epi16(_mm256_unpacklo_epi16(p01, p23), _mm256_shuffle_epi32(lanes, 0x00)));
    sum = _mm256_add_epi32(sum, _mm256_madd_epi16(_mm256_unpackhi_epi16(p01, p23), _mm256_shuffle_epi32(lanes, 0x55)));
  }
  const __m128i lanesSum = _mm_add_epi32(_mm256_castsi256_si128(sum), _mm256_extracti128_si256(sum, 1));
  return _mm_add_epi32(lanesSum, sse2::HorizontalSum(src + k, w + k, count - k));
}

const int16_t* WeightsOf(const AxisWeights& axis, int32_t j) {
  return &axis.weights[static_cast<size_t>(j) * axis.taps];
}

ORLO_AVX2 void Horizontal(const uint32_t* src, const AxisWeights& axis, int16_t* out) {
  for (int32_t j = 0; j < axis.Outputs(); ++j, out += 4)
    sse2::StoreIntermediate(HorizontalSum(src + axis.first[j], WeightsOf(axis, j), axis.count[j]), out);
}

ORLO_AVX2 void HorizontalToPixels(const uint32_t* src, const AxisWeights& axis, uint32_t* out) {
  for (int32_t j = 0; j < axis.Outputs(); ++j)
    out[j] = sse2::OpaquePixel(HorizontalSum(src + axis.first[j], WeightsOf(axis, j), axis.count[j]), kWeightBits);
}

ORLO_AVX2 __m256i RoundShift(__m256i sum) {
  constexpr int bits = kWeightBits + kIntermediateBits;
  return _mm256_srai_epi32(_mm256_add_epi32(sum, _mm256_set1_epi32(1 << (bits - 1))), bits);
}

ORLO_AVX2 __m256i WeightPair(const int16_t* w) {
  int32_t pair;
  std::memcpy(&pair, w, sizeof pair);
  return _mm256_set1_epi32(pair);
}

// Four pixels at a time: lane 0 holds pixels x, x + 1 and lane 1 pixels x + 2, x + 3. Rows and weights go in
// pairs; an odd count has a zero weight after its last.
ORLO_AVX2 void Vertical(const int16_t* const* rows, const int16_t* weights, int32_t count, int32_t width,
                        uint32_t* out) {
  const __m256i alpha = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  int32_t x = 0;
  for (; x + 4 <= width; x += 4) {
    __m256i even = _mm256_setzero_si256(), odd = _mm256_setzero_si256();
    const auto add = [&](__m256i a, __m256i b, __m256i pair) ORLO_AVX2 {
      even = _mm256_add_epi32(even, _mm256_madd_epi16(_mm256_unpacklo_epi16(a, b), pair));
      odd = _mm256_add_epi32(odd, _mm256_madd_epi16(_mm256_unpackhi_epi16(a, b), pair));
    };
    const auto load = [x](const int16_t* row) ORLO_AVX2 {
      return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + 4 * x));
    };
    int32_t k = 0;
    for (; k + 2 <= count; k += 2) add(load(rows[k]), load(rows[k + 1]), WeightPair(weights + k));
    if (k < count) add(load(rows[k]), _mm256_setzero_si256(), WeightPair(weights + k));
    const __m256i words = _mm256_packs_epi32(RoundShift(even), RoundShift(odd));
    const __m256i bytes = _mm256_permute4x64_epi64(_mm256_packus_epi16(words, words), _MM_SHUFFLE(2, 0, 2, 0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm256_castsi256_si128(_mm256_or_si256(bytes, alpha)));
  }
  sse2::VerticalFrom(rows, weights, count, x, width, out);
}

}  // namespace

bool CpuHasAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}

const Passes& Avx2Passes() {
  static const Passes passes{Horizontal, HorizontalToPixels, Vertical};
  return passes;
}

}  // namespace imaging::resample
