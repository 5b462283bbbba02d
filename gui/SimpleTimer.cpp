#include "gui/SimpleTimer.h"

#include "gui/Forms.h"

TSimpleTimer::TSimpleTimer() {
  FWindow = CreateWindowExA(0, RegisterWindowClass("TSimpleTimer", WindowProc), "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!FWindow) throw EOutOfResources("Not enough timers available");
  SetWindowLongPtrA(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TSimpleTimer::~TSimpleTimer() { DestroyWindow(FWindow); }

void TSimpleTimer::SetInterval(uint32_t milliseconds) {
  if (milliseconds == FInterval) return;
  FInterval = milliseconds;
  Update();
}

void TSimpleTimer::SetEnabled(bool enabled) {
  FEnabled = enabled;
  Update();
}

void TSimpleTimer::Update() {
  KillTimer(FWindow, 1);
  if (Running() && !SetTimer(FWindow, 1, FInterval, nullptr)) {
    FEnabled = false;
    throw EOutOfResources("Not enough timers available");
  }
}

LRESULT CALLBACK TSimpleTimer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    auto* timer = reinterpret_cast<TSimpleTimer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    try {
      if (timer && timer->OnTimer) timer->OnTimer(timer);
    } catch (...) {
      Application.HandleCurrentException();
    }
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
