#pragma once
// A message timer: it ticks as WM_TIMER on the thread that made it, also while a modal loop runs.
#include <windows.h>

#include <cstdint>

#include "gui/Controls.h"
#include "gui/MessageWindow.h"

class TSimpleTimer : public TObject, public TMessageWindow {
public:
  TSimpleTimer();

  uint32_t Interval() const { return FInterval; }
  // A new interval restarts a running timer with it; 0 stops it.
  void SetInterval(uint32_t milliseconds);
  bool Enabled() const { return FEnabled; }
  // True starts the count afresh, also when the timer runs already, unless the interval is 0.
  void SetEnabled(bool enabled);
  // Whether ticks are coming now.
  bool Running() const { return FEnabled && FInterval > 0; }

  TNotifyEvent OnTimer;

private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Update();

  uint32_t FInterval = 1000;
  bool FEnabled = false;
};
