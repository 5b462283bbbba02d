#include "system/ProgramFile.h"

#include <windows.h>

#include <vector>

namespace {

std::string RealProgramFileName() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

TReplaceable<std::function<std::string()>> ProgramFileName{RealProgramFileName};
