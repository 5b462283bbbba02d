#pragma once
// The shell's ShellExecute, which opens a document, a web page or a mail link in the program that the user
// has for it; tests record the calls instead.
#include <windows.h>

#include <functional>
#include <string>

#include "system/Seams.h"

struct TShellExecuteArgs {
  HWND Owner = nullptr;
  std::string Verb;
  std::string File;
  const char* Parameters = nullptr;
  const char* Directory = nullptr;
  int ShowCommand = SW_SHOWNORMAL;
};

using TShellExecuteCall = std::function<void(const TShellExecuteArgs& args)>;
extern TReplaceable<TShellExecuteCall> ShellExecuteCall;
