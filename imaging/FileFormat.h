#pragma once
// One picture format of the multi-format loader: its class name, extensions, content test and decoder.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imaging/Image.h"

namespace imaging {

using Bytes = std::span<const uint8_t>;

struct Extension {
  const char* extension;    // lower case, without the dot
  const char* description;  // as the file dialog shows it
};

struct FileFormat {
  const char* className;  // "TTargaGraphic"
  std::vector<Extension> extensions;
  // The content test: given the first bytes of the file (up to kContentTestBytes) and its size.
  bool (*canLoad)(Bytes head, uint64_t fileSize);
  // Decodes the whole file; fileName is given for formats with a companion file (a palette beside it).
  Image (*load)(Bytes file, const std::string& fileName);
};

constexpr size_t kContentTestBytes = 4096;

}  // namespace imaging
