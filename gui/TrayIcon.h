#pragma once
// The program's icon in the notification area: a click event on a single left click (at the button's
// release), a menu on the right button, the main form hidden into it when the application is minimised, and
// the icon added again when the shell's taskbar is made anew.
#include <windows.h>

#include <functional>
#include <string>

#include "gui/Controls.h"
#include "gui/MessageWindow.h"

class TCoolTrayIcon : public TObject, public TMessageWindow {
public:
  static constexpr UINT kCallbackMessage = WM_APP + 10;

  TCoolTrayIcon(HICON icon, std::string hint);
  // Takes the icon out of the notification area, so that no dead icon stays behind.
  ~TCoolTrayIcon() override;

  // Whether the shell took the icon.
  bool Shown() const { return FShown; }

  // Restores the application, shows the main form as a normal window and brings it to the foreground.
  void ShowMainForm();
  // Hides the main form, and the application's taskbar window when it is visible.
  void HideMainForm();

  TNotifyEvent OnClick;
  // Runs on the right button's release with the cursor's position. The menu's owner window is made the
  // foreground window first, so that the menu closes when the user clicks elsewhere.
  std::function<void(POINT cursor)> OnPopupMenu;
  // The window that owns the menu (and draws its pictures); the icon's own window when none is set.
  HWND PopupOwner = nullptr;

private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void IconMessage(UINT mouseMessage);
  bool Notify(DWORD action);

  HICON FIcon;
  std::string FHint;
  bool FShown = false;
  bool FSkipNextUp = false;  // the release that ends a double click
  UINT FTaskbarCreated;
};
