#include "imaging/FileFormatList.h"

namespace imaging {

namespace {

bool CanLoad(Bytes, uint64_t) { return false; }

Image Load(Bytes, const std::string&) { throw DecodeError("TIFFGraphic pictures cannot be read yet"); }

}  // namespace

const FileFormat kTiffFormat = {
    "TTIFFGraphic",
    {{"tiff", "Macintosh TIFF images"},
        {"tif", "PC TIF images"},
        {"fax", "GFI fax images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
