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
  // Decodes the whole file; companion holds the companion file's bytes, empty when there is none.
  Image (*load)(Bytes file, Bytes companion);
  // The extension, with its dot, of a file of the same name beside the picture that the picture needs too
  // (a palette), which the caller reads; nullptr for formats without one.
  const char* companionExtension = nullptr;
};

constexpr size_t kContentTestBytes = 4096;

}  // namespace imaging
