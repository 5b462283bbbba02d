#include "engine/uWallPaper.h"

// IActiveDesktop is declared only after the Internet types.
#include <wininet.h>
#include <shlobj.h>

#include <exception>
#include <optional>

#include "engine/uGraphics.h"
#include "engine/uPictureLoading.h"
#include "imaging/Resample.h"
#include "system/ComObj.h"
#include "system/FileUtils.h"
#include "system/Registry.h"
#include "system/SysUtils.h"

namespace {

// The extended-precision number nearest to 1.6 (mantissa $CCCCCCCCCCCCCCCD): 1.6 in single precision lies
// above it, so a ratio of exactly 1.6 is not mild.
constexpr long double kMildScaleLimit = 0xCCCCCCCCCCCCCCCDp-63L;

// Shows only where a drawing fails without saying so.
constexpr TColor kResampleFill = 0x008000;

// The larger extent divided by the other, in extended precision, rounded to single precision.
float ExtentRatio(int64_t extent1, int64_t extent2) {
  const int64_t dividend = extent1 > extent2 ? extent1 : extent2;
  const int64_t divisor = extent1 > extent2 ? extent2 : extent1;
  if (divisor == 0) {
    if (dividend == 0) throw EInvalidOp("Invalid floating point operation");
    throw EZeroDivide("Floating point division by zero");
  }
  return static_cast<float>(static_cast<long double>(dividend) / divisor);
}

std::unique_ptr<TBitmap32> CopyOf(const TBitmap32& source) {
  auto copy = std::make_unique<TBitmap32>();
  copy->Assign(source);
  return copy;
}

std::unique_ptr<TBitmap32> TargetRaster(const TBitmap32& source, const TGraphic& picture, int32_t width,
                                        int32_t height, TWallpaperStyle style) {
  switch (style) {
    case wpsStretch:
      return TWallpaperChanger::Resample(source, width, height, kResampleFill);
    case wpsFitDesktop:
      ScaleToFit(picture, width, height);
      return TWallpaperChanger::Resample(source, width, height, kResampleFill);
    default:
      return CopyOf(source);
  }
}

// Why the picture's data cannot be decoded; nothing when it can.
std::optional<std::string> DecodeFailure(const TGraphic& picture) {
  try {
    CheckDecodes(picture);
  } catch (const std::exception& e) {
    return e.what();
  }
  return std::nullopt;
}

// A bitmap that cannot be written is reported: without it no wallpaper can change. A picture that fails to
// decode as it is written is the picture's failure, not the file's.
bool SavedTo(const TBitmap32& raster, const std::string& fileName) {
  try {
    raster.SaveToFile(fileName);
    return true;
  } catch (const EFCreateError& e) {
    ReportWriteFailure(TWriteFailure::DesktopBitmap, e.what());
  } catch (const EInOutError& e) {
    ReportWriteFailure(TWriteFailure::DesktopBitmap, e.what());
  } catch (const std::exception&) {
  }
  return false;
}

void DrawHalftone(const TBitmap32& source, TBitmap32& target) {
  SetStretchBltMode(target.Handle(), HALFTONE);
  StretchBlt(target.Handle(), 0, 0, target.Width(), target.Height(), source.Handle(), 0, 0, source.Width(),
             source.Height(), SRCCOPY);
}

// Stored in the user's profile, so that the wallpaper outlasts the next log-on, and told to every window.
BOOL SetDesktopWallpaper(const std::string& path) {
  return SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path.c_str()),
                               SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
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
  try {
    return PlaceWallpaper(fileName, style);
  } catch (const EUnusablePicture&) {
    return swsNotConverted;
  }
}

TSetWallpaperStatus TWallpaperChanger::PlaceWallpaper(const std::string& fileName, TWallpaperStyle style) {
  SetActiveDesktop(false);
  const std::string bitmap = WriteBitmap(fileName, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), style);
  if (bitmap.empty()) return swsNotConverted;
  if (!IsUsableFile(bitmap)) return swsBitmapUnusable;
  WriteTileForStyle(style);
  return SetDesktopWallpaper(bitmap) ? swsApplied : swsRefused;
}

BOOL TWallpaperChanger::ClearWallpaper() { return SetDesktopWallpaper(""); }

TReplaceable<std::function<TComPtr<IActiveDesktop>()>> TWallpaperChanger::ActiveDesktopObject{[] {
  const TComPtr<IUnknown> object = CreateComObject(CLSID_ActiveDesktop);
  return object.QueryInterface<IActiveDesktop>(IID_IActiveDesktop);
}};

void TWallpaperChanger::SetActiveDesktop(bool enable) {
  const TComPtr<IActiveDesktop> desktop = ActiveDesktopObject();
  const COMPONENTSOPT options{sizeof(COMPONENTSOPT), enable, enable};
  desktop->SetDesktopItemOptions(&options, 0);
  desktop->ApplyChanges(AD_APPLY_REFRESH);
}

std::string TWallpaperChanger::ConvertToBitmap(const std::string& fileName, int32_t width, int32_t height,
                                               TWallpaperStyle style) {
  try {
    return WriteBitmap(fileName, width, height, style);
  } catch (const EUnusablePicture&) {
    return {};
  }
}

std::string TWallpaperChanger::WriteBitmap(const std::string& fileName, int32_t width, int32_t height,
                                           TWallpaperStyle style) {
  if (!IsUsableFile(fileName))
    throw EUnusablePicture(fileName, FileExists(fileName) ? "The file is empty" : "The file does not exist");
  const std::string bitmapName = TWallpaperList::GetAppDir() + "Muralia.bmp";
  const std::unique_ptr<TPicture> picture = LoadWallpaperPicture(fileName);
  if (!picture->Graphic()) throw EUnusablePicture(fileName, "The file holds no picture");
  const TGraphic& graphic = *picture->Graphic();
  TBitmap32 source;
  source.Assign(graphic);
  std::unique_ptr<TBitmap32> target;
  std::exception_ptr failure;
  try {
    target = TargetRaster(source, graphic, width, height, style);
  } catch (...) {
    failure = std::current_exception();
  }
  // A JPEG or PNG picture is decoded while it is resampled, not when it loads. One that cannot be decoded fails
  // as its load would have: nothing written, the tile value untouched. Only that failure path decodes it again.
  if (!target) {
    if (const std::optional<std::string> reason = DecodeFailure(graphic)) throw EUnusablePicture(fileName, *reason);
  }
  // Fit Desktop turns tiling off whatever the fit and the resampling did, so a fit that fails leaves it off.
  if (style == wpsFitDesktop) DisableTile();
  if (failure) std::rethrow_exception(failure);
  if (!target) throw EUnusablePicture(fileName, "The picture cannot be scaled for the screen");
  if (!SavedTo(*target, bitmapName)) return {};
  return bitmapName;
}

std::unique_ptr<TBitmap32> TWallpaperChanger::Resample(const TBitmap32& source, int32_t width, int32_t height,
                                                       TColor fillColor) {
  auto target = std::make_unique<TBitmap32>();
  target->SetSize(width, height);
  const imaging::Rect targetRect{0, 0, width, height};
  target->FillRectS(targetRect, imaging::Color32FromColorRef(static_cast<uint32_t>(fillColor)));
  const imaging::Rect sourceRect = source.BoundsRect();
  try {
    if (IsMildScale(sourceRect, targetRect))
      DrawHalftone(source, *target);
    else
      imaging::StretchTransfer(target->Raster(), targetRect, targetRect, *source.ReadRows(), sourceRect);
  } catch (const std::exception&) {
    return nullptr;
  }
  return target;
}

bool TWallpaperChanger::IsMildScale(const imaging::Rect& rect1, const imaging::Rect& rect2) {
  const float horizontal = ExtentRatio(rect1.Width(), rect2.Width());
  const float vertical = ExtentRatio(rect1.Height(), rect2.Height());
  return kMildScaleLimit >= horizontal && kMildScaleLimit >= vertical;
}

bool TWallpaperChanger::IsUsableFile(const std::string& fileName) {
  return FileExists(fileName) && IsNonEmptyFile(fileName);
}

bool TWallpaperChanger::IsNonEmptyFile(const std::string& fileName) {
  return TWallpaperList::IsNonEmptyFile(fileName);
}

void TWallpaperChanger::SetTileWallpaper(bool tile) {
  TRegistry registry;
  registry.SetRootKey(HKEY_CURRENT_USER);
  if (registry.OpenKey("\\Control Panel\\Desktop", true)) registry.WriteString("TileWallpaper", tile ? "1" : "0");
}

void TWallpaperChanger::StoreDesktopColor(TColor color) {
  const auto value = static_cast<COLORREF>(color);
  TRegistry registry;
  registry.SetRootKey(HKEY_CURRENT_USER);
  if (registry.OpenKey("\\Control Panel\\Colors", true))
    registry.WriteString("Background", Format("%d %d %d", GetRValue(value), GetGValue(value), GetBValue(value)));
}
