#include "imaging/FileFormatList.h"

namespace imaging {

namespace {

bool CanLoad(Bytes, uint64_t) { return false; }

Image Load(Bytes, const std::string&) { throw DecodeError("PSPGraphic pictures cannot be read yet"); }

}  // namespace

const FileFormat kPspFormat = {
    "TPSPGraphic",
    {{"psp", "Paintshop Pro images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
