#include "imaging/FileFormatList.h"

namespace imaging {

namespace {

bool CanLoad(Bytes, uint64_t) { return false; }

Image Load(Bytes, const std::string&) { throw DecodeError("GIFGraphic pictures cannot be read yet"); }

}  // namespace

const FileFormat kGifFormat = {
    "TGIFGraphic",
    {{"gif", "CompuServe images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
