// The collection of 10,000 entries: reading the list file (with the existence test of every entry) and
// writing it, against the leanest way to do the same work in one run: one read of the file plus a
// GetFileAttributes per line, and one plain write of the same bytes.
//   list_bench ENTRIES RUNS
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/Timing.h"
#include "engine/uWallPaper.h"
#include "gui/Forms.h"

namespace {

std::string MakeFolder() {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  const std::string folder = std::string(base) + "orlo-list-bench\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  CreateDirectoryA((folder + "pictures").c_str(), nullptr);
  return folder;
}

std::string ReadBytes(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  return bytes;
}

// The list file of entries pictures that exist, one byte each.
std::string MakeCollection(const std::string& folder, int entries) {
  std::string list;
  for (int i = 0; i < entries; ++i) {
    const std::string path = folder + "pictures\\picture " + std::to_string(i) + ".jpg";
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) bench::PlainWrite(path, "x");
    list += path + "\r\n";
  }
  bench::PlainWrite(folder + "wallp.sl", list);
  return list;
}

int LeanExistenceCount(const std::string& listFile) {
  const std::string bytes = ReadBytes(listFile);
  int found = 0;
  size_t start = 0;
  for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
    found += GetFileAttributesA(bytes.substr(start, end - start).c_str()) != INVALID_FILE_ATTRIBUTES;
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  const int entries = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  const std::string folder = MakeFolder();
  const std::string list = MakeCollection(folder, entries);
  const TScopedReplacement<std::function<std::string()>> program(ProgramFileName,
                                                                 [file = folder + "orlo.exe"] { return file; });

  TWallpaperList collection;
  const double load = bench::MinimumMs(runs, [&] { collection.LoadFromFile(); });
  if (collection.LastIndex() != entries - 1) {
    std::fprintf(stderr, "list_bench: read %d entries of %d\n", collection.LastIndex() + 1, entries);
    return 1;
  }
  const double leanLoad = bench::MinimumMs(runs, [&] { LeanExistenceCount(folder + "wallp.sl"); });
  const double save = bench::MinimumMs(runs, [&] { collection.SaveToFile(); });
  const double plainWrite = bench::MinimumMs(runs, [&] { bench::PlainWrite(folder + "plain.sl", list); });

  std::printf("list of %d entries, min of %d runs (ms)\n", entries, runs);
  std::printf("  read with existence tests  %8.2f   lean read + GetFileAttributes %8.2f   ratio %.2f\n", load,
              leanLoad, load / leanLoad);
  std::printf("  save (temporary + replace) %8.2f   plain write                   %8.2f   ratio %.2f\n", save,
              plainWrite, save / plainWrite);
  return 0;
}
