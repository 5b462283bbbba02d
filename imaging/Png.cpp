#include "imaging/FileFormatList.h"

namespace imaging {

namespace {

bool CanLoad(Bytes, uint64_t) { return false; }

Image Load(Bytes, const std::string&) { throw DecodeError("PNGGraphic pictures cannot be read yet"); }

}  // namespace

const FileFormat kPngFormat = {
    "TPNGGraphic",
    {{"png", "Portable network graphic images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
