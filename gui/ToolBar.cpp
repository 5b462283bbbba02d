#include "gui/ToolBar.h"

#include <commctrl.h>

#include "system/SysUtils.h"

namespace {

// The etched edge around the buttons.
constexpr int kBorder = 2;
constexpr int kFirstCommand = 1;

}  // namespace

TToolButton::TToolButton(TToolBar& toolBar, const TToolButtonDef& def, TAction* action, TNotifyEvent onClick,
                         int command)
    : FToolBar(toolBar), FName(def.Name), FCaption(*def.Caption || !action ? def.Caption : action->Caption()),
      FHint(def.Hint), FAction(action), FOnClick(std::move(onClick)), FCommand(command), FSeparator(def.Separator) {}

bool TToolButton::Enabled() const {
  return SendMessageA(FToolBar.Handle(), TB_ISBUTTONENABLED, static_cast<WPARAM>(FCommand), 0) != 0;
}

void TToolButton::SetEnabled(bool enabled) {
  SendMessageA(FToolBar.Handle(), TB_ENABLEBUTTON, static_cast<WPARAM>(FCommand), MAKELONG(enabled, 0));
}

RECT TToolButton::BoundsRect() const {
  RECT rect{};
  SendMessageA(FToolBar.Handle(), TB_GETRECT, static_cast<WPARAM>(FCommand), reinterpret_cast<LPARAM>(&rect));
  return rect;
}

void TToolButton::Click() { ExecuteOrClick(FAction, FOnClick, this); }

const char* TToolBar::WindowClass() { return TOOLBARCLASSNAMEA; }

DWORD TToolBar::WindowStyle() {
  return TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
}

void TToolBar::Configure(const TComponentDef& layout, const TLayoutContext& context) {
  const TImageList* images = context.Images;
  // The buttons' commands come back to the toolbar itself, which knows its buttons.
  SendMessageA(Handle(), TB_SETPARENT, reinterpret_cast<WPARAM>(Handle()), 0);
  SendMessageA(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  if (images) SendMessageA(Handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images->Handle()));
  std::vector<TBBUTTON> items;
  int command = kFirstCommand;
  for (const TToolButtonDef& def : layout.Buttons) {
    TAction* action = context.Actions.Bound(def.Action);
    FButtons.push_back(std::make_unique<TToolButton>(*this, def, action, BindEvent(context.OnEvent, def.OnClick), command++));
    const TToolButton& button = *FButtons.back();
    TBBUTTON item{};
    item.idCommand = button.Command();
    if (def.Separator) {
      item.iBitmap = ScaleToScreen(def.Width);
      item.fsStyle = BTNS_SEP;
    } else {
      const int image = def.ImageIndex >= 0 || !action ? def.ImageIndex : action->ImageIndex();
      item.iBitmap = images && images->HasPicture(image) ? image : I_IMAGENONE;
      item.fsState = TBSTATE_ENABLED;
      item.fsStyle = BTNS_BUTTON;
      item.iString = reinterpret_cast<INT_PTR>(button.Caption().c_str());
    }
    items.push_back(item);
  }
  SendMessageA(Handle(), TB_ADDBUTTONSA, items.size(), reinterpret_cast<LPARAM>(items.data()));
  const int width = ScaleToScreen(52);
  SendMessageA(Handle(), TB_SETBUTTONWIDTH, 0, MAKELONG(width, width));
  SendMessageA(Handle(), TB_SETBUTTONSIZE, 0, MAKELONG(width, ScaleToScreen(44)));
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

TToolButton& TToolBar::Button(std::string_view name) const {
  for (const auto& button : FButtons) {
    if (button->Name() == name) return *button;
  }
  throw Exception(Format("Button %.*s not found", static_cast<int>(name.size()), name.data()));
}

TToolButton* TToolBar::ButtonOf(UINT_PTR command) const {
  for (const auto& button : FButtons) {
    if (static_cast<UINT_PTR>(button->Command()) == command) return button.get();
  }
  return nullptr;
}

LRESULT TToolBar::TipText(NMHDR& header) {
  const TToolButton* button = ButtonOf(header.idFrom);
  if (!button) return 0;
  if (header.code == TTN_GETDISPINFOA) {
    reinterpret_cast<NMTTDISPINFOA&>(header).lpszText = const_cast<char*>(button->Hint().c_str());
  } else {
    auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
    MultiByteToWideChar(CP_ACP, 0, button->Hint().c_str(), -1, info.szText, static_cast<int>(std::size(info.szText)));
    info.szText[std::size(info.szText) - 1] = L'\0';
    info.lpszText = info.szText;
  }
  return 0;
}

void TToolBar::PaintBorder() {
  TWindowDc dc(Handle());
  RECT rect;
  GetWindowRect(Handle(), &rect);
  OffsetRect(&rect, -rect.left, -rect.top);
  DrawEdge(dc.Handle(), &rect, EDGE_ETCHED, BF_RECT);
}

LRESULT TToolBar::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == Handle()) {
        if (TToolButton* button = ButtonOf(LOWORD(wParam))) button->Click();
        return 0;
      }
      break;
    case WM_NOTIFY: {
      auto& header = *reinterpret_cast<NMHDR*>(lParam);
      if (header.code == TTN_GETDISPINFOA || header.code == TTN_GETDISPINFOW) return TipText(header);
      if (header.hwndFrom == Handle()) return 0;  // its own notices, sent to itself as their parent
      break;
    }
    case WM_NCCALCSIZE: {
      const LRESULT result = TControl::WndProc(message, wParam, lParam);
      RECT& client = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : *reinterpret_cast<RECT*>(lParam);
      InflateRect(&client, -kBorder, -kBorder);
      return result;
    }
    case WM_NCPAINT: {
      const LRESULT result = TControl::WndProc(message, wParam, lParam);
      PaintBorder();
      return result;
    }
    default:
      break;
  }
  return TControl::WndProc(message, wParam, lParam);
}
