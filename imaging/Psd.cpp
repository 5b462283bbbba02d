// Photoshop files: a 26-byte big-endian header ("8BPS", version 1), three length-prefixed sections (colour
// mode data, image resources, layers and masks), then the merged image: a compression word and every
// channel's plane, raw or as PackBits rows whose byte counts precede all the data. Only the merged image is
// read. Row counts and runs are checked against the file and the row, so a hostile table cannot reach
// outside either.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "imaging/ByteReader.h"
#include "imaging/FileFormatList.h"
#include "imaging/SampleScale.h"
#include "imaging/Pixels.h"
#include "imaging/SampleScale.h"

namespace imaging {

namespace {

enum Mode : uint16_t { kBitmap = 0, kGrey = 1, kIndexed = 2, kRgb = 3, kCmyk = 4, kMulti = 7, kDuotone = 8, kLab = 9 };

struct PsdHeader {
  uint32_t channels = 0, width = 0, height = 0, depth = 0;
  uint16_t mode = 0;
};

bool ValidHeader(Bytes head, PsdHeader& h) {
  if (head.size() < 26 || std::memcmp(head.data(), "8BPS", 4) != 0 || Be16(head.data() + 4) != 1) return false;
  h.channels = Be16(head.data() + 12);
  h.height = Be32(head.data() + 14);
  h.width = Be32(head.data() + 18);
  h.depth = Be16(head.data() + 22);
  h.mode = Be16(head.data() + 24);
  const bool knownMode = h.mode <= kCmyk || h.mode == kMulti || h.mode == kDuotone || h.mode == kLab;
  const bool knownDepth = h.depth == 1 || h.depth == 8 || h.depth == 16 || h.depth == 32;
  return h.channels >= 1 && h.channels <= 56 && h.width >= 1 && h.width <= 30000 && h.height >= 1 &&
         h.height <= 30000 && knownMode && knownDepth;
}

bool CanLoad(Bytes head, uint64_t) {
  PsdHeader h;
  return ValidHeader(head, h);
}

// How many channels the mode's colours take, and whether the file's depth suits the mode.
uint32_t ColourChannels(const PsdHeader& h) {
  if (h.depth == 32) throw DecodeError("32-bit Photoshop images are not supported");
  if ((h.mode == kBitmap) != (h.depth == 1)) throw DecodeError("Photoshop bit depth does not suit the mode");
  if (h.mode == kIndexed && h.depth != 8) throw DecodeError("Photoshop indexed images have 8 bits");
  const uint32_t needed = h.mode == kCmyk ? 4 : (h.mode == kRgb || h.mode == kLab) ? 3 : 1;
  if (h.channels < needed) throw DecodeError("Photoshop image lacks colour channels");
  return needed;
}

// The sections between header and pixels; sets whether the merged image carries transparency.
struct Sections {
  Bytes colourData;
  bool mergedAlpha = false;
  size_t imageData = 0;
};

Sections ReadSections(Bytes file) {
  ByteReader in(file);
  in.Seek(26);
  Sections s;
  s.colourData = in.Take(in.U32Be());
  in.Skip(in.U32Be());
  const Bytes layers = in.Take(in.U32Be());
  // A negative layer count says that the first extra channel is the merged image's transparency.
  if (layers.size() >= 6 && Be32(layers.data()) >= 2) s.mergedAlpha = static_cast<int16_t>(Be16(layers.data() + 4)) < 0;
  s.imageData = in.Offset();
  return s;
}

void UnpackBits(Bytes in, uint8_t* out, size_t outSize) {
  size_t i = 0, o = 0;
  while (o < outSize) {
    if (i >= in.size()) throw DecodeError("Photoshop row data is truncated");
    const int8_t code = static_cast<int8_t>(in[i++]);
    if (code == -128) continue;
    const size_t count = code >= 0 ? size_t(code) + 1 : size_t(1 - code);
    if (count > outSize - o) throw DecodeError("Photoshop run overflows its row");
    if (code >= 0) {
      if (count > in.size() - i) throw DecodeError("Photoshop row data is truncated");
      std::memcpy(out + o, in.data() + i, count);
      i += count;
    } else {
      if (i >= in.size()) throw DecodeError("Photoshop row data is truncated");
      std::memset(out + o, in[i++], count);
    }
    o += count;
  }
}

// Finds every row of the channels that we use and reads it into 8-bit samples (bitmap rows stay packed).
class RowReader {
public:
  RowReader(Bytes file, size_t start, const PsdHeader& h, uint32_t usedChannels)
      : file_(file), h_(h), rowBytes_(h.depth == 1 ? (uint64_t{h.width} + 7) / 8 : uint64_t{h.width} * h.depth / 8),
        raw_(rowBytes_) {
    ByteReader in(file);
    in.Seek(start);
    compression_ = in.U16Be();
    if (compression_ > 1) throw DecodeError("Photoshop ZIP-compressed images are not supported");
    const uint64_t rows = uint64_t{h.height} * usedChannels;
    offsets_.resize(rows);
    if (compression_ == 0) {
      for (uint64_t r = 0; r < rows; ++r) offsets_[r] = in.Offset() + r * rowBytes_;
      Slice(file, in.Offset(), rows * rowBytes_);
      return;
    }
    const Bytes counts = in.Take(2 * uint64_t{h.height} * h.channels);
    // A PackBits run gives at most 128 bytes for 2, so no row is shorter than this.
    const uint64_t shortestRow = 2 * ((rowBytes_ + 127) / 128);
    uint64_t offset = in.Offset();
    for (uint64_t r = 0; r < rows; ++r) {
      offsets_[r] = offset;
      const uint16_t count = Be16(counts.data() + 2 * r);
      if (count < shortestRow) throw DecodeError("Photoshop row is too short for its width");
      offset += count;
    }
    Slice(file, in.Offset(), offset - in.Offset());  // all rows are there before the picture is allocated
    counts_ = counts;
  }

  uint64_t RowBytes() const { return rowBytes_; }

  // The row as 8-bit samples (16-bit samples rounded).
  const std::vector<uint8_t>& Read(uint32_t channel, uint32_t y) {
    const uint64_t r = uint64_t{channel} * h_.height + y;
    if (compression_ == 0)
      std::memcpy(raw_.data(), Slice(file_, offsets_[r], rowBytes_).data(), rowBytes_);
    else
      UnpackBits(Slice(file_, offsets_[r], Be16(counts_.data() + 2 * r)), raw_.data(), rowBytes_);
    if (h_.depth == 16)
      for (uint32_t x = 0; x < h_.width; ++x) raw_[x] = static_cast<uint8_t>(ScaleTo8Bits(Be16(&raw_[2 * size_t{x}]), 0xFFFF));
    return raw_;
  }

private:
  Bytes file_;
  PsdHeader h_;
  uint64_t rowBytes_;
  uint16_t compression_ = 0;
  std::vector<uint64_t> offsets_;
  Bytes counts_;
  std::vector<uint8_t> raw_;
};

uint8_t ToByte(double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 255.0))); }

// CIE L*a*b* (D50, as Photoshop keeps it) to sRGB.
uint32_t LabToArgb(uint8_t l8, uint8_t a8, uint8_t b8) {
  const double l = l8 * 100.0 / 255.0, a = a8 - 128.0, b = b8 - 128.0;
  const double fy = (l + 16) / 116, fx = fy + a / 500, fz = fy - b / 200;
  const auto inverse = [](double t) { return t > 6.0 / 29 ? t * t * t : 3 * (6.0 / 29) * (6.0 / 29) * (t - 4.0 / 29); };
  const double x = 0.9642 * inverse(fx), y = inverse(fy), z = 0.8249 * inverse(fz);
  const auto gamma = [](double c) {
    c = std::clamp(c, 0.0, 1.0);
    return 255 * (c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1 / 2.4) - 0.055);
  };
  return Argb(ToByte(gamma(3.1338561 * x - 1.6168667 * y - 0.4906146 * z)),
              ToByte(gamma(-0.9787684 * x + 1.9161415 * y + 0.0334540 * z)),
              ToByte(gamma(0.0719453 * x - 0.2289914 * y + 1.4052427 * z)));
}

uint32_t ToPixel(const PsdHeader& h, Bytes palette, const uint8_t* s) {
  switch (h.mode) {
    case kBitmap: return s[0] ? Argb(0, 0, 0) : Argb(255, 255, 255);
    case kIndexed: return Argb(palette[s[0]], palette[256 + s[0]], palette[512 + s[0]]);
    case kRgb: return Argb(s[0], s[1], s[2]);
    case kCmyk: return Argb(s[0] * s[3] / 255, s[1] * s[3] / 255, s[2] * s[3] / 255);  // inverted: 255 is no ink
    case kLab: return LabToArgb(s[0], s[1], s[2]);
    default: return Argb(s[0], s[0], s[0]);
  }
}

Image Load(Bytes file, Bytes) {
  PsdHeader h;
  if (!ValidHeader(file, h)) throw DecodeError("Not a Photoshop image");
  const uint32_t colours = ColourChannels(h);
  CheckDimensions(h.width, h.height);
  const Sections sections = ReadSections(file);
  if (h.mode == kIndexed && sections.colourData.size() < 768) throw DecodeError("Photoshop palette is missing");
  const bool alpha = sections.mergedAlpha && h.channels > colours;
  const uint32_t used = colours + (alpha ? 1 : 0);
  RowReader rows(file, sections.imageData, h, used);
  Image image = AllocateImage(h.width, h.height, h.channels * h.depth);
  image.hasAlpha = alpha;
  std::vector<uint8_t> samples(size_t{used} * h.width);
  for (uint32_t y = 0; y < h.height; ++y) {
    for (uint32_t c = 0; c < used; ++c) {
      const std::vector<uint8_t>& row = rows.Read(c, y);
      for (uint32_t x = 0; x < h.width; ++x) samples[size_t{x} * used + c] = h.depth == 1 ? PackedSample(row.data(), x, 1) : row[x];
    }
    uint32_t* out = image.Row(y);
    for (uint32_t x = 0; x < h.width; ++x) {
      const uint8_t* s = &samples[size_t{x} * used];
      out[x] = ToPixel(h, sections.colourData, s);
      if (alpha) SetChannel(out[x], 24, s[colours]);
    }
  }
  return image;
}

}  // namespace

const FileFormat kPsdFormat = {
    "TPSDGraphic",
    {{"psd", "Photoshop images"},
     {"pdd", "Photoshop images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
