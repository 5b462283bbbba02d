#pragma once
// A shell that answers every file-type-name query with the same name, for the test's lifetime.
#include <functional>
#include <string>

#include "engine/uWallPaper.h"
#include "system/Seams.h"

class FakeShell {
public:
  explicit FakeShell(std::string name)
      : FShell(TWallpaperList::ShellTypeName, [name = std::move(name)](const std::string&) { return name; }) {}

private:
  TScopedReplacement<std::function<std::string(const std::string&)>> FShell;
};
