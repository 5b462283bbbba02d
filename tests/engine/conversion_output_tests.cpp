// The desktop bitmaps of known pictures, by checksum: work on the conversion's speed (how rows are decoded,
// streamed, resampled and written) must leave every byte of them as it was. The pictures come from
// tests/data/make-conversion-pictures.sh; a checksum that no longer matches is printed, so that a change
// that is meant to alter the output can record its new values.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "TestPictures.h"
#include "engine/ChangerTestSupport.h"

namespace {

using namespace changertest;

// FNV-1a, 64 bits: enough to tell any changed byte of a few megabytes.
uint64_t Checksum(const std::string& bytes) {
  uint64_t hash = 0xCBF29CE484222325u;
  for (const char byte : bytes) hash = (hash ^ static_cast<uint8_t>(byte)) * 0x100000001B3u;
  return hash;
}

std::string Hex(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%016llX", static_cast<unsigned long long>(value));
  return text;
}

std::string ConversionPicture(const std::string& name) {
  return TestPicture("../conversion/" + name);
}

struct TConversion {
  const char* Picture;
  TWallpaperStyle Style;
  int32_t Width, Height;
  uint64_t Checksum;
};

class ConversionOutputTest : public ChangerTest {
protected:
  void ExpectUnchanged(const TConversion& c) {
    const std::string label = std::string(c.Picture) + " style " + std::to_string(c.Style) + " " +
                              std::to_string(c.Width) + "x" + std::to_string(c.Height);
    ASSERT_EQ(FChanger.ConvertToBitmap(ConversionPicture(c.Picture), c.Width, c.Height, c.Style), BitmapPath())
        << label;
    EXPECT_EQ(Hex(Checksum(FFolder.Read("Muralia.bmp"))), Hex(c.Checksum)) << label;
  }
};

// Shrunk and enlarged by the Lanczos resampler, mildly scaled by the halftone drawing, fitted, and copied.
TEST_F(ConversionOutputTest, JpegAndPngPicturesGiveTheirKnownBitmaps) {
  for (const TConversion& c : {
           TConversion{"photo-420.jpg", wpsStretch, 160, 100, 0xC2A35ED8FB9A2DF5u},
           TConversion{"photo-420.jpg", wpsStretch, 1000, 800, 0x2830673D24ABB2ACu},
           TConversion{"photo-420.jpg", wpsStretch, 400, 300, 0x4152156DD50A951Du},
           TConversion{"photo-420.jpg", wpsFitDesktop, 200, 200, 0xC68BFB55E94E7EB1u},
           TConversion{"photo-420.jpg", wpsCenter, 100, 100, 0x776CE2ADF2C18024u},
           TConversion{"progressive.jpg", wpsStretch, 100, 60, 0xB7EF6C37AC090082u},
           TConversion{"progressive.jpg", wpsTile, 100, 60, 0xC1F9C61D026A3981u},
           TConversion{"photo.png", wpsStretch, 100, 60, 0xEA7F5A9962CE8607u},
           TConversion{"photo.png", wpsStretch, 640, 420, 0x0500D77F4C81F9FCu},
           TConversion{"photo.png", wpsStretch, 300, 180, 0x2284C60CAC84FB1Eu},
           TConversion{"photo.png", wpsFitDesktop, 150, 150, 0x5CF1147A103D49D4u},
           TConversion{"photo.png", wpsCenter, 100, 100, 0x658EA18717CA545Fu},
           TConversion{"interlaced-alpha.png", wpsStretch, 64, 40, 0x2F010BB15787B1DCu},
           TConversion{"interlaced-alpha.png", wpsCenter, 64, 40, 0xF351AB81CEE6A245u},
           TConversion{"grey16.png", wpsStretch, 60, 50, 0xB284E8D605BA81B1u},
           TConversion{"grey16.png", wpsFitDesktop, 500, 500, 0x7D0E2ABF221D971Fu},
           TConversion{"palette.png", wpsStretch, 80, 50, 0x26E820D126200B8Eu},
       })
    ExpectUnchanged(c);
}

}  // namespace
