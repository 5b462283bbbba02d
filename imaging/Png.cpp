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
};

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
  png_set_expand(png);
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_bgr(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
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

Image Load(Bytes file, Bytes) {
  PngReader reader(file);
  PngHeader header{};
  if (!ReadHeader(reader.png(), reader.info(), &header)) reader.Fail();
  // Every pixel gets written: an interlaced file's seven passes together cover the picture.
  Image image = AllocateImageForOverwrite(header.width, header.height, header.bitsPerPixel);
  const size_t stride = size_t{header.width} * sizeof(uint32_t);
  if (header.rowBytes != stride) throw DecodeError("Cannot read the PNG picture: unexpected row layout");
  if (!ReadPixels(reader.png(), reader.info(), reinterpret_cast<uint8_t*>(image.pixels.data()), stride,
                  header.height, header.passes))
    reader.Fail();
  image.hasAlpha = header.hasAlpha;
  return image;
}

}  // namespace

const FileFormat kPngFormat = {
    "TPNGGraphic",
    {{"png", "Portable network graphic images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
