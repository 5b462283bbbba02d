#pragma once
// A bounds-checked cursor over a file in memory: every read or seek past the end is a DecodeError, so a
// decoder never touches a byte that the file does not have.
#include <cstddef>
#include <cstdint>

#include "imaging/FileFormat.h"
#include "imaging/Image.h"

namespace imaging {

// Unchecked loads for callers that have already checked the length (content tests on a short head).
inline uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t Le32(const uint8_t* p) { return Le16(p) | (uint32_t{Le16(p + 2)} << 16); }
inline uint16_t Be16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
inline uint32_t Be32(const uint8_t* p) { return (uint32_t{Be16(p)} << 16) | Be16(p + 2); }

class ByteReader {
public:
  explicit ByteReader(Bytes data) : data_(data) {}

  size_t Size() const { return data_.size(); }
  size_t Offset() const { return offset_; }
  size_t Remaining() const { return data_.size() - offset_; }
  bool AtEnd() const { return offset_ == data_.size(); }

  // Counts are 64-bit so that a size product from a header cannot wrap in a 32-bit process.
  void Seek(uint64_t offset) {
    if (offset > data_.size()) Fail();
    offset_ = static_cast<size_t>(offset);
  }
  void Skip(uint64_t count) { Take(count); }

  // The next count bytes, consumed.
  Bytes Take(uint64_t count) {
    if (count > Remaining()) Fail();
    Bytes taken = data_.subspan(offset_, static_cast<size_t>(count));
    offset_ += taken.size();
    return taken;
  }

  uint8_t U8() { return Take(1)[0]; }
  uint16_t U16Le() { return Le16(Take(2).data()); }
  uint32_t U32Le() { return Le32(Take(4).data()); }
  uint16_t U16Be() { return Be16(Take(2).data()); }
  uint32_t U32Be() { return Be32(Take(4).data()); }

  // The next byte without consuming it, or -1 at the end.
  int Peek() const { return AtEnd() ? -1 : data_[offset_]; }

private:
  [[noreturn]] static void Fail() { throw DecodeError("Unexpected end of the picture file"); }

  Bytes data_;
  size_t offset_ = 0;
};

}  // namespace imaging
