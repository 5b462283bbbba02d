#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "imaging/BmpWriter.h"

namespace imaging {
namespace {

std::vector<uint8_t> Encode(const Bitmap32& raster) {
  std::vector<uint8_t> file;
  WriteBmp32(raster, [&file](std::span<const uint8_t> bytes) { file.insert(file.end(), bytes.begin(), bytes.end()); });
  return file;
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint32_t U16(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8; }

TEST(BmpWriter, HeadersOfA32BitBottomUpBitmap) {
  Bitmap32 raster;
  raster.SetSize(3, 2);
  const std::vector<uint8_t> file = Encode(raster);
  ASSERT_EQ(file.size(), 54u + 3 * 2 * 4);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(U32(file, 2), file.size());  // bfSize
  EXPECT_EQ(U32(file, 6), 0u);           // reserved
  EXPECT_EQ(U32(file, 10), 54u);         // bfOffBits
  EXPECT_EQ(U32(file, 14), 40u);         // biSize
  EXPECT_EQ(U32(file, 18), 3u);          // biWidth
  EXPECT_EQ(U32(file, 22), 2u);          // biHeight, positive
  EXPECT_EQ(U16(file, 26), 1u);          // biPlanes
  EXPECT_EQ(U16(file, 28), 32u);         // biBitCount
  EXPECT_EQ(U32(file, 30), 0u);          // BI_RGB
  EXPECT_EQ(U32(file, 34), 24u);         // biSizeImage
  for (size_t at = 38; at < 54; at += 4) EXPECT_EQ(U32(file, at), 0u) << at;  // resolution, colour counts
}

TEST(BmpWriter, RowsBottomUpPixelsBgra) {
  Bitmap32 raster;
  raster.SetSize(2, 2);
  raster.FillRectS({0, 0, 1, 1}, 0x11223344);  // top left
  raster.FillRectS({1, 1, 2, 2}, 0xAABBCCDD);  // bottom right
  const std::vector<uint8_t> file = Encode(raster);
  const std::vector<uint8_t> pixels(file.begin() + 54, file.end());
  EXPECT_EQ(pixels, (std::vector<uint8_t>{0, 0, 0, 0, 0xDD, 0xCC, 0xBB, 0xAA,  // bottom row first
                                          0x44, 0x33, 0x22, 0x11, 0, 0, 0, 0}));
}

// Rows laid out bottom-up, as in a bottom-up DIB section, padded by the given number of pixels.
class BottomUpStore final : public PixelStore {
public:
  explicit BottomUpStore(int32_t padding) : padding_(padding) {}
  PixelMemory Allocate(int32_t width, int32_t height) override {
    const ptrdiff_t stride = width + padding_;
    pixels_.assign(static_cast<size_t>(stride * height), 0xEEEEEEEEu);
    return {pixels_.data() + (height - 1) * stride, -stride};
  }
  void Release() override { pixels_.clear(); }

private:
  int32_t padding_;
  std::vector<uint32_t> pixels_;
};

TEST(BmpWriter, EveryRowLayoutGivesTheSameFile) {
  std::vector<std::vector<uint8_t>> files;
  for (int32_t layout = 0; layout < 3; ++layout) {
    Bitmap32 raster = layout == 0 ? Bitmap32() : Bitmap32(std::make_unique<BottomUpStore>(layout - 1));
    raster.SetSize(5, 3);
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t x = 0; x < 5; ++x) raster.Row(y)[x] = Argb(x * 40, y * 90, 7, 200);
    files.push_back(Encode(raster));
  }
  EXPECT_EQ(files[1], files[0]) << "bottom-up rows without gaps";
  EXPECT_EQ(files[2], files[0]) << "bottom-up rows with padding";
  EXPECT_EQ(U32(files[0], 54), Argb(0, 180, 7, 200)) << "the bottom row comes first";
}

TEST(BmpWriter, EmptyRasterAndFailingSink) {
  Bitmap32 raster;
  EXPECT_THROW(Encode(raster), std::invalid_argument);
  raster.SetSize(1, 1);
  EXPECT_THROW(WriteBmp32(raster, [](std::span<const uint8_t>) { throw std::runtime_error("disk full"); }),
               std::runtime_error);
}

}  // namespace
}  // namespace imaging
