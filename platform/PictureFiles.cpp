#include "platform/PictureFiles.h"

#include <algorithm>

namespace {

uint64_t FileSize(HANDLE file, const std::string& fileName) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size)) throw EInOutError(Format("Cannot read file %s", fileName.c_str()));
  return static_cast<uint64_t>(size.QuadPart);
}

// Reads up to count bytes; fewer only at the end of the file.
size_t ReadUpTo(HANDLE file, uint8_t* buffer, size_t count, const std::string& fileName) {
  size_t done = 0;
  while (done < count) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 24));
    DWORD read = 0;
    if (!ReadFile(file, buffer + done, chunk, &read, nullptr))
      throw EInOutError(Format("Cannot read file %s", fileName.c_str()));
    if (read == 0) break;
    done += read;
  }
  return done;
}

}  // namespace

TFileHandle OpenFileForReading(const std::string& fileName) {
  HANDLE file = CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw EFOpenError(Format("Cannot open file %s", fileName.c_str()));
  return TFileHandle(file);
}

TFileHead ReadFileHead(const std::string& fileName, size_t count) {
  const TFileHandle file = OpenFileForReading(fileName);
  TFileHead head;
  head.size = FileSize(file.get(), fileName);
  head.bytes.resize(static_cast<size_t>(std::min<uint64_t>(count, head.size)));
  head.bytes.resize(ReadUpTo(file.get(), head.bytes.data(), head.bytes.size(), fileName));
  return head;
}

std::vector<uint8_t> ReadPictureFile(const std::string& fileName) {
  const TFileHandle file = OpenFileForReading(fileName);
  const uint64_t size = FileSize(file.get(), fileName);
  if (size > kMaxPictureFileBytes) throw EInvalidGraphic(Format("File is too large: %s", fileName.c_str()));
  std::vector<uint8_t> bytes;
  try {
    bytes.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc& e) {
    throw EInvalidGraphic(e.what());
  }
  // A file that shrinks while it is read is given as far as it goes; the decoder judges what is missing.
  bytes.resize(ReadUpTo(file.get(), bytes.data(), bytes.size(), fileName));
  return bytes;
}
