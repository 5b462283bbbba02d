#include <gtest/gtest.h>

#include "imaging/Image.h"

namespace imaging {
namespace {

TEST(ImageLimits, RejectsEmptyAndOversizedPictures) {
  EXPECT_THROW(CheckDimensions(0, 10), DecodeError);
  EXPECT_THROW(CheckDimensions(10, 0), DecodeError);
  EXPECT_THROW(CheckDimensions(100000, 100000), DecodeError);
  // 65537 x 65537 wraps to 131073 in 32 bits; the check works in 64 bits.
  EXPECT_THROW(CheckDimensions(65537, 65537), DecodeError);
  EXPECT_THROW(CheckDimensions(uint64_t{1} << 32, 1), DecodeError);
  EXPECT_NO_THROW(CheckDimensions(8192, 8192));
  EXPECT_NO_THROW(CheckDimensions(kMaxPixels, 1));
  EXPECT_THROW(CheckDimensions(kMaxPixels + 1, 1), DecodeError);
}

}  // namespace
}  // namespace imaging
