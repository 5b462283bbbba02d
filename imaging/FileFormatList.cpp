#include "imaging/FileFormatList.h"

namespace imaging {

const std::vector<const FileFormat*>& FileFormats() {
  static const std::vector<const FileFormat*> formats = {
      &kTargaFormat, &kTiffFormat,     &kEpsFormat, &kPcxFormat, &kRlaFormat, &kSgiFormat, &kPsdFormat,
      &kPpmFormat,   &kAutodeskFormat, &kPcdFormat, &kGifFormat, &kCutFormat, &kPspFormat, &kPngFormat,
  };
  return formats;
}

const FileFormat* FindFormatByContent(Bytes head, uint64_t fileSize) {
  for (const FileFormat* format : FileFormats())
    if (format->canLoad(head, fileSize)) return format;
  return nullptr;
}

}  // namespace imaging
