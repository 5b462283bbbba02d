#include "platform/FileUtils.h"

#include <algorithm>
#include <limits>

#include "platform/SysUtils.h"

namespace {

std::string LastErrorText(const char* what, const std::string& path) {
  return Format("%s \"%s\". %s", what, path.c_str(), SysErrorMessage(GetLastError()).c_str());
}

// Switches the critical-error dialogs ("insert a disk") off for its lifetime.
class TCriticalErrorsOff {
public:
  TCriticalErrorsOff() : FOldMode(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~TCriticalErrorsOff() { SetErrorMode(FOldMode); }
  TCriticalErrorsOff(const TCriticalErrorsOff&) = delete;
  TCriticalErrorsOff& operator=(const TCriticalErrorsOff&) = delete;

private:
  UINT FOldMode;
};

bool FindEntry(const std::string& path, WIN32_FIND_DATAA& data) {
  TCriticalErrorsOff guard;
  HANDLE search = FindFirstFileA(path.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

WIN32_FIND_DATAA FindEntryOrRaise(const std::string& path) {
  WIN32_FIND_DATAA data;
  if (!FindEntry(path, data)) throw EFOpenError(LastErrorText("Cannot find file", path));
  return data;
}

class TFileHandle {
public:
  explicit TFileHandle(HANDLE handle) : FHandle(handle) {}
  ~TFileHandle() {
    if (IsOpen()) CloseHandle(FHandle);
  }
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;

  bool IsOpen() const { return FHandle != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return FHandle; }

private:
  HANDLE FHandle;
};

constexpr size_t kWriteChunk = size_t{1} << 20;

void WriteAll(HANDLE file, std::string_view bytes, const std::string& path) {
  while (!bytes.empty()) {
    const DWORD size = static_cast<DWORD>(std::min(bytes.size(), kWriteChunk));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), size, &written, nullptr) || written != size)
      throw EInOutError(LastErrorText("Cannot write file", path));
    bytes.remove_prefix(size);
  }
}

void WriteAndFlush(const std::string& path, const std::function<void(const TWritePiece&)>& produce) {
  TFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
  if (!file.IsOpen()) throw EFCreateError(LastErrorText("Cannot create file", path));
  std::string pending;
  pending.reserve(kWriteChunk);
  produce([&](std::string_view piece) {
    if (pending.size() + piece.size() > kWriteChunk) {
      WriteAll(file.Get(), pending, path);
      pending.clear();
    }
    if (piece.size() >= kWriteChunk)
      WriteAll(file.Get(), piece, path);
    else
      pending.append(piece);
  });
  WriteAll(file.Get(), pending, path);
  // The data must be on the disk before the new file takes the old one's place.
  if (!FlushFileBuffers(file.Get())) throw EInOutError(LastErrorText("Cannot write file", path));
}

}  // namespace

size_t LastDelimiter(std::string_view delimiters, std::string_view s, UINT codePage) {
  size_t found = std::string_view::npos;
  for (size_t i = 0; i < s.size(); ++i) {
    const auto byte = static_cast<BYTE>(s[i]);
    if (IsDBCSLeadByteEx(codePage, byte) && i + 1 < s.size())
      ++i;
    else if (delimiters.find(s[i]) != std::string_view::npos)
      found = i;
  }
  return found;
}

std::string ExtractFilePath(const std::string& path) {
  const size_t last = LastDelimiter("\\:", path);
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string ExtractFileName(const std::string& path) {
  const size_t last = LastDelimiter("\\:", path);
  return last == std::string::npos ? path : path.substr(last + 1);
}

std::string ExtractFileExt(const std::string& path) {
  const size_t delimiter = LastDelimiter(".\\:", path);
  if (delimiter == std::string::npos || path[delimiter] != '.') return {};
  return path.substr(delimiter + 1);
}

std::string IncludeTrailingBackslash(const std::string& path) {
  if (!path.empty() && LastDelimiter("\\", path) == path.size() - 1) return path;
  return path + '\\';
}

bool FileExists(const std::string& path) {
  WIN32_FIND_DATAA data;
  return FindEntry(path, data);
}

int64_t GetSizeOfFile(const std::string& path) {
  const WIN32_FIND_DATAA data = FindEntryOrRaise(path);
  return static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

FILETIME GetFileLastWrite(const std::string& path) { return FindEntryOrRaise(path).ftLastWriteTime; }

std::string ReadWholeFile(const std::string& path) {
  TFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) throw EFOpenError(LastErrorText("Cannot open file", path));
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size)) throw EInOutError(LastErrorText("Cannot read file", path));
  if (static_cast<uint64_t>(size.QuadPart) > std::numeric_limits<DWORD>::max() / 2)
    throw EInOutError("File too large: " + path);
  std::string content(static_cast<size_t>(size.QuadPart), '\0');
  size_t total = 0;
  while (total < content.size()) {
    DWORD read = 0;
    if (!ReadFile(file.Get(), content.data() + total, static_cast<DWORD>(content.size() - total), &read, nullptr))
      throw EInOutError(LastErrorText("Cannot read file", path));
    if (read == 0) break;
    total += read;
  }
  content.resize(total);
  return content;
}

void WriteFileReplacing(const std::string& path, std::string_view data) {
  WriteFileReplacing(path, [data](const TWritePiece& write) { write(data); });
}

void WriteFileReplacing(const std::string& path, const std::function<void(const TWritePiece& write)>& produce) {
  // Windows refuses to replace a read-only file, and so must we where the system would not refuse (Wine).
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    throw EFCreateError(
        Format("Cannot create file \"%s\". %s", path.c_str(), SysErrorMessage(ERROR_ACCESS_DENIED).c_str()));
  const std::string folder = ExtractFilePath(path);
  char temporary[MAX_PATH];
  if (!GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "orl", 0, temporary))
    throw EFCreateError(LastErrorText("Cannot create file", path));
  try {
    WriteAndFlush(temporary, produce);
    if (!MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      throw EFCreateError(LastErrorText("Cannot create file", path));
  } catch (...) {
    DeleteFileA(temporary);
    throw;
  }
}
