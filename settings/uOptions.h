#pragma once
// The program's settings object: one getter and one setter per option, each a registry access at the call.
#include <cstdint>

#include "settings/uRegBase.h"

using TWallpaperStyle = int32_t;
constexpr TWallpaperStyle wpsCenter = 0;
constexpr TWallpaperStyle wpsTile = 1;
constexpr TWallpaperStyle wpsStretch = 2;
constexpr TWallpaperStyle wpsFitDesktop = 3;

using TClickAction = int32_t;
constexpr TClickAction clkOpenOptionsDialog = 0;
constexpr TClickAction clkOpenControlPanel = 1;
constexpr TClickAction clkChangeWallpaper = 2;
constexpr TClickAction clkClearWallpaper = 3;

// What the first read of an absent option stores and returns.
constexpr int32_t kDefaultChangeFrequency = 600;
constexpr bool kDefaultChangeOnTimer = true;
constexpr bool kDefaultChangeWallpaperOnStartup = true;
constexpr TClickAction kDefaultClickAction = clkOpenOptionsDialog;
constexpr bool kDefaultFirstRun = true;
constexpr int32_t kDefaultLastActiveWallpaperIndex = 0;
constexpr bool kDefaultMinimizeControlPanelOnClickX = true;
constexpr bool kDefaultMinimizeToSystemTray = true;
constexpr bool kDefaultShuffleWallpaper = false;
constexpr TWallpaperStyle kDefaultWallpaperStyle = wpsFitDesktop;

class TOptions : public TOptionsReg {
public:
  int32_t GetChangeFrequency();
  void SetChangeFrequency(int32_t value);
  bool GetChangeOnTimer();
  void SetChangeOnTimer(bool value);
  bool GetChangeWallpaperOnStartup();
  void SetChangeWallpaperOnStartup(bool value);
  TClickAction GetClickAction();
  void SetClickAction(TClickAction value);
  bool GetFirstRun();
  void SetFirstRun(bool value);
  int32_t GetLastActiveWallpaperIndex();
  void SetLastActiveWallpaperIndex(int32_t value);
  bool GetMinimizeControlPanelOnClickX();
  void SetMinimizeControlPanelOnClickX(bool value);
  bool GetMinimizeToSystemTray();
  void SetMinimizeToSystemTray(bool value);
  bool GetShuffleWallpaper();
  void SetShuffleWallpaper(bool value);
  TWallpaperStyle GetWallpaperStyle();
  void SetWallpaperStyle(TWallpaperStyle value);
  void SetBreakColor(int32_t value);
  bool GetRunAtStartup();
  void SetRunAtStartup(bool value);
};
