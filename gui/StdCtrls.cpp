#include "gui/StdCtrls.h"

#include <string_view>

#include "gui/ComponentDef.h"

namespace {

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    lines.emplace_back(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
  }
  return lines;
}

}  // namespace

// Button and check box

LRESULT TButtonControl::Notify(UINT code, LPARAM) {
  if (code == BN_CLICKED) Click();
  return 0;
}

void TButton::Configure(const TComponentDef& def, const TLayoutContext&) { SetModalResult(def.ModalResult); }

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

void TComboBox::Configure(const TComponentDef& def, const TLayoutContext& context) {
  SetItems(SplitLines(def.Items));
  OnChange = BindEvent(context.OnEvent, def.OnChange);
}

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

void TGroupBox::ChildrenMade(const TComponentDef&) {
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
