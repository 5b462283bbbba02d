#pragma once
// The registry class: one open key at a time under a root key, typed reads and writes of named values.
// Failures raise ERegistryException naming the value.
#include <windows.h>

#include <cstdint>
#include <string>

class TRegistry {
public:
  TRegistry() = default;
  ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;
  TRegistry(TRegistry&& other) noexcept;
  TRegistry& operator=(TRegistry&& other) noexcept;

  HKEY RootKey() const { return FRootKey; }
  // Changing the root key closes the key that is open.
  void SetRootKey(HKEY rootKey);
  HKEY CurrentKey() const { return FCurrentKey; }

  // A path with a leading backslash starts at the root key, any other path at the open key (or the root key
  // when none is open). On success the new key replaces the open one; on failure the open key stays.
  bool OpenKey(const std::string& path, bool canCreate);
  void CloseKey();

  // False when no key is open.
  bool ValueExists(const std::string& name) const;
  bool ReadBool(const std::string& name) const;
  int32_t ReadInteger(const std::string& name) const;
  // An absent or empty value reads as an empty string.
  std::string ReadString(const std::string& name) const;
  void WriteBool(const std::string& name, bool value);
  void WriteInteger(const std::string& name, int32_t value);
  void WriteString(const std::string& name, const std::string& value);
  bool DeleteValue(const std::string& name);

private:
  void WriteData(const std::string& name, DWORD type, const void* data, DWORD size);

  HKEY FRootKey = HKEY_CURRENT_USER;
  HKEY FCurrentKey = nullptr;
};
