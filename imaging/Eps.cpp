// Encapsulated PostScript pictures: only DOS EPS files, whose 30-byte binary header (C5 D0 D3 C6, then
// little-endian offsets and lengths of the PostScript, WMF and TIFF sections, then a checksum) carries a
// TIFF preview; the picture is that preview. The PostScript itself is never rendered. A hostile header can
// point the preview anywhere, so it must lie wholly inside the file, behind the header.
#include <cstring>
#include <optional>

#include "imaging/ByteReader.h"
#include "imaging/FileFormatList.h"
#include "imaging/Tiff.h"

namespace imaging {

namespace {

constexpr uint8_t kMagic[4] = {0xC5, 0xD0, 0xD3, 0xC6};
constexpr size_t kHeaderSize = 30;
constexpr size_t kTiffOffsetField = 20;
constexpr size_t kTiffLengthField = 24;
constexpr uint32_t kSmallestTiff = 8;

struct Section {
  uint32_t offset;
  uint32_t length;
};

// The TIFF preview that the header names, when it has one inside a file of fileSize bytes.
std::optional<Section> TiffPreview(Bytes head, uint64_t fileSize) {
  if (head.size() < kHeaderSize || std::memcmp(head.data(), kMagic, sizeof kMagic) != 0) return std::nullopt;
  const Section preview{Le32(head.data() + kTiffOffsetField), Le32(head.data() + kTiffLengthField)};
  if (preview.offset < kHeaderSize || preview.length < kSmallestTiff ||
      uint64_t{preview.offset} + preview.length > fileSize)
    return std::nullopt;
  return preview;
}

// The content test sees only the head of the file; the preview's signature is checked when it lies there.
bool CanLoad(Bytes head, uint64_t fileSize) {
  const std::optional<Section> preview = TiffPreview(head, fileSize);
  if (!preview) return false;
  return uint64_t{preview->offset} + 4 > head.size() || HasTiffSignature(head.subspan(preview->offset));
}

Image Load(Bytes file, Bytes) {
  const std::optional<Section> preview = TiffPreview(file, file.size());
  if (!preview) throw DecodeError("Cannot read the EPS picture: it has no TIFF preview");
  const Bytes tiff = file.subspan(preview->offset, preview->length);
  if (!HasTiffSignature(tiff)) throw DecodeError("Cannot read the EPS picture: its preview is not a TIFF picture");
  return DecodeTiff(tiff);
}

}  // namespace

const FileFormat kEpsFormat = {
    "TEPSGraphic",
    {{"eps", "Encapsulated Postscript images"}},
    CanLoad,
    Load,
};

}  // namespace imaging
