#include "system/VersionInfo.h"

#include <windows.h>

#include <vector>

#include "system/SysUtils.h"

TFileVersionInfo::TFileVersionInfo(const std::string& fileName) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(fileName.c_str(), &ignored);
  std::vector<char> data(size);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (size == 0 || !GetFileVersionInfoA(fileName.c_str(), 0, size, data.data()) ||
      !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
      fixedSize < sizeof(VS_FIXEDFILEINFO)) {
    throw Exception("File contains no version information");
  }
  FFileVersionMS = fixed->dwFileVersionMS;
  FFileVersionLS = fixed->dwFileVersionLS;
}
