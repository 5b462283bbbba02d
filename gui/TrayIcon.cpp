#include "gui/TrayIcon.h"

#include <shellapi.h>

#include "gui/Forms.h"

TCoolTrayIcon::TCoolTrayIcon(HICON icon, std::string hint)
    : FIcon(icon), FHint(std::move(hint)), FTaskbarCreated(RegisterWindowMessageA("TaskbarCreated")) {
  // A top-level window, not a message-only one: only these hear the "TaskbarCreated" broadcast.
  if (!CreateHandle("TCoolTrayIcon", "", WS_POPUP, 0, 0, nullptr))
    throw EOutOfResources("Cannot create the notification icon's window");
  FShown = Notify(NIM_ADD);
  Application.OnMinimize = [this] { HideMainForm(); };
}

TCoolTrayIcon::~TCoolTrayIcon() {
  Application.OnMinimize = nullptr;
  if (FShown) Notify(NIM_DELETE);
}

bool TCoolTrayIcon::Notify(DWORD action) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = Handle();
  data.uID = 1;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = FIcon;
  lstrcpynA(data.szTip, FHint.c_str(), sizeof data.szTip);
  return Shell_NotifyIconA(action, &data) != FALSE;
}

void TCoolTrayIcon::ShowMainForm() {
  Application.Restore();
  TForm* form = Application.MainForm();
  if (!form) return;
  if (IsIconic(form->Handle())) ShowWindow(form->Handle(), SW_RESTORE);
  form->Show();
  SetForegroundWindow(form->Handle());
}

void TCoolTrayIcon::HideMainForm() {
  if (TForm* form = Application.MainForm()) form->Hide();
  if (IsWindowVisible(Application.Handle())) ShowWindow(Application.Handle(), SW_HIDE);
}

void TCoolTrayIcon::IconMessage(UINT mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONDBLCLK:
      FSkipNextUp = true;
      break;
    case WM_LBUTTONUP:
      if (std::exchange(FSkipNextUp, false)) break;
      if (OnClick) OnClick(this);
      break;
    case WM_RBUTTONUP:
      if (OnPopupMenu) {
        POINT cursor;
        GetCursorPos(&cursor);
        HWND owner = PopupOwner ? PopupOwner : Handle();
        SetForegroundWindow(owner);
        OnPopupMenu(cursor);
        PostMessageA(owner, WM_NULL, 0, 0);
      }
      break;
    default:
      break;
  }
}

LRESULT TCoolTrayIcon::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCallbackMessage) {
    IconMessage(static_cast<UINT>(lParam));
    return 0;
  }
  if (message == FTaskbarCreated) {
    FShown = Notify(NIM_ADD);
    return 0;
  }
  return DefaultHandler(message, wParam, lParam);
}
