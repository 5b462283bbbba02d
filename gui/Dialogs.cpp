#include "gui/Dialogs.h"

#include <windows.h>

#include "system/FileUtils.h"
#include "gui/Forms.h"

int MessageDlg(const std::string& text, TMsgDlgType type) { return MessageDlg(Widened(text), type); }

int MessageDlg(const std::wstring& text, TMsgDlgType type) {
  HWND owner = GetActiveWindow();
  if (!owner) owner = Application.Handle();
  switch (type) {
    case TMsgDlgType::Confirmation:
      return MessageBoxW(owner, text.c_str(), L"Confirm", MB_YESNO | MB_ICONQUESTION) == IDYES ? mrYes : mrNo;
    case TMsgDlgType::Warning:
      MessageBoxW(owner, text.c_str(), L"Warning", MB_OK | MB_ICONWARNING);
      break;
    case TMsgDlgType::Information:
      MessageBoxW(owner, text.c_str(), L"Information", MB_OK | MB_ICONINFORMATION);
      break;
  }
  return mrOk;
}
