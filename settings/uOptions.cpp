#include "settings/uOptions.h"

#include "system/ProgramFile.h"
#include "system/Registry.h"

namespace {

const char* const kRunKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kRunValue = "orlo";

}  // namespace

int32_t TOptions::GetChangeFrequency() { return ReadInteger("ChangeFrequency", kDefaultChangeFrequency); }
void TOptions::SetChangeFrequency(int32_t value) { WriteInteger("ChangeFrequency", value); }

bool TOptions::GetChangeOnTimer() { return ReadBool("ChangeOnTimer", kDefaultChangeOnTimer); }
void TOptions::SetChangeOnTimer(bool value) { WriteBool("ChangeOnTimer", value); }

bool TOptions::GetChangeWallpaperOnStartup() {
  return ReadBool("ChangeWallpaperOnStartup", kDefaultChangeWallpaperOnStartup);
}
void TOptions::SetChangeWallpaperOnStartup(bool value) { WriteBool("ChangeWallpaperOnStartup", value); }

TClickAction TOptions::GetClickAction() { return ReadInteger("ClickAction", kDefaultClickAction); }
void TOptions::SetClickAction(TClickAction value) { WriteInteger("ClickAction", value); }

bool TOptions::GetFirstRun() { return ReadBool("FirstRun", kDefaultFirstRun); }
void TOptions::SetFirstRun(bool value) { WriteBool("FirstRun", value); }

int32_t TOptions::GetLastActiveWallpaperIndex() {
  return ReadInteger("LastActiveWallpaperIndex", kDefaultLastActiveWallpaperIndex);
}
void TOptions::SetLastActiveWallpaperIndex(int32_t value) { WriteInteger("LastActiveWallpaperIndex", value); }

bool TOptions::GetMinimizeControlPanelOnClickX() {
  return ReadBool("MinimizeControlPanelOnClickX", kDefaultMinimizeControlPanelOnClickX);
}
void TOptions::SetMinimizeControlPanelOnClickX(bool value) { WriteBool("MinimizeControlPanelOnClickX", value); }

bool TOptions::GetMinimizeToSystemTray() { return ReadBool("MinimizeToSystemTray", kDefaultMinimizeToSystemTray); }
void TOptions::SetMinimizeToSystemTray(bool value) { WriteBool("MinimizeToSystemTray", value); }

bool TOptions::GetShuffleWallpaper() { return ReadBool("ShuffleWallpaper", kDefaultShuffleWallpaper); }
void TOptions::SetShuffleWallpaper(bool value) { WriteBool("ShuffleWallpaper", value); }

TWallpaperStyle TOptions::GetWallpaperStyle() { return ReadInteger("WallpaperStyle", kDefaultWallpaperStyle); }
void TOptions::SetWallpaperStyle(TWallpaperStyle value) { WriteInteger("WallpaperStyle", value); }

void TOptions::SetBreakColor(int32_t value) { WriteInteger("BreakColor", value); }

// Asking creates a missing Run key. Any value "orlo" counts as on, whatever path it holds.
bool TOptions::GetRunAtStartup() {
  TRegistry registry;
  registry.SetRootKey(HKEY_CURRENT_USER);
  return registry.OpenKey(kRunKey, true) && registry.ValueExists(kRunValue);
}

// Switching on always leaves the value holding the path of the program running now.
void TOptions::SetRunAtStartup(bool value) {
  TRegistry registry;
  registry.SetRootKey(HKEY_CURRENT_USER);
  if (!registry.OpenKey(kRunKey, true)) return;
  if (value) {
    while (registry.ValueExists(kRunValue)) {
      if (!registry.DeleteValue(kRunValue)) break;
    }
    registry.WriteString(kRunValue, ProgramFileName());
  } else if (registry.ValueExists(kRunValue)) {
    registry.DeleteValue(kRunValue);
  }
}
