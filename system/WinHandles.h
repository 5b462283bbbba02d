#pragma once
// Move-only owners of Win32 handles: each closes its handle once, with the call that its kind needs.
#include <windows.h>

#include <memory>
#include <type_traits>

struct TGdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct TDcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct TEnhMetaFileDeleter {
  void operator()(HENHMETAFILE metafile) const { DeleteEnhMetaFile(metafile); }
};
struct TIconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct TKernelHandleDeleter {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
// Gives the mutex up if this process owns it, then closes it.
struct TMutexDeleter {
  void operator()(HANDLE mutex) const {
    ReleaseMutex(mutex);
    CloseHandle(mutex);
  }
};

using TBitmapHandle = std::unique_ptr<std::remove_pointer_t<HBITMAP>, TGdiObjectDeleter>;
using TBrushHandle = std::unique_ptr<std::remove_pointer_t<HBRUSH>, TGdiObjectDeleter>;
using TDcHandle = std::unique_ptr<std::remove_pointer_t<HDC>, TDcDeleter>;
using TEnhMetaFileHandle = std::unique_ptr<std::remove_pointer_t<HENHMETAFILE>, TEnhMetaFileDeleter>;
using TIconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, TIconDeleter>;
// A file handle; CreateFile's INVALID_HANDLE_VALUE is to be stored as null.
using TFileHandle = std::unique_ptr<void, TKernelHandleDeleter>;
using TMutexHandle = std::unique_ptr<void, TMutexDeleter>;

// A device context that Windows lends for a window (null: the screen), given back at the end of a scope.
class TLentDc {
public:
  ~TLentDc() {
    if (FDc) ReleaseDC(FWindow, FDc);
  }
  TLentDc(const TLentDc&) = delete;
  TLentDc& operator=(const TLentDc&) = delete;
  HDC Handle() const { return FDc; }

protected:
  TLentDc(HWND window, HDC dc) : FWindow(window), FDc(dc) {}

private:
  HWND FWindow;
  HDC FDc;
};

// The screen's device context.
class TScreenDc : public TLentDc {
public:
  TScreenDc() : TLentDc(nullptr, GetDC(nullptr)) {}
};

// A window's whole device context, frame included.
class TWindowDc : public TLentDc {
public:
  explicit TWindowDc(HWND window) : TLentDc(window, GetWindowDC(window)) {}
};

// An object chosen into a device context for the length of a scope: the one it replaced goes back, so that
// the context never ends holding ours.
class TSelection {
public:
  TSelection(HDC dc, HGDIOBJ object) : FDc(dc), FOld(SelectObject(dc, object)) {}
  ~TSelection() {
    if (FOld) SelectObject(FDc, FOld);
  }
  TSelection(const TSelection&) = delete;
  TSelection& operator=(const TSelection&) = delete;

private:
  HDC FDc;
  HGDIOBJ FOld;
};

// The screen's dots per inch, as the program sees it (the manifest declares it DPI-aware).
inline int ScreenPixelsPerInch() { return GetDeviceCaps(TScreenDc().Handle(), LOGPIXELSX); }
