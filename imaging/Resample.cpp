#include "imaging/Resample.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "imaging/ResamplePasses.h"

namespace imaging {
namespace {

constexpr int32_t kOne = 1 << kWeightBits;

// The weights and the intermediate rows of one resampling stay below this; beyond it (a picture millions of
// pixels long on one side, squeezed into a screen) the resampling fails instead of exhausting the process.
constexpr uint64_t kMaxWorkBytes = uint64_t{256} << 20;

void CheckWork(uint64_t bytes) {
  if (bytes > kMaxWorkBytes) throw std::length_error("The picture is too long to resample");
}

// Rounds the normalised weights of one output to fixed point, then puts the rounding error on the largest
// weight so that the fixed-point weights sum to exactly one: a flat area stays flat.
void Quantise(const std::vector<double>& exact, int16_t* out) {
  int32_t sum = 0;
  size_t largest = 0;
  for (size_t i = 0; i < exact.size(); ++i) {
    out[i] = static_cast<int16_t>(std::lround(exact[i] * kOne));
    sum += out[i];
    if (exact[i] > exact[largest]) largest = i;
  }
  out[largest] = static_cast<int16_t>(out[largest] + (kOne - sum));
}

// Drops the zero weights at both ends of an output's window.
void Trim(AxisWeights& axis, size_t j) {
  int16_t* w = &axis.weights[j * static_cast<size_t>(axis.taps)];
  int32_t lead = 0;
  while (lead < axis.count[j] - 1 && w[lead] == 0) ++lead;
  int32_t count = axis.count[j] - lead;
  while (count > 1 && w[lead + count - 1] == 0) --count;
  std::copy(w + lead, w + lead + count, w);
  std::fill(w + count, w + axis.taps, int16_t{0});
  axis.first[j] += lead;
  axis.count[j] = count;
}

const resample::Passes& ActivePasses() {
  static const resample::Passes& passes = resample::CpuHasAvx2() ? resample::Avx2Passes() : resample::Sse2Passes();
  return passes;
}

// An unscaled axis: the pixels as they are, made opaque.
void CopyOpaqueRow(const uint32_t* src, int32_t width, uint32_t* out) {
  for (int32_t x = 0; x < width; ++x) out[x] = src[x] | 0xFF000000u;
}

// An unscaled horizontal axis ahead of the vertical pass: the pixels in the intermediate form.
void WidenRow(const uint32_t* src, int32_t width, int16_t* out) {
  for (int32_t x = 0; x < width; ++x)
    for (int c = 0; c < 4; ++c) *out++ = static_cast<int16_t>((src[x] >> (8 * c) & 0xFF) << resample::kIntermediateBits);
}

// One transfer: the source rectangle, the destination pixels to write and the filters that map them.
class Transfer {
public:
  Transfer(Bitmap32& dst, const Rect& dstRect, const Rect& area, RowStream& src, const Rect& srcRect)
      : dst_(dst), area_(area), src_(src), srcRect_(srcRect), passes_(ActivePasses()),
        offsetX_(int64_t{area.left} - dstRect.left), offsetY_(int64_t{area.top} - dstRect.top),
        scaleX_(srcRect.Width() != dstRect.Width()), scaleY_(srcRect.Height() != dstRect.Height()) {
    if (scaleX_) {
      x_ = ComputeAxisWeights(Width(srcRect), dstRect.Width(), offsetX_, offsetX_ + area.Width());
      horizontal_ = passes_.horizontal(x_, Width(srcRect));
    }
    if (scaleY_) y_ = ComputeAxisWeights(Height(srcRect), dstRect.Height(), offsetY_, offsetY_ + area.Height());
  }

  void Run() {
    if (scaleY_)
      RunBothPasses();
    else
      RunHorizontalOnly();
  }

private:
  static int32_t Width(const Rect& r) { return static_cast<int32_t>(r.Width()); }
  static int32_t Height(const Rect& r) { return static_cast<int32_t>(r.Height()); }

  const uint32_t* SourceRow(int64_t y) { return src_.Row(srcRect_.top + static_cast<int32_t>(y)) + srcRect_.left; }
  uint32_t* TargetRow(int32_t j) { return dst_.Row(area_.top + j) + area_.left; }

  void RunHorizontalOnly() {
    for (int32_t j = 0; j < Height(area_); ++j) {
      if (scaleX_)
        horizontal_->ToPixels(SourceRow(offsetY_ + j), TargetRow(j));
      else
        CopyOpaqueRow(SourceRow(offsetY_ + j) + offsetX_, Width(area_), TargetRow(j));
    }
  }

  void Horizontal(int32_t y, int16_t* out) {
    if (scaleX_)
      horizontal_->ToIntermediate(SourceRow(y), out);
    else
      WidenRow(SourceRow(y) + offsetX_, Width(area_), out);
  }

  // How many intermediate rows must stay at hand: the rows from an output's first back to the furthest row
  // computed so far.
  int32_t RingRows() const {
    int32_t rows = 0, end = 0;
    for (int32_t j = 0; j < y_.Outputs(); ++j) {
      end = std::max(end, y_.first[j] + y_.count[j]);
      rows = std::max(rows, end - y_.first[j]);
    }
    return rows;
  }

  // The horizontal pass runs once for each source row that some output row reads, in order, into a ring of
  // intermediate rows; each output row then reads its rows from the ring.
  void RunBothPasses() {
    const int32_t ringRows = RingRows();
    const size_t rowLength = static_cast<size_t>(Width(area_)) * 4;
    CheckWork(uint64_t{static_cast<uint32_t>(ringRows)} * rowLength * sizeof(int16_t));
    std::vector<int16_t> ring(static_cast<size_t>(ringRows) * rowLength);
    std::vector<const int16_t*> rows(static_cast<size_t>(y_.taps));
    const auto slot = [&](int32_t y) { return ring.data() + static_cast<size_t>(y % ringRows) * rowLength; };
    int32_t next = 0;
    for (int32_t j = 0; j < y_.Outputs(); ++j) {
      const int32_t first = y_.first[j], count = y_.count[j];
      for (next = std::max(next, first); next < first + count; ++next) Horizontal(next, slot(next));
      for (int32_t k = 0; k < count; ++k) rows[k] = slot(first + k);
      passes_.vertical(rows.data(), &y_.weights[static_cast<size_t>(j) * y_.taps], count, Width(area_), TargetRow(j));
    }
  }

  Bitmap32& dst_;
  const Rect area_;
  RowStream& src_;
  const Rect srcRect_;
  const resample::Passes& passes_;
  const int64_t offsetX_, offsetY_;
  const bool scaleX_, scaleY_;
  AxisWeights x_, y_;
  std::unique_ptr<resample::HorizontalPass> horizontal_;  // reads x_
};

}  // namespace

double Lanczos3(double x) {
  x = std::fabs(x);
  if (x >= 3.0) return 0.0;
  if (x < 1e-12) return 1.0;
  const double px = std::numbers::pi * x;
  return 3.0 * std::sin(px) * std::sin(px / 3.0) / (px * px);
}

AxisWeights ComputeAxisWeights(int32_t inSize, int64_t outSize, int64_t outBegin, int64_t outEnd) {
  const double scale = static_cast<double>(inSize) / static_cast<double>(outSize);
  const double filterScale = std::max(1.0, scale);
  const double support = 3.0 * filterScale;
  AxisWeights axis;
  // The widest window, rounded up to even so that the vertical pass can read its weights in pairs.
  const int64_t window = std::min<int64_t>(inSize, static_cast<int64_t>(std::ceil(support)) * 2 + 1);
  axis.taps = static_cast<int32_t>((window + 1) & ~int64_t{1});
  const size_t outputs = static_cast<size_t>(outEnd - outBegin);
  CheckWork(outputs * (static_cast<uint64_t>(axis.taps) * sizeof(int16_t) + 2 * sizeof(int32_t)));
  axis.first.resize(outputs);
  axis.count.resize(outputs);
  axis.weights.assign(outputs * static_cast<size_t>(axis.taps), 0);
  std::vector<double> exact;
  for (size_t j = 0; j < outputs; ++j) {
    const double center = (static_cast<double>(outBegin) + static_cast<double>(j) + 0.5) * scale;
    const int32_t begin = static_cast<int32_t>(std::max(0.0, std::floor(center - support + 0.5)));
    const int32_t end = static_cast<int32_t>(std::min<double>(inSize, std::floor(center + support + 0.5)));
    exact.assign(static_cast<size_t>(end - begin), 0.0);
    double sum = 0.0;
    for (int32_t i = begin; i < end; ++i) sum += exact[i - begin] = Lanczos3((i + 0.5 - center) / filterScale);
    for (double& w : exact) w /= sum;
    axis.first[j] = begin;
    axis.count[j] = end - begin;
    Quantise(exact, &axis.weights[j * static_cast<size_t>(axis.taps)]);
    Trim(axis, j);
  }
  return axis;
}

void StretchTransfer(Bitmap32& dst, const Rect& dstRect, const Rect& clipRect, const Bitmap32& src,
                     const Rect& srcRect) {
  if (&dst == &src) throw std::invalid_argument("A raster cannot be resampled onto itself");
  RasterRows rows(src);
  StretchTransfer(dst, dstRect, clipRect, rows, srcRect);
}

void StretchTransfer(Bitmap32& dst, const Rect& dstRect, const Rect& clipRect, RowStream& src,
                     const Rect& srcRect) {
  if (srcRect.IsEmpty() || dstRect.IsEmpty()) return;
  if (Intersect(srcRect, Rect{0, 0, src.Width(), src.Height()}) != srcRect)
    throw std::invalid_argument("The source rectangle lies outside the source raster");
  const Rect area = Intersect(Intersect(dstRect, clipRect), dst.BoundsRect());
  if (area.IsEmpty()) return;
  Transfer(dst, dstRect, area, src, srcRect).Run();
}

}  // namespace imaging
