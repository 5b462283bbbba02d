#include "platform/Forms.h"

#include <vector>

TApplication Application;

std::string TApplication::ExeName() const {
  if (!FExeNameOverride.empty()) return FExeNameOverride;
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

void TApplication::HandleException(const std::exception& e) const {
  std::string message = e.what();
  if (!message.empty() && message.back() != '.') message += '.';
  MessageBoxA(FHandle, message.c_str(), FTitle.c_str(), MB_OK | MB_ICONSTOP);
}

void TApplication::HandleCurrentException() const {
  try {
    throw;
  } catch (const std::exception& e) {
    HandleException(e);
  } catch (...) {
    MessageBoxA(FHandle, "Unknown exception", FTitle.c_str(), MB_OK | MB_ICONSTOP);
  }
}
