#pragma once
// Rows of 32-bit pixels read top to bottom in one pass: what the resampler reads its source from, so that a
// picture can be decoded into it a few rows at a time instead of whole into memory first.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "imaging/Bitmap32.h"

namespace imaging {

class RowStream {
public:
  virtual ~RowStream() = default;
  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;
  // Row y (0 <= y < Height()), never one above a row already asked for. The pixels stay valid until the
  // next call. Throws when the row cannot be had (a picture's data ends or is corrupt).
  virtual const uint32_t* Row(int32_t y) = 0;
  // Rows first to first + count - 1, which lie below every row asked for before, into memory of the caller's:
  // row first + i at rows + i * stride; Row is not asked for them afterwards. A decoder writes them there
  // straight; by default they are copied from Row. Throws as Row does; the rows may then be partly written.
  virtual void ReadInto(int32_t first, int32_t count, uint32_t* rows, ptrdiff_t stride) {
    for (int32_t i = 0; i < count; ++i)
      std::memcpy(rows + i * stride, Row(first + i), static_cast<size_t>(Width()) * sizeof(uint32_t));
  }
};

// The rows of a raster that is in memory already.
class RasterRows final : public RowStream {
public:
  explicit RasterRows(const Bitmap32& raster) : raster_(raster) {}
  int32_t Width() const override { return raster_.Width(); }
  int32_t Height() const override { return raster_.Height(); }
  const uint32_t* Row(int32_t y) override { return raster_.Row(y); }

private:
  const Bitmap32& raster_;
};

}  // namespace imaging
