#include "platform/GraphicEx.h"

#include <vector>

#include "imaging/FileFormatList.h"
#include "platform/PictureFiles.h"
#include "platform/SysUtils.h"

namespace {

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

const TGraphicClass* GraphicExClassByContent(const std::string& fileName) {
  const TFileHead head = ReadFileHead(fileName, imaging::kContentTestBytes);
  const imaging::FileFormat* format = imaging::FindFormatByContent(head.bytes, head.size);
  return format ? &GraphicExClass(*format) : nullptr;
}

const TGraphicClass& TGraphicExGraphic::ClassType() const { return GraphicExClass(FFormat); }

void TGraphicExGraphic::LoadFromFile(const std::string& fileName) {
  const std::vector<uint8_t> companion =
      FFormat.companionExtension ? ReadCompanionFile(fileName, FFormat.companionExtension) : std::vector<uint8_t>{};
  // The file's bytes are let go before the bitmap is made.
  const imaging::Image image = Decode([&] { return FFormat.load(ReadPictureFile(fileName), companion); });
  Assign(image, image.hasAlpha ? pf32bit : pf24bit);
  FImageProperties = {image.width, image.height,
                      static_cast<uint8_t>(image.bitsPerPixel <= 255 ? image.bitsPerPixel : 0)};
}

std::unique_ptr<TGraphic> TGraphicExGraphic::Clone() const {
  auto copy = std::make_unique<TGraphicExGraphic>(FFormat);
  copy->AssignBitmap(*this);
  copy->FImageProperties = FImageProperties;
  return copy;
}
