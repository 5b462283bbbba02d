#pragma once
// Kodak Photo-CD image pacs: the three uncompressed resolutions at their fixed offsets.
#include "imaging/FileFormat.h"

namespace imaging {

enum class PcdResolution { Base16, Base4, Base };  // 192 x 128, 384 x 256, 768 x 512

// Decodes one resolution, turned upright as the file's orientation says.
Image DecodePcd(Bytes file, PcdResolution resolution);

}  // namespace imaging
