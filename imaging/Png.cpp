// PNG pictures through libpng. A PNG file is an 8-byte signature and a chain of CRC-checked chunks; the
// pixels are one zlib stream spread over IDAT chunks, filtered per row, optionally Adam7-interlaced. A
// hostile file can claim huge dimensions, stop inside any chunk, or carry bad CRCs or a bad zlib stream:
// libpng reports all of these through its error callback, which longjmps back to the function that set
// the jump and becomes a DecodeError here. Those functions hold plain data only, since a longjmp skips
// destructors.
#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "imaging/Png.h"

#include "imaging/FileFormatList.h"

namespace imaging {

namespace {

static_assert(std::endian::native == std::endian::little, "pixels are read as B, G, R, A bytes");

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// What libpng's callbacks reach through their user pointer.
struct PngSource {
  const uint8_t* data;
  size_t size;
  size_t offset;
  char message[200];
};

void OnError(png_structp png, png_const_charp message) {
  auto* source = static_cast<PngSource*>(png_get_error_ptr(png));
  std::snprintf(source->message, sizeof source->message, "%s", message);
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void OnRead(png_structp png, png_bytep out, size_t length) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (length > source->size - source->offset) png_error(png, "Unexpected end of file");
  std::memcpy(out, source->data + source->offset, length);
  source->offset += length;
}

struct PngHeader {
  uint32_t width;
  uint32_t height;
  uint32_t bitsPerPixel;
  bool hasAlpha;
  size_t rowBytes;
  int passes;
  uint32_t colours;      // of a palette picture, else 0
  uint32_t palette[256];  // its colours as pixels
};

// libpng turns an index past the palette's end into black without a word; other readers refuse the file. So
// a palette picture is read as one index byte per pixel, and its colours are put in here.
void ReadPalette(png_structp png, png_infop info, PngHeader* header) {
  png_colorp colours = nullptr;
  int count = 0;
  png_bytep alpha = nullptr;
  int alphaCount = 0;
  png_get_PLTE(png, info, &colours, &count);
  png_get_tRNS(png, info, &alpha, &alphaCount, nullptr);
  header->colours = static_cast<uint32_t>(count);
  for (int i = 0; i < count; ++i)
    header->palette[i] = Argb(colours[i].red, colours[i].green, colours[i].blue, i < alphaCount ? alpha[i] : 255);
  png_set_packing(png);
}

// A palette picture's row holds its indexes in its first bytes; each becomes its colour, from the right so
// that no index is overwritten before it is read.
void ExpandIndexes(const PngHeader& header, uint32_t* row) {
  const uint8_t* indexes = reinterpret_cast<const uint8_t*>(row);
  for (uint32_t x = header.width; x-- > 0;) {
    const uint8_t index = indexes[x];
    if (index >= header.colours) throw DecodeError("Cannot read the PNG picture: a palette index lies past the palette");
    row[x] = header.palette[index];
  }
}

// Reads the chunks up to the pixels and asks libpng for 8-bit B, G, R, A rows whatever the file holds.
bool ReadHeader(png_structp png, png_infop info, PngHeader* header) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  const int colorType = png_get_color_type(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
  header->width = png_get_image_width(png, info);
  header->height = png_get_image_height(png, info);
  header->bitsPerPixel = static_cast<uint32_t>(bitDepth) * png_get_channels(png, info);
  header->hasAlpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  if (colorType == PNG_COLOR_TYPE_PALETTE) {
    ReadPalette(png, info, header);
  } else {
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  }
  header->passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  header->rowBytes = png_get_rowbytes(png, info);
  return true;
}

// Each pass of an interlaced file fills in its own pixels of the same rows.
bool ReadPixels(png_structp png, png_infop info, uint8_t* firstRow, size_t stride, uint32_t height, int passes) {
  if (setjmp(png_jmpbuf(png))) return false;
  for (int pass = 0; pass < passes; ++pass)
    for (uint32_t y = 0; y < height; ++y) png_read_row(png, firstRow + y * stride, nullptr);
  png_read_end(png, info);
  return true;
}

bool ReadRow(png_structp png, uint8_t* row) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_row(png, row, nullptr);
  return true;
}

// The chunks after the pixels, up to IEND, with the pixel data's checksum.
bool ReadEnd(png_structp png, png_infop info) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_end(png, info);
  return true;
}

// Owns libpng's read and info structures for one decode.
class PngReader {
public:
  explicit PngReader(Bytes file) : source_{file.data(), file.size(), 0, ""} {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source_, OnError, OnWarning);
    if (png_) info_ = png_create_info_struct(png_);
    if (!info_) {
      png_destroy_read_struct(&png_, nullptr, nullptr);
      throw DecodeError("Not enough memory to read the PNG picture");
    }
    png_set_read_fn(png_, &source_, OnRead);
    png_set_user_limits(png_, static_cast<uint32_t>(kMaxPixels), static_cast<uint32_t>(kMaxPixels));
  }
  ~PngReader() { png_destroy_read_struct(&png_, &info_, nullptr); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;

  png_structp png() const { return png_; }
  png_infop info() const { return info_; }
  [[noreturn]] void Fail() const { throw DecodeError(std::string("Cannot read the PNG picture: ") + source_.message); }

private:
  PngSource source_;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

bool CanLoad(Bytes head, uint64_t) {
  return head.size() >= sizeof kSignature && std::memcmp(head.data(), kSignature, sizeof kSignature) == 0;
}

PngHeader ReadHeaderOf(const PngReader& reader) {
  PngHeader header{};
  if (!ReadHeader(reader.png(), reader.info(), &header)) reader.Fail();
  CheckDimensions(header.width, header.height);
  if (header.rowBytes != size_t{header.width} * (header.colours ? 1 : sizeof(uint32_t)))
    throw DecodeError("Cannot read the PNG picture: unexpected row layout");
  return header;
}

// Every pixel gets written: an interlaced file's seven passes together cover the picture.
Image ReadImage(const PngReader& reader, const PngHeader& header) {
  Image image = AllocateImageForOverwrite(header.width, header.height, header.bitsPerPixel);
  if (!ReadPixels(reader.png(), reader.info(), reinterpret_cast<uint8_t*>(image.pixels.data()),
                  size_t{header.width} * sizeof(uint32_t), header.height, header.passes))
    reader.Fail();
  for (uint32_t y = 0; header.colours && y < header.height; ++y) ExpandIndexes(header, image.Row(y));
  image.hasAlpha = header.hasAlpha;
  return image;
}

Image Load(Bytes file, Bytes) {
  PngReader reader(file);
  return ReadImage(reader, ReadHeaderOf(reader));
}

}  // namespace

struct PngRows::State {
  explicit State(Bytes file) : reader(file), header(ReadHeaderOf(reader)) {}
  PngReader reader;
  PngHeader header;
  Pixels row;        // the stream's own row
  int32_t held = -1;  // which row it holds
  Image whole;       // an interlaced picture, once decoded
  int32_t next = 0;  // the next row that libpng gives
  bool failed = false;
};

PngRows::PngRows(Bytes file) : state_(std::make_unique<State>(file)) {}

PngRows::~PngRows() = default;

int32_t PngRows::Width() const { return static_cast<int32_t>(state_->header.width); }
int32_t PngRows::Height() const { return static_cast<int32_t>(state_->header.height); }

// The last row also reads the file's end, so that a stream read whole fails where the whole decode fails.
void PngRows::ReadTo(int32_t y, uint32_t* row) {
  State& s = *state_;
  if (y < 0 || y >= Height() || y < s.next - 1) throw std::out_of_range("PNG rows are read top to bottom");
  if (s.failed) s.reader.Fail();
  if (s.header.passes > 1) {
    if (s.whole.pixels.empty()) {
      s.failed = true;
      s.whole = ReadImage(s.reader, s.header);
      s.failed = false;
    }
    s.next = y + 1;
    std::memcpy(row, s.whole.Row(static_cast<uint32_t>(y)), size_t{s.header.width} * sizeof(uint32_t));
    return;
  }
  for (; s.next <= y; ++s.next) {
    uint32_t* into = s.next == y ? row : s.row.data();
    if (into == s.row.data()) s.held = -1;
    s.failed = !ReadRow(s.reader.png(), reinterpret_cast<uint8_t*>(into)) ||
               (s.next + 1 == Height() && !ReadEnd(s.reader.png(), s.reader.info()));
    if (s.failed) s.reader.Fail();
    s.failed = true;
    if (s.header.colours) ExpandIndexes(s.header, into);
    s.failed = false;
  }
}

const uint32_t* PngRows::Row(int32_t y) {
  State& s = *state_;
  if (s.row.empty()) s.row.resize(s.header.width);
  if (y != s.held) {
    ReadTo(y, s.row.data());
    s.held = y;
  }
  return s.row.data();
}

void PngRows::ReadInto(int32_t first, int32_t count, uint32_t* rows, ptrdiff_t stride) {
  if (state_->row.empty()) state_->row.resize(state_->header.width);
  for (int32_t i = 0; i < count; ++i) ReadTo(first + i, rows + i * stride);
}

const FileFormat kPngFormat = {
    "TPNGGraphic",
    {{"png", "Portable network graphic images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
