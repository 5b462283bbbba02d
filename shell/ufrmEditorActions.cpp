// The control panel's actions, the toolbar's own buttons and help: each handler makes one call.
#include "shell/ufrmAbout.h"
#include "shell/ufrmEditor.h"

TNotifyHandlers TfrmEditor::NotifyHandlers() {
  const auto run = [this](void (TfrmEditor::*routine)()) { return [this, routine](TObject*) { (this->*routine)(); }; };
  const auto link = [this](void (TSupportServices::*opener)() const) {
    return [this, opener](TObject*) { (SupportServices().*opener)(); };
  };
  return {
      {"FormCreate", [this](TObject* s) { FormCreate(s); }},
      {"FormShow", [this](TObject* s) { FormShow(s); }},
      {"FormDestroy", [this](TObject* s) { FormDestroy(s); }},
      {"actShowOptionsDialogExecute", run(&TfrmEditor::ShowOptionsDialog)},
      {"actExitExecute", run(&TfrmEditor::ExitApplication)},
      {"actRemoveExecute", run(&TfrmEditor::RemoveImage)},
      {"actAddExecute", run(&TfrmEditor::AddImages)},
      {"actRemoveMissingImagesExecute", [this](TObject* s) { actRemoveMissingImagesExecute(s); }},
      // The start-up change lets the tray menu run before the about dialog is made.
      {"actAboutExecute", [](TObject*) { if (frmAbout) frmAbout->ShowModal(); }},
      {"actHelpExecute", [](TObject*) { Application.HelpCommand(HELP_CONTEXT, 522); }},
      {"Help3Click", [](TObject*) { Application.HelpCommand(HELP_CONTEXT, 51); }},
      {"actCheckForUpdateExecute", link(&TSupportServices::OpenDownloadsPage)},
      {"actHomeExecute", link(&TSupportServices::OpenHomePage)},
      {"actSupportExecute", link(&TSupportServices::MailSupport)},
      {"actContactExecute", link(&TSupportServices::MailContact)},
      {"actRemoveAllImagesExecute", run(&TfrmEditor::RemoveAllImages)},
      {"actPlaceImageExecute", run(&TfrmEditor::PlaceImage)},
      {"actMoveUpExecute", run(&TfrmEditor::MoveImageUp)},
      {"actMoveDownExecute", run(&TfrmEditor::MoveImageDown)},
      {"actRequestSupportExecute", link(&TSupportServices::OpenSupportPage)},
      {"actRequestSupportViaEmailExecute", link(&TSupportServices::MailSupport)},
      {"actAnonymousFeedbackExecute", link(&TSupportServices::OpenFeedbackPage)},
      {"actTellAFriendExecute", link(&TSupportServices::OpenTellAFriendPage)},
      {"actClearDesktopExecute", run(&TfrmEditor::ClearDesktop)},
      {"actChangeWallpaperExecute", [this](TObject*) { ChangeWallpaper(nullptr); }},
      {"actControlPanelExecute", run(&TfrmEditor::ShowControlPanel)},
      {"btnUpClick", run(&TfrmEditor::MoveImageUp)},
      {"btnDownClick", run(&TfrmEditor::MoveImageDown)},
      {"btnPutClick", run(&TfrmEditor::PlaceImage)},
  };
}

// Pop-up help goes to WinHelp owned by the control panel, also while it is hidden in the tray; every other
// help command takes its ordinary way.
bool TfrmEditor::ApplicationEventsHelp(UINT command, ULONG_PTR data, bool& callHelp) {
  if (command == HELP_CONTEXTPOPUP) {
    if (static_cast<int32_t>(data) < 0) RaiseRangeError();
    WinHelpCall(Handle(), Application.HelpFile(), HELP_CONTEXTPOPUP, data);
    callHelp = false;
  }
  return true;
}
