#pragma once
// Reading picture files: opened for reading with others denied write access, read whole into memory within
// a bound, and decoder failures turned into EInvalidGraphic.
#include <cstdint>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/Image.h"
#include "system/SysUtils.h"

// A picture file larger than this is refused before anything is allocated: its bytes and the decoded
// picture together must still fit the address space of a 32-bit process.
constexpr uint64_t kMaxPictureFileBytes = uint64_t{1} << 30;

struct TFileHead {
  std::vector<uint8_t> bytes;  // the first bytes of the file, up to the count asked for
  uint64_t size = 0;           // the whole file's size
};
TFileHead ReadFileHead(const std::string& fileName, size_t count);

// The whole file; EInvalidGraphic when it is larger than kMaxPictureFileBytes or memory runs out.
std::vector<uint8_t> ReadPictureFile(const std::string& fileName);

// A file that a picture needs beside it (a palette) holds far less than this.
constexpr uint64_t kMaxCompanionFileBytes = uint64_t{1} << 20;

// The file of the picture's name with the other extension (given with its dot), read whole; empty when there
// is none. EInvalidGraphic when it is larger than kMaxCompanionFileBytes.
std::vector<uint8_t> ReadCompanionFile(const std::string& pictureName, std::string_view extension);

// Runs a decoder; its failures become EInvalidGraphic with the decoder's message.
template <class Decoder>
auto Decode(Decoder&& decoder) -> decltype(decoder()) {
  try {
    return decoder();
  } catch (const imaging::DecodeError& e) {
    throw EInvalidGraphic(e.what());
  } catch (const std::bad_alloc& e) {
    throw EInvalidGraphic(e.what());
  }
}
