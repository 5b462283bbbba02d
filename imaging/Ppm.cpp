#include "imaging/FileFormatList.h"

namespace imaging {

namespace {

bool CanLoad(Bytes, uint64_t) { return false; }

Image Load(Bytes, const std::string&) { throw DecodeError("PPMGraphic pictures cannot be read yet"); }

}  // namespace

const FileFormat kPpmFormat = {
    "TPPMGraphic",
    {{"ppm", "Portable pixel map images"},
        {"pgm", "Portable gray map images"},
        {"pbm", "Portable bitmap images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
