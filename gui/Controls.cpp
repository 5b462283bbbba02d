#include "gui/Controls.h"

#include <commctrl.h>
#include <windowsx.h>

#include <exception>
#include <map>
#include <tuple>
#include <unordered_map>

#include "gui/ErrorSink.h"
#include "gui/Menus.h"
#include "system/SysUtils.h"

TScreen Screen;

namespace {

// The control of each of our windows. A window property would do, but under Wine each look-up of one costs
// about 17 microseconds, and one runs for every message and every painted cell.
std::unordered_map<HWND, TControl*>& Controls() {
  static std::unordered_map<HWND, TControl*> controls;
  return controls;
}

}  // namespace

TNotifyEvent BindEvent(const TEventHandler& onEvent, TEventId event) {
  if (!event) return nullptr;
  return [onEvent, event](TObject* sender) { onEvent(event, sender); };
}

int ScaleToScreen(int designed) {
  static const int ppi = ScreenPixelsPerInch();  // asked once: every control's bounds and font need it
  return MulDiv(designed, ppi, 96);
}

HFONT FontHandle(const TFont& font) {
  using TKey = std::tuple<std::string, int, bool, bool>;
  static std::map<TKey, HFONT> fonts;  // a handful for the whole program; freed by the system at exit
  const TKey key{font.Name, font.Height, font.Style.Bold, font.Style.Underline};
  HFONT& handle = fonts[key];
  if (!handle) {
    LOGFONTA logFont{};
    logFont.lfHeight = ScaleToScreen(font.Height);
    logFont.lfWeight = font.Style.Bold ? FW_BOLD : FW_NORMAL;
    logFont.lfUnderline = font.Style.Underline;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(logFont.lfFaceName, font.Name.c_str(), LF_FACESIZE);
    handle = CreateFontIndirectA(&logFont);
  }
  return handle;
}

HCURSOR CursorHandle(TCursor cursor) {
  switch (cursor) {
    case TCursor::HandPoint: return LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // IDC_HAND
    case TCursor::HourGlass: return LoadCursorA(nullptr, MAKEINTRESOURCEA(32514));  // IDC_WAIT
    case TCursor::Default: break;
  }
  return LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
}

void TScreen::SetCursor(TCursor cursor) {
  FCursor = cursor;
  ::SetCursor(CursorHandle(cursor));
}

LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* control = static_cast<TControl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    try {
      Controls()[window] = control;
    } catch (...) {
      return FALSE;  // the window is not made, and CreateHandle says so
    }
    control->FHandle = window;
  }
  if (TControl* control = TControl::FromHandle(window)) return control->Dispatch(message, wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK ControlSubclassProc(HWND, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR data) {
  return reinterpret_cast<TControl*>(data)->Dispatch(message, wParam, lParam);
}

namespace {

struct TCollectedWindows {
  std::vector<HWND> windows;
  std::exception_ptr failure;  // carried past Windows, which cannot unwind it
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM collected) noexcept {
  auto& into = *reinterpret_cast<TCollectedWindows*>(collected);
  try {
    into.windows.push_back(window);
    return TRUE;
  } catch (...) {
    into.failure = std::current_exception();
    return FALSE;
  }
}

}  // namespace

std::vector<HWND> ThreadWindows() {
  TCollectedWindows collected;
  EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&collected));
  if (collected.failure) std::rethrow_exception(collected.failure);
  return std::move(collected.windows);
}

const char* RegisterWindowClass(const char* name, WNDPROC procedure, UINT classStyle) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (!GetClassInfoExA(GetModuleHandleA(nullptr), name, &windowClass)) {
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = CursorHandle(TCursor::Default);
    windowClass.hIcon = LoadIconA(windowClass.hInstance, MAKEINTRESOURCEA(1));
    windowClass.lpszClassName = name;
    RegisterClassExA(&windowClass);
  }
  return name;
}

const char* RegisterControlClass(const char* name, UINT classStyle) {
  return RegisterWindowClass(name, ControlWindowProc, classStyle);
}

TControl::TControl(std::string name, TControl* parent) : FName(std::move(name)), FParent(parent) {
  if (parent) {
    parent->AddChild(this);
    FFont = parent->FFont;
    SetColor(parent->FColor);
  }
}

TControl::~TControl() {
  if (FHandle) {
    HWND window = FHandle;
    Detach();
    DestroyWindow(window);
  }
}

HWND TControl::ParentWindow() const { return FParent ? FParent->Handle() : nullptr; }

void TControl::ControlFocused(TControl* control) {
  if (FParent) FParent->ControlFocused(control);
}

void TControl::ModalResultChosen(int result) {
  if (FParent) FParent->ModalResultChosen(result);
}

TControl* TControl::FromHandle(HWND window) {
  const auto found = Controls().find(window);
  return found == Controls().end() ? nullptr : found->second;
}

void TControl::CreateHandle(const char* className, const char* caption, DWORD style, DWORD exStyle,
                            const RECT& bounds) {
  HWND window = CreateWindowExA(exStyle, className, caption, style, bounds.left, bounds.top,
                                bounds.right - bounds.left, bounds.bottom - bounds.top, ParentWindow(), nullptr,
                                GetModuleHandleA(nullptr), this);
  if (!window) throw EOutOfResources(Format("Cannot create window %s", FName.c_str()));
  if (!FHandle) {  // a system window class: its messages reach us through a subclass
    FHandle = window;
    FSubclassed = true;
    Controls()[window] = this;
    SetWindowSubclass(window, ControlSubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
  }
  SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(FFont)), FALSE);
}

void TControl::Detach() {
  if (FSubclassed) RemoveWindowSubclass(FHandle, ControlSubclassProc, 0);
  Controls().erase(FHandle);
  FHandle = nullptr;
}

LRESULT TControl::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  try {
    result = WndProc(message, wParam, lParam);
  } catch (...) {
    ReportCurrentException();
  }
  if (message == WM_NCDESTROY && FHandle) Detach();
  return result;
}

LRESULT TControl::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
  return FSubclassed ? DefSubclassProc(FHandle, message, wParam, lParam)
                     : DefWindowProcA(FHandle, message, wParam, lParam);
}

LRESULT TControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && (Screen.Cursor() != TCursor::Default || FCursor != TCursor::Default)) {
        ::SetCursor(CursorHandle(Screen.Cursor() != TCursor::Default ? Screen.Cursor() : FCursor));
        return TRUE;
      }
      break;
    case WM_COMMAND:
      if (TControl* child = lParam ? FromHandle(reinterpret_cast<HWND>(lParam)) : nullptr)
        return child->Notify(HIWORD(wParam), lParam);
      break;
    case WM_NOTIFY:
      if (TControl* child = FromHandle(reinterpret_cast<NMHDR*>(lParam)->hwndFrom))
        return child->Notify(reinterpret_cast<NMHDR*>(lParam)->code, lParam);
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (TControl* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = child->CtlColor(reinterpret_cast<HDC>(wParam))) return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case WM_SETFOCUS: {
      const LRESULT result = DefaultHandler(message, wParam, lParam);
      if (FParent) FParent->ControlFocused(this);
      return result;
    }
    case WM_SIZE:
      Realign();
      break;
    case WM_CONTEXTMENU:
      if (FPopupMenu) {
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (lParam == -1) {  // from the keyboard: below the control's top-left corner
          at = {0, 0};
          ClientToScreen(FHandle, &at);
        }
        const TControl* top = this;  // the form: the menu's commands go to its window
        while (top->FParent) top = top->FParent;
        FPopupMenu->Popup(top->FHandle, at.x, at.y);
        return 0;
      }
      break;
    default:
      break;
  }
  if (!FSubclassed) {
    switch (message) {
      case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(FHandle, &paint);
        RECT client;
        GetClientRect(FHandle, &client);
        Paint(dc, client);
        EndPaint(FHandle, &paint);
        return 0;
      }
      case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(FHandle, &client);
        PaintBackground(reinterpret_cast<HDC>(wParam), client);
        return 1;
      }
      case WM_LBUTTONDOWN:
        FMouseDown = true;
        SetCapture(FHandle);
        return 0;
      case WM_LBUTTONUP:
        if (FMouseDown) {
          FMouseDown = false;
          ReleaseCapture();
          RECT client;
          GetClientRect(FHandle, &client);
          if (PtInRect(&client, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) Click();
        }
        return 0;
      case WM_CAPTURECHANGED:
        FMouseDown = false;
        break;
      default:
        break;
    }
  }
  return DefaultHandler(message, wParam, lParam);
}

LRESULT TControl::Notify(UINT, LPARAM) { return 0; }

HBRUSH TControl::CtlColor(HDC dc) {
  SetTextColor(dc, ColorToRGB(FFont.Color));
  SetBkColor(dc, ColorToRGB(FColor));
  return BackgroundBrush();
}

HBRUSH TControl::BackgroundBrush() const {
  if (FColor & clSystemColor) return GetSysColorBrush(FColor & 0xFF);
  return FBrush.get();
}

void TControl::SetColor(TColor color) {
  FColor = color;
  FBrush.reset((color & clSystemColor) ? nullptr : CreateSolidBrush(ColorToRGB(color)));
  if (FHandle) Invalidate();
}

void TControl::PaintBackground(HDC dc, const RECT& rect) const { FillRect(dc, &rect, BackgroundBrush()); }

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TControl::SetEnabled(bool enabled) {
  EnableWindow(FHandle, enabled);
  Invalidate();
}

void TControl::SetVisible(bool visible) { ShowWindow(FHandle, visible ? SW_SHOW : SW_HIDE); }

std::string TControl::Caption() const {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(FHandle)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(FHandle, text.data(), static_cast<int>(text.size()))));
  return text;
}

void TControl::SetCaption(const std::string& caption) { SetWindowTextA(FHandle, caption.c_str()); }

void TControl::SetFont(const TFont& font) {
  FFont = font;
  if (FHandle) SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font)), TRUE);
}

RECT TControl::BoundsRect() const {
  RECT rect;
  GetWindowRect(FHandle, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(FHandle), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void TControl::SetBounds(int left, int top, int width, int height) {
  SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TControl::SetFocus() { ::SetFocus(FHandle); }

RECT TControl::AlignRect() const {
  RECT rect;
  GetClientRect(FHandle, &rect);
  return rect;
}

void TControl::Realign() {
  RECT area = AlignRect();
  for (const TAlign pass : {TAlign::Top, TAlign::Bottom, TAlign::Left, TAlign::Right, TAlign::Client}) {
    for (TControl* child : FChildren) {
      if (child->FAlign != pass || !child->FHandle) continue;
      const RECT bounds = child->BoundsRect();
      const int width = bounds.right - bounds.left;
      const int height = bounds.bottom - bounds.top;
      switch (pass) {
        case TAlign::Top:
          child->SetBounds(area.left, area.top, area.right - area.left, height);
          area.top += height;
          break;
        case TAlign::Bottom:
          area.bottom -= height;
          child->SetBounds(area.left, area.bottom, area.right - area.left, height);
          break;
        case TAlign::Left:
          child->SetBounds(area.left, area.top, width, area.bottom - area.top);
          area.left += width;
          break;
        case TAlign::Right:
          area.right -= width;
          child->SetBounds(area.right, area.top, width, area.bottom - area.top);
          break;
        default:
          child->SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
          break;
      }
    }
  }
}
