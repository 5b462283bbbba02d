#pragma once
// Points the program folder at a test's own folder for the test's lifetime.
#include <functional>
#include <string>

#include "gui/Forms.h"

class ProgramFolder {
public:
  // folder ends in a backslash.
  explicit ProgramFolder(const std::string& folder)
      : FProgram(ProgramFileName, [file = folder + "orlo.exe"] { return file; }) {}

private:
  TScopedReplacement<std::function<std::string()>> FProgram;
};
