#pragma once
// What the shell tests share: the options and Run keys put back after each test, the desktop colour put
// back in the session and in the profile, and recorders for the calls that would leave the program (WinHelp,
// ShellExecute, the colour dialog) and for exceptions that reach the application's handler.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/ColorPicker.h"
#include "gui/Forms.h"
#include "system/ShellExecute.h"
#include "settings/RegistryTestSupport.h"
#include "shell/UiDriver.h"

struct THelpCall {
  HWND Owner;
  std::string File;
  UINT Command;
  ULONG_PTR Data;
  std::string Keyword;  // for HELP_KEY
};

// A form built from a test's own layout: it records the events that it answers, each with its sender.
template <class Event>
class TRecordingForm : public TForm {
public:
  using TForm::TForm;

  std::vector<Event> Runs;
  std::vector<TObject*> Senders;

protected:
  void OnEvent(TEventId event, TObject* sender) override {
    Runs.push_back(event.As<Event>());
    Senders.push_back(sender);
  }
};

class ShellTest : public testing::Test {
protected:
  ShellTest() {
    regtest::DeleteKey(regtest::kOptionsKey);
    Application.OnException = [this](const std::exception& e) { FExceptions.push_back(e.what()); };
  }
  ~ShellTest() override {
    ui::ClearSteps();
    const INT element = COLOR_BACKGROUND;
    SetSysColors(1, &element, &FDesktopColor);
    Application.OnException = nullptr;
  }

  std::vector<THelpCall> FHelpCalls;
  std::vector<TShellExecuteArgs> FShellCalls;
  std::vector<std::string> FExceptions;

private:
  regtest::KeyGuard FOptionsGuard{regtest::kOptionsKey};
  regtest::KeyGuard FRunGuard{regtest::kRunKey};
  regtest::KeyGuard FColorsGuard{"Control Panel\\Colors"};
  COLORREF FDesktopColor = GetSysColor(COLOR_BACKGROUND);
  TScopedReplacement<TWinHelpCall> FHelp{WinHelpCall, [this](HWND owner, const std::string& file, UINT command,
                                                              ULONG_PTR data) {
    FHelpCalls.push_back({owner, file, command, data,
                          command == HELP_KEY ? std::string(reinterpret_cast<const char*>(data)) : std::string()});
    return true;
  }};
  TScopedReplacement<TShellExecuteCall> FShell{ShellExecuteCall,
                                               [this](const TShellExecuteArgs& args) { FShellCalls.push_back(args); }};
};
