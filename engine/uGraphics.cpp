#include "engine/uGraphics.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "system/SysUtils.h"

namespace {

// Extended precision (x87, 64-bit mantissa), raising the floating-point division errors EZeroDivide and
// EInvalidOp.
long double Divide(long double dividend, long double divisor) {
  if (divisor == 0) {
    if (dividend == 0) throw EInvalidOp("Invalid floating point operation");
    throw EZeroDivide("Floating point division by zero");
  }
  return dividend / divisor;
}

// Round(side x box / otherSide): the product in 64 bits, so that it cannot wrap, the quotient in extended
// precision, rounded in the default mode: to nearest, halves to even.
int ScaledSide(int side, int box, int otherSide) {
  const long double rounded = std::nearbyint(Divide(static_cast<long double>(int64_t{side} * box), otherSide));
  if (rounded < std::numeric_limits<int>::min() || rounded > std::numeric_limits<int>::max()) RaiseRangeError();
  return static_cast<int>(rounded);
}

}  // namespace

std::unique_ptr<TGraphic> LoadGraphic(const TGraphicClass& graphicClass, const std::string& fileName) {
  std::unique_ptr<TGraphic> graphic = graphicClass.Create();
  graphic->LoadFromFile(fileName);
  return graphic;
}

std::unique_ptr<TPicture> LoadPictureByExtension(const std::string& fileName) {
  auto picture = std::make_unique<TPicture>();
  picture->LoadFromFile(fileName);
  return picture;
}

std::unique_ptr<TPicture> LoadPicture(const std::string& fileName) {
  std::unique_ptr<TPicture> picture = LoadPictureAs(PictureClassByContent(fileName), fileName);
  CheckDecodes(*picture->Graphic());
  return picture;
}

std::unique_ptr<TPicture> LoadPictureAs(const TGraphicClass* graphicClass, const std::string& fileName) {
  if (!graphicClass) return LoadPictureByExtension(fileName);
  auto picture = std::make_unique<TPicture>();
  // The instance would be freed right after the picture copied it: it moves instead, so that a large picture
  // is not held twice.
  picture->TakeGraphic(LoadGraphic(*graphicClass, fileName));
  return picture;
}

void CheckDecodes(const TGraphic& graphic) {
  const TRowSource source = graphic.RowSource();
  if (!source) return;
  const std::unique_ptr<imaging::RowStream> rows = source.Open();
  for (int32_t y = 0; y < rows->Height(); ++y) rows->Row(y);
}

void ScaleToFit(const TGraphic& graphic, int& width, int& height) {
  const int graphicWidth = graphic.Width(), graphicHeight = graphic.Height();
  bool keepWidth;
  if (graphicWidth > width || graphicHeight > height) {
    keepWidth = Divide(graphicWidth, width) > Divide(graphicHeight, height);
  } else if (graphicWidth == width || graphicHeight == height) {
    width = graphicWidth;
    height = graphicHeight;
    return;
  } else {
    keepWidth = Divide(width, graphicWidth) < Divide(height, graphicHeight);
  }
  if (keepWidth) {
    height = ScaledSide(graphicHeight, width, graphicWidth);
  } else {
    width = ScaledSide(graphicWidth, height, graphicHeight);
  }
}

void StretchToFit(const TBitmap& source, TBitmap& target, int width, int height) {
  ScaleToFit(source, width, height);
  StretchInto(source, target, width, height);
}

void StretchInto(const TBitmap& source, TBitmap& target, int width, int height) {
  target.SetWidth(width);
  target.SetHeight(height);
  SetStretchBltMode(target.CanvasHandle(), HALFTONE);
  StretchBlt(target.CanvasHandle(), 0, 0, width, height, source.CanvasHandle(), 0, 0, source.Width(),
             source.Height(), SRCCOPY);
}

TColor ColorRefToColor(COLORREF colour) { return static_cast<TColor>(colour & 0x00FFFFFF); }
