#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <stdexcept>

#include "imaging/Resample.h"

namespace imaging {
namespace {

Bitmap32 RandomRaster(int32_t width, int32_t height, uint32_t seed) {
  std::mt19937 random(seed);
  Bitmap32 raster;
  raster.SetSize(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) raster.Row(y)[x] = static_cast<uint32_t>(random());
  return raster;
}

Bitmap32 Resampled(const Bitmap32& src, int32_t width, int32_t height) {
  Bitmap32 dst;
  dst.SetSize(width, height);
  StretchTransfer(dst, dst.BoundsRect(), dst.BoundsRect(), src, src.BoundsRect());
  return dst;
}

// The same kernel in double precision, written out independently: for each output, every input weighted by
// the Lanczos-3 window (widened by the scale when shrinking), normalised; no rounding until the end.
std::vector<std::vector<double>> ReferenceWeights(int32_t in, int32_t out) {
  const double scale = static_cast<double>(in) / out, widen = std::max(1.0, scale);
  const auto lanczos = [](double x) {
    if (std::fabs(x) >= 3) return 0.0;
    if (x == 0) return 1.0;
    const double px = std::numbers::pi * x;
    return std::sin(px) / px * std::sin(px / 3) / (px / 3);
  };
  std::vector<std::vector<double>> weights(out, std::vector<double>(in));
  for (int32_t j = 0; j < out; ++j) {
    double sum = 0;
    for (int32_t i = 0; i < in; ++i) sum += weights[j][i] = lanczos((i + 0.5 - (j + 0.5) * scale) / widen);
    for (double& w : weights[j]) w /= sum;
  }
  return weights;
}

// The largest difference of any colour channel between the resampler and the reference; alpha must be 255.
int MaxReferenceError(const Bitmap32& src, int32_t width, int32_t height) {
  const Bitmap32 dst = Resampled(src, width, height);
  const auto wx = ReferenceWeights(src.Width(), width), wy = ReferenceWeights(src.Height(), height);
  int worst = 0;
  for (int c = 0; c < 3; ++c) {
    std::vector<double> rows(static_cast<size_t>(src.Height()) * width);
    for (int32_t y = 0; y < src.Height(); ++y)
      for (int32_t j = 0; j < width; ++j)
        for (int32_t i = 0; i < src.Width(); ++i) rows[y * width + j] += wx[j][i] * (src.Pixel(i, y) >> (8 * c) & 0xFF);
    for (int32_t k = 0; k < height; ++k)
      for (int32_t j = 0; j < width; ++j) {
        double value = 0;
        for (int32_t y = 0; y < src.Height(); ++y) value += wy[k][y] * rows[y * width + j];
        const int expected = static_cast<int>(std::lround(std::clamp(value, 0.0, 255.0)));
        worst = std::max(worst, std::abs(expected - static_cast<int>(dst.Pixel(j, k) >> (8 * c) & 0xFF)));
        EXPECT_EQ(dst.Pixel(j, k) >> 24, 255u);
      }
  }
  return worst;
}

TEST(Resample, MatchesDoublePrecisionReference) {
  struct Case { int32_t sw, sh, dw, dh; };
  for (const Case& c : {Case{97, 61, 31, 19}, Case{40, 30, 173, 111}, Case{1, 1, 5, 5}, Case{60, 45, 20, 90},
                        Case{64, 40, 64, 17}, Case{33, 20, 70, 20}, Case{300, 8, 7, 3}}) {
    const Bitmap32 src = RandomRaster(c.sw, c.sh, static_cast<uint32_t>(c.sw * 7 + c.dh));
    EXPECT_LE(MaxReferenceError(src, c.dw, c.dh), 2) << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh;
  }
}

// Every width from 1 to 9 on both sides, so that each leftover path of the vector loops is taken.
TEST(Resample, SmallSizesMatchReference) {
  for (int32_t in = 1; in <= 9; ++in)
    for (int32_t out = 1; out <= 9; ++out) {
      const Bitmap32 src = RandomRaster(in, 10 - in, static_cast<uint32_t>(in * 10 + out));
      EXPECT_LE(MaxReferenceError(src, out, out + 1), 2) << in << " -> " << out;
    }
}

TEST(Resample, ConstantPictureStaysConstant) {
  struct Case { int32_t sw, sh, dw, dh; };
  for (const Case& c : {Case{97, 61, 31, 19}, Case{7, 5, 40, 33}, Case{50, 20, 20, 50}, Case{1, 1, 5, 5},
                        Case{1, 40, 7, 3}, Case{40, 1, 3, 9}, Case{9, 9, 1, 1}, Case{500, 3, 2, 300}}) {
    for (const uint32_t color : {0x80C03F12u, 0xFFFFFFFFu, 0x00000000u}) {
      Bitmap32 src;
      src.SetSize(c.sw, c.sh);
      src.FillRectS(src.BoundsRect(), color);
      const Bitmap32 dst = Resampled(src, c.dw, c.dh);
      for (int32_t y = 0; y < c.dh; ++y)
        for (int32_t x = 0; x < c.dw; ++x)
          ASSERT_EQ(dst.Pixel(x, y), color | 0xFF000000u) << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh;
    }
  }
}

TEST(Resample, MeanIsPreserved) {
  const Bitmap32 src = RandomRaster(150, 90, 5);
  for (const auto& [w, h] : {std::pair{50, 30}, std::pair{401, 233}}) {
    const Bitmap32 dst = Resampled(src, w, h);
    for (int c = 0; c < 3; ++c) {
      const auto mean = [c](const Bitmap32& r) {
        double sum = 0;
        for (int32_t y = 0; y < r.Height(); ++y)
          for (int32_t x = 0; x < r.Width(); ++x) sum += r.Pixel(x, y) >> (8 * c) & 0xFF;
        return sum / (static_cast<double>(r.Width()) * r.Height());
      };
      EXPECT_NEAR(mean(dst), mean(src), 0.5) << w << "x" << h << " channel " << c;
    }
  }
}

TEST(Resample, SameSizeIsAnExactOpaqueCopy) {
  const Bitmap32 src = RandomRaster(37, 23, 9);
  const Bitmap32 dst = Resampled(src, 37, 23);
  for (int32_t y = 0; y < 23; ++y)
    for (int32_t x = 0; x < 37; ++x) ASSERT_EQ(dst.Pixel(x, y), src.Pixel(x, y) | 0xFF000000u);
}

// An unchanged axis is skipped; filtering it would be the identity, so skipping cannot change the result.
TEST(Resample, ScaleOneWeightsAreTheIdentity) {
  for (const int32_t size : {1, 2, 7, 1920}) {
    const AxisWeights axis = ComputeAxisWeights(size, size, 0, size);
    for (int32_t j = 0; j < size; ++j) {
      ASSERT_EQ(axis.first[j], j);
      ASSERT_EQ(axis.count[j], 1);
      ASSERT_EQ(axis.weights[static_cast<size_t>(j) * axis.taps], 1 << kWeightBits);
    }
  }
}

TEST(Resample, WeightsSumExactlyToOne) {
  for (const auto& [in, out] : {std::pair{6000, 1920}, std::pair{1200, 1920}, std::pair{3, 1000}, std::pair{1000, 3},
                                std::pair{97, 31}}) {
    const AxisWeights axis = ComputeAxisWeights(in, out, 0, out);
    for (int32_t j = 0; j < out; ++j) {
      int32_t sum = 0;
      for (int32_t k = 0; k < axis.taps; ++k) sum += axis.weights[static_cast<size_t>(j) * axis.taps + k];
      ASSERT_EQ(sum, 1 << kWeightBits) << in << " -> " << out << " at " << j;
      ASSERT_GE(axis.first[j], 0);
      ASSERT_LE(axis.first[j] + axis.count[j], in);
    }
  }
}

TEST(Resample, ClipAndRectanglesSelectTheSamePixels) {
  const Bitmap32 src = RandomRaster(60, 40, 11);
  const Bitmap32 whole = Resampled(src, 25, 17);
  Bitmap32 dst;
  dst.SetSize(30, 20);
  dst.FillRectS(dst.BoundsRect(), 0x12345678);
  const Rect dstRect{3, 2, 28, 19}, clip{-5, 6, 12, 100};
  StretchTransfer(dst, dstRect, clip, src, src.BoundsRect());
  for (int32_t y = 0; y < 20; ++y)
    for (int32_t x = 0; x < 30; ++x) {
      const bool inside = x >= 3 && x < 12 && y >= 6 && y < 19;
      ASSERT_EQ(dst.Pixel(x, y), inside ? whole.Pixel(x - 3, y - 2) : 0x12345678u) << x << "," << y;
    }

  // A source rectangle is resampled as if it were the whole picture.
  Bitmap32 part;
  part.SetSize(20, 10);
  for (int32_t y = 0; y < 10; ++y)
    for (int32_t x = 0; x < 20; ++x) part.Row(y)[x] = src.Pixel(x + 30, y + 15);
  const Bitmap32 expected = Resampled(part, 9, 13);
  Bitmap32 got;
  got.SetSize(9, 13);
  StretchTransfer(got, got.BoundsRect(), got.BoundsRect(), src, {30, 15, 50, 25});
  for (int32_t y = 0; y < 13; ++y)
    for (int32_t x = 0; x < 9; ++x) ASSERT_EQ(got.Pixel(x, y), expected.Pixel(x, y));
}

TEST(Resample, RejectsBadRectanglesAndDrawsNothingWhenEmpty) {
  const Bitmap32 src = RandomRaster(8, 8, 3);
  Bitmap32 dst;
  dst.SetSize(4, 4);
  EXPECT_THROW(StretchTransfer(dst, dst.BoundsRect(), dst.BoundsRect(), src, {-1, 0, 8, 8}), std::invalid_argument);
  EXPECT_THROW(StretchTransfer(dst, dst.BoundsRect(), dst.BoundsRect(), src, {0, 0, 9, 8}), std::invalid_argument);
  EXPECT_THROW(StretchTransfer(dst, dst.BoundsRect(), dst.BoundsRect(), dst, dst.BoundsRect()), std::invalid_argument);
  StretchTransfer(dst, {0, 0, 0, 4}, dst.BoundsRect(), src, src.BoundsRect());
  StretchTransfer(dst, dst.BoundsRect(), {4, 4, 9, 9}, src, src.BoundsRect());
  StretchTransfer(dst, dst.BoundsRect(), dst.BoundsRect(), src, {3, 3, 3, 8});
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(dst.Pixel(x, y), 0u);
}

// A raster read as a stream that records the rows asked for and, like a decoder, cannot go back.
class WatchedRows final : public RowStream {
public:
  explicit WatchedRows(const Bitmap32& raster, int32_t failAt = -1) : raster_(raster), failAt_(failAt) {}
  int32_t Width() const override { return raster_.Width(); }
  int32_t Height() const override { return raster_.Height(); }
  const uint32_t* Row(int32_t y) override {
    if (!asked.empty() && y < asked.back()) throw std::out_of_range("a row above one already read");
    if (y == failAt_) throw std::runtime_error("the data ends here");
    asked.push_back(y);
    return raster_.Row(y);
  }
  std::vector<int32_t> asked;

private:
  const Bitmap32& raster_;
  const int32_t failAt_;
};

// Each source row is read at most once, top to bottom, and the pixels are those of the raster in memory.
TEST(ResampleFromRows, ReadsEachRowOnceInOrderAndMatchesTheRaster) {
  const Bitmap32 src = RandomRaster(60, 47, 5);
  struct Case {
    Rect dstRect, clip, srcRect;
  };
  for (const Case& c : {Case{{0, 0, 19, 13}, {0, 0, 19, 13}, {0, 0, 60, 47}},      // shrunk on both axes
                        Case{{0, 0, 150, 90}, {0, 0, 150, 90}, {0, 0, 60, 47}},    // enlarged
                        Case{{0, 0, 25, 47}, {0, 0, 25, 47}, {0, 0, 60, 47}},      // one axis only
                        Case{{0, 0, 19, 13}, {0, 4, 19, 9}, {5, 10, 50, 40}}}) {  // clipped, part of the source
    Bitmap32 expected, got;
    expected.SetSize(c.dstRect.right, c.dstRect.bottom);
    got.SetSize(c.dstRect.right, c.dstRect.bottom);
    StretchTransfer(expected, c.dstRect, c.clip, src, c.srcRect);
    WatchedRows rows(src);
    StretchTransfer(got, c.dstRect, c.clip, rows, c.srcRect);
    for (int32_t y = 0; y < got.Height(); ++y)
      for (int32_t x = 0; x < got.Width(); ++x) ASSERT_EQ(got.Pixel(x, y), expected.Pixel(x, y)) << x << "," << y;
    ASSERT_FALSE(rows.asked.empty());
    EXPECT_TRUE(std::adjacent_find(rows.asked.begin(), rows.asked.end(), std::greater_equal<>()) == rows.asked.end());
    EXPECT_GE(rows.asked.front(), c.srcRect.top);
    EXPECT_LT(rows.asked.back(), c.srcRect.bottom);
  }
  // Rows that no written pixel needs are not read: a clip of the top rows reads only the source's top.
  WatchedRows rows(src);
  Bitmap32 dst;
  dst.SetSize(19, 13);
  StretchTransfer(dst, dst.BoundsRect(), {0, 0, 19, 2}, rows, src.BoundsRect());
  EXPECT_LT(rows.asked.back(), 20);
}

TEST(ResampleFromRows, AFailingRowStopsTheTransfer) {
  const Bitmap32 src = RandomRaster(40, 30, 9);
  Bitmap32 dst;
  dst.SetSize(10, 10);
  WatchedRows rows(src, 17);
  EXPECT_THROW(StretchTransfer(dst, dst.BoundsRect(), dst.BoundsRect(), rows, src.BoundsRect()), std::runtime_error);
}

}  // namespace
}  // namespace imaging
