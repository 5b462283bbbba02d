#pragma once
// JPEG files through libjpeg: baseline, progressive, greyscale, CMYK and YCCK (Adobe inverted CMYK too).
#include "imaging/FileFormat.h"

namespace imaging {

Image DecodeJpeg(Bytes file);

}  // namespace imaging
