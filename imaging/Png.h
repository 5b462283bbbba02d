#pragma once
// A PNG picture's rows as the resampler reads them; the whole decode is kPngFormat (FileFormatList.h).
#include <memory>

#include "imaging/FileFormat.h"
#include "imaging/RowStream.h"

namespace imaging {

// The rows decoded one at a time as they are asked for, each pixel as the whole decode gives it. An interlaced
// picture, whose every pass spans the whole picture, is decoded whole at its first row. The file's bytes must
// outlive the stream. The constructor reads the header (DecodeError when it is no PNG picture within
// CheckDimensions); Row throws DecodeError where the data is corrupt or ends early, and again at every later
// call.
class PngRows final : public RowStream {
public:
  explicit PngRows(Bytes file);
  ~PngRows() override;
  PngRows(const PngRows&) = delete;
  PngRows& operator=(const PngRows&) = delete;

  int32_t Width() const override;
  int32_t Height() const override;
  const uint32_t* Row(int32_t y) override;
  void ReadInto(int32_t first, int32_t count, uint32_t* rows, ptrdiff_t stride) override;

private:
  // Reads on to row y, which goes into the given row; the rows skipped go into the stream's own row.
  void ReadTo(int32_t y, uint32_t* row);

  struct State;  // libpng's structures, which must not move
  std::unique_ptr<State> state_;
};

}  // namespace imaging
