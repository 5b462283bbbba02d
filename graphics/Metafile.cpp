#include "graphics/Metafile.h"

#include <cstdint>
#include <vector>

#include "graphics/PictureFiles.h"
#include "system/SysUtils.h"

namespace {

// A placeable metafile's 22-byte header before the Windows metafile: key, handle, bounds (four 16-bit
// values), units per inch, reserved and checksum.
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableBytes = 22;
constexpr size_t kMetaHeaderBytes = 18;
constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr int kHundredthMmPerInch = 2540;

struct TLoaded {
  TEnhMetaFileHandle metafile;
  int width = 0;
  int height = 0;
};

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
int16_t Short(const uint8_t* p) { return static_cast<int16_t>(Word(p)); }
uint32_t Dword(const uint8_t* p) { return Word(p) | static_cast<uint32_t>(Word(p + 2)) << 16; }

[[noreturn]] void InvalidMetafile() { throw EInvalidGraphic("Metafile is not valid"); }

bool IsEnhanced(const std::vector<uint8_t>& file) {
  return file.size() >= 44 && Dword(&file[0]) == EMR_HEADER && Dword(&file[40]) == kEmfSignature;
}

bool IsPlaceable(const std::vector<uint8_t>& file) {
  return file.size() >= kPlaceableBytes && Dword(&file[0]) == kPlaceableKey;
}

// The frame of an enhanced metafile, in hundredths of a millimetre, at the screen's resolution.
void SizeFromFrame(TLoaded& loaded) {
  ENHMETAHEADER header;
  if (!GetEnhMetaFileHeader(loaded.metafile.get(), sizeof header, &header)) InvalidMetafile();
  const int dpi = ScreenPixelsPerInch();
  loaded.width = MulDiv(header.rclFrame.right - header.rclFrame.left, dpi, kHundredthMmPerInch);
  loaded.height = MulDiv(header.rclFrame.bottom - header.rclFrame.top, dpi, kHundredthMmPerInch);
}

TLoaded LoadEnhanced(const std::vector<uint8_t>& file) {
  TLoaded loaded{TEnhMetaFileHandle(SetEnhMetaFileBits(static_cast<UINT>(file.size()), file.data()))};
  if (!loaded.metafile) InvalidMetafile();
  SizeFromFrame(loaded);
  return loaded;
}

TEnhMetaFileHandle ConvertWindowsMetafile(const uint8_t* bits, size_t size, const METAFILEPICT* picture) {
  if (size < kMetaHeaderBytes || (Word(bits) != 1 && Word(bits) != 2) || Word(bits + 2) != 9) InvalidMetafile();
  TEnhMetaFileHandle metafile(SetWinMetaFileBits(static_cast<UINT>(size), bits, nullptr, picture));
  if (!metafile) InvalidMetafile();
  return metafile;
}

TLoaded LoadPlaceable(const std::vector<uint8_t>& file) {
  const uint8_t* header = file.data();
  const int boundsWidth = Short(header + 10) - Short(header + 6);
  const int boundsHeight = Short(header + 12) - Short(header + 8);
  const int unitsPerInch = Word(header + 14);
  if (unitsPerInch == 0) InvalidMetafile();
  const METAFILEPICT picture{MM_ANISOTROPIC, MulDiv(boundsWidth, kHundredthMmPerInch, unitsPerInch),
                             MulDiv(boundsHeight, kHundredthMmPerInch, unitsPerInch), nullptr};
  TLoaded loaded{ConvertWindowsMetafile(header + kPlaceableBytes, file.size() - kPlaceableBytes, &picture)};
  const int dpi = ScreenPixelsPerInch();
  loaded.width = MulDiv(boundsWidth, dpi, unitsPerInch);
  loaded.height = MulDiv(boundsHeight, dpi, unitsPerInch);
  return loaded;
}

// A plain Windows metafile states no size: GDI frames it on the reference device.
TLoaded LoadPlain(const std::vector<uint8_t>& file) {
  TLoaded loaded{ConvertWindowsMetafile(file.data(), file.size(), nullptr)};
  SizeFromFrame(loaded);
  return loaded;
}

}  // namespace

const TGraphicClass& TMetafile::Class() {
  static const TGraphicClass graphicClass{"TMetafile", [] { return std::make_unique<TMetafile>(); }};
  return graphicClass;
}

void TMetafile::LoadFromFile(const std::string& fileName) {
  const std::vector<uint8_t> file = ReadPictureFile(fileName);
  TLoaded loaded = IsEnhanced(file) ? LoadEnhanced(file) : IsPlaceable(file) ? LoadPlaceable(file) : LoadPlain(file);
  FMetafile = std::move(loaded.metafile);
  FWidth = loaded.width;
  FHeight = loaded.height;
}

std::unique_ptr<TGraphic> TMetafile::Clone() const {
  auto copy = std::make_unique<TMetafile>();
  if (FMetafile) {
    copy->FMetafile.reset(CopyEnhMetaFileA(FMetafile.get(), nullptr));
    if (!copy->FMetafile) throw EOutOfResources("Out of system resources");
  }
  copy->FWidth = FWidth;
  copy->FHeight = FHeight;
  return copy;
}

void TMetafile::Draw(HDC dc, const RECT& rect) const {
  if (FMetafile) PlayEnhMetaFile(dc, FMetafile.get(), &rect);
}
