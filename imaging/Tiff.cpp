// TIFF pictures through libtiff: the first page (image file directory) of the file. A TIFF file is an
// 8-byte header (16 for BigTIFF) pointing to a chain of directories whose tags give the size, the sample
// layout and the offsets and lengths of strips or tiles, each compressed on its own. A hostile file can
// point anywhere, claim huge sizes or counts, or end inside any strip; libtiff checks offsets against the
// data it is given, the dimensions and libtiff's single allocations are capped here, and every error that
// libtiff reports while reading pixels is fatal. So is a warning that a tag the pixels depend on was dropped
// (a colour map cut short would otherwise decode as grey). Errors and warnings go to handlers of this decode
// only, never to stderr or a message box.
#include "imaging/Tiff.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "imaging/FileFormatList.h"
#include "imaging/SampleScale.h"
#include "imaging/TiffSamples.h"

namespace imaging {

namespace {

// The largest block that libtiff may allocate at once (a strip, a tile, a tag array).
constexpr tmsize_t kMaxSingleAllocation = static_cast<tmsize_t>(kMaxPixels * 4);

struct TiffInput {
  const uint8_t* data;
  uint64_t size;
  uint64_t offset;
  char message[256];
  bool lostPixelData;  // a tag that the pixels depend on was dropped
};

TiffInput* InputOf(thandle_t handle) { return static_cast<TiffInput*>(handle); }

tmsize_t OnRead(thandle_t handle, void* out, tmsize_t length) {
  TiffInput* input = InputOf(handle);
  if (length <= 0 || input->offset >= input->size) return 0;
  const uint64_t count = std::min<uint64_t>(static_cast<uint64_t>(length), input->size - input->offset);
  std::memcpy(out, input->data + input->offset, static_cast<size_t>(count));
  input->offset += count;
  return static_cast<tmsize_t>(count);
}

tmsize_t OnWrite(thandle_t, void*, tmsize_t) { return 0; }

toff_t OnSeek(thandle_t handle, toff_t offset, int whence) {
  TiffInput* input = InputOf(handle);
  if (whence == SEEK_CUR)
    offset += input->offset;
  else if (whence == SEEK_END)
    offset += input->size;
  input->offset = offset;
  return offset;
}

int OnClose(thandle_t) { return 0; }

toff_t OnSize(thandle_t handle) { return InputOf(handle)->size; }

// libtiff reads a mapped file in place; it only reads it, as it does files that it maps read-only itself.
// (Without a map, libtiff 4.5 refuses uncompressed tiles whose read buffer it rounded up.)
int OnMap(thandle_t handle, void** base, toff_t* size) {
  *base = const_cast<uint8_t*>(InputOf(handle)->data);
  *size = InputOf(handle)->size;
  return 1;
}

void OnUnmap(thandle_t, void*, toff_t) {}

// The first error is the cause; later ones follow from it.
int OnError(TIFF*, void* user, const char*, const char* format, va_list args) {
  auto* input = static_cast<TiffInput*>(user);
  if (input->message[0] == '\0') std::vsnprintf(input->message, sizeof input->message, format, args);
  return 1;
}


// libtiff drops a tag that it cannot read with a warning that names it in quotes ("Incorrect count for
// \"ColorMap\"; tag ignored") and goes on with a default; only a count that is too long is trimmed instead.
// For these tags the default gives other colours: grey for a palette, shifted YCbCr.
bool DropsPixelData(const char* warning) {
  static const char* const kPixelTags[] = {"\"ColorMap\"", "\"ReferenceBlackWhite\"", "\"YCbCrCoefficients\"",
                                           "\"YCbCrSubsampling\"", "\"ExtraSamples\"", "\"SampleFormat\"",
                                           "\"BitsPerSample\"", "\"Photometric\""};
  return !std::strstr(warning, "tag trimmed") &&
         std::any_of(std::begin(kPixelTags), std::end(kPixelTags),
                     [&](const char* tag) { return std::strstr(warning, tag) != nullptr; });
}

int OnWarning(TIFF*, void* user, const char*, const char* format, va_list args) {
  auto* input = static_cast<TiffInput*>(user);
  char warning[sizeof input->message];
  std::vsnprintf(warning, sizeof warning, format, args);
  if (!input->lostPixelData && DropsPixelData(warning)) {
    input->lostPixelData = true;
    std::memcpy(input->message, warning, sizeof warning);
  }
  return 1;
}


struct TiffCloser {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

struct OptionsFree {
  void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

TiffHandle Open(TiffInput* input) {
  std::unique_ptr<TIFFOpenOptions, OptionsFree> options(TIFFOpenOptionsAlloc());
  if (!options) throw DecodeError("Not enough memory to read the TIFF picture");
  TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kMaxSingleAllocation);
  TIFFOpenOptionsSetErrorHandlerExtR(options.get(), OnError, input);
  TIFFOpenOptionsSetWarningHandlerExtR(options.get(), OnWarning, input);
  TiffHandle tiff(TIFFClientOpenExt("picture", "r", input, OnRead, OnWrite, OnSeek, OnClose, OnSize, OnMap, OnUnmap,
                                    options.get()));
  if (!tiff || input->lostPixelData) FailTiff(input->message);
  return tiff;
}

uint32_t Unpremultiply(uint32_t channel, uint32_t alpha) {
  return alpha == 0 ? 0 : std::min<uint32_t>(255, (channel * 255 + alpha / 2) / alpha);
}

// libtiff delivers A, B, G, R packed from the top byte down.
void ToArgb(Image& image, bool premultiplied) {
  for (uint32_t& pixel : image.pixels) {
    const uint32_t r = TIFFGetR(pixel), g = TIFFGetG(pixel), b = TIFFGetB(pixel), a = TIFFGetA(pixel);
    pixel = !premultiplied || a == 255 ? Argb(r, g, b, a)
                                       : Argb(Unpremultiply(r, a), Unpremultiply(g, a), Unpremultiply(b, a), a);
  }
}

// An 8- or 16-bit sample as 8 bits, rounded.
uint32_t Sample8(const unsigned char* sample, size_t bytes) {
  if (bytes == 1) return *sample;
  uint16_t value;  // libtiff has put it in machine order
  std::memcpy(&value, sample, sizeof value);
  return ScaleTo8Bits(value, 0xFFFF);
}

// libtiff 4.5's grey routines step over the unused right part of a tile by too few bytes when samples have
// 16 bits or an alpha sample follows, drop a 16-bit alpha and cut 16-bit samples to their high byte; this one
// does their work for 8- and 16-bit grey, rounding. As libtiff's, it keeps alpha as the file stores it.
void PutGrey(TIFFRGBAImage* reader, uint32_t* out, uint32_t, uint32_t, uint32_t width, uint32_t height,
             int32_t fromSkew, int32_t toSkew, unsigned char* in) {
  const size_t sampleBytes = reader->bitspersample / 8;
  const size_t pixelBytes = sampleBytes * reader->samplesperpixel;
  for (; height > 0; --height, out += toSkew, in += static_cast<ptrdiff_t>(fromSkew) * pixelBytes) {
    for (uint32_t x = 0; x < width; ++x, in += pixelBytes) {
      const uint32_t grey = reader->BWmap[Sample8(in, sampleBytes)][0];
      *out++ = reader->alpha ? (grey & 0x00FFFFFFu) | Sample8(in + sampleBytes, sampleBytes) << 24 : grey;
    }
  }
}

// libtiff cuts the 16-bit entries of a colour map to their high bytes; the colours are made again, rounded.
// A map whose entries all lie below 256 is taken as an 8-bit map, as libtiff takes it.
void RoundPalette(TIFFRGBAImage& reader) {
  uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
  if (reader.photometric != PHOTOMETRIC_PALETTE || !reader.PALmap || reader.bitspersample > 8 ||
      !TIFFGetField(reader.tif, TIFFTAG_COLORMAP, &red, &green, &blue))
    return;
  const uint32_t bits = reader.bitspersample, colours = 1u << bits;
  bool wide = false;
  for (uint32_t i = 0; i < colours; ++i) wide |= red[i] > 255 || green[i] > 255 || blue[i] > 255;
  auto to8 = [wide](uint16_t value) { return wide ? ScaleTo8Bits(value, 0xFFFF) : value; };
  // PALmap[byte][j] is the colour of the j-th index packed in that byte, in libtiff's A, B, G, R order.
  for (uint32_t byte = 0; byte < 256; ++byte)
    for (uint32_t j = 0; j < 8 / bits; ++j) {
      const uint32_t index = (byte >> (8 - bits * (j + 1))) & (colours - 1);
      reader.PALmap[byte][j] = to8(red[index]) | to8(green[index]) << 8 | to8(blue[index]) << 16 | 0xFF000000u;
    }
}

bool IsGrey(const TIFFRGBAImage& reader) {
  return reader.photometric == PHOTOMETRIC_MINISBLACK || reader.photometric == PHOTOMETRIC_MINISWHITE;
}

bool UsesGreyFix(const TIFFRGBAImage& reader) {
  return reader.isContig && reader.BWmap && IsGrey(reader) &&
         (reader.bitspersample == 8 || reader.bitspersample == 16);
}

// Every photometric and compression that libtiff knows, as 8-bit RGBA whatever the sample layout. libtiff
// premultiplies colour by alpha, except in grey pictures whose alpha is unassociated.
void ReadPixels(TIFF* tiff, TiffInput& input, Image& image) {
  char problem[1024] = "";
  TIFFRGBAImage reader;
  if (!TIFFRGBAImageBegin(&reader, tiff, 1, problem)) FailTiff(*input.message ? input.message : problem);
  reader.req_orientation = ORIENTATION_TOPLEFT;
  // An extra-samples tag can claim an alpha sample that the pixels do not have.
  if (IsGrey(reader) && reader.alpha && reader.samplesperpixel < 2) {
    TIFFRGBAImageEnd(&reader);
    FailTiff("the grey picture names an alpha sample it does not have");
  }
  const bool grey = UsesGreyFix(reader);
  if (grey) reader.put.contig = PutGrey;
  RoundPalette(reader);
  const int done = TIFFRGBAImageGet(&reader, image.pixels.data(), image.width, image.height);
  image.hasAlpha = reader.alpha != 0;
  const bool premultiplied =
      reader.alpha == EXTRASAMPLE_ASSOCALPHA || (reader.alpha == EXTRASAMPLE_UNASSALPHA && !grey);
  TIFFRGBAImageEnd(&reader);
  if (!done) FailTiff(input.message);
  ToArgb(image, premultiplied);
}

bool CanLoad(Bytes head, uint64_t fileSize) { return fileSize >= 8 && HasTiffSignature(head); }

Image Load(Bytes file, Bytes) { return DecodeTiff(file); }

}  // namespace

bool HasTiffSignature(Bytes head) {
  static const char* const kSignatures[] = {"II*\0", "MM\0*", "II+\0", "MM\0+"};
  return head.size() >= 4 && std::any_of(std::begin(kSignatures), std::end(kSignatures), [&](const char* signature) {
           return std::memcmp(head.data(), signature, 4) == 0;
         });
}

Image DecodeTiff(Bytes file) {
  TiffInput input{file.data(), file.size(), 0, "", false};
  TiffHandle tiff = Open(&input);
  uint32_t width = 0, height = 0;
  uint16_t bitsPerSample = 1, samplesPerPixel = 1;
  TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height);
  TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
  TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, &samplesPerPixel);
  CheckDimensions(width, height);
  const std::optional<TiffSampleLayout> own = OwnSampleLayout(tiff.get());
  char problem[1024] = "";
  if (!own && !TIFFRGBAImageOK(tiff.get(), problem)) FailTiff(problem);
  Image image = AllocateImage(width, height, uint32_t{bitsPerSample} * samplesPerPixel);
  if (own)
    ReadOwnSamples(tiff.get(), *own, image, input.message);
  else
    ReadPixels(tiff.get(), input, image);
  return image;
}

const FileFormat kTiffFormat = {
    "TTIFFGraphic",
    {{"tiff", "Macintosh TIFF images"}, {"tif", "PC TIF images"}, {"fax", "GFI fax images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
