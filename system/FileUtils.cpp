#include "system/FileUtils.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "system/SysUtils.h"

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

// CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9, with or without an extension.
bool IsDeviceName(std::string_view name) {
  const std::string_view base = name.substr(0, name.find('.'));
  for (std::string_view device : {"CON", "PRN", "AUX", "NUL"})
    if (SameText(base, device)) return true;
  return base.size() == 4 && base[3] >= '1' && base[3] <= '9' &&
         (SameText(base.substr(0, 3), "COM") || SameText(base.substr(0, 3), "LPT"));
}

// No file's name holds '*' or '?': a path with them names no file, although a search would take them as a
// pattern and find one that matches ("??????.jpg" would pass, and then fail to open).
bool HasWildcards(const std::string& path) { return path.find_first_of("*?") != std::string::npos; }

// A path that names one directory entry by its plain name, for which the attribute query finds exactly what
// a directory search finds. Left to the search: a trailing separator (a folder or a drive root, which a
// search does not find), UNC and device paths (a share root is no directory entry), streams, and reserved
// device names.
bool IsPlainEntryPath(const std::string& path) {
  if (path.empty() || path.rfind("\\\\", 0) == 0 || path.find(':', 2) != std::string::npos) return false;
  const size_t separator = LastDelimiter("\\/:", path);
  const std::string_view name =
      separator == std::string::npos ? std::string_view(path) : std::string_view(path).substr(separator + 1);
  return !name.empty() && !IsDeviceName(name);
}

// The directory entry of a path, as a directory search finds it. A search costs a quarter of a millisecond
// under Wine, where reading a collection of 10,000 entries tests each; the attribute query answers a plain
// path forty times faster with the same entry. Whatever it does not find, or cannot answer alike, goes to the
// search (a file that the system holds locked, for one).
bool FindEntry(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& entry) {
  if (HasWildcards(path)) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  TCriticalErrorsOff guard;
  if (IsPlainEntryPath(path) && GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &entry)) return true;
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(path.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  entry = {data.dwFileAttributes, data.ftCreationTime, data.ftLastAccessTime, data.ftLastWriteTime,
           data.nFileSizeHigh, data.nFileSizeLow};
  return true;
}

WIN32_FILE_ATTRIBUTE_DATA FindEntryOrRaise(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA entry;
  if (!FindEntry(path, entry)) throw EFOpenError(LastErrorText("Cannot find file", path));
  return entry;
}

constexpr size_t kWriteChunk = size_t{1} << 20;

// The temporary files of a replacing write are GetTempFileName's with this prefix: "orl", one to four hex
// digits, ".tmp".
const char kTemporaryPrefix[] = "orl";

bool IsReplacingLeftover(std::string_view name) {
  if (name.size() < 8 || name.size() > 11 || !SameText(name.substr(0, 3), kTemporaryPrefix) ||
      !SameText(name.substr(name.size() - 4), ".tmp"))
    return false;
  const std::string_view digits = name.substr(3, name.size() - 7);
  return std::all_of(digits.begin(), digits.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

// The text of a wide string in the ANSI code page; nullopt when the code page lacks one of its characters.
// No best fit: a near character ("a" for "ä") would name another file.
std::optional<std::string> ExactAnsi(std::wstring_view text) {
  if (text.empty()) return std::string();
  const int length = static_cast<int>(text.size());
  BOOL lossy = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr, &lossy);
  if (size <= 0 || lossy) return std::nullopt;
  std::string ansi(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, ansi.data(), size, nullptr, nullptr);
  return ansi;
}

void WriteAll(HANDLE file, std::string_view bytes, const std::string& path) {
  while (!bytes.empty()) {
    const DWORD size = static_cast<DWORD>(std::min(bytes.size(), kWriteChunk));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), size, &written, nullptr) || written != size)
      throw EInOutError(LastErrorText("Cannot write file", path));
    bytes.remove_prefix(size);
  }
}

// Writes the new content into the temporary file; failures name the file that it is to replace. The file is
// held unshared while it is written, so that no tidying of leftovers can remove it meanwhile.
void WriteNew(const std::string& temporary, const std::string& path,
              const std::function<void(const TWritePiece&)>& produce, TReplaceFlush flush) {
  const HANDLE created =
      CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (created == INVALID_HANDLE_VALUE) throw EFCreateError(LastErrorText("Cannot create file", path));
  const TFileHandle file(created);
  std::string pending;
  pending.reserve(kWriteChunk);
  produce([&](std::string_view piece) {
    if (pending.size() + piece.size() > kWriteChunk) {
      WriteAll(file.get(), pending, path);
      pending.clear();
    }
    if (piece.size() >= kWriteChunk)
      WriteAll(file.get(), piece, path);
    else
      pending.append(piece);
  });
  WriteAll(file.get(), pending, path);
  // The data must be on the disk before the new file takes the old one's place.
  if (flush == TReplaceFlush::ToDisk && !FlushFileBuffers(file.get()))
    throw EInOutError(LastErrorText("Cannot write file", path));
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

std::string ChangeFileExt(const std::string& path, std::string_view extension) {
  const size_t delimiter = LastDelimiter(".\\:", path);
  const size_t end = delimiter != std::string::npos && path[delimiter] == '.' ? delimiter : path.size();
  return path.substr(0, end).append(extension);
}

std::string IncludeTrailingBackslash(const std::string& path) {
  if (!path.empty() && LastDelimiter("\\", path) == path.size() - 1) return path;
  return path + '\\';
}

bool FileExists(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA entry;
  return FindEntry(path, entry);
}

int64_t GetSizeOfFile(const std::string& path) {
  const WIN32_FILE_ATTRIBUTE_DATA entry = FindEntryOrRaise(path);
  return static_cast<int64_t>((static_cast<uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow);
}

FILETIME GetFileLastWrite(const std::string& path) { return FindEntryOrRaise(path).ftLastWriteTime; }

TFileHandle OpenFileForReading(const std::string& path) {
  const HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw EFOpenError(Format("Cannot open file %s", path.c_str()));
  return TFileHandle(file);
}

uint64_t GetOpenFileSize(HANDLE file, const std::string& path) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size)) throw EInOutError(LastErrorText("Cannot read file", path));
  return static_cast<uint64_t>(size.QuadPart);
}

size_t ReadUpTo(HANDLE file, void* buffer, size_t count, const std::string& path) {
  size_t done = 0;
  while (done < count) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, size_t{1} << 24));
    DWORD read = 0;
    if (!ReadFile(file, static_cast<char*>(buffer) + done, chunk, &read, nullptr))
      throw EInOutError(LastErrorText("Cannot read file", path));
    if (read == 0) break;
    done += read;
  }
  return done;
}

std::string ReadWholeFile(const std::string& path) {
  const TFileHandle file = OpenFileForReading(path);
  const uint64_t size = GetOpenFileSize(file.get(), path);
  if (size > std::numeric_limits<DWORD>::max() / 2) throw EInOutError("File too large: " + path);
  std::string content(static_cast<size_t>(size), '\0');
  content.resize(ReadUpTo(file.get(), content.data(), content.size(), path));
  return content;
}

void WriteFileReplacing(const std::string& path, std::string_view data) {
  WriteFileReplacing(path, [data](const TWritePiece& write) { write(data); });
}

void WriteFileReplacing(const std::string& path, const std::function<void(const TWritePiece& write)>& produce,
                        TReplaceFlush flush) {
  // Windows refuses to replace a read-only file, and so must we where the system would not refuse (Wine).
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    throw EFCreateError(
        Format("Cannot create file \"%s\". %s", path.c_str(), SysErrorMessage(ERROR_ACCESS_DENIED).c_str()));
  std::string folder = ExtractFilePath(path);
  if (folder.empty()) folder = ".\\";
  RemoveReplacingLeftovers(folder);
  char temporary[MAX_PATH];
  if (!GetTempFileNameA(folder.c_str(), kTemporaryPrefix, 0, temporary))
    throw EFCreateError(LastErrorText("Cannot create file", path));
  try {
    WriteNew(temporary, path, produce, flush);
    const DWORD through = flush == TReplaceFlush::ToDisk ? MOVEFILE_WRITE_THROUGH : 0;
    if (!MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | through))
      throw EFCreateError(LastErrorText("Cannot create file", path));
  } catch (...) {
    DeleteFileA(temporary);
    throw;
  }
}

void RemoveReplacingLeftovers(const std::string& folder) {
  WIN32_FIND_DATAA data;
  const HANDLE search = FindFirstFileA((folder + kTemporaryPrefix + "*.tmp").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    // A write still under way holds its file unshared, and the deletion fails.
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsReplacingLeftover(data.cFileName))
      DeleteFileA((folder + data.cFileName).c_str());
  } while (FindNextFileA(search, &data));
  FindClose(search);
}

std::wstring Widened(std::string_view text) {
  const int length = static_cast<int>(text.size());
  std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

std::optional<std::string> AnsiPath(const std::wstring& path) {
  if (std::optional<std::string> exact = ExactAnsi(path)) return exact;
  const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring shortPath(size, L'\0');
  const DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), size);
  if (length == 0 || length >= size) return std::nullopt;
  shortPath.resize(length);
  return ExactAnsi(shortPath);
}
