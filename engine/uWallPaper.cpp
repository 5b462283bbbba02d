#include "engine/uWallPaper.h"

#include <algorithm>
#include <exception>

#include "system/FileUtils.h"
#include "system/ProgramFile.h"
#include "system/SysUtils.h"
#include "settings/uOptions.h"

namespace {

const char kListFileName[] = "wallp.sl";
const char kSamplePicture[] = "collection\\orang-outang.jpg";

// A time as the user's locale writes it: the short date, a blank, then the long time.
std::string LocaleDateTimeText(const SYSTEMTIME& time) {
  char date[128];
  char clock[128];
  if (!GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, sizeof date) ||
      !GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, sizeof clock))
    return {};
  return std::string(date) + ' ' + clock;
}

// Blanked entries and empty lines.
void DropBlankEntries(TStringList& files) {
  for (int32_t index = files.Count() - 1; index >= 0; --index)
    if (files.Get(index).empty()) files.Delete(index);
}

}  // namespace

TReplaceable<TWriteFailureReport> ReportWriteFailure{[](TWriteFailure, const std::string&) {}};

TWallpaperList::~TWallpaperList() { SaveToFile(); }

void TWallpaperList::Add(const std::string& path) {
  if (!path.empty()) FFiles.Add(path);
}

void TWallpaperList::Delete(int32_t index) {
  if (!IsValidIndex(index)) return;
  DisposeProperties(index);
  FFiles.Put(index, std::string());
}

void TWallpaperList::Clear() {
  FFiles.Clear();
  FProperties.clear();
}

bool TWallpaperList::CanMoveUp(int32_t index) const { return IsValidIndex(index) && index > 0; }

bool TWallpaperList::CanMoveDown(int32_t index) const { return IsValidIndex(index) && index < LastIndex(); }

void TWallpaperList::MoveUp(int32_t index) {
  if (CanMoveUp(index)) Exchange(index - 1, index);
}

void TWallpaperList::MoveDown(int32_t index) {
  if (CanMoveDown(index)) Exchange(index, index + 1);
}

void TWallpaperList::LoadFromFile() {
  RemoveReplacingLeftovers(GetAppDir());
  FProperties.clear();
  try {
    if (!FFileBehind) FFiles.LoadFromFile(ListFileName());
  } catch (const std::exception&) {
    // A missing or unreadable list file leaves the collection as it was.
  }
  DropBlankEntries(FFiles);
}

void TWallpaperList::SaveToFile() {
  try {
    FFiles.SaveToFile(ListFileName());
    FFileBehind = false;
  } catch (const std::exception& e) {
    // The collection works on in memory.
    FFileBehind = true;
    ReportWriteFailure(TWriteFailure::ListFile, e.what());
  }
}

void TWallpaperList::RemoveInvalid() {
  const int32_t last = LastIndex();
  for (int32_t index = 0; index <= last; ++index) {
    const std::string& path = FFiles.Get(index);
    if (!FileExists(path) || !IsNonEmptyFile(path)) Delete(index);
  }
}

void TWallpaperList::AddDefaultOnFirstRun() {
  TOptions options;
  if (!options.GetFirstRun()) return;
  Add(IncludeTrailingBackslash(GetAppDir()) + kSamplePicture);
  SaveToFile();
  options.SetFirstRun(false);
}

std::string TWallpaperList::GetFileName(int32_t index) const {
  if (!IsValidIndex(index)) return {};
  const std::string& path = FFiles.Get(index);
  return FileExists(path) ? path : std::string();
}

std::string TWallpaperList::GetTitle(int32_t index) const {
  if (!IsValidIndex(index)) return {};
  const std::string name = ExtractFileName(FFiles.Get(index));
  return name.substr(0, LastDelimiter(".", name));
}

std::string TWallpaperList::GetFolder(int32_t index) const {
  if (!IsValidIndex(index)) return {};
  return ExtractFilePath(FFiles.Get(index));
}

std::string TWallpaperList::GetDateText(int32_t index) const {
  if (!IsValidIndex(index)) return {};
  try {
    const FILETIME utc = GetFileLastWrite(FFiles.Get(index));
    FILETIME local;
    SYSTEMTIME time;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &time)) return {};
    return LocaleDateTimeText(time);
  } catch (const std::exception&) {
    return {};
  }
}

bool TWallpaperList::IsValidItem(int32_t index) const {
  const std::string path = GetFileName(index);
  return !path.empty() && FileExists(path) && IsNonEmptyFile(path);
}

bool TWallpaperList::IsNonEmptyFile(const std::string& path) {
  try {
    return GetSizeOfFile(path) > 0;
  } catch (const std::exception&) {
    return false;
  }
}

std::string TWallpaperList::GetAppDir() { return ExtractFilePath(ProgramFileName()); }

TFileProperties* TWallpaperList::GetProperties(int32_t index) const {
  if (index < 0 || static_cast<size_t>(index) >= FProperties.size()) return nullptr;
  return FProperties[static_cast<size_t>(index)].get();
}

TFileProperties* TWallpaperList::NewProperties(int32_t index) {
  if (!IsValidIndex(index)) RaiseRangeError();
  if (FProperties.size() <= static_cast<size_t>(index)) FProperties.resize(static_cast<size_t>(index) + 1);
  FProperties[static_cast<size_t>(index)] = std::make_unique<TFileProperties>();
  return FProperties[static_cast<size_t>(index)].get();
}

std::string TWallpaperList::ListFileName() { return GetAppDir() + kListFileName; }

void TWallpaperList::DisposeProperties(int32_t index) {
  if (static_cast<size_t>(index) < FProperties.size()) FProperties[static_cast<size_t>(index)].reset();
}

void TWallpaperList::Exchange(int32_t lower, int32_t upper) {
  if (FProperties.size() <= static_cast<size_t>(upper)) FProperties.resize(static_cast<size_t>(upper) + 1);
  std::swap(FProperties[static_cast<size_t>(lower)], FProperties[static_cast<size_t>(upper)]);
  FFiles.Exchange(lower, upper);
}
