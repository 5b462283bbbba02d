// Alias/Wavefront RLA files: a 740-byte big-endian header, a table of one 32-bit file offset per scanline
// (bottom scanline first), and per scanline the colour channels, the matte channels and the auxiliary channels,
// each as a 16-bit length and a run-length record. A record holds one run-length span per byte of the
// channel's samples (most significant first), each expanding to one byte per pixel. The offsets are checked one
// by one: they may come in any order, and one out of the file is an error.
#include <algorithm>
#include <vector>

#include "imaging/ByteReader.h"
#include "imaging/FileFormatList.h"
#include "imaging/Pixels.h"

namespace imaging {

namespace {

constexpr size_t kHeaderSize = 740;

struct RlaHeader {
  uint32_t width = 0, height = 0;
  uint32_t colourChannels = 0, matteChannels = 0;
  uint32_t colourBits = 0, matteBits = 0;
};

// Bits per sample as stored; old writers left the field zero for 8 bits.
uint32_t SampleBits(uint16_t stored) { return stored == 0 ? 8 : stored; }

bool ValidHeader(Bytes head, uint64_t fileSize, RlaHeader& h) {
  if (head.size() < kHeaderSize + 4) return false;
  const auto field = [&](size_t at) { return static_cast<int16_t>(Be16(head.data() + at)); };
  const int32_t left = field(8), right = field(10), bottom = field(12), top = field(14);
  if (field(2) < field(0) || field(6) < field(4) || right < left || top < bottom) return false;
  if (field(18) != 0) return false;  // storage type
  const int32_t colours = field(20), mattes = field(22), aux = field(24);
  if ((colours != 1 && colours != 3) || mattes < 0 || mattes > 1 || aux < 0 || aux > 8) return false;
  h.width = static_cast<uint32_t>(right - left + 1);
  h.height = static_cast<uint32_t>(top - bottom + 1);
  h.colourChannels = static_cast<uint32_t>(colours);
  h.matteChannels = static_cast<uint32_t>(mattes);
  h.colourBits = SampleBits(Be16(head.data() + 658));
  h.matteBits = SampleBits(Be16(head.data() + 662));
  const auto knownBits = [](uint32_t bits) { return bits == 8 || bits == 16 || bits == 32; };
  if (!knownBits(h.colourBits) || (mattes > 0 && !knownBits(h.matteBits))) return false;
  const uint64_t tableEnd = kHeaderSize + 4 * uint64_t{h.height};
  const uint32_t firstOffset = Be32(head.data() + kHeaderSize);
  return fileSize >= tableEnd && firstOffset >= tableEnd && firstOffset < fileSize;
}

bool CanLoad(Bytes head, uint64_t fileSize) {
  RlaHeader h;
  return ValidHeader(head, fileSize, h);
}

// Expands one span into `width` bytes of out; returns how many bytes of `in` it used.
size_t ExpandSpan(Bytes in, uint8_t* out, uint32_t width) {
  size_t i = 0;
  uint32_t x = 0;
  while (x < width) {
    if (i >= in.size()) throw DecodeError("RLA scanline is truncated");
    const int8_t code = static_cast<int8_t>(in[i++]);
    const uint32_t count = code >= 0 ? uint32_t(code) + 1 : uint32_t(-code);
    if (count > width - x) throw DecodeError("RLA run overflows the scanline");
    if (code >= 0) {
      if (i >= in.size()) throw DecodeError("RLA scanline is truncated");
      std::fill_n(out + x, count, in[i++]);
    } else {
      if (count > in.size() - i) throw DecodeError("RLA scanline is truncated");
      std::copy_n(in.data() + i, count, out + x);
      i += count;
    }
    x += count;
  }
  return i;
}

// Reads one channel record at the stream's position into 8-bit samples, the first `width` bytes of samples
// (the most significant byte; the lower one, which an 8-bit picture does not show, goes behind them).
void ReadChannel(ByteReader& in, uint32_t bits, uint32_t width, std::vector<uint8_t>& samples) {
  if (bits == 32) throw DecodeError("RLA floating-point channels are not supported");
  const Bytes record = in.Take(in.U16Be());
  const size_t used = ExpandSpan(record, samples.data(), width);
  if (bits == 16) ExpandSpan(record.subspan(used), samples.data() + width, width);
}

Image Load(Bytes file, Bytes) {
  RlaHeader h;
  if (!ValidHeader(file, file.size(), h)) throw DecodeError("Not an RLA image");
  CheckDimensions(h.width, h.height);
  const Bytes offsets = Slice(file, kHeaderSize, 4 * uint64_t{h.height});
  Image image = AllocateImage(h.width, h.height, h.colourChannels * h.colourBits + h.matteChannels * h.matteBits);
  image.hasAlpha = h.matteChannels > 0;
  std::vector<uint8_t> samples(2 * size_t{h.width});
  for (uint32_t line = 0; line < h.height; ++line) {
    ByteReader in(file);
    in.Seek(Be32(offsets.data() + 4 * size_t{line}));
    uint32_t* out = image.Row(h.height - 1 - line);
    for (uint32_t c = 0; c < h.colourChannels + h.matteChannels; ++c) {
      const bool matte = c >= h.colourChannels;
      ReadChannel(in, matte ? h.matteBits : h.colourBits, h.width, samples);
      const uint32_t shift = matte ? 24 : h.colourChannels == 1 ? 0 : 16 - 8 * c;
      for (uint32_t x = 0; x < h.width; ++x) {
        if (!matte && h.colourChannels == 1)
          SetGrey(out[x], samples[x]);
        else
          SetChannel(out[x], shift, samples[x]);
      }
    }
  }
  return image;
}

}  // namespace

const FileFormat kRlaFormat = {
    "TRLAGraphic",
    {{"rpf", "Alias/Wavefront images"},
     {"rla", "Alias/Wavefront images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
