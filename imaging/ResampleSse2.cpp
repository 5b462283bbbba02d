#include "imaging/ResampleSse2.h"

namespace imaging::resample {
namespace {

using namespace sse2;

const int16_t* WeightsOf(const AxisWeights& axis, int32_t j) {
  return &axis.weights[static_cast<size_t>(j) * axis.taps];
}

void Horizontal(const uint32_t* src, const AxisWeights& axis, int16_t* out) {
  for (int32_t j = 0; j < axis.Outputs(); ++j, out += 4)
    StoreIntermediate(HorizontalSum(src + axis.first[j], WeightsOf(axis, j), axis.count[j]), out);
}

void HorizontalToPixels(const uint32_t* src, const AxisWeights& axis, uint32_t* out) {
  for (int32_t j = 0; j < axis.Outputs(); ++j)
    out[j] = OpaquePixel(HorizontalSum(src + axis.first[j], WeightsOf(axis, j), axis.count[j]), kWeightBits);
}

void Vertical(const int16_t* const* rows, const int16_t* weights, int32_t count, int32_t width, uint32_t* out) {
  VerticalFrom(rows, weights, count, 0, width, out);
}

}  // namespace

const Passes& Sse2Passes() {
  static const Passes passes{Horizontal, HorizontalToPixels, Vertical};
  return passes;
}

}  // namespace imaging::resample
