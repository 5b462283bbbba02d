#include "settings/RegistryTestSupport.h"

#include <gtest/gtest.h>

#include <utility>

namespace regtest {
namespace {

const char* const kBackupRoot = "Software\\OrloTestsBackup";

// The outermost key on the path that does not exist yet: what creating the path would add.
std::string FirstMissingKey(const std::string& path) {
  for (size_t end = path.find('\\'); end != std::string::npos; end = path.find('\\', end + 1)) {
    if (!KeyExists(path.substr(0, end))) return path.substr(0, end);
  }
  return path;
}

// A raw key handle that closes itself.
class Key {
public:
  Key(const std::string& path, bool create) {
    const LONG status = create ? RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &FKey, nullptr)
                               : RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &FKey);
    if (status != ERROR_SUCCESS) FKey = nullptr;
  }
  ~Key() {
    if (FKey) RegCloseKey(FKey);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY Get() const { return FKey; }

private:
  HKEY FKey = nullptr;
};

// An empty access list refuses all access (the owner may still change the list); no list grants all.
void SetAccessList(HKEY key, bool refuseAll) {
  SECURITY_DESCRIPTOR descriptor;
  ACL acl;
  InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  InitializeAcl(&acl, sizeof acl, ACL_REVISION);
  SetSecurityDescriptorDacl(&descriptor, TRUE, refuseAll ? &acl : nullptr, FALSE);
  EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor), ERROR_SUCCESS);
}

}  // namespace

bool KeyExists(const std::string& path) { return Key(path, false).Get() != nullptr; }

void DeleteKey(const std::string& path) {
  RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
  ASSERT_FALSE(KeyExists(path)) << path;
}

std::vector<std::string> ValueNames(const std::string& path) {
  std::vector<std::string> names;
  Key key(path, false);
  if (!key.Get()) return names;
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD length = sizeof name;
    if (RegEnumValueA(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

std::optional<RawValue> GetValue(const std::string& path, const std::string& name) {
  Key key(path, false);
  DWORD size = 0;
  RawValue value;
  if (!key.Get() ||
      RegQueryValueExA(key.Get(), name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  value.data.resize(size);
  if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &value.type, value.data.data(), &size) != ERROR_SUCCESS)
    return std::nullopt;
  value.data.resize(size);
  return value;
}

void SetValue(const std::string& path, const std::string& name, DWORD type, const std::vector<BYTE>& data) {
  Key key(path, true);
  ASSERT_NE(key.Get(), nullptr) << path;
  ASSERT_EQ(RegSetValueExA(key.Get(), name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
}

void SetDword(const std::string& path, const std::string& name, uint32_t value) {
  SetValue(path, name, REG_DWORD,
           {BYTE(value), BYTE(value >> 8), BYTE(value >> 16), BYTE(value >> 24)});
}

void SetString(const std::string& path, const std::string& name, const std::string& value) {
  std::vector<BYTE> data(value.begin(), value.end());
  data.push_back(0);
  SetValue(path, name, REG_SZ, data);
}

void DeleteValue(const std::string& path, const std::string& name) {
  Key key(path, false);
  ASSERT_NE(key.Get(), nullptr) << path;
  ASSERT_EQ(RegDeleteValueA(key.Get(), name.c_str()), ERROR_SUCCESS);
}

std::optional<uint32_t> GetDword(const std::string& path, const std::string& name) {
  const auto value = GetValue(path, name);
  if (!value || value->type != REG_DWORD || value->data.size() != 4) return std::nullopt;
  const auto& d = value->data;
  return uint32_t(d[0]) | uint32_t(d[1]) << 8 | uint32_t(d[2]) << 16 | uint32_t(d[3]) << 24;
}

std::optional<std::string> GetString(const std::string& path, const std::string& name) {
  const auto value = GetValue(path, name);
  if (!value || value->type != REG_SZ || value->data.empty() || value->data.back() != 0) return std::nullopt;
  return std::string(value->data.begin(), value->data.end() - 1);
}

std::string RunningProgramPath() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, length);
}

KeyGuard::KeyGuard(std::string path)
    : FPath(std::move(path)),
      FBackup(std::string(kBackupRoot) + "\\" + FPath),
      FCreated(FirstMissingKey(FPath)),
      FExisted(KeyExists(FPath)) {
  if (!FExisted) return;
  DeleteKey(FBackup);
  Key source(FPath, false);
  Key backup(FBackup, true);
  EXPECT_EQ(RegCopyTreeA(source.Get(), nullptr, backup.Get()), ERROR_SUCCESS);
}

KeyGuard::~KeyGuard() {
  DeleteKey(FExisted ? FPath : FCreated);
  if (!FExisted) return;
  {
    Key backup(FBackup, false);
    Key restored(FPath, true);
    EXPECT_EQ(RegCopyTreeA(backup.Get(), nullptr, restored.Get()), ERROR_SUCCESS);
  }
  DeleteKey(FBackup);
  RegDeleteKeyA(HKEY_CURRENT_USER, kBackupRoot);  // only once no other guard keeps a backup there
}

LockedKey::LockedKey(std::string path) : FPath(std::move(path)) {
  Key key(FPath, true);
  SetAccessList(key.Get(), true);
}

LockedKey::~LockedKey() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, FPath.c_str(), 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
    SetAccessList(key, false);
    RegCloseKey(key);
  }
  DeleteKey(FPath);
}

}  // namespace regtest
