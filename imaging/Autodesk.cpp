#include "imaging/FileFormatList.h"

namespace imaging {

namespace {

bool CanLoad(Bytes, uint64_t) { return false; }

Image Load(Bytes, const std::string&) { throw DecodeError("AutodeskGraphic pictures cannot be read yet"); }

}  // namespace

const FileFormat kAutodeskFormat = {
    "TAutodeskGraphic",
    {{"cel", "Autodesk images"},
        {"pic", "Autodesk images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
