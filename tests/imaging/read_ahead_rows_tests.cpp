// The read-ahead stream gives its source's rows, as the source gives them, from another thread.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "imaging/Image.h"
#include "imaging/ReadAheadRows.h"

namespace imaging {
namespace {

// Rows whose pixels tell their place; rows from failAt on cannot be read.
class NumberedRows final : public RowStream {
public:
  NumberedRows(int32_t width, int32_t height, int32_t failAt = -1)
      : width_(width), height_(height), failAt_(failAt), row_(static_cast<size_t>(width)) {}
  int32_t Width() const override { return width_; }
  int32_t Height() const override { return height_; }
  const uint32_t* Row(int32_t y) override {
    if (y == failAt_) throw DecodeError("row " + std::to_string(y) + " is damaged");
    for (int32_t x = 0; x < width_; ++x) row_[x] = Pixel(x, y);
    return row_.data();
  }
  static uint32_t Pixel(int32_t x, int32_t y) { return static_cast<uint32_t>(y) << 16 | static_cast<uint32_t>(x); }

private:
  int32_t width_, height_, failAt_;
  std::vector<uint32_t> row_;
};

bool IsRow(const uint32_t* row, int32_t width, int32_t y) {
  for (int32_t x = 0; x < width; ++x)
    if (row[x] != NumberedRows::Pixel(x, y)) return false;
  return true;
}

TEST(ReadAheadRows, GiveEveryRowOfTheSourceWhateverItsHeight) {
  for (const int32_t height : {1, 15, 16, 17, 40, 64, 65, 300}) {
    ReadAheadRows rows(std::make_unique<NumberedRows>(7, height));
    ASSERT_EQ(rows.Width(), 7);
    ASSERT_EQ(rows.Height(), height);
    for (int32_t y = 0; y < height; ++y) ASSERT_TRUE(IsRow(rows.Row(y), 7, y)) << height << " rows, row " << y;
  }
}

TEST(ReadAheadRows, SkipForwardButNeverBack) {
  ReadAheadRows rows(std::make_unique<NumberedRows>(5, 500));
  for (const int32_t y : {0, 0, 3, 90, 91, 200, 499}) EXPECT_TRUE(IsRow(rows.Row(y), 5, y)) << y;
  EXPECT_THROW(rows.Row(498), std::out_of_range);
  EXPECT_THROW(rows.Row(500), std::out_of_range);
}

// The rows before the batch in which the source failed still come; from there on, the failure.
TEST(ReadAheadRows, ASourceFailureComesAtTheRowsOfItsBatch) {
  ReadAheadRows rows(std::make_unique<NumberedRows>(3, 200, 70));
  for (int32_t y = 0; y < 64; ++y) ASSERT_TRUE(IsRow(rows.Row(y), 3, y)) << y;
  EXPECT_THROW(rows.Row(64), DecodeError);
  EXPECT_THROW(rows.Row(64), DecodeError);
  EXPECT_THROW(rows.Row(150), DecodeError);

  ReadAheadRows first(std::make_unique<NumberedRows>(3, 200, 0));
  EXPECT_THROW(first.Row(0), DecodeError);
}

TEST(ReadAheadRows, EndsWhileTheSourceIsStillBeingRead) {
  for (int i = 0; i < 20; ++i) {
    ReadAheadRows rows(std::make_unique<NumberedRows>(1000, 5000));
    ASSERT_TRUE(IsRow(rows.Row(i), 1000, i));
  }
  ReadAheadRows unread(std::make_unique<NumberedRows>(1000, 5000));
}

}  // namespace
}  // namespace imaging
