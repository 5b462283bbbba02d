#pragma once
// Drives the real windows as a user would, from inside their message loops: steps queued with Later() run
// one per timer tick on the user-interface thread, so a step can open a modal window and the next step runs
// inside that window's loop. Input goes to the real controls as mouse and key messages.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/Controls.h"
#include "gui/Keys.h"

namespace ui {

// Runs step from the message loop once the steps queued before it have run. Steps do not nest: a step that
// waits for something lets messages run but not the next step.
// ready(), when given, holds the step back until it is true (thirty seconds at most, which fails the test).
void Later(std::function<void()> step, std::function<bool()> ready = nullptr);
// Drops the steps that have not run; the end of every test calls it.
void ClearSteps();
// Runs the thread's messages until no step is left (or thirty seconds pass, which fails the test).
void RunSteps();

// A left click at the middle of the control, or at a point of its client area.
void Click(const TControl& control);
void ClickAt(HWND window, POINT point);
// Key down and up, sent to the window that has the keyboard focus through the message loop.
void PressKey(WORD key, bool ctrl = false);
// Key down and up through the system's input, with the modifiers held, to the focused window of the active
// window; the modifiers' state is what the keyboard would give. SendKey returns at once, so that a loop of
// the system's own (a menu's) takes the keys; TypeKey waits until they have been handled.
void SendKey(WORD key, TShiftState shift = 0);
void TypeKey(WORD key, TShiftState shift = 0);
// Replaces an edit's text by typing it: focus, select all, one WM_CHAR per character.
void Type(const TControl& edit, const std::string& text);
// Lets every waiting message run.
void Pump();

struct TMessageBox {
  HWND Handle = nullptr;
  std::string Caption;
  std::string Text;
  std::vector<std::string> Buttons;
  bool HasIcon = false;
};
// The message box of this thread that is open now; Handle is null when there is none.
TMessageBox FindMessageBox();
// Runs step with this thread's message box as the next step once one is open (thirty seconds at most).
void WhenMessageBoxOpens(std::function<void(const TMessageBox&)> step);
// Presses the message box's button with the given caption.
void Answer(const TMessageBox& box, const std::string& button);
// The pop-up menu window of this thread that is open now; null when there is none.
HWND OpenMenu();

// The text of a window.
std::string TextOf(HWND window);
// The colour of one pixel of a window's client area as drawn on the screen.
COLORREF PixelOf(HWND window, POINT point);
// Asks tools/screenshot-windows.sh, which watches the current folder, for a picture of the window as the
// screen shows it: writes "<name>.want" with the window's place and waits until the script has taken it.
void RequestScreenshot(HWND window, const std::string& name);

}  // namespace ui
