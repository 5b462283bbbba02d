// The entries' size, type and dimensions texts, and the picture properties behind the dimensions.
#include "engine/uWallPaper.h"

#include <shellapi.h>

#include <cstdint>
#include <exception>

#include "engine/uPictureLoading.h"
#include "system/FileUtils.h"
#include "system/SysUtils.h"

namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string TrimLeft(const std::string& text) {
  size_t start = 0;
  while (start < text.size() && IsBlankOrControl(text[start])) ++start;
  return text.substr(start);
}

bool IsBlank(const std::string& text) {
  for (char c : text)
    if (!IsBlankOrControl(c)) return false;
  return true;
}

std::string ShellFileTypeName(const std::string& fileName) {
  SHFILEINFOA info{};
  if (!SHGetFileInfoA(fileName.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                      SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES))
    return {};
  return info.szTypeName;
}

std::string LocaleDecimalSeparator() {
  char separator[8];
  if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator)) return ".";
  return separator;
}

// size / unit with one decimal, rounded half up. The quotient of an integer by a power of two is exact, so
// the rounding is done on the integers; splitting off the whole units keeps size x 10 from overflowing.
std::string OneDecimal(int64_t size, int64_t unit) {
  const int64_t tenths = size / unit * 10 + (size % unit * 10 + unit / 2) / unit;
  return std::to_string(tenths / 10) + LocaleDecimalSeparator() + std::to_string(tenths % 10);
}

int32_t CheckedSigned(uint32_t value) {
  if (value > INT32_MAX) RaiseRangeError();
  return static_cast<int32_t>(value);
}

}  // namespace

TReplaceable<std::function<std::string(const std::string&)>> TWallpaperList::ShellTypeName{ShellFileTypeName};

std::string TWallpaperList::GetSizeText(int32_t index) {
  if (!IsValidIndex(index)) return {};
  try {
    TFileProperties& record = Properties(index);
    if (record.SizeText.empty()) record.SizeText = FormatSize(GetSizeOfFile(FFiles.Get(index)));
    return record.SizeText;
  } catch (const std::exception&) {
    // A file that is gone has no size yet; the next call tries again.
    return {};
  }
}

std::string TWallpaperList::GetTypeText(int32_t index) {
  if (!IsValidIndex(index)) return {};
  TFileProperties& record = Properties(index);
  if (record.TypeText.empty()) record.TypeText = FileTypeText(FFiles.Get(index));
  return record.TypeText;
}

std::string TWallpaperList::GetDimensionsText(int32_t index) {
  if (!IsValidIndex(index)) return {};
  try {
    TFileProperties* record = GetProperties(index);
    // Only the width tells whether the three numbers are known.
    if (!record || record->Width == 0) {
      TImageProperties props;
      GetImageProperties(FFiles.Get(index), props);
      const int32_t width = CheckedSigned(props.Width), height = CheckedSigned(props.Height);
      if (!record) record = NewProperties(index);
      record->Width = width;
      record->Height = height;
      record->BitsPerPixel = props.BitsPerPixel;
    }
    return Format("%ux%ux%ub", static_cast<unsigned>(record->Width), static_cast<unsigned>(record->Height),
                  static_cast<unsigned>(record->BitsPerPixel));
  } catch (const std::exception&) {
    return {};
  }
}

std::string TWallpaperList::FormatSize(int64_t size) {
  struct TUnit {
    int64_t bytes;
    const char* name;
  };
  static constexpr TUnit kUnits[] = {{1073741824, " GB"}, {1048576, " MB"}, {1024, " KB"}};
  try {
    for (const TUnit& unit : kUnits)
      if (size >= unit.bytes) return OneDecimal(size, unit.bytes) + unit.name;
    return std::to_string(size) + " bytes";
  } catch (const std::exception&) {
    return {};
  }
}

void TWallpaperList::GetImageProperties(const std::string& fileName, TImageProperties& props) {
  props = {};  // a load that raises leaves no numbers of an earlier file
  props = LoadPictureProperties(fileName);
}

std::string TWallpaperList::FileTypeText(const std::string& fileName) {
  const std::string name = ShellTypeName(fileName);
  if (!IsBlank(name)) return name;
  return TrimLeft(UpperCase(ExtractFileExt(fileName)) + " File");
}

TFileProperties& TWallpaperList::Properties(int32_t index) {
  TFileProperties* record = GetProperties(index);
  return record ? *record : *NewProperties(index);
}
