#pragma once
// The base of the controls that windows are built from: the system's own in StdCtrls.h, ours that paint
// themselves in PaintedCtrls.h. Each control object stands for one child window: the window
// belongs to its parent window and is destroyed with it, the object to its form. Every message that Windows
// sends to a control comes through one dispatcher, which hands any exception to the error sink.
#include <windows.h>

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "graphics/Colors.h"
#include "system/WinHandles.h"

class TControl;
class TMenu;
struct TComponentDef;
struct TLayoutContext;

class TObject {
public:
  TObject() = default;
  virtual ~TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

// An event that a stored layout binds: an enumerator of its window's own event enum, carried as its number so
// that the framework needs none of the windows' enums. The form turns it back into its enum in one switch.
class TEventId {
public:
  constexpr TEventId() = default;  // no event
  template <class Event>
    requires std::is_enum_v<Event>
  constexpr TEventId(Event event) : FValue(static_cast<int>(event)) {}

  explicit operator bool() const { return FValue >= 0; }
  template <class Event>
  Event As() const { return static_cast<Event>(FValue); }

private:
  int FValue = -1;
};

// What answers a layout's events: its form.
using TEventHandler = std::function<void(TEventId event, TObject* sender)>;
// The handler that hands event to onEvent; none for no event, so that a control without one stays unbound.
TNotifyEvent BindEvent(const TEventHandler& onEvent, TEventId event);

enum class TAlign { None, Top, Bottom, Left, Right, Client };
enum class TCursor { Default, HandPoint, HourGlass };
enum class TBevel { None, Lowered, Raised };

struct TFontStyle {
  bool Bold = false;
  bool Underline = false;
};

struct TFont {
  std::string Name = "MS Sans Serif";
  int Height = -11;  // in pixels at 96 dpi, negative for the character height as fonts are designed
  TFontStyle Style;
  TColor Color = clWindowText;
};

// The handle of a font at the screen's dots per inch; fonts are kept for the life of the program.
HFONT FontHandle(const TFont& font);
// A length in pixels as designed at 96 dpi, scaled to the screen.
int ScaleToScreen(int designed);
HCURSOR CursorHandle(TCursor cursor);

// The screen's cursor: anything but the default shows over every window of the program.
class TScreen {
public:
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor cursor);

private:
  TCursor FCursor = TCursor::Default;
};
extern TScreen Screen;

// Sets the screen's cursor to the hourglass for the length of a scope.
class THourglass {
public:
  THourglass() { Screen.SetCursor(TCursor::HourGlass); }
  ~THourglass() { Screen.SetCursor(TCursor::Default); }
  THourglass(const THourglass&) = delete;
  THourglass& operator=(const THourglass&) = delete;
};

class TControl : public TObject {
public:
  TControl(std::string name, TControl* parent);
  ~TControl() override;

  // The control whose window this is; null for any other window.
  static TControl* FromHandle(HWND window);

  const std::string& Name() const { return FName; }
  HWND Handle() const { return FHandle; }
  TControl* Parent() const { return FParent; }

  int Tag() const { return FTag; }
  void SetTag(int tag) { FTag = tag; }

  bool Enabled() const { return IsWindowEnabled(FHandle) != FALSE; }
  void SetEnabled(bool enabled);
  bool Visible() const { return IsWindowVisible(FHandle) != FALSE; }
  void SetVisible(bool visible);

  std::string Caption() const;
  virtual void SetCaption(const std::string& caption);

  const TFont& Font() const { return FFont; }
  virtual void SetFont(const TFont& font);
  // The background colour that the control paints, and that its children without a colour of their own show.
  TColor Color() const { return FColor; }
  void SetColor(TColor color);

  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor cursor) { FCursor = cursor; }

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign align) { FAlign = align; }

  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int context) { FHelpContext = context; }
  const std::string& HelpKeyword() const { return FHelpKeyword; }
  void SetHelpKeyword(std::string keyword) { FHelpKeyword = std::move(keyword); }

  // Position within the parent's client area and size, in screen pixels.
  RECT BoundsRect() const;
  void SetBounds(int left, int top, int width, int height);

  void SetFocus();
  bool Focused() const { return GetFocus() == FHandle; }

  // Lays out the children that have an alignment: top, bottom, left, right, then client, each kind in the
  // order the children were made.
  void Realign();
  // The part of the client area that aligned children share.
  virtual RECT AlignRect() const;
  void AddChild(TControl* child) { FChildren.push_back(child); }
  const std::vector<TControl*>& Children() const { return FChildren; }

  // The context menu, shown by the right button or the menu key; a control without one shows its parent's.
  TMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TMenu* menu) { FPopupMenu = menu; }

  TNotifyEvent OnClick;
  TNotifyEvent OnExit;

  // Called by the form when the keyboard focus moves to another of its controls.
  virtual void DoExit();

  // What a control tells the form it lies on: each passes it to its parent, and the form answers. Going up
  // through the parents keeps the controls free of the form's class.
  // The keyboard focus moved to control.
  virtual void ControlFocused(TControl* control);
  // A button with a modal result was pressed.
  virtual void ModalResultChosen(int result);

  // The window is made by the form's builder.
  void CreateHandle(const char* className, const char* caption, DWORD style, DWORD exStyle, const RECT& bounds);
  // Takes the settings of the control's kind from its layout once the window is made; the base has none.
  virtual void Configure(const TComponentDef&, const TLayoutContext&) {}
  // The last step of making the control from its layout, once its children are made.
  virtual void ChildrenMade(const TComponentDef&) {}

protected:
  // The window that a new window of this control lies in: its parent's.
  virtual HWND ParentWindow() const;
  // One message for this control; the default passes it on to the window class's own procedure.
  virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);
  // A notification sent by this control to its parent (WM_COMMAND, WM_NOTIFY), handed back to it.
  virtual LRESULT Notify(UINT code, LPARAM lParam);
  // The answer to the WM_CTLCOLOR* message that this control's window sends its parent: the default paints
  // the control on its own colour with its font's colour; null leaves it to the system.
  virtual HBRUSH CtlColor(HDC dc);
  HBRUSH BackgroundBrush() const;
  // Fills rect with the control's colour.
  void PaintBackground(HDC dc, const RECT& rect) const;
  virtual void Click();
  // Draws the control's window of our own class over its background; client is the client area.
  virtual void Paint(HDC, const RECT&) {}
  void Invalidate() { InvalidateRect(FHandle, nullptr, TRUE); }

private:
  friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK ControlSubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void Detach();

  std::string FName;
  TControl* FParent;
  std::vector<TControl*> FChildren;
  HWND FHandle = nullptr;
  bool FSubclassed = false;  // a system window class; messages go on through DefSubclassProc
  bool FMouseDown = false;
  int FTag = 0;
  TFont FFont;
  TColor FColor = clBtnFace;
  TBrushHandle FBrush;  // for a plain colour; system colours use the system's brushes
  TCursor FCursor = TCursor::Default;
  TAlign FAlign = TAlign::None;
  TMenu* FPopupMenu = nullptr;
  int FHelpContext = 0;
  std::string FHelpKeyword;
};

// The top-level windows of the calling thread.
std::vector<HWND> ThreadWindows();

// A window class of the program's, registered at the first call; returns the name.
const char* RegisterWindowClass(const char* name, WNDPROC procedure, UINT classStyle = 0);
// The window classes of our own controls, registered once.
const char* RegisterControlClass(const char* name, UINT classStyle = 0);
