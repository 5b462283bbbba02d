#include "platform/SysInfo.h"

namespace {

const TWin95Flags& RunningWin95Flags() {
  static const TWin95Flags flags = [] {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) ? Win95FlagsOf(version) : TWin95Flags{};
  }();
  return flags;
}

}  // namespace

TWin95Flags Win95FlagsOf(const OSVERSIONINFOA& version) {
  const bool windows95 = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && version.dwMajorVersion == 4 &&
                         version.dwMinorVersion == 0;
  // On the Windows 9x line the build number's high word repeats the version; OSR2 starts at build 1111.
  const bool laterBuild = LOWORD(version.dwBuildNumber) > 1000;
  return {windows95 && !laterBuild, windows95 && laterBuild};
}

bool IsWin95() { return RunningWin95Flags().IsWin95; }
bool IsWin95OSR2() { return RunningWin95Flags().IsWin95OSR2; }
