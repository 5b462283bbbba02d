// The passes with 256-bit steps, for processors that have AVX2; chosen at run time, so only the functions
// marked with the target attribute use those instructions.
#include <immintrin.h>

#include <algorithm>
#include <vector>

#include "imaging/ResampleSse2.h"

#define ORLO_AVX2 __attribute__((target("avx2")))

namespace imaging::resample {
namespace {

// The weights of every output widened with zeros to one number of taps, a multiple of 8, and each window
// moved to lie inside the row, so that the pass reads 8 whole pixels at every step. For each 8 taps of an
// output two vectors are laid out ready for pmaddwd: the pairs (w0, w1) in lane 0 and (w4, w5) in lane 1,
// each repeated for the four channels, then likewise (w2, w3) and (w6, w7). No weight is shuffled while the
// rows are filtered.
class Horizontal final : public HorizontalPass {
public:
  static int32_t TapsOf(const AxisWeights& axis) {
    const int32_t widest = *std::max_element(axis.count.begin(), axis.count.end());
    return (widest + 7) & ~7;
  }

  Horizontal(const AxisWeights& axis, int32_t sourceWidth) : groups_(TapsOf(axis) / 8) {
    const int32_t taps = groups_ * 8;
    start_.resize(static_cast<size_t>(axis.Outputs()));
    pairs_.resize(static_cast<size_t>(axis.Outputs()) * groups_ * kPerGroup);
    std::vector<int16_t> window(static_cast<size_t>(taps));
    for (int32_t j = 0; j < axis.Outputs(); ++j) {
      start_[j] = std::min(axis.first[j], sourceWidth - taps);
      std::fill(window.begin(), window.end(), int16_t{0});
      const int16_t* w = &axis.weights[static_cast<size_t>(j) * axis.taps];
      std::copy(w, w + axis.count[j], window.begin() + (axis.first[j] - start_[j]));
      int16_t* out = &pairs_[static_cast<size_t>(j) * groups_ * kPerGroup];
      for (int32_t g = 0; g < groups_; ++g, out += kPerGroup)
        for (int32_t half = 0; half < 2; ++half)      // (w0, w1) and (w4, w5), then (w2, w3) and (w6, w7)
          for (int32_t lane = 0; lane < 2; ++lane)    // lane 0 takes pixels 0-3, lane 1 pixels 4-7
            for (int32_t channel = 0; channel < 4; ++channel) {
              const int16_t* pair = &window[static_cast<size_t>(g * 8 + lane * 4 + half * 2)];
              int16_t* at = out + half * 16 + lane * 8 + channel * 2;
              at[0] = pair[0];
              at[1] = pair[1];
            }
    }
  }

  ORLO_AVX2 void ToIntermediate(const uint32_t* src, int16_t* out) const override {
    for (int32_t j = 0; j < Outputs(); ++j, out += 4) sse2::StoreIntermediate(Sum(src, j), out);
  }

  ORLO_AVX2 void ToPixels(const uint32_t* src, uint32_t* out) const override {
    for (int32_t j = 0; j < Outputs(); ++j) out[j] = sse2::OpaquePixel(Sum(src, j), kWeightBits);
  }

private:
  static constexpr int32_t kPerGroup = 32;  // two vectors of 16 weights

  int32_t Outputs() const { return static_cast<int32_t>(start_.size()); }

  // The 4 channel sums of output j, with kWeightBits fraction bits.
  ORLO_AVX2 __m128i Sum(const uint32_t* src, int32_t j) const {
    // Per lane, the channels of pixels 0 and 1 side by side as 16-bit values, then those of pixels 2 and 3.
    const __m256i firstPair = _mm256_setr_epi8(0, -1, 4, -1, 1, -1, 5, -1, 2, -1, 6, -1, 3, -1, 7, -1,  //
                                               0, -1, 4, -1, 1, -1, 5, -1, 2, -1, 6, -1, 3, -1, 7, -1);
    const __m256i secondPair = _mm256_setr_epi8(8, -1, 12, -1, 9, -1, 13, -1, 10, -1, 14, -1, 11, -1, 15, -1,  //
                                                8, -1, 12, -1, 9, -1, 13, -1, 10, -1, 14, -1, 11, -1, 15, -1);
    const uint32_t* pixels = src + start_[j];
    const int16_t* weights = &pairs_[static_cast<size_t>(j) * groups_ * kPerGroup];
    __m256i sum = _mm256_setzero_si256();
    for (int32_t g = 0; g < groups_; ++g, pixels += 8, weights += kPerGroup) {
      const __m256i eight = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels));
      const __m256i w01 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights));
      const __m256i w23 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights + 16));
      sum = _mm256_add_epi32(sum, _mm256_madd_epi16(_mm256_shuffle_epi8(eight, firstPair), w01));
      sum = _mm256_add_epi32(sum, _mm256_madd_epi16(_mm256_shuffle_epi8(eight, secondPair), w23));
    }
    return _mm_add_epi32(_mm256_castsi256_si128(sum), _mm256_extracti128_si256(sum, 1));
  }

  int32_t groups_;
  std::vector<int32_t> start_;
  std::vector<int16_t> pairs_;
};

// The laid-out weights take four times the room of the plain ones; beyond this (a picture tens of thousands
// of pixels wide squeezed into a few) the SSE2 pass reads the plain ones instead.
constexpr uint64_t kMaxLaidOutBytes = uint64_t{32} << 20;

// Rows narrower than the widened window keep the SSE2 pass too, which reads each window as it is.
std::unique_ptr<HorizontalPass> MakeHorizontal(const AxisWeights& weights, int32_t sourceWidth) {
  if (weights.Outputs() == 0) return Sse2Horizontal(weights, sourceWidth);
  const int32_t taps = Horizontal::TapsOf(weights);
  const uint64_t laidOutBytes = uint64_t{static_cast<uint32_t>(weights.Outputs())} * static_cast<uint32_t>(taps) * 8;
  if (taps > sourceWidth || laidOutBytes > kMaxLaidOutBytes) return Sse2Horizontal(weights, sourceWidth);
  return std::make_unique<Horizontal>(weights, sourceWidth);
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
  static const Passes passes{MakeHorizontal, Vertical};
  return passes;
}

}  // namespace imaging::resample
