#pragma once
// Rows of 32-bit pixels read top to bottom in one pass: what the resampler reads its source from, so that a
// picture can be decoded into it a few rows at a time instead of whole into memory first.
#include <cstdint>

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
