#include "imaging/FileFormatList.h"

namespace imaging {

namespace {

bool CanLoad(Bytes, uint64_t) { return false; }

Image Load(Bytes, const std::string&) { throw DecodeError("PCXGraphic pictures cannot be read yet"); }

}  // namespace

const FileFormat kPcxFormat = {
    "TPCXGraphic",
    {{"pcx", "ZSoft Paintbrush images"},
        {"pcc", "ZSoft Paintbrush images"},
        {"scr", "Word 5.x screen capture images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
