#include <algorithm>
#include <stdexcept>

#include "gui/ColorPicker.h"
#include "gui/Forms.h"

namespace {

const DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

std::unique_ptr<TControl> NewControl(const TComponentDef& def, TControl* parent) {
  switch (def.Kind) {
    case TControlKind::Panel: return std::make_unique<TPanel>(def.Name, parent);
    case TControlKind::Label: return std::make_unique<TLabel>(def.Name, parent);
    case TControlKind::Button: return std::make_unique<TButton>(def.Name, parent);
    case TControlKind::CheckBox: return std::make_unique<TCheckBox>(def.Name, parent);
    case TControlKind::ComboBox: return std::make_unique<TComboBox>(def.Name, parent);
    case TControlKind::Edit: return std::make_unique<TEdit>(def.Name, parent);
    case TControlKind::GroupBox: return std::make_unique<TGroupBox>(def.Name, parent);
    case TControlKind::Notebook: return std::make_unique<TNotebook>(def.Name, parent);
    case TControlKind::Page: return std::make_unique<TPage>(def.Name, parent);
    case TControlKind::Image: return std::make_unique<TImage>(def.Name, parent);
    case TControlKind::ColorPicker: return std::make_unique<TColorPickerButton>(def.Name, parent);
    case TControlKind::VirtualStringTree: return std::make_unique<TVirtualStringTree>(def.Name, parent);
    case TControlKind::ToolBar: return std::make_unique<TToolBar>(def.Name, parent);
  }
  throw std::logic_error("unknown control kind");
}

struct TWindowClass {
  const char* Name;
  DWORD Style;
  DWORD ExStyle;
};

TWindowClass WindowClassOf(TControlKind kind) {
  const DWORD container = WS_CLIPCHILDREN;
  switch (kind) {
    case TControlKind::Panel:
    case TControlKind::Page: return {RegisterControlClass("TPanel"), container, WS_EX_CONTROLPARENT};
    case TControlKind::Label: return {RegisterControlClass("TLabel"), 0, 0};
    case TControlKind::Button: return {"BUTTON", BS_PUSHBUTTON, 0};
    case TControlKind::CheckBox: return {"BUTTON", BS_AUTOCHECKBOX, 0};
    case TControlKind::ComboBox: return {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 0};
    case TControlKind::Edit: return {"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    // The frame lies under the group's controls and paints no inside: the group paints it.
    case TControlKind::GroupBox: return {RegisterControlClass("TGroupBox"), 0, WS_EX_CONTROLPARENT};
    case TControlKind::Notebook: return {RegisterControlClass("TNotebook"), container, WS_EX_CONTROLPARENT};
    case TControlKind::Image: return {RegisterControlClass("TImage"), 0, 0};
    case TControlKind::ColorPicker: return {RegisterControlClass("TColorPickerButton", CS_DBLCLKS), 0, 0};
    case TControlKind::VirtualStringTree:
      return {TVirtualStringTree::WindowClass(), TVirtualStringTree::WindowStyle(), WS_EX_STATICEDGE};
    case TControlKind::ToolBar: return {TToolBar::WindowClass(), TToolBar::WindowStyle(), 0};
  }
  throw std::logic_error("unknown control kind");
}

RECT ScaledBounds(const TBounds& bounds) {
  const int left = ScaleToScreen(bounds.Left);
  const int top = ScaleToScreen(bounds.Top);
  return {left, top, left + ScaleToScreen(bounds.Width), top + ScaleToScreen(bounds.Height)};
}

// Maximised, a window covers its monitor's work area with only its sizing frame beyond the edges, as every
// other window does. The system's default counts a pop-up window's menu bar as frame too, which would push
// the title bar off the top of the screen.
void MaximiseOverWorkArea(HWND window, MINMAXINFO& info) {
  MONITORINFO monitor{.cbSize = sizeof monitor};
  if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  RECT client{};
  AdjustWindowRectEx(&client, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)));
  const int frame = client.bottom;  // below the client area lies nothing but the frame
  const RECT& work = monitor.rcWork;
  // The position counts from the monitor's corner.
  info.ptMaxPosition = {work.left - monitor.rcMonitor.left - frame, work.top - monitor.rcMonitor.top - frame};
  info.ptMaxSize = {work.right - work.left + 2 * frame, work.bottom - work.top + 2 * frame};
}

}  // namespace

TForm::TForm(const TFormDef& layout) : TControl(layout.Name, nullptr) { Build(layout); }

void TForm::OnEvent(TEventId, TObject*) {}

HWND TForm::ParentWindow() const { return Application.Handle(); }

TForm::~TForm() {
  // The windows go first, children with their parent, while every control object is still there. The menu
  // bar is the form's to destroy, not the window's.
  if (HWND window = Handle()) {
    SetMenu(window, nullptr);
    DestroyWindow(window);
  }
}

void TFormDeleter::operator()(TForm* form) const {
  try {
    form->DoDestroy();
  } catch (...) {
    Application.HandleCurrentException();
  }
  delete form;
}

void TForm::Build(const TFormDef& layout) {
  SetFont(layout.Font);
  SetColor(layout.Color);
  FMinSize = {0, 0, ScaleToScreen(layout.MinSize.Width), ScaleToScreen(layout.MinSize.Height)};
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  DWORD exStyle = WS_EX_CONTROLPARENT;
  if (layout.BorderStyle == TBorderStyle::Dialog) {
    exStyle |= WS_EX_DLGMODALFRAME;
    if (layout.HelpButton) exStyle |= WS_EX_CONTEXTHELP;
  } else {
    style |= WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  }
  if (layout.StayOnTop) exStyle |= WS_EX_TOPMOST;
  RECT bounds{0, 0, ScaleToScreen(layout.Bounds.Width), ScaleToScreen(layout.Bounds.Height)};
  if (layout.ClientSize) AdjustWindowRectEx(&bounds, style, *layout.Menu != '\0', exStyle);
  OffsetRect(&bounds, layout.Bounds.Left - bounds.left, layout.Bounds.Top - bounds.top);
  CreateHandle(RegisterControlClass("TForm", CS_DBLCLKS), layout.Caption, style, exStyle, bounds);

  BuildNonVisual(layout);
  BuildChildren(layout, this, "");
  PlaceWindow(layout);
  OnCreate = BindEvent(FOnEvent, layout.OnCreate);
  OnShow = BindEvent(FOnEvent, layout.OnShow);
  OnDestroy = BindEvent(FOnEvent, layout.OnDestroy);
}

void TForm::PlaceWindow(const TFormDef& layout) {
  if (layout.Position != TPosition::ScreenCenter) return;
  RECT window;
  GetWindowRect(Handle(), &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A parent's children are made in tab order, which is their order for the Tab key; the others follow.
void TForm::BuildChildren(const TFormDef& layout, TControl* parent, std::string_view parentName) {
  std::vector<const TComponentDef*> children;
  for (const TComponentDef& def : layout.Components) {
    if (parentName == def.Parent) children.push_back(&def);
  }
  std::stable_sort(children.begin(), children.end(), [](const TComponentDef* a, const TComponentDef* b) {
    return static_cast<unsigned>(a->TabOrder) < static_cast<unsigned>(b->TabOrder);
  });
  for (const TComponentDef* def : children) {
    TControl& control = BuildComponent(*def, parent);
    BuildChildren(layout, &control, def->Name);
    control.ChildrenMade(*def);
  }
  parent->Realign();
}

TControl& TForm::BuildComponent(const TComponentDef& def, TControl* parent) {
  std::unique_ptr<TControl> owned = NewControl(def, parent);
  TControl& control = *owned;
  FComponents.push_back(std::move(owned));
  FByName[def.Name] = &control;

  if (def.Font) control.SetFont(*def.Font);
  if (def.Color != clParentColor) control.SetColor(def.Color);
  const TWindowClass windowClass = WindowClassOf(def.Kind);
  RECT bounds = ScaledBounds(def.Bounds);
  if (def.Kind == TControlKind::ComboBox) bounds.bottom += ScaleToScreen(200);  // room for the rows
  const bool focusable = def.Kind == TControlKind::Button || def.Kind == TControlKind::CheckBox ||
                         def.Kind == TControlKind::ComboBox || def.Kind == TControlKind::Edit ||
                         def.Kind == TControlKind::VirtualStringTree;
  const DWORD tabStop = focusable && def.TabOrder >= 0 ? WS_TABSTOP : 0;
  control.CreateHandle(windowClass.Name, def.Caption, kChild | windowClass.Style | tabStop, windowClass.ExStyle,
                       bounds);

  control.SetTag(def.Tag);
  control.SetAlign(def.Align);
  control.SetCursor(def.Cursor);
  control.SetHelpContext(def.HelpContext);
  control.SetHelpKeyword(def.HelpKeyword);
  control.OnClick = BindEvent(FOnEvent, def.OnClick);
  control.OnExit = BindEvent(FOnEvent, def.OnExit);
  if (*def.PopupMenu) control.SetPopupMenu(&Menu(def.PopupMenu));

  control.Configure(def, {FOnEvent, FActionList, *def.Images ? &ImageList(def.Images) : nullptr});
  return control;
}

TControl* TForm::FindComponent(std::string_view name) const {
  const auto found = FByName.find(name);
  return found == FByName.end() ? nullptr : found->second;
}

void TForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TForm::DoDestroy() {
  if (OnDestroy) OnDestroy(this);
}

void TForm::Show() {
  if (Visible()) {
    BringToFront();
    return;
  }
  if (OnShow) OnShow(this);
  ShowWindow(Handle(), SW_SHOW);
  // Under Wine, children shown or hidden while the window was hidden keep stale pixels until repainted.
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  BringToFront();
}

void TForm::Hide() { ShowWindow(Handle(), SW_HIDE); }

void TForm::BringToFront() {
  SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(Handle());
  SetActiveWindow(Handle());
}

bool TForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TForm::Close() {
  if (FModal) {
    if (CloseQuery()) FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  if (this == Application.MainForm()) {
    Application.Terminate();
  } else {
    Hide();
  }
}

int TForm::ShowModal() {
  if (Visible() || FModal) throw Exception("Cannot make a visible window modal");
  HWND previous = GetActiveWindow();
  if (GetCapture()) ReleaseCapture();
  std::vector<HWND> disabled;
  for (HWND window : ThreadWindows()) {
    if (IsWindowVisible(window) && IsWindowEnabled(window)) {
      EnableWindow(window, FALSE);
      disabled.push_back(window);
    }
  }
  FModal = true;
  FModalResult = mrNone;
  auto restore = [&] {
    FModal = false;
    for (HWND window : disabled) EnableWindow(window, TRUE);
    Hide();
    if (previous && IsWindow(previous)) SetActiveWindow(previous);
  };
  try {
    Show();
    while (FModalResult == mrNone) {
      Application.HandleMessage();
      if (Application.Terminated()) FModalResult = mrCancel;
    }
  } catch (...) {
    restore();
    throw;
  }
  restore();
  return FModalResult;
}

void TForm::ControlFocused(TControl* control) {
  TControl* previous = std::exchange(FActiveControl, control);
  if (previous && previous != control) previous->DoExit();
}

void TForm::ShowControlHelp(const HELPINFO& info) {
  if (info.iContextType != HELPINFO_WINDOW) return;
  TControl* control = TControl::FromHandle(static_cast<HWND>(info.hItemHandle));
  while (control && control->HelpContext() == 0 && control->HelpKeyword().empty()) control = control->Parent();
  if (!control) return;
  if (!control->HelpKeyword().empty()) {
    Application.HelpKeyword(control->HelpKeyword());
    return;
  }
  const RECT bounds = control->BoundsRect();
  POINT corner{bounds.left, bounds.top};
  ClientToScreen(GetParent(control->Handle()), &corner);
  Application.HelpCommand(HELP_SETPOPUP_POS, static_cast<ULONG_PTR>(MAKELONG(corner.x, corner.y)));
  Application.HelpCommand(HELP_CONTEXTPOPUP, static_cast<ULONG_PTR>(control->HelpContext()));
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_COMMAND:
      if (lParam == 0) {  // a menu bar's item; Enter and Esc from the dialog keys: no button is default or cancel
        if (HIWORD(wParam) == 0 && FMainMenu) FMainMenu->DispatchCommand(LOWORD(wParam));
        return 0;
      }
      break;
    case WM_MEASUREITEM:
      if (auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam); measure->CtlType == ODT_MENU) {
        TMenu::OfItemData(measure->itemData)->MeasureItem(*measure);
        return TRUE;
      }
      break;
    case WM_DRAWITEM:
      if (auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam); draw->CtlType == ODT_MENU) {
        TMenu::OfItemData(draw->itemData)->DrawItem(*draw);
        return TRUE;
      }
      break;
    case WM_HELP:
      ShowControlHelp(*reinterpret_cast<const HELPINFO*>(lParam));
      return TRUE;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      if (FMinSize.Width > 0) info->ptMinTrackSize = {FMinSize.Width, FMinSize.Height};
      MaximiseOverWorkArea(Handle(), *info);
      return 0;
    }
    case WM_SYSCOMMAND:
      // The main form's minimise box minimises the application, which hides its windows into the tray.
      if ((wParam & 0xFFF0) == SC_MINIMIZE && this == Application.MainForm()) {
        Application.Minimize();
        return 0;
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        HWND focus = FActiveControl ? FActiveControl->Handle() : GetNextDlgTabItem(Handle(), nullptr, FALSE);
        if (focus && IsWindowEnabled(focus) && IsWindowVisible(focus)) ::SetFocus(focus);
        return 0;
      }
      break;
    default:
      break;
  }
  return TControl::WndProc(message, wParam, lParam);
}
