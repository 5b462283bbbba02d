#pragma once
// JPEG files through libjpeg: baseline, progressive, greyscale, CMYK and YCCK (Adobe inverted CMYK too).
#include <functional>
#include <memory>

#include "imaging/FileFormat.h"
#include "imaging/RowStream.h"

namespace imaging {

Image DecodeJpeg(Bytes file, unsigned scale = 1);

struct JpegFrame {
  uint32_t width;
  uint32_t height;
  uint32_t bitsPerPixel;  // 8 for greyscale, else 24
};

// Decodes straight into memory of the caller's: once the header is read, allocate receives the picture's
// frame (already within CheckDimensions) and returns the rows to fill, each pixel B, G, R (bytesPerPixel 3)
// or B, G, R, 255 (bytesPerPixel 4). Throws DecodeError, or what allocate throws; the rows may then be
// partly written. A scale of 2, 4 or 8 decodes the picture at that fraction of its size (sides rounded up),
// by libjpeg's reduced inverse DCT.
void DecodeJpeg(Bytes file, int bytesPerPixel, const std::function<PixelRows(const JpegFrame&)>& allocate,
                unsigned scale = 1);

// The picture's rows decoded as they are asked for, a few at a time, as B, G, R, 255 pixels. The file's bytes
// must outlive the stream. The constructor reads the header (DecodeError when it is no JPEG picture within
// CheckDimensions); Row throws DecodeError where the data is corrupt or ends early.
class JpegRows final : public RowStream {
public:
  explicit JpegRows(Bytes file);
  ~JpegRows() override;
  JpegRows(const JpegRows&) = delete;
  JpegRows& operator=(const JpegRows&) = delete;

  int32_t Width() const override;
  int32_t Height() const override;
  const uint32_t* Row(int32_t y) override;
  void ReadInto(int32_t first, int32_t count, uint32_t* rows, ptrdiff_t stride) override;

private:
  struct State;  // libjpeg's decompressor, which must not move
  void Start();
  void ReadBatch(unsigned char** targets, uint32_t count);
  std::unique_ptr<State> state_;
};

}  // namespace imaging
