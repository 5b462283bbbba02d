#pragma once
// What the wallpaper changer's tests share: the desktop's state put back after each test, COM on the test
// thread, and a temporary program folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "ProgramFolder.h"
#include "TempFolder.h"
#include "engine/uWallPaper.h"

namespace changertest {

inline const char* const kDesktopKey = "Control Panel\\Desktop";
inline const char* const kColorsKey = "Control Panel\\Colors";

// A text value of the user's key, or nothing when it is absent; setting nothing deletes it.
std::optional<std::string> UserText(const char* path, const char* name);
void SetUserText(const char* path, const char* name, const std::optional<std::string>& value);
// The TileWallpaper value as text, or nothing when it is absent.
inline std::optional<std::string> TileValue() { return UserText(kDesktopKey, "TileWallpaper"); }
inline void SetTileValue(const std::optional<std::string>& value) { SetUserText(kDesktopKey, "TileWallpaper", value); }
// The wallpaper that the system reports.
std::string DesktopWallpaper();

// A 24-bit Windows bitmap file of a width x height picture; colour(x, y) gives each pixel as 0xRRGGBB.
std::string Bitmap24(int32_t width, int32_t height, const std::function<uint32_t(int32_t, int32_t)>& colour);

// The fields of a bitmap file that the desktop relies on.
struct TBitmapHeader {
  int32_t Width = 0;
  int32_t Height = 0;
  uint16_t BitCount = 0;
  uint32_t Compression = 0;
  bool operator==(const TBitmapHeader&) const = default;
};
std::optional<TBitmapHeader> ReadBitmapHeader(const std::string& file);
// The pixel at (x, y) of a bottom-up 32-bit bitmap file, as 0xAARRGGBB.
uint32_t Pixel32(const std::string& file, int32_t x, int32_t y);

// Puts the wallpaper (in the profile too), TileWallpaper and the desktop colour back as they were.
class TDesktopGuard {
public:
  TDesktopGuard();
  ~TDesktopGuard();
  TDesktopGuard(const TDesktopGuard&) = delete;
  TDesktopGuard& operator=(const TDesktopGuard&) = delete;

private:
  std::optional<std::string> FTile, FColour;
  std::string FWallpaper;
};

// COM initialised on the test thread, the program folder a fresh temporary one, the desktop guarded.
class ChangerTest : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  std::string BitmapPath() const { return FFolder.Path() + "Muralia.bmp"; }

  TempFolder FFolder;
  ProgramFolder FProgram{FFolder.Path()};
  TDesktopGuard FDesktop;
  TWallpaperChanger FChanger;
};

}  // namespace changertest
