#include "graphics/PictureFiles.h"

#include <algorithm>

#include "system/FileUtils.h"

TFileHead ReadFileHead(const std::string& fileName, size_t count) {
  const TFileHandle file = OpenFileForReading(fileName);
  TFileHead head;
  head.size = GetOpenFileSize(file.get(), fileName);
  head.bytes.resize(static_cast<size_t>(std::min<uint64_t>(count, head.size)));
  head.bytes.resize(ReadUpTo(file.get(), head.bytes.data(), head.bytes.size(), fileName));
  return head;
}

namespace {

std::vector<uint8_t> ReadFileWithin(const std::string& fileName, uint64_t maxBytes) {
  const TFileHandle file = OpenFileForReading(fileName);
  const uint64_t size = GetOpenFileSize(file.get(), fileName);
  if (size > maxBytes) throw EInvalidGraphic(Format("File is too large: %s", fileName.c_str()));
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

}  // namespace

std::vector<uint8_t> ReadPictureFile(const std::string& fileName) {
  return ReadFileWithin(fileName, kMaxPictureFileBytes);
}

std::vector<uint8_t> ReadCompanionFile(const std::string& pictureName, std::string_view extension) {
  const std::string name = ChangeFileExt(pictureName, extension);
  if (!FileExists(name)) return {};
  return ReadFileWithin(name, kMaxCompanionFileBytes);
}
