#include "gui/Controls.h"

#include <commctrl.h>
#include <windowsx.h>

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
    control->FHandle = window;
    Controls()[window] = control;
  }
  if (TControl* control = TControl::FromHandle(window)) return control->Dispatch(message, wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK ControlSubclassProc(HWND, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR data) {
  return reinterpret_cast<TControl*>(data)->Dispatch(message, wParam, lParam);
}

namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows) {
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> ThreadWindows() {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
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

// Panel

namespace {

int BevelCount(TBevel outer, TBevel inner) { return (outer != TBevel::None) + (inner != TBevel::None); }

void DrawBevel(HDC dc, RECT& rect, TBevel bevel) {
  if (bevel == TBevel::None) return;
  const bool lowered = bevel == TBevel::Lowered;
  HBRUSH topLeft = GetSysColorBrush(lowered ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
  HBRUSH bottomRight = GetSysColorBrush(lowered ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
  const RECT top{rect.left, rect.top, rect.right, rect.top + 1};
  const RECT left{rect.left, rect.top, rect.left + 1, rect.bottom};
  const RECT bottom{rect.left, rect.bottom - 1, rect.right, rect.bottom};
  const RECT right{rect.right - 1, rect.top, rect.right, rect.bottom};
  FillRect(dc, &top, topLeft);
  FillRect(dc, &left, topLeft);
  FillRect(dc, &bottom, bottomRight);
  FillRect(dc, &right, bottomRight);
  InflateRect(&rect, -1, -1);
}

}  // namespace

RECT TPanel::AlignRect() const {
  RECT rect = TControl::AlignRect();
  const int inset = BevelCount(FBevelOuter, FBevelInner);
  InflateRect(&rect, -inset, -inset);
  return rect;
}

void TPanel::Paint(HDC dc, const RECT& client) {
  RECT rect = client;
  DrawBevel(dc, rect, FBevelOuter);
  DrawBevel(dc, rect, FBevelInner);
}

// Label

UINT TLabel::DrawFlags() const { return DT_LEFT | DT_TOP | (FWordWrap ? DT_WORDBREAK : DT_SINGLELINE); }

void TLabel::SetCaption(const std::string& caption) {
  TControl::SetCaption(caption);
  AdjustSize();
  Invalidate();
}

void TLabel::SetFont(const TFont& font) {
  TControl::SetFont(font);
  AdjustSize();
  Invalidate();
}

void TLabel::AdjustSize() {
  if (!FAutoSize || !Handle()) return;
  const std::string text = Caption();
  TScreenDc screen;
  HGDIOBJ old = SelectObject(screen.Handle(), FontHandle(Font()));
  RECT rect{0, 0, 0, 0};
  if (FWordWrap) GetClientRect(Handle(), &rect);
  DrawTextA(screen.Handle(), text.empty() ? " " : text.c_str(), -1, &rect, DrawFlags() | DT_CALCRECT);
  SelectObject(screen.Handle(), old);
  const int width = text.empty() ? 0 : rect.right - rect.left;
  SetWindowPos(Handle(), nullptr, 0, 0, width, rect.bottom - rect.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TLabel::Paint(HDC dc, const RECT& client) {
  const std::string text = Caption();
  HGDIOBJ old = SelectObject(dc, FontHandle(Font()));
  SetBkMode(dc, TRANSPARENT);
  RECT rect = client;
  if (Enabled()) {
    SetTextColor(dc, ColorToRGB(Font().Color));
    DrawTextA(dc, text.c_str(), -1, &rect, DrawFlags());
  } else {  // engraved, as disabled text is drawn
    RECT shifted = rect;
    OffsetRect(&shifted, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextA(dc, text.c_str(), -1, &shifted, DrawFlags());
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    DrawTextA(dc, text.c_str(), -1, &rect, DrawFlags());
  }
  SelectObject(dc, old);
}

LRESULT TLabel::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCHITTEST && !OnClick && Cursor() == TCursor::Default) return HTTRANSPARENT;
  return TControl::WndProc(message, wParam, lParam);
}

// Button and check box

LRESULT TButtonControl::Notify(UINT code, LPARAM) {
  if (code == BN_CLICKED) Click();
  return 0;
}

void TButton::Click() {
  TControl::Click();
  if (FModalResult != 0) ModalResultChosen(FModalResult);
}

bool TCheckBox::Checked() const { return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TCheckBox::SetChecked(bool checked) {
  if (checked == Checked()) return;
  SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  Click();
}

// Combo box

void TComboBox::SetItems(const std::vector<std::string>& items) {
  SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
  for (const std::string& item : items) SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

int TComboBox::ItemCount() const { return static_cast<int>(SendMessageA(Handle(), CB_GETCOUNT, 0, 0)); }

std::string TComboBox::Item(int index) const {
  const LRESULT length = SendMessageA(Handle(), CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(Handle(), CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

int TComboBox::ItemIndex() const { return static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0)); }

void TComboBox::SetItemIndex(int index) { SendMessageA(Handle(), CB_SETCURSEL, index, 0); }

LRESULT TComboBox::Notify(UINT code, LPARAM) {
  if (code == CBN_SELCHANGE && OnChange) OnChange(this);
  return 0;
}

// Group box

void TGroupBox::CreateFrame() {
  RECT client;
  GetClientRect(Handle(), &client);
  FFrame = CreateWindowExA(0, "BUTTON", Caption().c_str(), WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0, client.right,
                           client.bottom, Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(FFrame, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(Font())), FALSE);
  SetWindowPos(FFrame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TGroupBox::SetCaption(const std::string& caption) {
  TControl::SetCaption(caption);
  if (FFrame) SetWindowTextA(FFrame, caption.c_str());
}

void TGroupBox::SetFont(const TFont& font) {
  TControl::SetFont(font);
  if (FFrame) SendMessageA(FFrame, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font)), TRUE);
}

LRESULT TGroupBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lParam) == FFrame) {
    return reinterpret_cast<LRESULT>(CtlColor(reinterpret_cast<HDC>(wParam)));
  }
  if (message == WM_SIZE && FFrame) SetWindowPos(FFrame, nullptr, 0, 0, LOWORD(lParam), HIWORD(lParam), SWP_NOZORDER);
  return TControl::WndProc(message, wParam, lParam);
}

// Image

void TImage::LoadIcon(int resource, int size) {
  const int scaled = ScaleToScreen(size);
  FIcon.reset(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource), IMAGE_ICON,
                                            scaled, scaled, LR_DEFAULTCOLOR)));
  Invalidate();
}

TBitmap& TImage::EnsureBitmap() {
  if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
  return *FBitmap;
}

void TImage::ClearPicture() {
  FBitmap.reset();
  Invalidate();
}

void TImage::Paint(HDC dc, const RECT& client) {
  if (FIcon) DrawIconEx(dc, 0, 0, FIcon.get(), client.right, client.bottom, 0, nullptr, DI_NORMAL);
  if (FBitmap) BitBlt(dc, 0, 0, FBitmap->Width(), FBitmap->Height(), FBitmap->CanvasHandle(), 0, 0, SRCCOPY);
}

// Notebook

void TNotebook::AddPage(TPage* page) {
  FPages.push_back(page);
  page->SetVisible(false);
}

void TNotebook::SetDesignedPageIndex(int index) {
  FPageIndex = index;
  for (int i = 0; i < PageCount(); ++i) FPages[static_cast<size_t>(i)]->SetVisible(i == index);
}

void TNotebook::SetPageIndex(int index) {
  if (index == FPageIndex || index < 0 || index >= PageCount()) return;
  FPages[static_cast<size_t>(index)]->SetVisible(true);
  if (FPageIndex >= 0) FPages[static_cast<size_t>(FPageIndex)]->SetVisible(false);
  FPageIndex = index;
  if (OnPageChanged) OnPageChanged(this);
}
