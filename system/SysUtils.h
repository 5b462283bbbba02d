#pragma once
// The program's exception hierarchy: every failure is an Exception with a message the user may see.
#include <cstdarg>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

class Exception : public std::exception {
public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  const std::string& Message() const noexcept { return FMessage; }
  const char* what() const noexcept override { return FMessage.c_str(); }

private:
  std::string FMessage;
};

#define ORLO_EXCEPTION(Name, Parent)   \
  class Name : public Parent {         \
  public:                              \
    using Parent::Parent;              \
  }

ORLO_EXCEPTION(ERegistryException, Exception);
ORLO_EXCEPTION(ERangeError, Exception);
ORLO_EXCEPTION(EZeroDivide, Exception);
ORLO_EXCEPTION(EInvalidOp, Exception);
ORLO_EXCEPTION(EOverflow, Exception);
ORLO_EXCEPTION(EInvalidGraphic, Exception);
ORLO_EXCEPTION(EFOpenError, Exception);
ORLO_EXCEPTION(EFCreateError, Exception);
ORLO_EXCEPTION(EInOutError, Exception);
ORLO_EXCEPTION(EOutOfResources, Exception);
ORLO_EXCEPTION(EOleSysError, Exception);
ORLO_EXCEPTION(EConvertError, Exception);

#undef ORLO_EXCEPTION

// printf-style formatting into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* format, va_list args);

// The system's text for an error code (a Win32 error or an HRESULT), without the line end and the final dot;
// empty when the system has none.
std::string SysErrorMessage(uint32_t error);

// Case changes of the letters a to z only: other bytes may belong to double-byte characters.
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);

// The range check of a conversion to a narrower or unsigned type.
[[noreturn]] void RaiseRangeError();

// Integer and decimal text. StrToInt takes an optional sign and decimal digits, nothing else, and raises
// EConvertError unless the number fits a signed 32-bit integer; StrToIntDef gives the fallback instead.
std::string IntToStr(int32_t value);
int32_t StrToInt(std::string_view text);
bool TryStrToInt(std::string_view text, int32_t& value);
int32_t StrToIntDef(std::string_view text, int32_t fallback);

// The signed 32-bit product, wrapping on overflow as the 32-bit hardware multiply does.
inline int32_t WrappingMultiply(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// The pseudo-random generator: Randomize seeds it from the time of day in milliseconds (UTC); Random(range)
// draws uniformly from 0 to range - 1.
void Randomize();
int32_t Random(int32_t range);
