#include "gui/Forms.h"

#include <objbase.h>

#include <algorithm>
#include <cstdlib>

#include "gui/ErrorSink.h"
#include "gui/MessageWindow.h"
#include "system/FileUtils.h"

TApplication Application;

TApplication::TApplication() {
  SetErrorSink([] { Application.HandleCurrentException(); });
}

namespace {

bool RealWinHelp(HWND owner, const std::string& file, UINT command, ULONG_PTR data) {
  return WinHelpA(owner, file.c_str(), command, data) != FALSE;
}

}  // namespace

TReplaceable<TWinHelpCall> WinHelpCall{RealWinHelp};

std::string TApplication::Title() const {
  std::string title = ExtractFileName(ExeName());
  title = title.substr(0, title.find('.'));
  if (title.size() > 1) title = title.substr(0, 1) + LowerCase(title.substr(1));
  return title;
}

// Closing the taskbar button closes the main form; the end of the session ends the program.
class TApplication::TWindow : public TMessageWindow {
public:
  explicit TWindow(const std::string& title) {
    CreateHandle("TApplication", title.c_str(), WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                 GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, nullptr);
  }

private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CLOSE) {
      if (TForm* main = Application.MainForm()) main->Close();
      return 0;
    }
    if (message == WM_ENDSESSION && wParam) Application.EndSession();
    return DefaultHandler(message, wParam, lParam);
  }
};

TApplication::~TApplication() = default;

HWND TApplication::Handle() {
  if (!FWindow) FWindow = std::make_unique<TWindow>(Title());
  return FWindow->Handle();
}

void TApplication::Initialize() {
  CoInitialize(nullptr);
  Handle();
}

void TApplication::DestroyForms() {
  while (!FForms.empty()) {
    if (FForms.back().get() == FMainForm) FMainForm = nullptr;
    FForms.pop_back();
  }
  FTerminated = false;
  FMinimized = false;
  FHiddenByMinimize.clear();
  FShowMainForm = true;
  MSG quit;
  PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

void TApplication::Run() {
  if (FMainForm && FShowMainForm) {
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    FMainForm->Show();
  }
  while (!FTerminated) HandleMessage();
}

void TApplication::EndSession() {
  DestroyForms();
  std::exit(0);
}

void TApplication::Terminate() {
  FTerminated = true;
  PostQuitMessage(0);
}

// A key that runs a shortcut goes no further; the dialog keys of our forms are the dialog manager's.
void TApplication::ProcessMessage(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  auto* form = root ? dynamic_cast<TForm*>(TControl::FromHandle(root)) : nullptr;
  if (form && (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)) {
    bool shortcut = false;
    try {
      shortcut = form->IsShortCut(msg);
    } catch (...) {
      HandleCurrentException();
      shortcut = true;
    }
    if (shortcut) return;
  }
  if (form && IsDialogMessageA(root, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

void TApplication::HandleMessage() {
  MSG msg;
  if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
    FTerminated = true;
    return;
  }
  ProcessMessage(msg);
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      FTerminated = true;
      break;
    }
    ProcessMessage(msg);
  }
}

void TApplication::Minimize() {
  if (FMinimized) return;
  FMinimized = true;
  for (HWND window : ThreadWindows()) {
    auto* form = dynamic_cast<TForm*>(TControl::FromHandle(window));
    if (form && IsWindowVisible(window)) {
      FHiddenByMinimize.push_back(form);
      ShowWindow(window, SW_HIDE);
    }
  }
  if (OnMinimize) OnMinimize();
}

void TApplication::Restore() {
  if (!FMinimized) return;
  FMinimized = false;
  for (TForm* form : std::exchange(FHiddenByMinimize, {})) form->Show();
}

bool TApplication::HelpCommand(UINT command, ULONG_PTR data) {
  bool callHelp = true;
  bool result = false;
  if (OnHelp) result = OnHelp(command, data, callHelp);
  if (callHelp) {
    HWND owner = FMainForm ? FMainForm->Handle() : Handle();
    result = WinHelpCall(owner, FHelpFile, command, data);
  }
  return result;
}

bool TApplication::HelpKeyword(const std::string& keyword) {
  return HelpCommand(HELP_KEY, reinterpret_cast<ULONG_PTR>(keyword.c_str()));
}

void TApplication::HandleException(const std::exception& e) {
  if (OnException) {
    OnException(e);
    return;
  }
  std::string message = e.what();
  if (!message.empty() && message.back() != '.') message += '.';
  MessageBoxA(GetActiveWindow(), message.c_str(), Title().c_str(), MB_OK | MB_ICONSTOP);
}

void TApplication::HandleCurrentException() {
  try {
    throw;
  } catch (const std::exception& e) {
    HandleException(e);
  } catch (...) {
    HandleException(Exception("Unknown exception"));
  }
}
