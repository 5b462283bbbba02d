#include "imaging/FileFormatList.h"

namespace imaging {

namespace {

bool CanLoad(Bytes, uint64_t) { return false; }

Image Load(Bytes, const std::string&) { throw DecodeError("RLAGraphic pictures cannot be read yet"); }

}  // namespace

const FileFormat kRlaFormat = {
    "TRLAGraphic",
    {{"rpf", "Alias/Wavefront images"},
        {"rla", "Alias/Wavefront images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
