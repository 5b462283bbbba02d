#include "platform/Dialogs.h"

#include <windows.h>

#include "platform/Forms.h"

int MessageDlg(const std::string& text, TMsgDlgType type) {
  HWND owner = GetActiveWindow();
  if (!owner) owner = Application.Handle();
  if (type == TMsgDlgType::Confirmation) {
    return MessageBoxA(owner, text.c_str(), "Confirm", MB_YESNO | MB_ICONQUESTION) == IDYES ? mrYes : mrNo;
  }
  MessageBoxA(owner, text.c_str(), "Information", MB_OK | MB_ICONINFORMATION);
  return mrOk;
}
