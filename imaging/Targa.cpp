// Truevision Targa. Layout: an 18-byte little-endian header (id length, colour-map type, image type, map
// first entry, map length, map entry size, origin, width, height, pixel depth, descriptor), the image id, the
// colour map, then the pixels, raw or as RLE packets (a count byte, then one pixel repeated or that many raw
// pixels). Rows run bottom-up unless descriptor bit 5 is set, right to left when bit 4 is; bits 0-3 count
// the alpha bits. A TGA 2.0 file ends with a 26-byte footer ("TRUEVISION-XFILE.") that points to an
// extension area whose attributes type says whether the alpha bits hold alpha.
// Hostile files: there is no magic number, so the header is checked for plausibility before anything else;
// map indices may fall outside the map (they give black), packets may run past the last pixel, the map and
// the pixels may reach past the end of the file, and a tiny RLE file may claim a huge picture (the smallest
// possible packets bound what the file can hold, checked before allocating).
#include <cstring>
#include <optional>

#include "imaging/ByteReader.h"
#include "imaging/FileFormatList.h"
#include "imaging/SampleScale.h"

namespace imaging {

namespace {

constexpr size_t kHeaderSize = 18;
constexpr size_t kFooterSize = 26;
constexpr char kFooterSignature[] = "TRUEVISION-XFILE.";  // 18 bytes with its terminating zero
constexpr size_t kExtensionAreaSize = 495;
constexpr size_t kAttributesTypeOffset = 494;
constexpr uint8_t kAttributesUsefulAlpha = 3;
constexpr uint32_t kMaxRlePacket = 128;

struct TargaHeader {
  uint8_t idLength, colorMapType, imageType;
  uint16_t mapFirst, mapLength;
  uint8_t mapEntrySize;
  uint16_t width, height;
  uint8_t pixelDepth, descriptor;

  bool IsColorMapped() const { return (imageType & 7) == 1; }
  bool IsGray() const { return (imageType & 7) == 3; }
  bool IsRle() const { return imageType >= 9; }
  uint32_t AlphaBits() const { return descriptor & 0x0F; }
  bool TopDown() const { return (descriptor & 0x20) != 0; }
  bool RightToLeft() const { return (descriptor & 0x10) != 0; }
  uint32_t BytesPerPixel() const { return (pixelDepth + 7u) / 8; }
  uint64_t MapBytes() const { return colorMapType ? uint64_t{mapLength} * ((mapEntrySize + 7u) / 8) : 0; }
  uint64_t PixelCount() const { return uint64_t{width} * height; }
};

TargaHeader ParseHeader(const uint8_t* p) {
  return {p[0], p[1], p[2], Le16(p + 3), Le16(p + 5), p[7], Le16(p + 12), Le16(p + 14), p[16], p[17]};
}

bool IsColorDepth(uint32_t bits) { return bits == 15 || bits == 16 || bits == 24 || bits == 32; }

bool PixelDepthFitsType(const TargaHeader& h) {
  const uint8_t d = h.pixelDepth;
  if (h.IsColorMapped()) return d == 8 || d == 15 || d == 16;
  if (h.IsGray()) return d == 8 || d == 16;
  return IsColorDepth(d);
}

// What every file that we can decode satisfies.
bool HasValidLayout(const TargaHeader& h) {
  const uint8_t type = h.imageType;
  const bool knownType = type == 1 || type == 2 || type == 3 || type == 9 || type == 10 || type == 11;
  if (!knownType || h.colorMapType > 1 || h.width == 0 || h.height == 0) return false;
  if (h.IsColorMapped() && h.colorMapType != 1) return false;
  if (h.IsGray() && h.colorMapType != 0) return false;
  if (h.colorMapType == 1 && (h.mapLength == 0 || !IsColorDepth(h.mapEntrySize))) return false;
  if (h.colorMapType == 0 && h.mapEntrySize != 0 && !IsColorDepth(h.mapEntrySize)) return false;
  if ((h.descriptor & 0xC0) != 0 || h.AlphaBits() > 8) return false;  // interleaving is long obsolete
  return PixelDepthFitsType(h);
}

// What writers do in practice, but the format does not demand: required only of files without the footer.
bool LooksConventional(const TargaHeader& h) {
  if (h.colorMapType == 0 && (h.mapFirst != 0 || h.mapLength != 0 || h.mapEntrySize != 0)) return false;
  const uint32_t bits = h.IsColorMapped() ? h.mapEntrySize : h.pixelDepth;
  const uint32_t alpha = h.AlphaBits();
  if (bits == 32 || (h.IsGray() && bits == 16)) return alpha == 0 || alpha == 8;
  if (bits == 16 || bits == 15) return alpha <= 1;
  return alpha == 0;
}

// The smallest file that can hold the header, id, map and every pixel.
uint64_t MinimumSize(const TargaHeader& h) {
  const uint64_t pixels = h.PixelCount();
  const uint64_t data = h.IsRle() ? (pixels + kMaxRlePacket - 1) / kMaxRlePacket * (1 + h.BytesPerPixel())
                                  : pixels * h.BytesPerPixel();
  return kHeaderSize + h.idLength + h.MapBytes() + data;
}

bool HasFooter(Bytes file) {
  return file.size() >= kHeaderSize + kFooterSize &&
         std::memcmp(file.data() + file.size() - sizeof kFooterSignature, kFooterSignature,
                     sizeof kFooterSignature) == 0;
}

// The extension area's attributes type, when the file has a footer that points to a whole extension area.
std::optional<uint8_t> AttributesType(Bytes file) {
  if (!HasFooter(file)) return std::nullopt;
  const size_t footer = file.size() - kFooterSize;
  const uint32_t offset = Le32(file.data() + footer);
  if (offset < kHeaderSize || offset > footer || footer - offset < kExtensionAreaSize) return std::nullopt;
  if (Le16(file.data() + offset) < kExtensionAreaSize) return std::nullopt;
  return file[offset + kAttributesTypeOffset];
}

bool CanLoad(Bytes head, uint64_t fileSize) {
  if (head.size() < kHeaderSize) return false;
  const TargaHeader h = ParseHeader(head.data());
  if (!HasValidLayout(h) || fileSize < MinimumSize(h)) return false;
  return (head.size() == fileSize && HasFooter(head)) || LooksConventional(h);
}

// A 15-, 16-, 24- or 32-bit colour, stored blue first.
uint32_t ColorToArgb(const uint8_t* p, uint32_t bits, bool alpha) {
  if (bits == 24 || bits == 32) return Argb(p[2], p[1], p[0], alpha && bits == 32 ? p[3] : 255);
  const uint32_t v = Le16(p);
  const uint32_t a = alpha && bits == 16 && (v & 0x8000) == 0 ? 0 : 255;
  return Argb(ScaleBitsTo8((v >> 10) & 31, 5), ScaleBitsTo8((v >> 5) & 31, 5), ScaleBitsTo8(v & 31, 5), a);
}

std::vector<uint32_t> ReadColorMap(ByteReader& in, const TargaHeader& h, bool alpha) {
  const uint32_t entryBytes = (h.mapEntrySize + 7u) / 8;
  Bytes entries = in.Take(h.MapBytes());
  if (!h.IsColorMapped()) return {};  // a true-colour file may carry a map that it does not use
  std::vector<uint32_t> map(h.mapLength);
  for (size_t i = 0; i < map.size(); ++i) map[i] = ColorToArgb(&entries[i * entryBytes], h.mapEntrySize, alpha);
  return map;
}

class PixelConverter {
public:
  PixelConverter(const TargaHeader& h, std::vector<uint32_t> map, bool alpha)
      : h_(h), map_(std::move(map)), alpha_(alpha) {}

  uint32_t operator()(const uint8_t* p) const {
    if (h_.IsGray()) return Argb(p[0], p[0], p[0], alpha_ && h_.pixelDepth == 16 ? p[1] : 255);
    if (!h_.IsColorMapped()) return ColorToArgb(p, h_.pixelDepth, alpha_);
    const uint32_t index = h_.pixelDepth == 8 ? p[0] : Le16(p);
    if (index < h_.mapFirst || index - h_.mapFirst >= map_.size()) return Argb(0, 0, 0);
    return map_[index - h_.mapFirst];
  }

private:
  TargaHeader h_;
  std::vector<uint32_t> map_;
  bool alpha_;
};

// Calls put(pixelBytes) once per pixel, in file order.
template <typename Put>
void ForEachPixel(ByteReader& in, const TargaHeader& h, Put put) {
  const uint32_t bpp = h.BytesPerPixel();
  const uint64_t total = h.PixelCount();
  if (!h.IsRle()) {
    Bytes data = in.Take(total * bpp);
    for (uint64_t i = 0; i < total; ++i) put(&data[i * bpp]);
    return;
  }
  for (uint64_t done = 0; done < total;) {
    const uint8_t packet = in.U8();
    const uint32_t count = (packet & 0x7F) + 1u;
    if (count > total - done) throw DecodeError("Targa packet runs past the end of the picture");
    const bool repeated = (packet & 0x80) != 0;
    Bytes data = in.Take(repeated ? bpp : uint64_t{count} * bpp);
    for (uint32_t k = 0; k < count; ++k) put(&data[repeated ? 0 : k * bpp]);
    done += count;
  }
}

Image Load(Bytes file, Bytes) {
  if (file.size() < kHeaderSize) throw DecodeError("Targa header is truncated");
  const TargaHeader h = ParseHeader(file.data());
  if (!HasValidLayout(h)) throw DecodeError("Unsupported Targa picture");
  if (file.size() < MinimumSize(h)) throw DecodeError("Targa picture is truncated");

  const uint32_t colorBits = h.IsColorMapped() ? h.mapEntrySize : h.pixelDepth;
  const auto attributes = AttributesType(file);
  const bool alpha = h.AlphaBits() > 0 && (colorBits == 16 || colorBits == 32) &&
                     (!attributes || *attributes >= kAttributesUsefulAlpha);

  ByteReader in(file);
  in.Seek(kHeaderSize + h.idLength);
  const PixelConverter convert(h, ReadColorMap(in, h, alpha), alpha);
  Image image = AllocateImage(h.width, h.height, h.pixelDepth);
  image.hasAlpha = alpha;
  uint32_t x = 0, row = 0;
  ForEachPixel(in, h, [&](const uint8_t* p) {
    const uint32_t y = h.TopDown() ? row : h.height - 1 - row;
    image.Row(y)[h.RightToLeft() ? h.width - 1 - x : x] = convert(p);
    if (++x == h.width) x = 0, ++row;
  });
  return image;
}

}  // namespace

const FileFormat kTargaFormat = {
    "TTargaGraphic",
    {{"win", "Truevision images"},
        {"vst", "Truevision images"},
        {"vda", "Truevision images"},
        {"tga", "Truevision images"},
        {"icb", "Truevision images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
