#include "imaging/FileFormatList.h"

namespace imaging {

namespace {

bool CanLoad(Bytes, uint64_t) { return false; }

Image Load(Bytes, const std::string&) { throw DecodeError("TargaGraphic pictures cannot be read yet"); }

}  // namespace

const FileFormat kTargaFormat = {
    "TTargaGraphic",
    {{"win", "Truevision images"},
        {"vst", "Truevision images"},
        {"vda", "Truevision images"},
        {"tga", "Truevision images"},
        {"icb", "Truevision images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
