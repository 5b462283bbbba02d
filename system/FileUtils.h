#pragma once
// File utilities on 8-bit paths in the system's ANSI code page.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "system/WinHandles.h"

// Position of the last byte of s that is one of delimiters, or npos. The second byte of a double-byte
// character never counts: in Shift-JIS the trail byte of many characters is 0x5C, the backslash.
size_t LastDelimiter(std::string_view delimiters, std::string_view s, UINT codePage = CP_ACP);

// The path up to and including its last backslash or colon; empty when it has neither.
std::string ExtractFilePath(const std::string& path);
// The path after its last backslash or colon.
std::string ExtractFileName(const std::string& path);
// The text after the last dot of the file's own name, without the dot; empty when that name has no dot.
std::string ExtractFileExt(const std::string& path);
// The path with the extension of its file's own name replaced by extension (given with its dot), or with
// extension appended when that name has none.
std::string ChangeFileExt(const std::string& path, std::string_view extension);
// The path with a backslash appended unless it already ends in one.
std::string IncludeTrailingBackslash(const std::string& path);

// A directory search for the exact path, folders included, with the critical-error dialogs switched off.
bool FileExists(const std::string& path);
// The 64-bit size that a directory search reports; raises EFOpenError when nothing is found.
int64_t GetSizeOfFile(const std::string& path);
// The last-write time (UTC) that a directory search reports; raises EFOpenError when nothing is found.
FILETIME GetFileLastWrite(const std::string& path);

// Opens a file for reading with writing by others denied; raises EFOpenError "Cannot open file %s".
TFileHandle OpenFileForReading(const std::string& path);
// The size of an open file; raises EInOutError.
uint64_t GetOpenFileSize(HANDLE file, const std::string& path);
// Reads up to count bytes, fewer only at the end of the file; raises EInOutError.
size_t ReadUpTo(HANDLE file, void* buffer, size_t count, const std::string& path);
// The whole content of a file, opened for reading with writing by others denied. Raises EFOpenError when
// the file cannot be opened and EInOutError when it cannot be read.
std::string ReadWholeFile(const std::string& path);
// Replaces the file's content by data, or leaves the old file whole: the data goes to a temporary file in
// the same folder, which then takes the file's place. Raises EFCreateError or EInOutError, naming the file,
// on failure. The folder's leftovers of writes that were killed midway go first.
void WriteFileReplacing(const std::string& path, std::string_view data);
// Takes the next piece of a file's content.
using TWritePiece = std::function<void(std::string_view piece)>;
// Whether the new content is forced onto the disk before it takes the old file's place. The user's own data
// is; a file that the program makes again from other files at will need not wait for the disk.
enum class TReplaceFlush { ToDisk, Deferred };
// The same with the content handed over in pieces: produce calls its argument for each piece in order, and
// may raise to stop the write. Small pieces are gathered into writes of a megabyte.
void WriteFileReplacing(const std::string& path, const std::function<void(const TWritePiece& write)>& produce,
                        TReplaceFlush flush = TReplaceFlush::ToDisk);
// Removes the temporary files that replacing writes in the folder (ending in a backslash) left behind when
// they were killed midway; a write under way keeps its own.
void RemoveReplacingLeftovers(const std::string& folder);

// 8-bit text in the ANSI code page as wide text.
std::wstring Widened(std::string_view text);
// A wide path as an 8-bit path that opens the same file: the path itself when the ANSI code page holds
// every character, else its short (8.3) form when that does; nullopt when neither does (a volume without
// short names, or a file that is not there).
std::optional<std::string> AnsiPath(const std::wstring& path);
