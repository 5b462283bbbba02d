#pragma once
// The wallpaper engine: the collection of picture files with its list file "wallp.sl", and the turning of a
// picture into the desktop bitmap that is applied as the wallpaper.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "imaging/Bitmap32.h"
#include "graphics/Bitmap32.h"
#include "system/Classes.h"
#include "system/ComObj.h"
#include "graphics/GraphicEx.h"
#include "graphics/Graphics.h"
#include "system/Seams.h"
#include "system/SysUtils.h"
#include "settings/uOptions.h"

// The files that the engine writes without the user asking for each write. A write that fails is caught,
// for the program goes on without it, and its message (the file and the system's reason) is handed to
// ReportWriteFailure, which says nothing until the shell installs its report.
enum class TWriteFailure { ListFile, DesktopBitmap };
using TWriteFailureReport = std::function<void(TWriteFailure kind, const std::string& message)>;
extern TReplaceable<TWriteFailureReport> ReportWriteFailure;

// What is learnt about one entry's file, cached at the entry's index. Zero and empty mean not yet known.
struct TFileProperties {
  int32_t Width = 0;
  int32_t Height = 0;
  uint32_t BitsPerPixel = 0;
  std::string SizeText;
  std::string TypeText;
};

// The collection. An entry keeps its index until the list file is read again: removing an entry blanks its
// path, and only reading the list file back compacts the list. The list control's rows carry these indexes.
class TWallpaperList {
public:
  TWallpaperList() = default;
  // Saves the list file first.
  virtual ~TWallpaperList();
  TWallpaperList(const TWallpaperList&) = delete;
  TWallpaperList& operator=(const TWallpaperList&) = delete;

  // Appends a path; the empty path is ignored.
  void Add(const std::string& path);
  // Blanks a valid entry and disposes its record; other indexes stay as they are.
  void Delete(int32_t index);
  void Clear();
  bool CanMoveUp(int32_t index) const;
  bool CanMoveDown(int32_t index) const;
  // A move exchanges two neighbouring entries, with their records.
  void MoveUp(int32_t index);
  void MoveDown(int32_t index);
  // Exchanges two valid entries, lower before upper, with their records.
  void Exchange(int32_t lower, int32_t upper);

  // Reads the list file, dropping its empty lines, and renumbers the entries. An entry whose file is missing
  // stays: its drive may only be away. After a failed save the file is behind the collection, which then
  // keeps its own entries, compacted, as it does when the file cannot be read. Leftovers of killed saves in
  // the program folder go first.
  void LoadFromFile();
  // Writes the list file; a failure is reported, not raised.
  void SaveToFile();
  // Blanks every entry whose file is missing or empty.
  void RemoveInvalid();
  // On the first run adds the sample picture and writes the list file; called before the list file is first
  // read, it replaces any list file that was there.
  void AddDefaultOnFirstRun();

  // The entry's path, or empty when the index is invalid or the file is gone.
  std::string GetFileName(int32_t index) const;
  // The entry's path as the list holds it, also when the file is gone; empty when the index is invalid.
  std::string GetPath(int32_t index) const { return IsValidIndex(index) ? FFiles.Get(index) : std::string(); }
  std::string GetTitle(int32_t index) const;
  std::string GetFolder(int32_t index) const;
  // The file's last-write time in the user's locale: short date, then long time.
  std::string GetDateText(int32_t index) const;
  bool IsValidItem(int32_t index) const;
  bool IsValidIndex(int32_t index) const { return index >= 0 && index < FFiles.Count(); }
  int32_t LastIndex() const { return FFiles.Count() - 1; }
  bool HasItems() const { return FFiles.Count() > 0; }
  bool IsEmpty() const { return FFiles.Count() == 0; }

  static bool IsNonEmptyFile(const std::string& path);
  // The program folder, with its trailing backslash.
  static std::string GetAppDir();

  // The entry's descriptive texts, each worked out once and then kept in the entry's record; all three are
  // empty for an invalid index. The size text is empty while the file cannot be found, and is tried again at
  // the next call. The type text comes from the file's name alone, so it is never empty for a valid index.
  // The dimensions text ("1024x768x24b") is empty when the picture cannot be loaded, and "0x0x0b", tried
  // again at the next call, when the class chosen by the file's content fails to load it.
  std::string GetSizeText(int32_t index);
  std::string GetTypeText(int32_t index);
  std::string GetDimensionsText(int32_t index);

  // "1023 bytes", "1.3 KB", "1024.0 MB", "2048.0 GB": one decimal, rounded half away from zero, with the
  // decimal separator of the user's locale.
  static std::string FormatSize(int64_t size);
  // Width, height and bits per pixel of a picture file, found by loading it as LoadPicture would. Zeros
  // when the class that accepts the content fails to load it; raises when the file cannot be opened or
  // no class loads it by its extension (a JPEG picture whose data cannot be decoded included).
  static void GetImageProperties(const std::string& fileName, TImageProperties& props);
  // The shell's type name for a file name, empty when it has none; tests replace it for a scope.
  static TReplaceable<std::function<std::string(const std::string&)>> ShellTypeName;

  // The entry's cached record, or nullptr when it has none yet.
  TFileProperties* GetProperties(int32_t index) const;
  // Makes a zero-filled record for a valid entry that has none; raises ERangeError for an invalid index.
  TFileProperties* NewProperties(int32_t index);

private:
  static std::string ListFileName();
  static std::string FileTypeText(const std::string& fileName);
  // The entry's record, made when it has none yet.
  TFileProperties& Properties(int32_t index);
  void DisposeProperties(int32_t index);

  TStringList FFiles;
  // The last save failed: the list file does not hold the collection.
  bool FFileBehind = false;
  // Position i holds the record of entry i, or none; positions past the end hold none.
  std::vector<std::unique_ptr<TFileProperties>> FProperties;
};

struct IActiveDesktop;

// A picture that cannot be made the wallpaper (gone, empty, no picture, damaged, too large); the message names
// the file and the reason.
class EUnusablePicture : public Exception {
public:
  EUnusablePicture(const std::string& fileName, const std::string& reason)
      : Exception("Cannot make " + fileName + " the wallpaper.\n\n" + reason) {}
};

// What SetWallpaper did; the shell does not look at it.
enum TSetWallpaperStatus : int32_t {
  swsRefused = 0,         // the bitmap was written, but the system did not take it
  swsBitmapUnusable = 1,  // the conversion named a bitmap that is missing or empty
  swsNotConverted = 2,    // the picture gave no bitmap
  swsApplied = 3,
};

// Turns a picture file into the desktop bitmap "Muralia.bmp" in the program folder and makes it the
// wallpaper, and keeps the desktop's own settings. Stateless: every instance behaves alike.
class TWallpaperChanger {
public:
  // Switches Active Desktop off, converts the picture for the primary screen's present size, writes the
  // desktop's tile value for the style and applies the bitmap. Failures to reach Active Desktop, to open the
  // picture for its content test or to write the tile value pass out as exceptions.
  TSetWallpaperStatus SetWallpaper(const std::string& fileName, TWallpaperStyle style);
  // SetWallpaper for the user's own command, which says why a picture cannot be made the wallpaper: such a
  // picture raises EUnusablePicture instead of giving swsNotConverted.
  TSetWallpaperStatus PlaceWallpaper(const std::string& fileName, TWallpaperStyle style);
  // Sets the wallpaper to none; the bitmap file and the tile value stay. Non-zero when the system took it.
  BOOL ClearWallpaper();
  // Sets both Active Desktop flags (components and Active Desktop itself) and applies them with a refresh.
  void SetActiveDesktop(bool enable);
  // The Active Desktop object, made anew at every change; raises EOleSysError without COM. Tests replace it
  // for a scope.
  static TReplaceable<std::function<TComPtr<IActiveDesktop>()>> ActiveDesktopObject;

  // Writes the picture as "Muralia.bmp" in the program folder, sized for a width x height screen by the style
  // (Stretch: the screen's size; Fit Desktop: fitted into it; any other: the picture's own size). Fit Desktop
  // writes TileWallpaper "0", which stays written when the fit or the bitmap fails, but not when the picture
  // cannot be loaded or decoded. The full path of the bitmap written, or empty when the picture gave none; an
  // old bitmap is then left as it was. A picture that cannot be opened for its content test raises.
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
  // Stores the desktop colour where Windows reads it at log-on, as "R G B" text; nothing when the key cannot
  // be opened.
  static void StoreDesktopColor(TColor color);

private:
  // ConvertToBitmap, with a picture that gives no bitmap raising EUnusablePicture.
  std::string WriteBitmap(const std::string& fileName, int32_t width, int32_t height, TWallpaperStyle style);
};
