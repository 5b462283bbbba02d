#include "graphics/Picture.h"

#include "imaging/FileFormatList.h"
#include "graphics/Bitmap.h"
#include "system/FileUtils.h"
#include "graphics/GraphicEx.h"
#include "graphics/Icon.h"
#include "graphics/JPEG.h"
#include "graphics/Metafile.h"
#include "graphics/OleGraphic.h"
#include "system/SysUtils.h"

namespace {

std::vector<TPictureFileFormat> RegisterFileFormats() {
  const TGraphicClass* bitmap = &TBitmap::Class();
  const TGraphicClass* icon = &TIcon::Class();
  const TGraphicClass* metafile = &TMetafile::Class();
  const TGraphicClass* jpeg = &TJPEGImage::Class();
  std::vector<TPictureFileFormat> formats = {
      // The picture classes that come with the picture container.
      {"wmf", "Metafiles", metafile},
      {"emf", "Enhanced Metafiles", metafile},
      {"ico", "Icons", icon},
      {"bmp", "Bitmaps", bitmap},
      {"", "OLE graphics", &TOleGraphic::Class()},
      {"jpeg", "JPEG Image File", jpeg},
      {"jpg", "JPEG Image File", jpeg},
      // The multi-format loader's registrations of those classes, then of its own formats.
      {"bmp", "Windows bitmaps", bitmap},
      {"rle", "Run length encoded Windows bitmaps", bitmap},
      {"dib", "Device independant Windows bitmaps", bitmap},
      {"ico", "Windows icons", icon},
      {"wmf", "Windows metafiles", metafile},
      {"emf", "Windows enhanced meta files", metafile},
      {"jfif", "JFIF images", jpeg},
      {"jpg", "JPG images", jpeg},
      {"jpe", "JPE images", jpeg},
      {"jpeg", "JPEG images", jpeg},
  };
  for (const imaging::FileFormat* format : imaging::FileFormats())
    for (const imaging::Extension& extension : format->extensions)
      formats.push_back({extension.extension, extension.description, &GraphicExClass(*format)});
  return formats;
}

}  // namespace

const std::vector<TPictureFileFormat>& PictureFileFormats() {
  static const std::vector<TPictureFileFormat> formats = RegisterFileFormats();
  return formats;
}

const TGraphicClass* FindPictureClass(std::string_view extension) {
  const std::string wanted = LowerCase(extension);
  const std::vector<TPictureFileFormat>& formats = PictureFileFormats();
  for (auto entry = formats.rbegin(); entry != formats.rend(); ++entry)
    if (entry->Extension == wanted) return entry->GraphicClass;
  return nullptr;
}

std::string GraphicFilter() {
  std::string patterns, entries;
  const std::vector<TPictureFileFormat>& formats = PictureFileFormats();
  for (auto entry = formats.rbegin(); entry != formats.rend(); ++entry) {
    if (entry->Extension.empty()) continue;
    const std::string pattern = "*." + entry->Extension;
    patterns += (patterns.empty() ? "" : ";") + pattern;
    entries += "|" + entry->Description + " (" + pattern + ")|" + pattern;
  }
  return "All (" + patterns + ")|" + patterns + entries;
}

void TPicture::SetGraphic(const TGraphic* graphic) { FGraphic = graphic ? graphic->Clone() : nullptr; }

void TPicture::LoadFromFile(const std::string& fileName) {
  const std::string extension = ExtractFileExt(fileName);
  const TGraphicClass* graphicClass = FindPictureClass(extension);
  if (!graphicClass) throw EInvalidGraphic(Format("Unknown picture file extension (.%s)", extension.c_str()));
  std::unique_ptr<TGraphic> graphic = graphicClass->Create();
  graphic->LoadFromFile(fileName);
  FGraphic = std::move(graphic);
}
