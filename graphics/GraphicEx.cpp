#include "graphics/GraphicEx.h"

#include <vector>

#include "imaging/FileFormatList.h"
#include "graphics/PictureFiles.h"
#include "system/SysUtils.h"

namespace {

// The file decoded whole, with its companion file when its format has one; its bytes are let go before the
// caller keeps the pixels in a form of its own.
imaging::Image DecodeFile(const imaging::FileFormat& format, const std::string& fileName) {
  const std::vector<uint8_t> companion =
      format.companionExtension ? ReadCompanionFile(fileName, format.companionExtension) : std::vector<uint8_t>{};
  return Decode([&] { return format.load(ReadPictureFile(fileName), companion); });
}

// Decoded pixels are kept as 32 bits when the picture has transparency, else as 24 bits.
TPixelFormat PixelFormatOf(const imaging::Image& image) { return image.hasAlpha ? pf32bit : pf24bit; }

// The rows of decoded pixels, which the stream keeps alive, as the picture's bitmap would give them: a picture
// without transparency is opaque whatever alpha its decoder left.
class TDecodedRows final : public imaging::RowStream {
public:
  explicit TDecodedRows(std::shared_ptr<const imaging::Image> pixels) : FPixels(std::move(pixels)) {}
  int32_t Width() const override { return static_cast<int32_t>(FPixels->width); }
  int32_t Height() const override { return static_cast<int32_t>(FPixels->height); }
  const uint32_t* Row(int32_t y) override {
    const uint32_t* row = FPixels->Row(static_cast<uint32_t>(y));
    if (FPixels->hasAlpha) return row;
    FOpaque.resize(FPixels->width);
    for (uint32_t x = 0; x < FPixels->width; ++x) FOpaque[x] = row[x] | 0xFF000000u;
    return FOpaque.data();
  }

private:
  std::shared_ptr<const imaging::Image> FPixels;
  std::vector<uint32_t> FOpaque;
};

const std::vector<TGraphicClass>& GraphicExClasses() {
  static const std::vector<TGraphicClass> classes = [] {
    std::vector<TGraphicClass> made;
    for (const imaging::FileFormat* format : imaging::FileFormats())
      made.push_back({format->className, [format] { return std::make_unique<TGraphicExGraphic>(*format); }});
    return made;
  }();
  return classes;
}

}  // namespace

const TGraphicClass& GraphicExClass(const imaging::FileFormat& format) {
  const std::vector<const imaging::FileFormat*>& formats = imaging::FileFormats();
  for (size_t i = 0; i < formats.size(); ++i)
    if (formats[i] == &format) return GraphicExClasses()[i];
  throw EInvalidGraphic(Format("%s is not a registered picture format", format.className));
}

const imaging::FileFormat& GraphicExFormat(const TGraphicClass& graphicClass) {
  for (const imaging::FileFormat* format : imaging::FileFormats())
    if (&GraphicExClass(*format) == &graphicClass) return *format;
  throw EInvalidGraphic(graphicClass.ClassName + " is not a picture format's class");
}

const TGraphicClass* GraphicExClassByContent(const std::string& fileName) {
  const TFileHead head = ReadFileHead(fileName, imaging::kContentTestBytes);
  const imaging::FileFormat* format = imaging::FindFormatByContent(head.bytes, head.size);
  return format ? &GraphicExClass(*format) : nullptr;
}

const TGraphicClass& TGraphicExGraphic::ClassType() const { return GraphicExClass(FFormat); }

void TGraphicExGraphic::LoadFromFile(const std::string& fileName) {
  const imaging::Image image = DecodeFile(FFormat, fileName);
  Assign(image, PixelFormatOf(image));
  FImageProperties = {image.width, image.height,
                      static_cast<uint8_t>(image.bitsPerPixel <= 255 ? image.bitsPerPixel : 0)};
}

std::unique_ptr<TGraphic> TGraphicExGraphic::Clone() const {
  auto copy = std::make_unique<TGraphicExGraphic>(FFormat);
  copy->AssignBitmap(*this);
  copy->FImageProperties = FImageProperties;
  return copy;
}

const TGraphicClass& TDecodedPicture::ClassType() const { return GraphicExClass(FFormat); }

void TDecodedPicture::LoadFromFile(const std::string& fileName) {
  FPixels = std::make_shared<const imaging::Image>(DecodeFile(FFormat, fileName));
}

std::unique_ptr<TGraphic> TDecodedPicture::Clone() const {
  auto copy = std::make_unique<TDecodedPicture>(FFormat);
  copy->FPixels = FPixels;
  return copy;
}

void TDecodedPicture::Draw(HDC dc, const RECT& rect) const {
  if (!FPixels) return;
  TBitmap bitmap;
  bitmap.Assign(*FPixels, PixelFormatOf(*FPixels));
  bitmap.Draw(dc, rect);
}

TRowSource TDecodedPicture::RowSource() const {
  if (!FPixels) return {};
  return {Width(), Height(), [pixels = FPixels] { return std::make_unique<TDecodedRows>(pixels); }};
}
