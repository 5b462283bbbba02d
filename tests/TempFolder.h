#pragma once
// A fresh folder under the system's temporary folder, removed with all it holds when the test ends.
#include <windows.h>

#include <string>
#include <vector>

class TempFolder {
public:
  TempFolder() {
    char base[MAX_PATH];
    char name[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    GetTempFileNameA(base, "tst", 0, name);
    DeleteFileA(name);
    CreateDirectoryA(name, nullptr);
    FPath = std::string(name) + '\\';
  }
  ~TempFolder() { RemoveTree(FPath); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, ending in a backslash.
  const std::string& Path() const { return FPath; }
  std::string File(const std::string& name) const { return FPath + name; }

  // Writes bytes into a new file of the folder and returns its path.
  std::string Write(const std::string& name, const void* data, size_t size) const {
    const std::string path = FPath + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (size) WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
    return path;
  }
  std::string Write(const std::string& name, const std::string& content) const {
    return Write(name, content.data(), content.size());
  }

  std::string Read(const std::string& name) const {
    HANDLE file = CreateFileA((FPath + name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string content(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    if (!content.empty()) ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr);
    CloseHandle(file);
    return content;
  }

  // The names in the folder, without "." and "..".
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((FPath + "*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const std::string name = data.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &data));
    FindClose(search);
    return names;
  }

private:
  static void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveTree(path + '\\');
        else
          DeleteFileA(path.c_str());
      } while (FindNextFileA(search, &data));
      FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
  }

  std::string FPath;
};
