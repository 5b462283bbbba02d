#pragma once
// File bytes built in a test, for making awkward files that no tool writes.
#include <cstdint>
#include <string>
#include <vector>

namespace imaging::test {

struct ByteWriter {
  std::vector<uint8_t> bytes;

  ByteWriter& U8(uint32_t v) {
    bytes.push_back(static_cast<uint8_t>(v));
    return *this;
  }
  ByteWriter& U16Le(uint32_t v) { return U8(v).U8(v >> 8); }
  ByteWriter& U32Le(uint32_t v) { return U16Le(v).U16Le(v >> 16); }
  ByteWriter& U16Be(uint32_t v) { return U8(v >> 8).U8(v); }
  ByteWriter& U32Be(uint32_t v) { return U16Be(v >> 16).U16Be(v); }
  ByteWriter& Put(const std::vector<uint8_t>& data) {
    bytes.insert(bytes.end(), data.begin(), data.end());
    return *this;
  }
  ByteWriter& Text(const std::string& text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
    return *this;
  }
  ByteWriter& Zeros(size_t count) {
    bytes.resize(bytes.size() + count);
    return *this;
  }
  size_t Size() const { return bytes.size(); }

  // Overwrites four bytes already written, in either byte order.
  void PatchU32Le(size_t at, uint32_t v) {
    for (size_t i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
  }
  void PatchU32Be(size_t at, uint32_t v) {
    for (size_t i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<uint8_t>(v >> (24 - 8 * i));
  }
};

// A DOS EPS file: the binary header, a PostScript section of the given length, then the TIFF preview.
inline std::vector<uint8_t> DosEps(const std::vector<uint8_t>& tiff, uint32_t postScriptLength = 40) {
  ByteWriter out;
  out.U32Be(0xC5D0D3C6);
  for (uint32_t value : {30u, postScriptLength, 0u, 0u, 30 + postScriptLength, static_cast<uint32_t>(tiff.size())})
    out.U32Le(value);
  out.U16Le(0xFFFF);
  std::string postScript = "%!PS-Adobe-3.0 EPSF-3.0\n";
  postScript.resize(postScriptLength, ' ');
  return out.Text(postScript).Put(tiff).bytes;
}

}  // namespace imaging::test
