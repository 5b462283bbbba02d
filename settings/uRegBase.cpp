#include "settings/uRegBase.h"

TOptionsReg::TOptionsReg() { FRegistry.SetRootKey(HKEY_CURRENT_USER); }

TOptionsReg::~TOptionsReg() = default;

std::string TOptionsReg::GetKeyPath() { return "\\Software\\Quorlen Software\\Muralia\\Options\\"; }

void TOptionsReg::OpenForRead() { FRegistry.OpenKey(GetKeyPath(), false); }

void TOptionsReg::OpenForWrite() { FRegistry.OpenKey(GetKeyPath(), true); }

// A boolean is the number 1 or 0, and any non-zero number reads as true.
bool TOptionsReg::ReadBool(const std::string& name, bool defaultValue) {
  return ReadInteger(name, defaultValue ? 1 : 0) != 0;
}

// The first read of an absent value stores its default; the result is always what the registry holds.
// A failed read leaves the key open: the next open replaces it.
int32_t TOptionsReg::ReadInteger(const std::string& name, int32_t defaultValue) {
  OpenForRead();
  if (!FRegistry.ValueExists(name)) {
    FRegistry.CloseKey();
    WriteInteger(name, defaultValue);
    OpenForRead();
  }
  const int32_t value = FRegistry.ReadInteger(name);
  FRegistry.CloseKey();
  return value;
}

void TOptionsReg::WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }

void TOptionsReg::WriteInteger(const std::string& name, int32_t value) {
  OpenForWrite();
  FRegistry.WriteInteger(name, value);
  FRegistry.CloseKey();
}
