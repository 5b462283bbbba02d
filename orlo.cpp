// The program's main block: one instance, the three windows, then the message loop until the control panel
// closes.
#include <windows.h>

#include "gui/Forms.h"
#include "settings/uOptions.h"
#include "shell/uOneInstance32.h"
#include "shell/ufrmAbout.h"
#include "shell/ufrmEditor.h"
#include "shell/ufrmOptions.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int exitCode = 0;
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
  } catch (...) {
    Application.HandleCurrentException();
    exitCode = 1;
  }
  // Also after a failure: the control panel stores the position and the collection while the program is whole.
  Application.DestroyForms();
  return exitCode;
}
