#pragma once
// Test pictures for the Windows tests: the sample files' Wine paths and a temporary folder of one's own.
#include <windows.h>

#include <string>

// tests/data/pictures/<name> as Wine sees it (the Unix root is drive Z:), with backslashes only.
inline std::string TestPicture(const std::string& name) {
  std::string path = std::string("Z:") + ORLO_TEST_DATA + "/pictures/" + name;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// A fresh folder under the temporary path, removed with whatever files the test left in it.
class TTempFolder {
public:
  TTempFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    FPath = std::string(base) + "orlo-test-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++Counter());
    CreateDirectoryA(FPath.c_str(), nullptr);
  }
  ~TTempFolder() {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((FPath + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do DeleteFileA((FPath + "\\" + found.cFileName).c_str());
      while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(FPath.c_str());
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  std::string File(const std::string& name) const { return FPath + "\\" + name; }

  // Writes bytes into a new file of the folder and returns its path.
  std::string Write(const std::string& name, const void* data, size_t size) const {
    const std::string path = File(name);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
    return path;
  }
  std::string Write(const std::string& name, const std::string& text) const {
    return Write(name, text.data(), text.size());
  }

private:
  static int& Counter() {
    static int counter = 0;
    return counter;
  }
  std::string FPath;
};
