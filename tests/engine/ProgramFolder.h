#pragma once
// Points the program folder at a test's own folder for the test's lifetime.
#include <string>

#include "platform/Forms.h"

class ProgramFolder {
public:
  // folder ends in a backslash.
  explicit ProgramFolder(const std::string& folder) { Application.SetExeNameForTests(folder + "orlo.exe"); }
  ~ProgramFolder() { Application.SetExeNameForTests(""); }
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;
};
