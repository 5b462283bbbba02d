#include "imaging/FileFormatList.h"

namespace imaging {

namespace {

bool CanLoad(Bytes, uint64_t) { return false; }

Image Load(Bytes, const std::string&) { throw DecodeError("PSDGraphic pictures cannot be read yet"); }

}  // namespace

const FileFormat kPsdFormat = {
    "TPSDGraphic",
    {{"psd", "Photoshop images"},
        {"pdd", "Photoshop images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
