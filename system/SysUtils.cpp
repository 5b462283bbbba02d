#include "system/SysUtils.h"

#include <windows.h>

#include <cstdio>
#include <vector>

std::string FormatV(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length <= 0) return {};
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  std::vsnprintf(buffer.data(), buffer.size(), format, args);
  return std::string(buffer.data(), static_cast<size_t>(length));
}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string result = FormatV(format, args);
  va_end(args);
  return result;
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

std::string LowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

bool SameText(std::string_view a, std::string_view b) { return a.size() == b.size() && UpperCase(a) == UpperCase(b); }

void RaiseRangeError() { throw ERangeError("Range check error"); }

std::string SysErrorMessage(uint32_t error) {
  char* buffer = nullptr;
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string message = length ? std::string(buffer, length) : Format("System error %u", error);
  LocalFree(buffer);
  while (!message.empty() && (message.back() == '\r' || message.back() == '\n' || message.back() == '.'))
    message.pop_back();
  return message;
}

std::string IntToStr(int32_t value) { return std::to_string(value); }

bool TryStrToInt(std::string_view text, int32_t& value) {
  size_t pos = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) pos = 1;
  if (pos == text.size()) return false;
  int64_t magnitude = 0;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > int64_t{1} << 31) return false;
  }
  const int64_t signedValue = negative ? -magnitude : magnitude;
  if (signedValue > INT32_MAX) return false;
  value = static_cast<int32_t>(signedValue);
  return true;
}

int32_t StrToInt(std::string_view text) {
  int32_t value = 0;
  if (!TryStrToInt(text, value)) throw EConvertError(Format("'%.*s' is not a valid integer value",
                                                            static_cast<int>(text.size()), text.data()));
  return value;
}

int32_t StrToIntDef(std::string_view text, int32_t fallback) {
  int32_t value = 0;
  return TryStrToInt(text, value) ? value : fallback;
}

namespace {

uint32_t randomSeed = 0;

}  // namespace

void Randomize() {
  SYSTEMTIME now;
  GetSystemTime(&now);
  randomSeed = ((now.wHour * 60u + now.wMinute) * 60u + now.wSecond) * 1000u + now.wMilliseconds;
}

int32_t Random(int32_t range) {
  randomSeed = randomSeed * 0x08088405u + 1u;
  return static_cast<int32_t>((static_cast<uint64_t>(randomSeed) * static_cast<uint32_t>(range)) >> 32);
}
