#include "imaging/ResampleSse2.h"

namespace imaging::resample {
namespace {

using namespace sse2;

const int16_t* WeightsOf(const AxisWeights& axis, int32_t j) {
  return &axis.weights[static_cast<size_t>(j) * axis.taps];
}

class Horizontal final : public HorizontalPass {
public:
  explicit Horizontal(const AxisWeights& axis) : axis_(axis) {}

  void ToIntermediate(const uint32_t* src, int16_t* out) const override {
    for (int32_t j = 0; j < axis_.Outputs(); ++j, out += 4)
      StoreIntermediate(HorizontalSum(src + axis_.first[j], WeightsOf(axis_, j), axis_.count[j]), out);
  }

  void ToPixels(const uint32_t* src, uint32_t* out) const override {
    for (int32_t j = 0; j < axis_.Outputs(); ++j)
      out[j] = OpaquePixel(HorizontalSum(src + axis_.first[j], WeightsOf(axis_, j), axis_.count[j]), kWeightBits);
  }

private:
  const AxisWeights& axis_;
};

void Vertical(const int16_t* const* rows, const int16_t* weights, int32_t count, int32_t width, uint32_t* out) {
  VerticalFrom(rows, weights, count, 0, width, out);
}

}  // namespace

std::unique_ptr<HorizontalPass> Sse2Horizontal(const AxisWeights& weights, int32_t) {
  return std::make_unique<Horizontal>(weights);
}

const Passes& Sse2Passes() {
  static const Passes passes{Sse2Horizontal, Vertical};
  return passes;
}

}  // namespace imaging::resample
