#include "imaging/FileFormatList.h"

namespace imaging {

namespace {

bool CanLoad(Bytes, uint64_t) { return false; }

Image Load(Bytes, const std::string&) { throw DecodeError("SGIGraphic pictures cannot be read yet"); }

}  // namespace

const FileFormat kSgiFormat = {
    "TSGIGraphic",
    {{"sgi", "SGI true color images"},
        {"rgb", "SGI true color images"},
        {"rgba", "SGI true color images with alpha"},
        {"bw", "SGI black/white images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
