#pragma once
// Test pictures for the Windows tests: the sample files' Wine paths.
#include <windows.h>

#include <string>

// tests/data/pictures/<name> as Wine sees it (the Unix root is drive Z:), with backslashes only.
inline std::string TestPicture(const std::string& name) {
  std::string path = std::string("Z:") + ORLO_TEST_DATA + "/pictures/" + name;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}
