#pragma once
// The multi-format loader's classes in registration order, and the content test over them.
#include <vector>

#include "imaging/FileFormat.h"

namespace imaging {

extern const FileFormat kTargaFormat;
extern const FileFormat kTiffFormat;
extern const FileFormat kEpsFormat;
extern const FileFormat kPcxFormat;
extern const FileFormat kRlaFormat;
extern const FileFormat kSgiFormat;
extern const FileFormat kPsdFormat;
extern const FileFormat kPpmFormat;
extern const FileFormat kAutodeskFormat;
extern const FileFormat kPcdFormat;
extern const FileFormat kGifFormat;
extern const FileFormat kCutFormat;
extern const FileFormat kPspFormat;
extern const FileFormat kPngFormat;

// Registration order: the content test asks the formats in this order.
const std::vector<const FileFormat*>& FileFormats();

// The first format whose content test accepts the file, or nullptr.
const FileFormat* FindFormatByContent(Bytes head, uint64_t fileSize);

}  // namespace imaging
