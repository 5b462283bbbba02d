#pragma once
// The wallpaper engine: turning a picture into the desktop bitmap and applying it.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "imaging/Bitmap32.h"
#include "platform/Bitmap32.h"
#include "platform/Graphics.h"
#include "settings/uOptions.h"

// What SetWallpaper did; the shell does not look at it.
enum TSetWallpaperStatus : int32_t {
  swsRefused = 0,         // the bitmap was written, but the system did not take it
  swsBitmapUnusable = 1,  // the conversion named a bitmap that is missing or empty
  swsNotConverted = 2,    // the picture gave no bitmap
  swsApplied = 3,
};

// Turns a picture file into the desktop bitmap "Muralia.bmp" in the program folder and makes it the
// wallpaper. Stateless: every instance behaves alike.
class TWallpaperChanger {
public:
  // Switches Active Desktop off, converts the picture for the primary screen's present size, writes the
  // desktop's tile value for the style and applies the bitmap. Failures to reach Active Desktop, to open the
  // picture for its content test or to write the tile value pass out as exceptions.
  TSetWallpaperStatus SetWallpaper(const std::string& fileName, TWallpaperStyle style);
  // Sets the wallpaper to none; the bitmap file and the tile value stay. Non-zero when the system took it.
  BOOL ClearWallpaper();
  // Sets both Active Desktop flags (components and Active Desktop itself) and applies them with a refresh.
  void SetActiveDesktop(bool enable);

  // Writes the picture as "Muralia.bmp" in the program folder, sized for a width x height screen by the style
  // (Stretch: the screen's size; Fit Desktop: fitted into it, after writing TileWallpaper "0"; any other: the
  // picture's own size). The full path of the bitmap written, or empty when the picture gave none; an old
  // bitmap is then left as it was. A picture that cannot be opened for its content test raises.
  std::string ConvertToBitmap(const std::string& fileName, int32_t width, int32_t height, TWallpaperStyle style);

  // A new width x height raster, filled with the colour and then covered by the whole source scaled: by the
  // halftone stretch when the scale is mild, else by the Lanczos resampler. Nullptr when drawing fails.
  static std::unique_ptr<TBitmap32> Resample(const TBitmap32& source, int32_t width, int32_t height,
                                             TColor fillColor);
  // True when neither axis scales by 1.6 or more, the ratio of the larger extent to the smaller rounded to
  // single precision. A zero extent raises EZeroDivide (EInvalidOp when both are zero).
  static bool IsMildScale(const imaging::Rect& rect1, const imaging::Rect& rect2);

  // The file exists and is not empty; a folder is not usable.
  static bool IsUsableFile(const std::string& fileName);
  // The file's size is above zero; false on any failure.
  static bool IsNonEmptyFile(const std::string& fileName);

  // Writes the desktop's TileWallpaper value, "1" or "0"; nothing when the desktop key cannot be opened.
  static void SetTileWallpaper(bool tile);
  static void EnableTile() { SetTileWallpaper(true); }
  static void DisableTile() { SetTileWallpaper(false); }
};
