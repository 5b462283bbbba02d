#include "gui/MessageWindow.h"

#include "gui/Controls.h"
#include "gui/ErrorSink.h"

void TMessageWindow::TDestroyer::operator()(HWND window) const {
  // The object is going: the window's last messages get the default handling.
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
}

HWND TMessageWindow::CreateHandle(const char* className, const char* caption, DWORD style, int left, int top,
                                  HWND parent) {
  if (!CreateWindowExA(0, RegisterWindowClass(className, WindowProc), caption, style, left, top, 0, 0, parent,
                       nullptr, GetModuleHandleA(nullptr), this))
    (void)FHandle.release();  // a window that failed after WM_NCCREATE is destroyed already
  return Handle();
}

LRESULT CALLBACK TMessageWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<TMessageWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    created->FHandle.reset(window);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* self = reinterpret_cast<TMessageWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    ReportCurrentException();
    return 0;
  }
}
