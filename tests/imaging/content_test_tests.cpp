// The content tests of Targa, PCX and portable maps against each other's files and those of other formats.
#include <gtest/gtest.h>

#include <algorithm>

#include "imaging/FileFormatList.h"
#include "tests/imaging/ByteWriter.h"
#include "tests/imaging/TestFiles.h"

namespace imaging {
namespace {

using namespace test;

TEST(ContentTest, EachFormatAcceptsOnlyItsOwnFiles) {
  const struct {
    const char* name;
    const FileFormat* owner;  // nullptr: none of the three
  } files[] = {
      {"targa/rgb24.tga", &kTargaFormat},       {"targa/rgb24-topleft.tga", &kTargaFormat},
      {"targa/rgb24-rle.tga", &kTargaFormat},   {"targa/rgba32.tga", &kTargaFormat},
      {"targa/palette.tga", &kTargaFormat},     {"targa/palette-rle.tga", &kTargaFormat},
      {"targa/gray.tga", &kTargaFormat},        {"targa/gray-rle.tga", &kTargaFormat},
      {"pcx/rgb24.pcx", &kPcxFormat},           {"pcx/rgba32.pcx", &kPcxFormat},
      {"pcx/palette8.pcx", &kPcxFormat},        {"ppm/p1.pbm", &kPpmFormat},
      {"ppm/p2.pgm", &kPpmFormat},              {"ppm/p3.ppm", &kPpmFormat},
      {"ppm/p4.pbm", &kPpmFormat},              {"ppm/p5.pgm", &kPpmFormat},
      {"ppm/p6.ppm", &kPpmFormat},              {"ppm/p5-16bit.pgm", &kPpmFormat},
      {"ppm/p6-16bit.ppm", &kPpmFormat},        {"bmp/rgb24-v3.bmp", nullptr},
      {"bmp/rgb24-os2.bmp", nullptr},           {"bmp/palette8-v3.bmp", nullptr},
      {"bmp/palette8-os2.bmp", nullptr},        {"bmp/rle8.bmp", nullptr},
      {"bmp/palette4.bmp", nullptr},            {"bmp/mono.bmp", nullptr},
      {"bmp/rgb565.bmp", nullptr},              {"bmp/argb32-v5.bmp", nullptr},
      {"probe/ref.png", nullptr},               {"probe/ref.gif", nullptr},
      {"probe/ref.tif", nullptr},               {"probe/ref-lzw.tif", nullptr},
      {"probe/ref.jpg", nullptr},               {"probe/ref.ico", nullptr},
      {"probe/ref.wmf", nullptr},               {"probe/plain.wmf", nullptr},
      {"probe/ref.emf", nullptr},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.name);
    const std::vector<uint8_t> file = ReadTestFile(f.name);
    ASSERT_FALSE(file.empty());
    const Bytes head(file.data(), std::min(file.size(), kContentTestBytes));
    for (const FileFormat* format : {&kTargaFormat, &kPcxFormat, &kPpmFormat})
      EXPECT_EQ(format->canLoad(head, file.size()), format == f.owner) << format->className;
  }
}

TEST(ContentTest, ShortHeadsAreRejected) {
  for (const FileFormat* format : {&kTargaFormat, &kPcxFormat, &kPpmFormat}) {
    EXPECT_FALSE(format->canLoad(Bytes(), 0)) << format->className;
    const std::vector<uint8_t> pcxStart = {0x0A, 5, 1, 8};
    EXPECT_FALSE(format->canLoad(Bytes(pcxStart), 4)) << format->className;
  }
}

}  // namespace
}  // namespace imaging
