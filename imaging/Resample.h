#pragma once
// The Lanczos-3 resampler: a source rectangle drawn opaque into a destination rectangle, clipped.
// Separable: a horizontal pass over the source rows that the vertical pass needs, then the vertical pass; an
// axis whose size does not change is not filtered (at scale 1 the kernel is the identity).
#include <cstdint>
#include <vector>

#include "imaging/Bitmap32.h"
#include "imaging/RowStream.h"

namespace imaging {

// The Lanczos window of radius 3: sinc(x) sinc(x / 3) for |x| < 3, else 0.
double Lanczos3(double x);

// Weights are 16-bit fixed point with kWeightBits fraction bits: 1.0 is 16384, and the largest normalised
// Lanczos-3 weight (about 1.3, at a clipped edge) still fits a signed 16-bit lane.
constexpr int kWeightBits = 14;

// The filter of one axis, for the outputs of a clipped range: output j reads count[j] source positions from
// first[j] (relative to the source rectangle) with the weights at weights[j * taps], which sum to exactly
// 1 << kWeightBits.
struct AxisWeights {
  int32_t taps = 0;
  std::vector<int32_t> first;
  std::vector<int32_t> count;
  std::vector<int16_t> weights;

  int32_t Outputs() const { return static_cast<int32_t>(first.size()); }
};

// Maps inSize positions onto outSize, for the outputs [outBegin, outEnd) of them. The kernel is widened by the
// scale when shrinking, so that each output averages all the inputs it covers.
AxisWeights ComputeAxisWeights(int32_t inSize, int64_t outSize, int64_t outBegin, int64_t outEnd);

// The StretchTransfer of the raster library with its Lanczos filter and opaque draw mode: resamples srcRect of
// src onto dstRect of dst, writing only the pixels inside clipRect and dst, each with alpha 255. srcRect must
// lie inside src, and src and dst must be different rasters (std::invalid_argument otherwise).
void StretchTransfer(Bitmap32& dst, const Rect& dstRect, const Rect& clipRect, const Bitmap32& src,
                     const Rect& srcRect);
// The same from rows read top to bottom, each source row at most once: the source need never be in memory
// whole. Throws what reading the rows throws; dst may then be partly written.
void StretchTransfer(Bitmap32& dst, const Rect& dstRect, const Rect& clipRect, RowStream& src,
                     const Rect& srcRect);

}  // namespace imaging
