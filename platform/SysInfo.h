#pragma once
// The running Windows' version flags that the program asks for: the two Windows 95 releases.
#include <windows.h>

struct TWin95Flags {
  bool IsWin95 = false;      // the first release, 4.00.950
  bool IsWin95OSR2 = false;  // OSR2 and its later builds of 4.00
};

TWin95Flags Win95FlagsOf(const OSVERSIONINFOA& version);

// Read once from the running system.
bool IsWin95();
bool IsWin95OSR2();
