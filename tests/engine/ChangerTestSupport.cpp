#include "engine/ChangerTestSupport.h"

#include <objbase.h>

#include <vector>

#include "platform/Forms.h"

namespace changertest {

std::optional<std::string> TileValue() {
  DWORD size = 0;
  if (RegGetValueA(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper", RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  std::vector<char> text(size + 1);
  RegGetValueA(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper", RRF_RT_REG_SZ, nullptr, text.data(), &size);
  return std::string(text.data());
}

void SetTileValue(const std::optional<std::string>& value) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  if (value)
    RegSetValueExA(key, "TileWallpaper", 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                   static_cast<DWORD>(value->size() + 1));
  else
    RegDeleteValueA(key, "TileWallpaper");
  RegCloseKey(key);
}

std::string DesktopWallpaper() {
  char path[MAX_PATH] = "";
  SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
  return path;
}

TDesktopGuard::TDesktopGuard() : FTile(TileValue()), FWallpaper(DesktopWallpaper()) {}

TDesktopGuard::~TDesktopGuard() {
  SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, FWallpaper.data(), 0);
  SetTileValue(FTile);
}

void ChangerTest::SetUp() {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  Application.SetExeNameForTests(FFolder.Path() + "orlo.exe");
}

void ChangerTest::TearDown() {
  Application.SetExeNameForTests("");
  CoUninitialize();
}

}  // namespace changertest
