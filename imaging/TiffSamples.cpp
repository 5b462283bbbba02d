// Samples read from a TIFF file's strips or tiles, a block at a time: all planes of one strip or tile, then
// each pixel of the block converted from its samples. A hostile file can claim strips of any size: a block is
// refused above libtiff's own limit of a single allocation, and a block that libtiff decodes short fails.
#include "imaging/TiffSamples.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace imaging {

namespace {

// The largest block read at once, as libtiff's largest single allocation.
constexpr uint64_t kMaxBlockBytes = kMaxPixels * 4;

struct Samples {
  double colour[4];  // 0 to 1
  double alpha;
};

// A sample scaled to 0..1; floating-point samples are clamped to it, NaN counting as 0.
double SampleAt(const uint8_t* p, const TiffSampleLayout& layout) {
  switch (layout.bitsPerSample) {
    case 8:
      return *p / 255.0;
    case 16: {
      uint16_t value;  // libtiff has put it in machine order
      std::memcpy(&value, p, sizeof value);
      return value / 65535.0;
    }
    case 32: {
      float value;
      std::memcpy(&value, p, sizeof value);
      return value > 0 ? std::min(1.0, static_cast<double>(value)) : 0.0;
    }
    default: {
      double value;
      std::memcpy(&value, p, sizeof value);
      return value > 0 ? std::min(1.0, value) : 0.0;
    }
  }
}

uint32_t To8Bits(double value) { return static_cast<uint32_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255)); }

uint32_t ToPixel(const Samples& s, const TiffSampleLayout& layout) {
  double r, g, b;
  switch (layout.colour) {
    case TiffColour::kRgb:
      r = s.colour[0], g = s.colour[1], b = s.colour[2];
      break;
    case TiffColour::kGrey:
      r = g = b = s.colour[0];
      break;
    case TiffColour::kGreyInverted:
      r = g = b = 1 - s.colour[0];
      break;
    default: {  // inks: 1 is full ink
      const double paper = 1 - s.colour[3];
      r = (1 - s.colour[0]) * paper, g = (1 - s.colour[1]) * paper, b = (1 - s.colour[2]) * paper;
    }
  }
  if (layout.premultiplied) {
    const double a = s.alpha;
    r = a > 0 ? r / a : 0, g = a > 0 ? g / a : 0, b = a > 0 ? b / a : 0;
  }
  return Argb(To8Bits(r), To8Bits(g), To8Bits(b), To8Bits(s.alpha));
}

int ColourSamples(TiffColour colour) {
  switch (colour) {
    case TiffColour::kRgb: return 3;
    case TiffColour::kCmyk: return 4;
    default: return 1;
  }
}

// libtiff's fallback for a first extra sample of unspecified meaning beside the colour: premultiplied alpha.
bool FindAlpha(TIFF* tiff, TiffSampleLayout& layout) {
  uint16_t count = 0;
  uint16_t* meanings = nullptr;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_EXTRASAMPLES, &count, &meanings);
  const int colourSamples = ColourSamples(layout.colour);
  if (layout.samplesPerPixel < colourSamples) return false;
  layout.alphaSample = -1;
  layout.premultiplied = false;
  if (count == 0 || layout.colour == TiffColour::kCmyk) return true;
  if (layout.samplesPerPixel - count != colourSamples) return false;
  layout.alphaSample = colourSamples;
  layout.premultiplied = meanings[0] != EXTRASAMPLE_UNASSALPHA;
  return true;
}

// Orientations that rotate by a quarter turn are read as libtiff's RGBA interface reads them: by their flips.
void SetFlips(TIFF* tiff, TiffSampleLayout& layout) {
  uint16_t orientation = ORIENTATION_TOPLEFT;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_ORIENTATION, &orientation);
  layout.flipX = orientation == ORIENTATION_TOPRIGHT || orientation == ORIENTATION_RIGHTTOP ||
                 orientation == ORIENTATION_BOTRIGHT || orientation == ORIENTATION_RIGHTBOT;
  layout.flipY = orientation == ORIENTATION_BOTRIGHT || orientation == ORIENTATION_RIGHTBOT ||
                 orientation == ORIENTATION_BOTLEFT || orientation == ORIENTATION_LEFTBOT;
}

struct Block {
  uint32_t width;   // tile width, or the picture's width for strips
  uint32_t height;  // tile length, or rows per strip
  bool tiled;
};

Block BlockOf(TIFF* tiff, uint32_t width, uint32_t height) {
  if (TIFFIsTiled(tiff)) {
    uint32_t tileWidth = 0, tileLength = 0;
    TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &tileWidth);
    TIFFGetField(tiff, TIFFTAG_TILELENGTH, &tileLength);
    if (tileWidth == 0 || tileLength == 0) FailTiff("tiles without a size");
    return {tileWidth, tileLength, true};
  }
  uint32_t rows = height;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &rows);
  return {width, std::clamp<uint32_t>(rows, 1, height), false};
}

}  // namespace

void FailTiff(const char* message) {
  throw DecodeError(std::string("Cannot read the TIFF picture: ") + (*message ? message : "damaged file"));
}

std::optional<TiffSampleLayout> OwnSampleLayout(TIFF* tiff) {
  uint16_t photometric = 0, bits = 1, samples = 1, format = SAMPLEFORMAT_UINT, planar = PLANARCONFIG_CONTIG,
           inks = INKSET_CMYK;
  if (!TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric)) return std::nullopt;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_INKSET, &inks);
  TiffSampleLayout layout{};
  layout.samplesPerPixel = samples;
  layout.bitsPerSample = bits;
  layout.floatingPoint = format == SAMPLEFORMAT_IEEEFP;
  layout.separatePlanes = planar == PLANARCONFIG_SEPARATE;
  const bool unsignedInteger = format == SAMPLEFORMAT_UINT && (bits == 8 || bits == 16);
  if (layout.floatingPoint && bits != 32 && bits != 64) return std::nullopt;
  if (!layout.floatingPoint && !unsignedInteger) return std::nullopt;
  switch (photometric) {
    case PHOTOMETRIC_RGB: layout.colour = TiffColour::kRgb; break;
    case PHOTOMETRIC_MINISBLACK: layout.colour = TiffColour::kGrey; break;
    case PHOTOMETRIC_MINISWHITE: layout.colour = TiffColour::kGreyInverted; break;
    case PHOTOMETRIC_SEPARATED:
      if (inks != INKSET_CMYK) return std::nullopt;
      layout.colour = TiffColour::kCmyk;
      break;
    default: return std::nullopt;
  }
  if (!FindAlpha(tiff, layout)) return std::nullopt;
  SetFlips(tiff, layout);
  if (layout.floatingPoint) return layout;
  // Of the integer layouts, libtiff reads the others well.
  const bool straightRgb = layout.colour == TiffColour::kRgb && layout.alphaSample >= 0 && !layout.premultiplied;
  const bool cmyk16 = layout.colour == TiffColour::kCmyk && bits == 16;
  if (straightRgb || cmyk16) return layout;
  return std::nullopt;
}

void ReadOwnSamples(TIFF* tiff, const TiffSampleLayout& layout, Image& image, const char* libtiffMessage) {
  const Block block = BlockOf(tiff, image.width, image.height);
  const uint32_t planes = layout.separatePlanes ? layout.samplesPerPixel : 1;
  const uint64_t sampleBytes = layout.bitsPerSample / 8;
  const uint64_t pixelBytes = sampleBytes * (layout.separatePlanes ? 1 : layout.samplesPerPixel);
  const uint64_t blockBytes = uint64_t{block.width} * block.height * pixelBytes;
  if (blockBytes > kMaxBlockBytes) FailTiff("a strip or tile is too large");
  std::vector<std::vector<uint8_t>> buffers(planes, std::vector<uint8_t>(static_cast<size_t>(blockBytes)));
  const int colourSamples = ColourSamples(layout.colour);
  for (uint32_t top = 0; top < image.height; top += block.height) {
    const uint32_t rows = std::min(block.height, image.height - top);
    for (uint32_t left = 0; left < image.width; left += block.width) {
      for (uint32_t plane = 0; plane < planes; ++plane) {
        const auto plane16 = static_cast<uint16_t>(plane);
        const tmsize_t wanted = block.tiled ? static_cast<tmsize_t>(blockBytes)
                                            : static_cast<tmsize_t>(uint64_t{rows} * block.width * pixelBytes);
        const tmsize_t read =
            block.tiled ? TIFFReadEncodedTile(tiff, TIFFComputeTile(tiff, left, top, 0, plane16),
                                              buffers[plane].data(), static_cast<tmsize_t>(blockBytes))
                        : TIFFReadEncodedStrip(tiff, TIFFComputeStrip(tiff, top, plane16), buffers[plane].data(),
                                               static_cast<tmsize_t>(blockBytes));
        if (read < wanted) FailTiff(libtiffMessage);
      }
      const uint32_t columns = std::min(block.width, image.width - left);
      // Where sample s of the block's pixel i lies.
      auto at = [&](size_t i, int s) {
        return layout.separatePlanes ? &buffers[s][i * sampleBytes] : &buffers[0][i * pixelBytes + s * sampleBytes];
      };
      for (uint32_t y = 0; y < rows; ++y) {
        const uint32_t row = top + y;
        uint32_t* out = image.Row(layout.flipY ? image.height - 1 - row : row);
        for (uint32_t x = 0; x < columns; ++x) {
          const size_t i = size_t{y} * block.width + x;
          Samples samples{{0, 0, 0, 0}, 1};
          for (int s = 0; s < colourSamples; ++s) samples.colour[s] = SampleAt(at(i, s), layout);
          if (layout.alphaSample >= 0) samples.alpha = SampleAt(at(i, layout.alphaSample), layout);
          const uint32_t column = left + x;
          out[layout.flipX ? image.width - 1 - column : column] = ToPixel(samples, layout);
        }
      }
    }
  }
  image.hasAlpha = layout.alphaSample >= 0;
}

}  // namespace imaging
