#include "system/Registry.h"

#include <utility>

#include "system/SysUtils.h"

namespace {

[[noreturn]] void RaiseRegistryError(const char* format, const std::string& name) {
  throw ERegistryException(Format(format, name.c_str()));
}

[[noreturn]] void RaiseGetDataFailed(const std::string& name) {
  RaiseRegistryError("Failed to get data for '%s'", name);
}

[[noreturn]] void RaiseInvalidDataType(const std::string& name) {
  RaiseRegistryError("Invalid data type for '%s'", name);
}

}  // namespace

TRegistry::~TRegistry() { CloseKey(); }

TRegistry::TRegistry(TRegistry&& other) noexcept
    : FRootKey(other.FRootKey), FCurrentKey(std::exchange(other.FCurrentKey, nullptr)) {}

TRegistry& TRegistry::operator=(TRegistry&& other) noexcept {
  if (this != &other) {
    CloseKey();
    FRootKey = other.FRootKey;
    FCurrentKey = std::exchange(other.FCurrentKey, nullptr);
  }
  return *this;
}

void TRegistry::SetRootKey(HKEY rootKey) {
  if (rootKey == FRootKey) return;
  FRootKey = rootKey;
  CloseKey();
}

bool TRegistry::OpenKey(const std::string& path, bool canCreate) {
  const bool absolute = !path.empty() && path.front() == '\\';
  const std::string subKey = absolute ? path.substr(1) : path;
  const HKEY base = (absolute || !FCurrentKey) ? FRootKey : FCurrentKey;
  HKEY key = nullptr;
  const LONG status = canCreate ? RegCreateKeyExA(base, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                  KEY_ALL_ACCESS, nullptr, &key, nullptr)
                                : RegOpenKeyExA(base, subKey.c_str(), 0, KEY_ALL_ACCESS, &key);
  if (status != ERROR_SUCCESS) return false;
  CloseKey();
  FCurrentKey = key;
  return true;
}

void TRegistry::CloseKey() {
  if (FCurrentKey) RegCloseKey(std::exchange(FCurrentKey, nullptr));
}

bool TRegistry::ValueExists(const std::string& name) const {
  return FCurrentKey &&
         RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool TRegistry::ReadBool(const std::string& name) const { return ReadInteger(name) != 0; }

int32_t TRegistry::ReadInteger(const std::string& name) const {
  DWORD type = REG_NONE;
  DWORD data = 0;
  DWORD size = sizeof data;
  if (!FCurrentKey ||
      RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
          ERROR_SUCCESS)
    RaiseGetDataFailed(name);
  // A short REG_DWORD would leave part of the number unset.
  if (type != REG_DWORD || size != sizeof data) RaiseInvalidDataType(name);
  return static_cast<int32_t>(data);
}

std::string TRegistry::ReadString(const std::string& name) const {
  DWORD size = 0;
  if (!FCurrentKey ||
      RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS || size == 0)
    return {};
  std::string buffer(size, '\0');
  DWORD type = REG_NONE;
  if (RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
      ERROR_SUCCESS)
    RaiseGetDataFailed(name);
  if (type != REG_SZ && type != REG_EXPAND_SZ) RaiseInvalidDataType(name);
  // Stored strings need not end in a null; the data size bounds them.
  buffer.resize(size);
  const auto end = buffer.find('\0');
  if (end != std::string::npos) buffer.resize(end);
  return buffer;
}

void TRegistry::WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }

void TRegistry::WriteInteger(const std::string& name, int32_t value) {
  const DWORD data = static_cast<DWORD>(value);
  WriteData(name, REG_DWORD, &data, sizeof data);
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
  WriteData(name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

bool TRegistry::DeleteValue(const std::string& name) {
  return FCurrentKey && RegDeleteValueA(FCurrentKey, name.c_str()) == ERROR_SUCCESS;
}

void TRegistry::WriteData(const std::string& name, DWORD type, const void* data, DWORD size) {
  if (!FCurrentKey ||
      RegSetValueExA(FCurrentKey, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) != ERROR_SUCCESS)
    RaiseRegistryError("Failed to set data for '%s'", name);
}
