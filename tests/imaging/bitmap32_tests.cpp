#include <gtest/gtest.h>

#include <stdexcept>

#include "imaging/Bitmap32.h"

namespace imaging {
namespace {

// Pixels in memory of its own with rows wider than the raster, as a DIB section or a view might have them;
// the padding must never be written.
class PaddedStore final : public PixelStore {
public:
  static constexpr uint32_t kPadding = 0xDEADBEEF;
  PixelMemory Allocate(int32_t width, int32_t height) override {
    stride_ = width + 3;
    pixels_.assign(static_cast<size_t>(stride_) * height, kPadding);
    for (int32_t y = 0; y < height; ++y) std::fill_n(pixels_.begin() + y * stride_, width, 0u);
    return {pixels_.data(), stride_};
  }
  void Release() override { pixels_.clear(); }
  bool PaddingIntact(int32_t width) const {
    for (size_t i = 0; i < pixels_.size(); ++i)
      if (static_cast<int32_t>(i % stride_) >= width && pixels_[i] != kPadding) return false;
    return true;
  }

private:
  std::vector<uint32_t> pixels_;
  ptrdiff_t stride_ = 0;
};

TEST(Bitmap32, SizeStartsTransparentBlackAndRejectsBadSizes) {
  Bitmap32 raster;
  EXPECT_TRUE(raster.IsEmpty());
  raster.SetSize(3, 2);
  EXPECT_EQ(raster.Width(), 3);
  EXPECT_EQ(raster.Height(), 2);
  EXPECT_EQ(raster.Pixel(2, 1), 0u);
  raster.FillRectS(raster.BoundsRect(), 0xFF112233);
  raster.SetSize(4, 4);
  EXPECT_EQ(raster.Pixel(3, 3), 0u);
  raster.SetSize(0, 5);
  EXPECT_TRUE(raster.IsEmpty());
  EXPECT_THROW(raster.SetSize(-1, 5), std::invalid_argument);
  EXPECT_THROW(raster.SetSize(65536, 65536), std::length_error);  // 2^32 pixels: must not wrap to 0
  EXPECT_THROW(raster.SetSize(static_cast<int32_t>(kMaxPixels) + 1, 1), std::length_error);
}

TEST(Bitmap32, FillRectSIsClippedAndExclusive) {
  Bitmap32 raster;
  raster.SetSize(5, 4);
  raster.FillRectS({-3, -3, 2, 2}, 0xFF0000FF);    // top-left corner, partly outside
  raster.FillRectS({3, 2, 100, 100}, 0xFF00FF00);  // bottom-right, partly outside
  raster.FillRectS({10, 10, 20, 20}, 0xFFFFFFFF);  // wholly outside
  raster.FillRectS({4, 0, 2, 3}, 0xFFFFFFFF);      // inverted: empty
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 5; ++x) {
      const uint32_t expected = x < 2 && y < 2 ? 0xFF0000FF : x >= 3 && y >= 2 ? 0xFF00FF00 : 0u;
      EXPECT_EQ(raster.Pixel(x, y), expected) << x << "," << y;
    }
}

TEST(Bitmap32, ExternalStoreWithWideRows) {
  auto store = std::make_unique<PaddedStore>();
  const PaddedStore& memory = *store;
  Bitmap32 raster(std::move(store));
  raster.SetSize(4, 3);
  EXPECT_EQ(raster.Stride(), 7);
  raster.FillRectS({-1, -1, 9, 9}, 0xFF808080);
  Bitmap32 source;
  source.SetSize(4, 3);
  source.FillRectS({1, 1, 3, 2}, 0x12345678);
  raster.Assign(source);
  EXPECT_TRUE(memory.PaddingIntact(4));
  EXPECT_EQ(raster.Pixel(1, 1), 0x12345678u);
  EXPECT_EQ(raster.Pixel(0, 0), 0u);

  // A decoded picture handed over is copied row by row into the store's own memory.
  Image image = AllocateImage(5, 2, 32);
  image.Row(1)[4] = 0x01020304;
  raster.Assign(std::move(image));
  EXPECT_EQ(raster.Width(), 5);
  EXPECT_EQ(raster.Pixel(4, 1), 0x01020304u);
  EXPECT_EQ(raster.Pixel(0, 0), 0xFF000000u);
  EXPECT_TRUE(memory.PaddingIntact(5));
  EXPECT_THROW(Bitmap32(nullptr), std::invalid_argument);
}

TEST(Bitmap32, AssignCopiesExactlyAndIndependently) {
  Bitmap32 a;
  a.SetSize(3, 2);
  a.FillRectS({0, 0, 3, 1}, 0x80FF0000);  // alpha kept as it is
  Bitmap32 b;
  b.SetSize(7, 7);
  b.Assign(a);
  ASSERT_EQ(b.Width(), 3);
  ASSERT_EQ(b.Height(), 2);
  a.FillRectS(a.BoundsRect(), 0);
  EXPECT_EQ(b.Pixel(2, 0), 0x80FF0000u);
  EXPECT_EQ(b.Pixel(2, 1), 0u);
  b.Assign(b);
  EXPECT_EQ(b.Pixel(2, 0), 0x80FF0000u);

  Image image = AllocateImage(2, 3, 24);
  image.Row(2)[1] = 0x7F010203;
  b.Assign(image);
  EXPECT_EQ(b.Width(), 2);
  EXPECT_EQ(b.Height(), 3);
  EXPECT_EQ(b.Pixel(1, 2), 0x7F010203u);
  EXPECT_EQ(b.Pixel(0, 0), 0xFF000000u);

  // On the heap, a picture handed over keeps its pixels where they are.
  const uint32_t* decoded = image.pixels.data();
  b.Assign(std::move(image));
  EXPECT_EQ(b.Row(0), decoded);
  EXPECT_EQ(b.Pixel(1, 2), 0x7F010203u);

  Image mismatched = AllocateImage(2, 2, 32);
  mismatched.pixels.pop_back();
  EXPECT_THROW(b.Assign(mismatched), std::invalid_argument);
  EXPECT_THROW(b.Assign(std::move(mismatched)), std::invalid_argument);
}

TEST(Bitmap32, MoveLeavesTheSourceEmptyAndUsable) {
  Bitmap32 a;
  a.SetSize(2, 2);
  a.FillRectS(a.BoundsRect(), 0xFF00FF00);
  Bitmap32 b(std::move(a));
  EXPECT_EQ(b.Pixel(1, 1), 0xFF00FF00u);
  EXPECT_TRUE(a.IsEmpty());  // NOLINT(bugprone-use-after-move): the moved-from state is defined
  a.SetSize(1, 1);
  EXPECT_EQ(a.Pixel(0, 0), 0u);
  a = std::move(b);
  EXPECT_EQ(a.Pixel(1, 1), 0xFF00FF00u);
}

TEST(Bitmap32, ColorRefBecomesOpaqueColor32) {
  EXPECT_EQ(Color32FromColorRef(0x008000), 0xFF008000u);
  EXPECT_EQ(Color32FromColorRef(0x0000FF), 0xFFFF0000u);  // red is the low byte of a colour value
  EXPECT_EQ(Color32FromColorRef(0xFF0000), 0xFF0000FFu);
}

}  // namespace
}  // namespace imaging
