#pragma once
// The inner loops of the resampler, one set per instruction set.
//
// Accumulators: pixels and weights are multiplied as signed 16-bit values into 32-bit sums (SSE2 pmaddwd,
// two products per lane). With 14-bit weights a sum stays below 2^31 with a wide margin, and quantising each
// weight costs at most 2^-15 of a level per tap. The horizontal pass keeps its result unclamped, overshoot
// included, as 16-bit values with 6 fraction bits: Lanczos-3 rings to about -0.3 x 255 and 1.3 x 255, so the
// range stays within +-21000, and the rounding there (1/128 of a level) is lost in the final rounding. Only
// the last pass rounds, clamps to 0..255 and sets alpha.
#include <cstdint>
#include <memory>

#include "imaging/Resample.h"

namespace imaging::resample {

constexpr int kIntermediateBits = 6;

// The horizontal pass of one transfer, holding its weights in the form that its instruction set reads best.
class HorizontalPass {
public:
  virtual ~HorizontalPass() = default;
  // One source row (from the source rectangle's left) through the weights into an intermediate row of
  // weights.Outputs() pixels, 4 channels each (B, G, R, A).
  virtual void ToIntermediate(const uint32_t* src, int16_t* out) const = 0;
  // The same straight into opaque pixels, when there is no vertical pass.
  virtual void ToPixels(const uint32_t* src, uint32_t* out) const = 0;
};

struct Passes {
  // The pass for rows of sourceWidth pixels (the source rectangle's); it may keep a reference to weights.
  std::unique_ptr<HorizontalPass> (*horizontal)(const AxisWeights& weights, int32_t sourceWidth);
  // count intermediate rows, weighted, into width opaque pixels.
  void (*vertical)(const int16_t* const* rows, const int16_t* weights, int32_t count, int32_t width,
                   uint32_t* out);
};

const Passes& Sse2Passes();
// The SSE2 horizontal pass, which reads any weights; the AVX2 passes fall back on it for the narrowest rows.
std::unique_ptr<HorizontalPass> Sse2Horizontal(const AxisWeights& weights, int32_t sourceWidth);
const Passes& Avx2Passes();
bool CpuHasAvx2();

}  // namespace imaging::resample
