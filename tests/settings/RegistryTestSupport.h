#pragma once
// Raw registry access for the settings tests, independent of the classes under test, and a guard that puts a
// key of the test prefix back as it was.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "system/SysUtils.h"

namespace regtest {

inline const char* const kOptionsKey = "Software\\Quorlen Software\\Muralia\\Options";
inline const char* const kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const char* const kScratchKey = "Software\\OrloTests\\Scratch";

struct RawValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

bool KeyExists(const std::string& path);
void DeleteKey(const std::string& path);
std::vector<std::string> ValueNames(const std::string& path);
std::optional<RawValue> GetValue(const std::string& path, const std::string& name);
void SetValue(const std::string& path, const std::string& name, DWORD type, const std::vector<BYTE>& data);
void SetDword(const std::string& path, const std::string& name, uint32_t value);
void SetString(const std::string& path, const std::string& name, const std::string& value);
void DeleteValue(const std::string& path, const std::string& name);
std::optional<uint32_t> GetDword(const std::string& path, const std::string& name);
std::optional<std::string> GetString(const std::string& path, const std::string& name);
std::string RunningProgramPath();

// Copies a key away on construction and puts it back on destruction; a key that was absent is removed with
// the parent keys that came with it.
class KeyGuard {
public:
  explicit KeyGuard(std::string path);
  ~KeyGuard();
  KeyGuard(const KeyGuard&) = delete;
  KeyGuard& operator=(const KeyGuard&) = delete;

private:
  std::string FPath;
  std::string FBackup;
  std::string FCreated;
  bool FExisted;
};

// Creates a key whose access list grants nobody anything, and opens it up again (and deletes it) at the end.
class LockedKey {
public:
  explicit LockedKey(std::string path);
  ~LockedKey();
  LockedKey(const LockedKey&) = delete;
  LockedKey& operator=(const LockedKey&) = delete;

private:
  std::string FPath;
};

// The message of the ERegistryException that the call raises, or "no exception".
template <typename Call>
std::string RegistryErrorOf(Call call) {
  try {
    call();
  } catch (const ERegistryException& e) {
    return e.Message();
  }
  return "no exception";
}

}  // namespace regtest
