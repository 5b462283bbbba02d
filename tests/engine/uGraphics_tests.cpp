#include <gtest/gtest.h>

#include <cmath>

#include "TempFolder.h"
#include "TestPictures.h"
#include "engine/uGraphics.h"
#include "graphics/JPEG.h"
#include "graphics/PictureFiles.h"
#include "system/SysUtils.h"

namespace {

// A graphic that is nothing but a size.
class TSizedGraphic : public TGraphic {
public:
  TSizedGraphic(int width, int height) : FWidth(width), FHeight(height) {}
  const TGraphicClass& ClassType() const override { return TBitmap::Class(); }
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void LoadFromFile(const std::string&) override {}
  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TSizedGraphic>(FWidth, FHeight); }
  void Draw(HDC, const RECT&) const override {}

private:
  int FWidth, FHeight;
};

struct TFit {
  int graphicWidth, graphicHeight, boxWidth, boxHeight, width, height;
};

std::pair<int, int> Fit(int graphicWidth, int graphicHeight, int boxWidth, int boxHeight) {
  int width = boxWidth, height = boxHeight;
  ScaleToFit(TSizedGraphic(graphicWidth, graphicHeight), width, height);
  return {width, height};
}

TEST(ScaleToFit, FitsByTheSmallerFactor) {
  const TFit cases[] = {
      {3000, 2000, 1024, 768, 1024, 683},  // 682.67 rounds up
      {800, 600, 1024, 768, 1024, 768},    // enlarged; equal factors keep the height
      {640, 480, 1280, 1024, 1280, 960},   {1920, 1080, 1280, 1024, 1280, 720},
      {1024, 500, 1024, 768, 1024, 500},   // touches the box: own size
      {168, 50, 168, 111, 168, 50},        {500, 2000, 1000, 1000, 250, 1000},
      {2000, 100, 1000, 1000, 1000, 50},   {4, 5, 2, 100, 2, 2},  // 2.5 to even
      {4, 7, 2, 100, 2, 4},                                       // 3.5 to even
      {1600, 1200, 168, 111, 148, 111},    {100, 50, 168, 111, 168, 84},  // the preview box
      {0, 200, 168, 111, 0, 111},          {0, 50, 168, 50, 0, 50},       // a zero side that fits
  };
  for (const TFit& c : cases)
    EXPECT_EQ(Fit(c.graphicWidth, c.graphicHeight, c.boxWidth, c.boxHeight), std::make_pair(c.width, c.height))
        << c.graphicWidth << "x" << c.graphicHeight << " into " << c.boxWidth << "x" << c.boxHeight;
}

template <class E>
void ExpectFailureLeavesBox(int graphicWidth, int graphicHeight, int boxWidth, int boxHeight) {
  int width = boxWidth, height = boxHeight;
  EXPECT_THROW(ScaleToFit(TSizedGraphic(graphicWidth, graphicHeight), width, height), E)
      << graphicWidth << "x" << graphicHeight << " into " << boxWidth << "x" << boxHeight;
  EXPECT_EQ(width, boxWidth);
  EXPECT_EQ(height, boxHeight);
}

TEST(ScaleToFit, DivisionByZeroLeavesTheBox) {
  ExpectFailureLeavesBox<EZeroDivide>(10, 10, 0, 5);   // exceeds a box of width 0
  ExpectFailureLeavesBox<EZeroDivide>(10, 10, 5, 0);
  ExpectFailureLeavesBox<EInvalidOp>(0, 10, 0, 5);     // 0 / 0
  ExpectFailureLeavesBox<EZeroDivide>(0, 0, 1, 1);     // a 0 x 0 graphic in any box
  ExpectFailureLeavesBox<EZeroDivide>(0, 0, 168, 111);
  ExpectFailureLeavesBox<EZeroDivide>(10, 0, 168, 111);
}

TEST(ScaleToFit, ResultsBeyond32BitsRaiseRangeError) {
  // Only a negative box lets a side grow past the box: 2^30 x 4 / 1 does not fit 32 bits.
  ExpectFailureLeavesBox<ERangeError>(1, 1 << 30, 4, -1);
}

TEST(ScaleToFit, ComparesInExtendedPrecision) {
  // 80-bit long double: a 64-bit mantissa tells 1 + 2^-60 from 1, which a 53-bit precision setting would not.
  volatile long double one = 1;
  EXPECT_NE(one + std::ldexp(1.0L, -60), one);
}

TEST(StretchToFit, SizesTheTargetToTheFittedBox) {
  TBitmap source;
  source.SetPixelFormat(pf24bit);
  source.SetSize(400, 300);
  PatBlt(source.CanvasHandle(), 0, 0, 400, 300, BLACKNESS);
  TBitmap target;
  target.SetPixelFormat(pf32bit);
  target.SetSize(10, 10);
  StretchToFit(source, target, 168, 111);
  EXPECT_EQ(target.Width(), 148);
  EXPECT_EQ(target.Height(), 111);
  EXPECT_EQ(target.PixelFormat(), pf32bit);
  // The whole target shows the black source, none of its white start.
  for (const uint32_t pixel : target.ToImage().pixels) ASSERT_EQ(pixel & 0xFFFFFF, 0u);
}

TEST(StretchToFit, FailureLeavesTheTarget) {
  TBitmap source, target;
  target.SetSize(7, 9);
  EXPECT_THROW(StretchToFit(source, target, 168, 111), EZeroDivide);
  EXPECT_EQ(target.Width(), 7);
  EXPECT_EQ(target.Height(), 9);
}

TEST(ColorRefToColor, ClearsTheTopByte) {
  EXPECT_EQ(ColorRefToColor(0x02FF8040), 0x00FF8040);
  EXPECT_EQ(ColorRefToColor(0x00123456), 0x00123456);
}

TEST(LoadPicture, ContentComesBeforeExtension) {
  const std::unique_ptr<TPicture> picture = LoadPicture(TestPicture("png-named.jpg"));
  ASSERT_NE(picture->Graphic(), nullptr);
  EXPECT_EQ(picture->Graphic()->ClassType().ClassName, "TPNGGraphic");
  EXPECT_EQ(picture->Width(), 24);
  EXPECT_EQ(picture->Height(), 16);
}

TEST(LoadPicture, ContentNoClassAcceptsFallsToTheExtension) {
  // No class of the content test takes a JPEG; the extension names the PNG class, which cannot read it.
  EXPECT_EQ(PictureClassByContent(TestPicture("jpeg-named.png")), nullptr);
  EXPECT_THROW(LoadPicture(TestPicture("jpeg-named.png")), EInvalidGraphic);

  const std::unique_ptr<TPicture> picture = LoadPicture(TestPicture("capitals.JPG"));
  const auto* jpeg = dynamic_cast<const TJPEGImage*>(picture->Graphic());
  ASSERT_NE(jpeg, nullptr);
  EXPECT_EQ(jpeg->Width(), 20);
  EXPECT_EQ(jpeg->Height(), 12);
  EXPECT_EQ(jpeg->PixelFormat(), jf24Bit);
}

TEST(LoadPicture, Failures) {
  try {
    LoadPicture(TestPicture("unknown.xyz"));
    FAIL() << "an unknown extension loaded";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "Unknown picture file extension (.xyz)");
  }
  // The content test accepts a cut-off PNG; its class's load then fails.
  TempFolder folder;
  const std::vector<uint8_t> png = ReadPictureFile(TestPicture("png.png"));
  const std::string cut = folder.Write("cut.png", png.data(), 60);
  ASSERT_NE(PictureClassByContent(cut), nullptr);
  EXPECT_THROW(LoadPicture(cut), EInvalidGraphic);

  // A JPEG picture's data is judged as a whole decode would judge it, though it decodes only when drawn.
  const std::vector<uint8_t> jpeg = ReadPictureFile(TestPicture("jpeg.jpg"));
  const std::string cutJpeg = folder.Write("cut.jpg", jpeg.data(), jpeg.size() - 20);
  EXPECT_THROW(LoadPicture(cutJpeg), EInvalidGraphic);
  EXPECT_EQ(LoadPictureByExtension(cutJpeg)->Width(), 20) << "the step alone reads the header only";

  const std::string missing = TestPicture("missing.png");
  try {
    LoadPicture(missing);
    FAIL() << "a missing file loaded";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file " + missing);
  }
}

TEST(LoadPicture, StepsGiveTheLoadedInstance) {
  const TGraphicClass* graphicClass = PictureClassByContent(TestPicture("png-named.jpg"));
  ASSERT_NE(graphicClass, nullptr);
  const std::unique_ptr<TGraphic> graphic = LoadGraphic(*graphicClass, TestPicture("png-named.jpg"));
  const auto* loaded = dynamic_cast<const TGraphicExGraphic*>(graphic.get());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->ImageProperties().Width, 24u);
  EXPECT_EQ(loaded->ImageProperties().Height, 16u);
  EXPECT_EQ(loaded->ImageProperties().BitsPerPixel, 24);

  const std::unique_ptr<TPicture> picture = LoadPictureByExtension(TestPicture("bmp565.bmp"));
  const auto* bitmap = dynamic_cast<const TBitmap*>(picture->Graphic());
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->PixelFormat(), pf16bit);
}

}  // namespace
