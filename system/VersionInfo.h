#pragma once
// The version resource of a program file.
#include <cstdint>
#include <string>

class TFileVersionInfo {
public:
  // Raises Exception "File contains no version information" when the file has no version resource.
  explicit TFileVersionInfo(const std::string& fileName);

  // The fixed file version: most significant half first.
  uint32_t FileVersionMS() const { return FFileVersionMS; }
  uint32_t FileVersionLS() const { return FFileVersionLS; }

private:
  uint32_t FFileVersionMS = 0;
  uint32_t FFileVersionLS = 0;
};
