#include "imaging/FileFormatList.h"

namespace imaging {

namespace {

bool CanLoad(Bytes, uint64_t) { return false; }

Image Load(Bytes, const std::string&) { throw DecodeError("EPSGraphic pictures cannot be read yet"); }

}  // namespace

const FileFormat kEpsFormat = {
    "TEPSGraphic",
    {{"eps", "Encapsulated Postscript images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
