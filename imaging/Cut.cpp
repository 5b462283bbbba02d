#include "imaging/FileFormatList.h"

namespace imaging {

namespace {

bool CanLoad(Bytes, uint64_t) { return false; }

Image Load(Bytes, const std::string&) { throw DecodeError("CUTGraphic pictures cannot be read yet"); }

}  // namespace

const FileFormat kCutFormat = {
    "TCUTGraphic",
    {{"cut", "Dr. Halo images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
