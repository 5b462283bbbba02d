#include "imaging/FileFormatList.h"

namespace imaging {

namespace {

bool CanLoad(Bytes, uint64_t) { return false; }

Image Load(Bytes, const std::string&) { throw DecodeError("PCDGraphic pictures cannot be read yet"); }

}  // namespace

const FileFormat kPcdFormat = {
    "TPCDGraphic",
    {{"pcd", "Kodak Photo-CD images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
