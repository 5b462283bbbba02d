#pragma once
// Bounds-checked reading of a file held in memory: every read past the end is a DecodeError, so that a
// truncated file never decodes as zeros.
#include <cstdint>
#include <cstring>

#include "imaging/FileFormat.h"

namespace imaging {

// The bytes [offset, offset + length) of data, or a DecodeError when they are not all inside it.
inline Bytes Slice(Bytes data, uint64_t offset, uint64_t length) {
  if (offset > data.size() || length > data.size() - offset) throw DecodeError("Unexpected end of file");
  return data.subspan(static_cast<size_t>(offset), static_cast<size_t>(length));
}

inline uint16_t PeekU16BE(Bytes data, size_t at) { return static_cast<uint16_t>(data[at] << 8 | data[at + 1]); }
inline uint16_t PeekU16LE(Bytes data, size_t at) { return static_cast<uint16_t>(data[at + 1] << 8 | data[at]); }
inline uint32_t PeekU32BE(Bytes data, size_t at) {
  return uint32_t{data[at]} << 24 | uint32_t{data[at + 1]} << 16 | uint32_t{data[at + 2]} << 8 | data[at + 3];
}
inline uint32_t PeekU32LE(Bytes data, size_t at) {
  return uint32_t{data[at + 3]} << 24 | uint32_t{data[at + 2]} << 16 | uint32_t{data[at + 1]} << 8 | data[at];
}

class ByteStream {
public:
  explicit ByteStream(Bytes data) : data_(data) {}

  size_t Offset() const { return offset_; }
  size_t Remaining() const { return data_.size() - offset_; }
  bool AtEnd() const { return offset_ == data_.size(); }

  void Seek(uint64_t offset) {
    if (offset > data_.size()) throw DecodeError("Unexpected end of file");
    offset_ = static_cast<size_t>(offset);
  }
  void Skip(uint64_t count) { Take(count); }
  Bytes Take(uint64_t count) {
    Bytes taken = Slice(data_, offset_, count);
    offset_ += taken.size();
    return taken;
  }

  uint8_t U8() { return Take(1)[0]; }
  uint16_t U16BE() { return PeekU16BE(Take(2), 0); }
  uint16_t U16LE() { return PeekU16LE(Take(2), 0); }
  uint32_t U32BE() { return PeekU32BE(Take(4), 0); }
  uint32_t U32LE() { return PeekU32LE(Take(4), 0); }
  int32_t I32LE() { return static_cast<int32_t>(U32LE()); }

private:
  Bytes data_;
  size_t offset_ = 0;
};

}  // namespace imaging
