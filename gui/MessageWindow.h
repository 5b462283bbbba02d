#pragma once
// A window of our own that is no control (the application's taskbar window, a timer's, the notification
// icon's): it owns its handle, is reached from it at WM_NCCREATE, and answers its messages through one thunk
// that lets no exception reach Windows.
#include <windows.h>

#include <memory>
#include <type_traits>

class TMessageWindow {
public:
  // Windows keeps a pointer to the object, so it stays where it was made.
  TMessageWindow(const TMessageWindow&) = delete;
  TMessageWindow& operator=(const TMessageWindow&) = delete;
  virtual ~TMessageWindow() = default;

  HWND Handle() const { return FHandle.get(); }

protected:
  TMessageWindow() = default;
  // Registers the class at its first use and makes the window; null when Windows cannot. Called at the end of
  // the derived constructor, so that the messages of the creation find the derived object whole.
  HWND CreateHandle(const char* className, const char* caption, DWORD style, int left, int top, HWND parent);
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(Handle(), message, wParam, lParam);
  }

private:
  struct TDestroyer {
    void operator()(HWND window) const;
  };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  std::unique_ptr<std::remove_pointer_t<HWND>, TDestroyer> FHandle;
};
