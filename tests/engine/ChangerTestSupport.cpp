#include "engine/ChangerTestSupport.h"

#include <objbase.h>

#include <cstring>
#include <vector>


namespace changertest {

namespace {

void Put(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
}

uint32_t Get(const std::string& in, size_t offset, int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= uint32_t{static_cast<uint8_t>(in[offset + i])} << (8 * i);
  return value;
}

}  // namespace

std::string Bitmap24(int32_t width, int32_t height, const std::function<uint32_t(int32_t, int32_t)>& colour) {
  const uint32_t rowSize = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t imageSize = rowSize * static_cast<uint32_t>(height);
  std::string file = "BM";
  Put(file, 54 + imageSize, 4);
  Put(file, 0, 4);
  Put(file, 54, 4);
  Put(file, 40, 4);
  Put(file, static_cast<uint32_t>(width), 4);
  Put(file, static_cast<uint32_t>(height), 4);
  Put(file, 1, 2);
  Put(file, 24, 2);
  Put(file, BI_RGB, 4);
  Put(file, imageSize, 4);
  file.append(16, '\0');
  for (int32_t y = height - 1; y >= 0; --y) {
    for (int32_t x = 0; x < width; ++x) Put(file, colour(x, y), 3);
    file.append(rowSize - static_cast<uint32_t>(width) * 3, '\0');
  }
  return file;
}

std::optional<TBitmapHeader> ReadBitmapHeader(const std::string& file) {
  if (file.size() < 54 || file.compare(0, 2, "BM") != 0) return std::nullopt;
  return TBitmapHeader{static_cast<int32_t>(Get(file, 18, 4)), static_cast<int32_t>(Get(file, 22, 4)),
                       static_cast<uint16_t>(Get(file, 28, 2)), Get(file, 30, 4)};
}

uint32_t Pixel32(const std::string& file, int32_t x, int32_t y) {
  const auto header = ReadBitmapHeader(file);
  const size_t row = static_cast<size_t>(header->Height - 1 - y);
  return Get(file, Get(file, 10, 4) + (row * static_cast<size_t>(header->Width) + static_cast<size_t>(x)) * 4, 4);
}

std::optional<std::string> UserText(const char* path, const char* name) {
  DWORD size = 0;
  if (RegGetValueA(HKEY_CURRENT_USER, path, name, RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  std::vector<char> text(size + 1);
  RegGetValueA(HKEY_CURRENT_USER, path, name, RRF_RT_REG_SZ, nullptr, text.data(), &size);
  return std::string(text.data());
}

void SetUserText(const char* path, const char* name, const std::optional<std::string>& value) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  if (value)
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                   static_cast<DWORD>(value->size() + 1));
  else
    RegDeleteValueA(key, name);
  RegCloseKey(key);
}

std::string DesktopWallpaper() {
  char path[MAX_PATH] = "";
  SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
  return path;
}

TDesktopGuard::TDesktopGuard()
    : FTile(TileValue()), FColour(UserText(kColorsKey, "Background")), FWallpaper(DesktopWallpaper()) {}

TDesktopGuard::~TDesktopGuard() {
  SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, FWallpaper.data(), SPIF_UPDATEINIFILE);
  SetTileValue(FTile);
  SetUserText(kColorsKey, "Background", FColour);
}

void ChangerTest::SetUp() {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
}

void ChangerTest::TearDown() { CoUninitialize(); }

}  // namespace changertest
