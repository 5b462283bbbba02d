#pragma once
// Every row of a picture read through a stream that the conversion resamples from, one at a time, into a
// picture: for comparing the stream with the whole decode.
#include <algorithm>

#include "imaging/Jpeg.h"
#include "imaging/Png.h"

namespace imaging::test {

inline Image ReadAllRows(RowStream& rows) {
  Image image = AllocateImage(static_cast<uint32_t>(rows.Width()), static_cast<uint32_t>(rows.Height()), 24);
  for (int32_t y = 0; y < rows.Height(); ++y)
    std::copy_n(rows.Row(y), rows.Width(), image.pixels.data() + static_cast<size_t>(y) * image.width);
  return image;
}

inline Image ReadAllJpegRows(Bytes file) {
  JpegRows rows(file);
  return ReadAllRows(rows);
}

inline Image ReadAllPngRows(Bytes file) {
  PngRows rows(file);
  return ReadAllRows(rows);
}

}  // namespace imaging::test
