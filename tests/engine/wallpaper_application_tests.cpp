// Applying and clearing the wallpaper, the desktop's tile value and Active Desktop.
#include <gtest/gtest.h>

#include <thread>
#include <utility>

#include "FakeActiveDesktop.h"
#include "engine/ChangerTestSupport.h"
#include "system/Seams.h"
#include "system/SysUtils.h"

namespace {

using namespace changertest;

using TileTest = ChangerTest;

TEST_F(TileTest, WritesTheTileValueAsText) {
  SetTileValue(std::nullopt);
  TWallpaperChanger::EnableTile();
  EXPECT_EQ(TileValue(), "1");
  TWallpaperChanger::DisableTile();
  EXPECT_EQ(TileValue(), "0");
  TWallpaperChanger::SetTileWallpaper(true);
  EXPECT_EQ(TileValue(), "1");
}

using ActiveDesktopTest = ChangerTest;

// Both flags go to the object together and are applied with a refresh; every object made is released. A
// change switches Active Desktop off before it converts the picture.
TEST_F(ActiveDesktopTest, SwitchingSetsBothFlagsAndAppliesThem) {
  TFakeActiveDesktop desktop;
  const TScopedReplacement<std::function<TComPtr<IActiveDesktop>()>> replaced(
      TWallpaperChanger::ActiveDesktopObject, [&] { return desktop.Reference(); });
  FChanger.SetActiveDesktop(true);
  EXPECT_EQ(desktop.Options.dwSize, sizeof(COMPONENTSOPT));
  EXPECT_TRUE(desktop.Options.fEnableComponents && desktop.Options.fActiveDesktop);
  EXPECT_EQ(desktop.ApplyFlags, DWORD{AD_APPLY_REFRESH});
  FChanger.SetActiveDesktop(false);
  EXPECT_FALSE(desktop.Options.fEnableComponents || desktop.Options.fActiveDesktop);
  EXPECT_EQ(desktop.Applied, 2);

  FChanger.SetActiveDesktop(true);
  EXPECT_EQ(FChanger.SetWallpaper(FFolder.Path() + "missing.bmp", wpsCenter), swsNotConverted);
  EXPECT_FALSE(desktop.Options.fEnableComponents || desktop.Options.fActiveDesktop);
  EXPECT_EQ(desktop.References, 0u);
}

TEST_F(ActiveDesktopTest, WithoutActiveDesktopSetWallpaperFailsBeforeDoingAnything) {
  SetTileValue("1");
  FFolder.Write("Muralia.bmp", "previous");
  const std::string picture = FFolder.Write("picture.bmp", "not empty");
  bool raised = false;
  // A thread without COM cannot reach Active Desktop.
  std::thread([&] {
    try {
      FChanger.SetWallpaper(picture, wpsFitDesktop);
    } catch (const EOleSysError&) {
      raised = true;
    }
  }).join();
  EXPECT_TRUE(raised);
  EXPECT_EQ(TileValue(), "1");
  EXPECT_EQ(FFolder.Read("Muralia.bmp"), "previous");
}

using SetWallpaperTest = ChangerTest;

TEST_F(SetWallpaperTest, AnEmptyOrMissingPictureIsNotConvertedAndChangesNothing) {
  SetTileValue("1");
  FFolder.Write("Muralia.bmp", "previous");
  const std::string before = changertest::DesktopWallpaper();
  const std::string empty = FFolder.Write("empty.png", "");
  for (const std::string& path : {std::string(), empty, FFolder.Path() + "missing.png", FFolder.Path()}) {
    EXPECT_EQ(FChanger.SetWallpaper(path, wpsCenter), swsNotConverted) << path;
    EXPECT_EQ(FChanger.ConvertToBitmap(path, 640, 480, wpsFitDesktop), "") << path;
  }
  EXPECT_EQ(TileValue(), "1");
  EXPECT_EQ(changertest::DesktopWallpaper(), before);
  EXPECT_EQ(FFolder.Read("Muralia.bmp"), "previous");
}

// Windows takes the wallpaper and the desktop colour from the profile at log-on.
TEST_F(SetWallpaperTest, TheWallpaperAndTheDesktopColourAreStoredInTheProfile) {
  SetUserText(kDesktopKey, "Wallpaper", "C:\\old.bmp");
  EXPECT_TRUE(FChanger.ClearWallpaper());
  EXPECT_EQ(UserText(kDesktopKey, "Wallpaper"), "");
  TWallpaperChanger::StoreDesktopColor(RGB(1, 128, 255));
  EXPECT_EQ(UserText(kColorsKey, "Background"), "1 128 255");
}

TEST_F(SetWallpaperTest, ClearingEmptiesTheWallpaperAndLeavesBitmapAndTileAlone) {
  SetTileValue("1");
  FFolder.Write("Muralia.bmp", "previous");
  EXPECT_TRUE(FChanger.ClearWallpaper());
  EXPECT_EQ(changertest::DesktopWallpaper(), "");
  EXPECT_EQ(TileValue(), "1");
  EXPECT_EQ(FFolder.Read("Muralia.bmp"), "previous");
}

TEST(FileGate, OnlyAFileWithContentIsUsable) {
  TempFolder folder;
  const std::string full = folder.Write("full.bmp", "x");
  const std::string empty = folder.Write("empty.bmp", "");
  EXPECT_TRUE(TWallpaperChanger::IsUsableFile(full));
  EXPECT_FALSE(TWallpaperChanger::IsUsableFile(empty));
  EXPECT_FALSE(TWallpaperChanger::IsUsableFile(folder.Path() + "missing.bmp"));
  EXPECT_FALSE(TWallpaperChanger::IsUsableFile(folder.Path().substr(0, folder.Path().size() - 1)));
  EXPECT_FALSE(TWallpaperChanger::IsUsableFile(""));
  EXPECT_FALSE(TWallpaperChanger::IsNonEmptyFile(folder.Path() + "*?<>"));
}

imaging::Rect Extent(int32_t width, int32_t height) { return {0, 0, width, height}; }

TEST(MildScale, RatiosBelowOnePointSixPassAndOnePointSixItselfFails) {
  EXPECT_TRUE(TWallpaperChanger::IsMildScale(Extent(1920, 1200), Extent(1920, 1200)));
  EXPECT_FALSE(TWallpaperChanger::IsMildScale(Extent(1200, 750), Extent(1920, 1200)));
  EXPECT_FALSE(TWallpaperChanger::IsMildScale(Extent(1920, 1200), Extent(1200, 750)));
  EXPECT_TRUE(TWallpaperChanger::IsMildScale(Extent(1001, 626), Extent(1600, 1000)));
  EXPECT_TRUE(TWallpaperChanger::IsMildScale(Extent(3000, 1875), Extent(1920, 1200)));
  // One axis at 1.6 is enough to fail.
  EXPECT_FALSE(TWallpaperChanger::IsMildScale(Extent(1000, 500), Extent(1000, 800)));
  EXPECT_FALSE(TWallpaperChanger::IsMildScale(Extent(500, 1000), Extent(800, 1000)));
  // Extents, not corners: the rectangles need not start at the origin.
  EXPECT_TRUE(TWallpaperChanger::IsMildScale(imaging::Rect{100, 100, 259, 199}, Extent(100, 100)));
  EXPECT_FALSE(TWallpaperChanger::IsMildScale(imaging::Rect{100, 100, 260, 200}, Extent(100, 100)));
}

TEST(MildScale, TheRatioIsRoundedToSinglePrecisionBeforeTheComparison) {
  // 1.5999999 rounds to 1.599999904632568359375, the largest single value at or below the limit.
  EXPECT_TRUE(TWallpaperChanger::IsMildScale(Extent(15999999, 1), Extent(10000000, 1)));
  // 1.59999997 lies below 1.6, but rounds up to the single value nearest 1.6, above the limit.
  EXPECT_FALSE(TWallpaperChanger::IsMildScale(Extent(159999997, 1), Extent(100000000, 1)));
}

TEST(MildScale, AZeroExtentRaises) {
  EXPECT_THROW(TWallpaperChanger::IsMildScale(Extent(0, 100), Extent(100, 100)), EZeroDivide);
  EXPECT_THROW(TWallpaperChanger::IsMildScale(Extent(100, 100), Extent(100, 0)), EZeroDivide);
  EXPECT_THROW(TWallpaperChanger::IsMildScale(Extent(0, 100), Extent(0, 100)), EInvalidOp);
}

}  // namespace
