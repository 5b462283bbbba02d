#include "graphics/PictureRows.h"

#include "imaging/FileFormatList.h"
#include "imaging/Png.h"
#include "graphics/Bitmap32.h"
#include "graphics/GraphicEx.h"

const TGraphicClass& TStreamedPNG::ClassType() const { return GraphicExClass(imaging::kPngFormat); }

void TStreamedPNG::LoadFromFile(const std::string& fileName) {
  auto data = std::make_shared<const std::vector<uint8_t>>(ReadPictureFile(fileName));
  const TPictureRows<imaging::PngRows> header(data);
  FData = std::move(data);
  FWidth = header.Width();
  FHeight = header.Height();
}

std::unique_ptr<TGraphic> TStreamedPNG::Clone() const {
  auto copy = std::make_unique<TStreamedPNG>();
  copy->FData = FData;
  copy->FWidth = FWidth;
  copy->FHeight = FHeight;
  return copy;
}

void TStreamedPNG::Draw(HDC dc, const RECT& rect) const {
  if (!FData) return;
  TBitmap32 raster;
  raster.Assign(*this);
  StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, raster.Handle(), 0, 0, FWidth,
             FHeight, SRCCOPY);
}

TRowSource TStreamedPNG::RowSource() const {
  if (!FData) return {};
  return {FWidth, FHeight, [data = FData] { return std::make_unique<TPictureRows<imaging::PngRows>>(data); }};
}
