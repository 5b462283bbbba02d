#include "gui/SimpleTimer.h"

#include "gui/Forms.h"

TSimpleTimer::TSimpleTimer() {
  if (!CreateHandle("TSimpleTimer", "", 0, 0, 0, HWND_MESSAGE)) throw EOutOfResources("Not enough timers available");
}

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
  KillTimer(Handle(), 1);
  if (Running() && !SetTimer(Handle(), 1, FInterval, nullptr)) {
    FEnabled = false;
    throw EOutOfResources("Not enough timers available");
  }
}

LRESULT TSimpleTimer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_TIMER) return DefaultHandler(message, wParam, lParam);
  if (OnTimer) OnTimer(this);
  return 0;
}
