#include "engine/uWallPaper.h"

// IActiveDesktop is declared only after the Internet types.
#include <wininet.h>
#include <shlobj.h>

#include "platform/ComObj.h"
#include "platform/FileUtils.h"
#include "platform/Registry.h"
#include "platform/SysInfo.h"
#include "platform/SysUtils.h"

namespace {

// The extended-precision number nearest to 1.6 (mantissa $CCCCCCCCCCCCCCCD): 1.6 in single precision lies
// above it, so a ratio of exactly 1.6 is not mild.
constexpr long double kMildScaleLimit = 0xCCCCCCCCCCCCCCCDp-63L;

// The larger extent divided by the other, in extended precision, rounded to single precision.
float ExtentRatio(int32_t extent1, int32_t extent2) {
  const int32_t dividend = extent1 > extent2 ? extent1 : extent2;
  const int32_t divisor = extent1 > extent2 ? extent2 : extent1;
  if (divisor == 0) {
    if (dividend == 0) throw EInvalidOp("Invalid floating point operation");
    throw EZeroDivide("Floating point division by zero");
  }
  return static_cast<float>(static_cast<long double>(dividend) / divisor);
}

// Windows 95 stores the wallpaper in the profile and tells every window only when asked to; later versions
// do both on their own.
UINT WallpaperUpdateFlags() { return IsWin95() || IsWin95OSR2() ? SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE : 0; }

BOOL SetDesktopWallpaper(const std::string& path) {
  return SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path.c_str()), WallpaperUpdateFlags());
}

// Stretch keeps whatever tiling the desktop had.
void WriteTileForStyle(TWallpaperStyle style) {
  if (style == wpsTile)
    TWallpaperChanger::EnableTile();
  else if (style == wpsCenter || style == wpsFitDesktop)
    TWallpaperChanger::DisableTile();
}

}  // namespace

TSetWallpaperStatus TWallpaperChanger::SetWallpaper(const std::string& fileName, TWallpaperStyle style) {
  SetActiveDesktop(false);
  const std::string bitmap =
      ConvertToBitmap(fileName, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), style);
  if (bitmap.empty()) return swsNotConverted;
  if (!IsUsableFile(bitmap)) return swsBitmapUnusable;
  WriteTileForStyle(style);
  return SetDesktopWallpaper(bitmap) ? swsApplied : swsRefused;
}

BOOL TWallpaperChanger::ClearWallpaper() { return SetDesktopWallpaper(""); }

void TWallpaperChanger::SetActiveDesktop(bool enable) {
  const TComPtr<IUnknown> object = CreateComObject(CLSID_ActiveDesktop);
  const TComPtr<IActiveDesktop> desktop = object.QueryInterface<IActiveDesktop>(IID_IActiveDesktop);
  const COMPONENTSOPT options{sizeof(COMPONENTSOPT), enable, enable};
  desktop->SetDesktopItemOptions(&options, 0);
  desktop->ApplyChanges(AD_APPLY_REFRESH);
}

std::string TWallpaperChanger::ConvertToBitmap(const std::string& fileName, int32_t, int32_t, TWallpaperStyle) {
  if (!IsUsableFile(fileName)) return {};
  return {};
}

bool TWallpaperChanger::IsMildScale(const RECT& rect1, const RECT& rect2) {
  const float horizontal = ExtentRatio(rect1.right - rect1.left, rect2.right - rect2.left);
  const float vertical = ExtentRatio(rect1.bottom - rect1.top, rect2.bottom - rect2.top);
  return kMildScaleLimit >= horizontal && kMildScaleLimit >= vertical;
}

bool TWallpaperChanger::IsUsableFile(const std::string& fileName) {
  return FileExists(fileName) && IsNonEmptyFile(fileName);
}

bool TWallpaperChanger::IsNonEmptyFile(const std::string& fileName) {
  try {
    return GetSizeOfFile(fileName) > 0;
  } catch (const Exception&) {
    return false;
  }
}

void TWallpaperChanger::SetTileWallpaper(bool tile) {
  TRegistry registry;
  registry.SetRootKey(HKEY_CURRENT_USER);
  if (registry.OpenKey("\\Control Panel\\Desktop", true)) registry.WriteString("TileWallpaper", tile ? "1" : "0");
}
