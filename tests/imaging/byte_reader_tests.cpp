#include <gtest/gtest.h>

#include "imaging/ByteReader.h"
#include "imaging/SampleScale.h"

namespace imaging {
namespace {

TEST(ByteReader, ReadsBothByteOrdersAndStopsAtTheEnd) {
  const uint8_t data[] = {0x01, 0x02, 0x03, 0x04, 0x05};
  ByteReader in(Bytes(data, sizeof data));
  EXPECT_EQ(in.U16Le(), 0x0201u);
  EXPECT_EQ(in.U16Be(), 0x0304u);
  EXPECT_EQ(in.Peek(), 0x05);
  EXPECT_THROW(in.U16Le(), DecodeError);
  EXPECT_EQ(in.Offset(), 4u);  // a failed read consumes nothing
  EXPECT_EQ(in.U8(), 0x05);
  EXPECT_EQ(in.Peek(), -1);
  in.Seek(0);
  EXPECT_EQ(in.U32Le(), 0x04030201u);
  in.Seek(0);
  EXPECT_EQ(in.U32Be(), 0x01020304u);
  EXPECT_THROW(in.Seek(6), DecodeError);
}

TEST(ByteReader, CountsFromHeaderProductsDoNotWrap) {
  const uint8_t data[] = {1, 2, 3};
  ByteReader in(Bytes(data, sizeof data));
  // 2^32 + 1 would be 1 in a 32-bit size_t.
  EXPECT_THROW(in.Take((uint64_t{1} << 32) + 1), DecodeError);
  EXPECT_THROW(in.Skip(uint64_t{1} << 32), DecodeError);
  EXPECT_THROW(in.Seek((uint64_t{1} << 32) + 1), DecodeError);
  EXPECT_EQ(in.Take(3).size(), 3u);
}

TEST(SampleScale, FullScaleIsAlways255AndHalvesRoundUp) {
  EXPECT_EQ(ScaleBitsTo8(1, 1), 255u);
  EXPECT_EQ(ScaleBitsTo8(31, 5), 255u);
  EXPECT_EQ(ScaleBitsTo8(16, 5), 132u);
  EXPECT_EQ(ScaleBitsTo8(63, 6), 255u);
  EXPECT_EQ(ScaleBitsTo8(512, 10), 128u);
  EXPECT_EQ(ScaleBitsTo8(0xFFFFFFFFu, 32), 255u);
  EXPECT_EQ(ScaleBitsTo8(5, 0), 0u);
  EXPECT_EQ(ScaleTo8Bits(1, 2), 128u);  // 127.5
  EXPECT_EQ(ScaleTo8Bits(70000, 65535), 255u);
}

}  // namespace
}  // namespace imaging
