#pragma once
// The application object: program file name, title and the default handler of exceptions.
#include <windows.h>

#include <exception>
#include <string>

class TApplication {
public:
  // The full path of the program file.
  std::string ExeName() const;
  // Tests point the program folder elsewhere; an empty name returns to the real program file.
  void SetExeNameForTests(const std::string& name) { FExeNameOverride = name; }

  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& title) { FTitle = title; }

  // Shows the exception's message in a message box, as the framework's default handler does.
  void HandleException(const std::exception& e) const;
  void HandleCurrentException() const;

  HWND Handle() const { return FHandle; }
  void SetHandle(HWND handle) { FHandle = handle; }

private:
  std::string FExeNameOverride;
  std::string FTitle = "Muralia";
  HWND FHandle = nullptr;
};

extern TApplication Application;
