// Paint Shop Pro files: a 32-byte signature, a major and minor version, then blocks ("~BK\0", a 16-bit id,
// and the block's length; files of major version 3 (Paint Shop Pro 5) also give the length of the block's
// leading data, later ones open each block with a chunk that starts with its own length). Blocks nest: the
// composite image bank holds attribute blocks each followed by its image, the layer bank holds layers, and
// images and layers hold palette and channel blocks. A channel is stored uncompressed, RLE or LZ77 (zlib)
// compressed, one byte (or 1 or 4 bits of palette index) per pixel in rows that may be padded. We read the
// full-size composite image, or else the one layer of a single-layer file. Every length is checked against
// its enclosing block.
#include <cstring>
#include <optional>
#include <vector>
#include <zlib.h>

#include "imaging/ByteReader.h"
#include "imaging/FileFormatList.h"
#include "imaging/Pixels.h"
#include "imaging/SampleScale.h"

namespace imaging {

namespace {

constexpr char kSignature[] = "Paint Shop Pro Image File\n\x1a";
constexpr size_t kSignatureSize = 32, kFileHeaderSize = 36;

enum BlockId : uint16_t {
  kImageAttributes = 0,
  kPalette = 2,
  kLayerBank = 3,
  kLayer = 4,
  kChannel = 5,
  kCompositeImage = 9,
  kCompositeBank = 16,
  kCompositeAttributes = 17,
};

enum Compression : uint16_t { kNone = 0, kRle = 1, kLz77 = 2 };

struct Block {
  uint16_t id = 0;
  Bytes info;  // the block's leading fields, without any chunk length
  Bytes rest;  // what follows them: nested blocks, or a channel's data
};

// Splits a span into blocks, in the layout of the file's major version.
class BlockReader {
public:
  BlockReader(Bytes data, uint16_t major) : in_(data), major_(major) {}

  bool Next(Block& block) {
    if (in_.AtEnd()) return false;
    if (std::memcmp(in_.Take(4).data(), "~BK\0", 4) != 0) throw DecodeError("Paint Shop Pro block is damaged");
    block.id = in_.U16Le();
    if (major_ == 3) {
      const uint32_t infoLength = in_.U32Le();
      const Bytes body = in_.Take(in_.U32Le());
      block.info = Slice(body, 0, infoLength);
      block.rest = body.subspan(infoLength);
    } else {
      const Bytes body = in_.Take(in_.U32Le());
      const Bytes chunk = TakeChunk(body);
      block.info = chunk.subspan(4);
      block.rest = body.subspan(chunk.size());
    }
    return true;
  }

  // A chunk that begins with its own 32-bit length.
  static Bytes TakeChunk(Bytes data) {
    const uint32_t length = Le32(Slice(data, 0, 4).data());
    if (length < 4) throw DecodeError("Paint Shop Pro chunk is damaged");
    return Slice(data, 0, length);
  }

private:
  ByteReader in_;
  uint16_t major_;
};

struct Attributes {
  uint32_t width = 0, height = 0, bitDepth = 0;
  uint16_t compression = 0;
  bool grey = false;
  uint16_t layerCount = 0;
};

Attributes ParseImageAttributes(Bytes info) {
  ByteReader in(info);
  Attributes a;
  const int32_t width = in.I32Le(), height = in.I32Le();
  in.Skip(9);  // resolution and its unit
  a.compression = in.U16Le();
  a.bitDepth = in.U16Le();
  in.Skip(6);  // planes, colour count
  a.grey = in.U8() != 0;
  in.Skip(8);  // total image size, active layer
  a.layerCount = in.U16Le();
  if (width <= 0 || height <= 0) throw DecodeError("Paint Shop Pro image has no pixels");
  a.width = static_cast<uint32_t>(width);
  a.height = static_cast<uint32_t>(height);
  return a;
}

// Where a bitmap's pixels land on the canvas.
struct Region {
  int64_t left = 0, top = 0;
  uint32_t width = 0, height = 0;
};

// The picture being built: the canvas, its palette, and how its channels are stored.
struct Canvas {
  Image image;
  Palette palette;
  uint32_t indexBits = 8;  // bits of palette index per pixel in a composite channel
  uint16_t compression = 0;
};

// The most bytes that `size` compressed bytes can give: RLE makes 127 of 2, deflate 1032 of 1.
uint64_t MostUnpacked(uint64_t size, uint16_t compression) {
  return compression == kNone ? size : compression == kRle ? size / 2 * 127 + 127 : size * 1032 + 1032;
}

std::vector<uint8_t> Unpack(Bytes data, uint16_t compression, uint32_t length) {
  if (length > MostUnpacked(data.size(), compression)) throw DecodeError("Paint Shop Pro channel is truncated");
  std::vector<uint8_t> out(length);
  if (compression == kNone) {
    std::memcpy(out.data(), Slice(data, 0, length).data(), length);
  } else if (compression == kRle) {
    size_t i = 0, o = 0;
    while (o < length) {
      if (i >= data.size()) throw DecodeError("Paint Shop Pro channel is truncated");
      const uint8_t code = data[i++];
      const size_t count = code > 128 ? code - 128u : code;
      if (count > length - o) throw DecodeError("Paint Shop Pro run overflows its channel");
      if (code > 128) {
        if (i >= data.size()) throw DecodeError("Paint Shop Pro channel is truncated");
        std::memset(out.data() + o, data[i++], count);
      } else {
        if (count > data.size() - i) throw DecodeError("Paint Shop Pro channel is truncated");
        std::memcpy(out.data() + o, data.data() + i, count);
        i += count;
      }
      o += count;
    }
  } else if (compression == kLz77) {
    uLongf produced = length;
    if (uncompress(out.data(), &produced, data.data(), static_cast<uLong>(data.size())) != Z_OK || produced != length)
      throw DecodeError("Paint Shop Pro channel does not inflate");
  } else {
    throw DecodeError("Paint Shop Pro compression is not supported");
  }
  return out;
}

// Decodes one channel block and lays it onto the canvas.
void ApplyChannel(Canvas& canvas, const Region& region, const Block& block) {
  ByteReader info(block.info);
  info.Skip(4);  // compressed length: the data is what follows the leading fields
  const uint32_t length = info.U32Le();
  const uint16_t bitmapType = info.U16Le(), channelType = info.U16Le();
  const bool image = bitmapType == 0, mask = bitmapType == 1;
  if ((!image && !mask) || (image && channelType > 3)) return;
  const uint32_t bits = image && channelType == 0 ? canvas.indexBits : 8;
  const uint64_t minimumStride = (uint64_t{region.width} * bits + 7) / 8;
  const uint64_t stride = length / region.height;
  if (stride * region.height != length || stride < minimumStride || stride > minimumStride + 3)
    throw DecodeError("Paint Shop Pro channel size does not match its bitmap");
  const std::vector<uint8_t> data = Unpack(block.rest, canvas.compression, length);
  const uint32_t shift = mask ? 24 : channelType == 0 ? 0 : 24 - 8 * channelType;
  Image& out = canvas.image;
  for (uint32_t y = 0; y < region.height; ++y) {
    const int64_t cy = region.top + y;
    if (cy < 0 || cy >= out.height) continue;
    const uint8_t* row = data.data() + y * stride;
    for (uint32_t x = 0; x < region.width; ++x) {
      const int64_t cx = region.left + x;
      if (cx < 0 || cx >= out.width) continue;
      uint32_t& pixel = out.Row(static_cast<uint32_t>(cy))[cx];
      const uint32_t v = PackedSample(row, x, bits);
      if (image && channelType == 0)
        pixel = (pixel & 0xFF000000u) | (canvas.palette[v] & 0x00FFFFFFu);
      else
        SetChannel(pixel, shift, v);
    }
  }
  if (mask) out.hasAlpha = true;
}

Palette ParsePalette(const Block& block) {
  const uint32_t count = Le32(Slice(block.info, 0, 4).data());
  if (count > 256) throw DecodeError("Paint Shop Pro palette is too large");
  return ReadPalette(block.rest, count, 4, ColourOrder::kBgr);
}

// Lays a bitmap's palette and channel blocks onto the canvas.
void ApplyBitmap(Canvas& canvas, const Region& region, Bytes blocks, uint16_t major) {
  BlockReader reader(blocks, major);
  Block block;
  while (reader.Next(block)) {
    if (block.id == kPalette) canvas.palette = ParsePalette(block);
    if (block.id == kChannel) ApplyChannel(canvas, region, block);
  }
}

// The full-size composite image in the composite image bank; false when the bank has none.
bool ApplyComposite(Canvas& canvas, const Block& bank, uint16_t major) {
  BlockReader reader(bank.rest, major);
  Block block;
  bool fullSize = false;
  while (reader.Next(block)) {
    if (block.id == kCompositeAttributes) {
      ByteReader in(block.info);
      const int32_t width = in.I32Le(), height = in.I32Le();
      const uint16_t bitDepth = in.U16Le(), compression = in.U16Le();
      in.Skip(6);  // planes, colour count
      const uint16_t type = in.U16Le();
      fullSize = type == 0 && width == static_cast<int64_t>(canvas.image.width) &&
                 height == static_cast<int64_t>(canvas.image.height) && bitDepth == canvas.image.bitsPerPixel;
      canvas.compression = compression;
    } else if (block.id == kCompositeImage && fullSize) {
      ApplyBitmap(canvas, {0, 0, canvas.image.width, canvas.image.height}, block.rest, major);
      return true;
    }
  }
  return false;
}

Region LayerRegion(Bytes info, uint16_t major) {
  ByteReader in(info);
  in.Skip(major == 3 ? 256 : in.U16Le());  // the name
  in.Skip(1 + 16);                           // layer type, image rectangle
  const int32_t left = in.I32Le(), top = in.I32Le(), right = in.I32Le(), bottom = in.I32Le();
  if (right <= left || bottom <= top) throw DecodeError("Paint Shop Pro layer is empty");
  Region region{left, top, static_cast<uint32_t>(int64_t{right} - left), static_cast<uint32_t>(int64_t{bottom} - top)};
  CheckDimensions(region.width, region.height);
  return region;
}

// The one layer of a single-layer file.
void ApplySingleLayer(Canvas& canvas, const Block& bank, uint16_t major) {
  BlockReader reader(bank.rest, major);
  Block layer;
  if (!reader.Next(layer) || layer.id != kLayer) throw DecodeError("Paint Shop Pro layer bank is empty");
  const Region region = LayerRegion(layer.info, major);
  Image& image = canvas.image;
  if (region.left > 0 || region.top > 0 || region.left + region.width < image.width ||
      region.top + region.height < image.height) {
    // What the layer does not cover is transparent; what it covers is opaque unless a mask says otherwise.
    image.hasAlpha = true;
    for (uint32_t y = 0; y < image.height; ++y)
      for (uint32_t x = 0; x < image.width; ++x) {
        const bool covered = x >= region.left && x - region.left < region.width && y >= region.top &&
                             y - region.top < region.height;
        image.Row(y)[x] = covered ? 0xFF000000u : 0u;
      }
  }
  // Later versions put a chunk with the bitmap and channel counts before the channels.
  const Bytes channels = major == 3 ? layer.rest : layer.rest.subspan(BlockReader::TakeChunk(layer.rest).size());
  ApplyBitmap(canvas, region, channels, major);
}

bool CanLoad(Bytes head, uint64_t) {
  return head.size() >= kFileHeaderSize && std::memcmp(head.data(), kSignature, sizeof kSignature - 1) == 0 &&
         Le16(head.data() + kSignatureSize) >= 3;
}

Canvas MakeCanvas(const Attributes& a) {
  if (a.bitDepth != 1 && a.bitDepth != 4 && a.bitDepth != 8 && a.bitDepth != 24)
    throw DecodeError("Paint Shop Pro bit depth is not supported");
  Canvas canvas;
  canvas.image = AllocateImage(a.width, a.height, a.bitDepth);
  canvas.indexBits = a.bitDepth == 24 ? 8 : a.bitDepth;
  canvas.compression = a.compression;
  canvas.palette = GreyPalette(1u << canvas.indexBits);
  return canvas;
}

Image Load(Bytes file, Bytes) {
  if (!CanLoad(file, file.size())) throw DecodeError("Not a Paint Shop Pro image");
  const uint16_t major = Le16(file.data() + kSignatureSize);
  BlockReader reader(file.subspan(kFileHeaderSize), major);
  Block block, attributesBlock, layerBank, compositeBank;
  bool haveAttributes = false;
  std::optional<Palette> palette;
  while (reader.Next(block)) {
    if (block.id == kImageAttributes) attributesBlock = block, haveAttributes = true;
    if (block.id == kPalette) palette = ParsePalette(block);
    if (block.id == kLayerBank) layerBank = block;
    if (block.id == kCompositeBank) compositeBank = block;
  }
  if (!haveAttributes) throw DecodeError("Paint Shop Pro image attributes are missing");
  const Attributes attributes = ParseImageAttributes(attributesBlock.info);
  CheckDimensions(attributes.width, attributes.height);
  Canvas canvas = MakeCanvas(attributes);
  if (palette) canvas.palette = *palette;
  if (compositeBank.id == kCompositeBank && ApplyComposite(canvas, compositeBank, major)) return std::move(canvas.image);
  if (layerBank.id != kLayerBank) throw DecodeError("Paint Shop Pro image has no pixels");
  if (attributes.layerCount != 1) throw DecodeError("Paint Shop Pro image has several layers and no composite image");
  canvas.compression = attributes.compression;
  ApplySingleLayer(canvas, layerBank, major);
  return std::move(canvas.image);
}

}  // namespace

const FileFormat kPspFormat = {
    "TPSPGraphic",
    {{"psp", "Paintshop Pro images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
