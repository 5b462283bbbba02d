#pragma once
// A shell that answers every file-type-name query with the same name, for the test's lifetime.
#include <string>
#include <utility>

#include "engine/uWallPaper.h"

class FakeShell {
public:
  explicit FakeShell(std::string name) : FOld(TWallpaperList::ShellTypeName) {
    Name() = std::move(name);
    TWallpaperList::ShellTypeName = [](const std::string&) { return Name(); };
  }
  ~FakeShell() { TWallpaperList::ShellTypeName = FOld; }
  FakeShell(const FakeShell&) = delete;
  FakeShell& operator=(const FakeShell&) = delete;

private:
  static std::string& Name() {
    static std::string name;
    return name;
  }

  std::string (*FOld)(const std::string&);
};
