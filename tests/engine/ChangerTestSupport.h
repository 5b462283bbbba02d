#pragma once
// What the wallpaper changer's tests share: the desktop's state put back after each test, COM on the test
// thread, and a temporary program folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "TempFolder.h"
#include "engine/uWallPaper.h"

namespace changertest {

inline const char* const kDesktopKey = "Control Panel\\Desktop";

// The TileWallpaper value as text, or nothing when it is absent.
std::optional<std::string> TileValue();
void SetTileValue(const std::optional<std::string>& value);
// The wallpaper that the system reports.
std::string DesktopWallpaper();

// Puts TileWallpaper and the wallpaper back as they were.
class TDesktopGuard {
public:
  TDesktopGuard();
  ~TDesktopGuard();
  TDesktopGuard(const TDesktopGuard&) = delete;
  TDesktopGuard& operator=(const TDesktopGuard&) = delete;

private:
  std::optional<std::string> FTile;
  std::string FWallpaper;
};

// COM initialised on the test thread, the program folder a fresh temporary one, the desktop guarded.
class ChangerTest : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  std::string BitmapPath() const { return FFolder.Path() + "Muralia.bmp"; }

  TempFolder FFolder;
  TDesktopGuard FDesktop;
  TWallpaperChanger FChanger;
};

}  // namespace changertest
