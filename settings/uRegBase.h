#pragma once
// Registry access to the options key: reads with a default that the first read stores, and writes.
#include <cstdint>
#include <string>

#include "system/Registry.h"

class TOptionsReg {
public:
  TOptionsReg();
  virtual ~TOptionsReg();
  TOptionsReg(const TOptionsReg&) = delete;
  TOptionsReg& operator=(const TOptionsReg&) = delete;

protected:
  static std::string GetKeyPath();
  void OpenForRead();
  void OpenForWrite();
  bool ReadBool(const std::string& name, bool defaultValue);
  int32_t ReadInteger(const std::string& name, int32_t defaultValue);
  void WriteBool(const std::string& name, bool value);
  void WriteInteger(const std::string& name, int32_t value);

private:
  TRegistry FRegistry;
};
