#include "shell/UiDriver.h"

#include <gtest/gtest.h>

#include <deque>

#include "gui/Forms.h"
#include "system/WinHandles.h"

namespace ui {

namespace {

std::deque<std::pair<std::function<void()>, std::function<bool()>>> steps;  // each with its ready(), if any
UINT_PTR stepTimer = 0;
UINT_PTR watchdogTimer = 0;
DWORD lastStep = 0;

// A test whose steps cannot end the window they opened would hang: after a minute without a step,
// every message box and modal form of the thread is closed and the test fails.
void CALLBACK Rescue(HWND, UINT, UINT_PTR, DWORD) {
  if (GetTickCount() - lastStep < 60000) return;
  lastStep = GetTickCount();
  for (HWND window : ThreadWindows()) {
    if (auto* form = dynamic_cast<TForm*>(TControl::FromHandle(window)); form && form->Modal()) {
      ADD_FAILURE() << "a modal window was left open: " << form->Name();
      form->SetModalResult(mrCancel);
    } else if (IsWindowVisible(window) && !TControl::FromHandle(window) && window != Application.Handle()) {
      ADD_FAILURE() << "a message box was left open";
      PostMessageA(window, WM_COMMAND, IDOK, 0);
      PostMessageA(window, WM_COMMAND, IDNO, 0);
    }
  }
}

bool inStep = false;

void CALLBACK RunNextStep(HWND, UINT, UINT_PTR, DWORD) {
  if (inStep) return;  // a step that waits lets messages run: the next step waits its turn
  if (steps.empty()) {
    KillTimer(nullptr, stepTimer);
    stepTimer = 0;
    return;
  }
  if (const auto& ready = steps.front().second; ready && !ready()) {
    if (GetTickCount() - lastStep < 30000) return;  // a busy machine can take seconds to show a window
    ADD_FAILURE() << "a step waited thirty seconds for its turn";
  }
  std::function<void()> step = std::move(steps.front().first);
  steps.pop_front();
  lastStep = GetTickCount();
  inStep = true;
  try {
    step();
  } catch (const std::exception& e) {
    ADD_FAILURE() << "a step raised: " << e.what();
  }
  inStep = false;
}

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

}  // namespace

void Later(std::function<void()> step, std::function<bool()> ready) {
  lastStep = GetTickCount();
  if (!watchdogTimer) watchdogTimer = SetTimer(nullptr, 0, 1000, Rescue);
  steps.push_back({std::move(step), std::move(ready)});
  if (!stepTimer) stepTimer = SetTimer(nullptr, 0, 20, RunNextStep);
}

void ClearSteps() {
  steps.clear();
  if (stepTimer) KillTimer(nullptr, stepTimer);
  stepTimer = 0;
}

void RunSteps() {
  const DWORD start = GetTickCount();
  while (!steps.empty() && GetTickCount() - start < 30000) {
    Pump();
    Sleep(5);
  }
  EXPECT_TRUE(steps.empty()) << "steps left after thirty seconds";
  ClearSteps();
}

void Pump() {
  if (inStep) lastStep = GetTickCount();  // a step that lets messages run is waiting, not stuck
  Application.ProcessMessages();
}

void ClickAt(HWND window, POINT point) {
  const LPARAM position = MAKELPARAM(point.x, point.y);
  SendMessageA(window, WM_MOUSEMOVE, 0, position);
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, position);
  SendMessageA(window, WM_LBUTTONUP, 0, position);
}

void Click(const TControl& control) {
  RECT client;
  GetClientRect(control.Handle(), &client);
  ClickAt(control.Handle(), {client.right / 2, client.bottom / 2});
}

void PressKey(WORD key, bool ctrl) {
  HWND focus = GetFocus();
  if (ctrl) PostMessageA(focus, WM_KEYDOWN, VK_CONTROL, 1);
  PostMessageA(focus, WM_KEYDOWN, key, 1);
  PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
  if (ctrl) PostMessageA(focus, WM_KEYUP, VK_CONTROL, 0xC0000001);
}

void SendKey(WORD key, TShiftState shift) {
  std::vector<WORD> keys;
  if (shift & ssShift) keys.push_back(VK_SHIFT);
  if (shift & ssCtrl) keys.push_back(VK_CONTROL);
  if (shift & ssAlt) keys.push_back(VK_MENU);
  keys.push_back(key);
  std::vector<INPUT> inputs;
  for (const WORD down : keys) inputs.push_back({.type = INPUT_KEYBOARD, .ki = {.wVk = down}});
  for (auto up = keys.rbegin(); up != keys.rend(); ++up)
    inputs.push_back({.type = INPUT_KEYBOARD, .ki = {.wVk = *up, .dwFlags = KEYEVENTF_KEYUP}});
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeKey(WORD key, TShiftState shift) {
  SendKey(key, shift);
  for (int i = 0; i < 10; ++i) {
    Sleep(10);
    Pump();
  }
}

void Type(const TControl& edit, const std::string& text) {
  SetFocus(edit.Handle());
  SendMessageA(edit.Handle(), EM_SETSEL, 0, -1);
  SendMessageA(edit.Handle(), WM_CHAR, VK_BACK, 1);
  for (const char c : text) SendMessageA(edit.Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
}

std::string TextOf(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

HWND OpenMenu() {
  for (HWND window : ThreadWindows())
    if (IsWindowVisible(window) && ClassOf(window) == "#32768") return window;
  return nullptr;
}

TMessageBox FindMessageBox() {
  TMessageBox box;
  for (HWND window : ThreadWindows()) {
    if (ClassOf(window) != "#32770" || !IsWindowVisible(window)) continue;
    box.Handle = window;
    box.Caption = TextOf(window);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      const std::string kind = ClassOf(child);
      if (kind == "Button") box.Buttons.push_back(TextOf(child));
      if (kind == "Static" && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) box.HasIcon = true;
      else if (kind == "Static" && !TextOf(child).empty()) box.Text = TextOf(child);
    }
    break;
  }
  return box;
}

void WhenMessageBoxOpens(std::function<void(const TMessageBox&)> step) {
  Later([step = std::move(step)] { step(FindMessageBox()); }, [] { return FindMessageBox().Handle != nullptr; });
}

void Answer(const TMessageBox& box, const std::string& button) {
  for (HWND child = GetWindow(box.Handle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) == "Button" && TextOf(child) == button) {
      SendMessageA(box.Handle, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), BN_CLICKED),
                   reinterpret_cast<LPARAM>(child));
      return;
    }
  }
  ADD_FAILURE() << "no button " << button;
}

COLORREF PixelOf(HWND window, POINT point) {
  UpdateWindow(window);
  Pump();
  Sleep(50);  // under Wine the painted pixels reach the screen a moment later
  ClientToScreen(window, &point);
  return GetPixel(TScreenDc().Handle(), point.x, point.y);
}

void RequestScreenshot(HWND window, const std::string& name) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  RECT rect;
  GetWindowRect(window, &rect);
  const std::string place = std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top) +
                            "+" + std::to_string(rect.left) + "+" + std::to_string(rect.top) + "\n";
  const std::string want = name + ".want";
  HANDLE file = CreateFileA((want + ".tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, place.data(), static_cast<DWORD>(place.size()), &written, nullptr);
  CloseHandle(file);
  MoveFileA((want + ".tmp").c_str(), want.c_str());
  const DWORD start = GetTickCount();
  while (GetFileAttributesA(want.c_str()) != INVALID_FILE_ATTRIBUTES && GetTickCount() - start < 10000) {
    Pump();
    Sleep(50);
  }
}

}  // namespace ui
