#pragma once
// The controls that windows are built from. Each control object stands for one child window: the window
// belongs to its parent window and is destroyed with it, the object to its form. Every message that Windows
// sends to a control comes through one dispatcher, which hands any exception to the error sink.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/Colors.h"
#include "system/WinHandles.h"

class TControl;
class TMenu;

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

// A plain rectangle with optional bevels: the container of other controls.
class TPanel : public TControl {
public:
  using TControl::TControl;
  void SetBevels(TBevel outer, TBevel inner) {
    FBevelOuter = outer;
    FBevelInner = inner;
  }
  RECT AlignRect() const override;

protected:
  void Paint(HDC dc, const RECT& client) override;

private:
  TBevel FBevelOuter = TBevel::None;
  TBevel FBevelInner = TBevel::None;
};

// A text drawn on its parent's background; sized to its text when AutoSize is on.
class TLabel : public TControl {
public:
  using TControl::TControl;
  void SetCaption(const std::string& caption) override;
  void SetFont(const TFont& font) override;
  void SetAutoSize(bool autoSize) { FAutoSize = autoSize; }
  void SetWordWrap(bool wordWrap) { FWordWrap = wordWrap; }
  void AdjustSize();

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc, const RECT& client) override;

private:
  UINT DrawFlags() const;
  bool FAutoSize = false;
  bool FWordWrap = false;
};

// A system button of any style: a press runs Click.
class TButtonControl : public TControl {
public:
  using TControl::TControl;

protected:
  LRESULT Notify(UINT code, LPARAM lParam) override;
};

class TButton : public TButtonControl {
public:
  using TButtonControl::TButtonControl;
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int result) { FModalResult = result; }

protected:
  void Click() override;

private:
  int FModalResult = 0;
};

class TCheckBox : public TButtonControl {
public:
  using TButtonControl::TButtonControl;
  bool Checked() const;
  // Runs OnClick when the state changes, as a click of the user would.
  void SetChecked(bool checked);
};

// A drop-down list without typing.
class TComboBox : public TControl {
public:
  using TControl::TControl;
  void SetItems(const std::vector<std::string>& items);
  int ItemCount() const;
  std::string Item(int index) const;
  // -1 when no row is selected; selecting a row that is not in the list leaves none selected.
  int ItemIndex() const;
  // Selects a row without running OnChange, which runs only when the user picks a row.
  void SetItemIndex(int index);

  TNotifyEvent OnChange;

protected:
  LRESULT Notify(UINT code, LPARAM lParam) override;
};

class TEdit : public TControl {
public:
  using TControl::TControl;
  std::string Text() const { return Caption(); }
  void SetText(const std::string& text) { SetCaption(text); }

protected:
  HBRUSH CtlColor(HDC) override { return nullptr; }
};

// A frame with a caption around a group of controls, which are its children.
class TGroupBox : public TControl {
public:
  using TControl::TControl;
  void SetCaption(const std::string& caption) override;
  void SetFont(const TFont& font) override;
  // Makes the frame, under the group's controls: the last step of making the group.
  void CreateFrame();

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  HWND FFrame = nullptr;
};

// A picture: an icon drawn with its transparency, or a bitmap drawn from the top-left corner at its own size;
// what it does not cover shows the control's colour.
class TImage : public TControl {
public:
  using TControl::TControl;
  // Takes an icon from the program's resources at the given designed size.
  void LoadIcon(int resource, int size);
  // The bitmap shown, made empty when there is none; the caller repaints with Changed() after drawing.
  TBitmap& EnsureBitmap();
  TBitmap* Picture() const { return FBitmap.get(); }
  void ClearPicture();
  void Changed() { Invalidate(); }

  // Raised while the picture reports loading progress; a bitmap reports none.
  TNotifyEvent OnProgress;

protected:
  void Paint(HDC dc, const RECT& client) override;

private:
  TIconHandle FIcon;
  std::unique_ptr<TBitmap> FBitmap;
};

// One page of a notebook: a container the size of the notebook.
class TPage : public TPanel {
public:
  using TPanel::TPanel;
};

// Pages without tabs, one shown at a time.
class TNotebook : public TControl {
public:
  using TControl::TControl;
  int PageIndex() const { return FPageIndex; }
  // Shows a valid page other than the current one, then runs OnPageChanged; any other value does nothing.
  void SetPageIndex(int index);
  void AddPage(TPage* page);
  // The page shown when the notebook is made, without OnPageChanged.
  void SetDesignedPageIndex(int index);
  int PageCount() const { return static_cast<int>(FPages.size()); }

  TNotifyEvent OnPageChanged;

private:
  std::vector<TPage*> FPages;
  int FPageIndex = -1;
};
