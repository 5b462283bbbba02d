#pragma once
// Bounds-checked reading of a file held in memory: every read or seek past the end is a DecodeError, so a
// decoder never touches a byte that the file does not have and a truncated file never decodes as zeros.
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

[[noreturn]] inline void FailTruncated() { throw DecodeError("Unexpected end of the picture file"); }

// The bytes [offset, offset + length) of data; a DecodeError unless they are all inside it. Counts are
// 64-bit so that a size product from a header cannot wrap in a 32-bit process.
inline Bytes Slice(Bytes data, uint64_t offset, uint64_t length) {
  if (offset > data.size() || length > data.size() - offset) FailTruncated();
  return data.subspan(static_cast<size_t>(offset), static_cast<size_t>(length));
}

class ByteReader {
public:
  explicit ByteReader(Bytes data) : data_(data) {}

  size_t Size() const { return data_.size(); }
  size_t Offset() const { return offset_; }
  size_t Remaining() const { return data_.size() - offset_; }
  bool AtEnd() const { return offset_ == data_.size(); }

  void Seek(uint64_t offset) {
    if (offset > data_.size()) FailTruncated();
    offset_ = static_cast<size_t>(offset);
  }
  void Skip(uint64_t count) { Take(count); }

  // The next count bytes, consumed; a failed read consumes nothing.
  Bytes Take(uint64_t count) {
    const Bytes taken = Slice(data_, offset_, count);
    offset_ += taken.size();
    return taken;
  }

  uint8_t U8() { return Take(1)[0]; }
  uint16_t U16Le() { return Le16(Take(2).data()); }
  uint32_t U32Le() { return Le32(Take(4).data()); }
  int32_t I32Le() { return static_cast<int32_t>(U32Le()); }
  uint16_t U16Be() { return Be16(Take(2).data()); }
  uint32_t U32Be() { return Be32(Take(4).data()); }

  // The next byte without consuming it, or -1 at the end.
  int Peek() const { return AtEnd() ? -1 : data_[offset_]; }

private:
  Bytes data_;
  size_t offset_ = 0;
};

}  // namespace imaging
