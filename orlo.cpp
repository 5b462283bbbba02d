// The program's main block: one instance, the three windows, then the message loop until the control panel
// closes.
#include <windows.h>

#include "platform/Forms.h"
#include "settings/uOptions.h"
#include "shell/uOneInstance32.h"
#include "shell/ufrmAbout.h"
#include "shell/ufrmEditor.h"
#include "shell/ufrmOptions.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    if (!IsFirstInstance()) return 0;
    Application.Initialize();
    Application.CreateForm(frmEditor);
    Application.CreateForm(frmOptions);
    Application.CreateForm(frmAbout);
    {
      TOptions options;
      if (options.GetMinimizeToSystemTray()) {
        Application.Minimize();
        Application.SetShowMainForm(false);
      }
    }
    Application.Run();
    Application.DestroyForms();
  } catch (...) {
    Application.HandleCurrentException();
    return 1;
  }
  return 0;
}
