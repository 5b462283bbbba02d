#pragma once
// TIFF pictures through libtiff; the EPS format decodes its TIFF preview with the same decoder.
#include "imaging/FileFormat.h"

namespace imaging {

// "II*\0" or "MM\0*", or their BigTIFF forms "II+\0" and "MM\0+".
bool HasTiffSignature(Bytes head);

// Decodes the first page of a whole TIFF file.
Image DecodeTiff(Bytes file);

}  // namespace imaging
