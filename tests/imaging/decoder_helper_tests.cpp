#include <gtest/gtest.h>

#include "imaging/ByteReader.h"
#include "imaging/Pixels.h"
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
  const Bytes all(data, sizeof data);
  EXPECT_THROW(Slice(all, 1, (uint64_t{1} << 32) + 1), DecodeError);
  EXPECT_THROW(Slice(all, (uint64_t{1} << 32) + 1, 0), DecodeError);
  EXPECT_THROW(Slice(all, 2, 2), DecodeError);
  EXPECT_EQ(Slice(all, 3, 0).size(), 0u);
  EXPECT_EQ(Slice(all, 1, 2)[1], 3);
}

TEST(ByteReader, SignedReadsKeepTheSign) {
  const uint8_t data[] = {0xFE, 0xFF, 0xFF, 0xFF};
  ByteReader in(Bytes(data, sizeof data));
  EXPECT_EQ(in.I32Le(), -2);
}

TEST(PackedSample, LeftmostSampleInTheHighBits) {
  const uint8_t row[] = {0b10110100, 0x5A};
  EXPECT_EQ(PackedSample(row, 0, 1), 1u);
  EXPECT_EQ(PackedSample(row, 1, 1), 0u);
  EXPECT_EQ(PackedSample(row, 5, 1), 1u);
  EXPECT_EQ(PackedSample(row, 1, 2), 3u);
  EXPECT_EQ(PackedSample(row, 3, 2), 0u);
  EXPECT_EQ(PackedSample(row, 1, 4), 4u);
  EXPECT_EQ(PackedSample(row, 2, 4), 5u);
  EXPECT_EQ(PackedSample(row, 1, 8), 0x5Au);
}

TEST(Palette, GreysFromBlackToWhiteAndTablesInEitherOrder) {
  const Palette two = GreyPalette(2);
  EXPECT_EQ(two[0], Argb(0, 0, 0));
  EXPECT_EQ(two[1], Argb(255, 255, 255));
  EXPECT_EQ(two[2], Argb(0, 0, 0));
  EXPECT_EQ(GreyPalette(16)[1], Argb(17, 17, 17));
  EXPECT_EQ(GreyPalette()[200], Argb(200, 200, 200));
  const uint8_t table[] = {1, 2, 3, 9, 4, 5, 6, 9};
  const Palette rgb = ReadPalette(Bytes(table, sizeof table), 2, 4, ColourOrder::kRgb);
  EXPECT_EQ(rgb[1], Argb(4, 5, 6));
  EXPECT_EQ(rgb[2], Argb(0, 0, 0));
  EXPECT_EQ(ReadPalette(Bytes(table, sizeof table), 2, 3, ColourOrder::kBgr)[1], Argb(5, 4, 9));
  EXPECT_THROW(ReadPalette(Bytes(table, sizeof table), 3, 3, ColourOrder::kRgb), DecodeError);
}

TEST(Pixels, ChannelsAreReplacedAlone) {
  uint32_t pixel = 0x80123456;
  SetChannel(pixel, 8, 0xAB);
  EXPECT_EQ(pixel, 0x8012AB56u);
  SetChannel(pixel, 24, 0x01);
  EXPECT_EQ(pixel, 0x0112AB56u);
  SetGrey(pixel, 0x7F);
  EXPECT_EQ(pixel, 0x017F7F7Fu);
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
