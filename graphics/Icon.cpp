#include "graphics/Icon.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <tuple>
#include <vector>

#include "graphics/PictureFiles.h"
#include "system/SysUtils.h"

namespace {

// An icon file: a 6-byte directory header, then 16 bytes per image, then the images (each a DIB or a PNG).
constexpr size_t kHeaderBytes = 6;
constexpr size_t kEntryBytes = 16;

struct TIconEntry {
  int width = 0;
  int height = 0;
  int bitCount = 0;
  uint32_t size = 0;
  uint32_t offset = 0;
};

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Dword(const uint8_t* p) { return Word(p) | static_cast<uint32_t>(Word(p + 2)) << 16; }

[[noreturn]] void InvalidIcon() { throw EInvalidGraphic("Icon image is not valid"); }

std::vector<TIconEntry> ReadDirectory(const std::vector<uint8_t>& file) {
  if (file.size() < kHeaderBytes || Word(&file[0]) != 0 || Word(&file[2]) != 1) InvalidIcon();
  const size_t count = Word(&file[4]);
  if (count == 0 || file.size() < kHeaderBytes + count * kEntryBytes) InvalidIcon();
  std::vector<TIconEntry> entries;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = &file[kHeaderBytes + i * kEntryBytes];
    TIconEntry entry{p[0] ? p[0] : 256, p[1] ? p[1] : 256, Word(p + 6), Dword(p + 8), Dword(p + 12)};
    if (entry.size == 0 || entry.offset > file.size() || entry.size > file.size() - entry.offset) InvalidIcon();
    entries.push_back(entry);
  }
  return entries;
}

// The image nearest to the system's icon size; of equally near ones, the one with the most colours.
const TIconEntry& ChooseEntry(const std::vector<TIconEntry>& entries) {
  const int wantedWidth = GetSystemMetrics(SM_CXICON), wantedHeight = GetSystemMetrics(SM_CYICON);
  auto rank = [&](const TIconEntry& e) {
    return std::make_tuple(std::abs(e.width - wantedWidth) + std::abs(e.height - wantedHeight), -e.bitCount);
  };
  const TIconEntry* best = &entries.front();
  for (const TIconEntry& entry : entries)
    if (rank(entry) < rank(*best)) best = &entry;
  return *best;
}

}  // namespace

const TGraphicClass& TIcon::Class() {
  static const TGraphicClass graphicClass{"TIcon", [] { return std::make_unique<TIcon>(); }};
  return graphicClass;
}

void TIcon::LoadFromFile(const std::string& fileName) {
  std::vector<uint8_t> file = ReadPictureFile(fileName);
  const TIconEntry entry = ChooseEntry(ReadDirectory(file));
  TIconHandle icon(CreateIconFromResourceEx(file.data() + entry.offset, entry.size, TRUE, 0x00030000, entry.width,
                                            entry.height, LR_DEFAULTCOLOR));
  if (!icon) InvalidIcon();
  FIcon = std::move(icon);
  FWidth = entry.width;
  FHeight = entry.height;
}

std::unique_ptr<TGraphic> TIcon::Clone() const {
  auto copy = std::make_unique<TIcon>();
  if (FIcon) {
    copy->FIcon.reset(CopyIcon(FIcon.get()));
    if (!copy->FIcon) throw EOutOfResources("Out of system resources");
  }
  copy->FWidth = FWidth;
  copy->FHeight = FHeight;
  return copy;
}

void TIcon::Draw(HDC dc, const RECT& rect) const {
  if (FIcon)
    DrawIconEx(dc, rect.left, rect.top, FIcon.get(), rect.right - rect.left, rect.bottom - rect.top, 0, nullptr,
               DI_NORMAL);
}
