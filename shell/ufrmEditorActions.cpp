// The control panel's events: its life, the actions, the toolbar's own buttons and help, each one call.
#include "forms/Layouts.h"
#include "shell/ufrmAbout.h"
#include "shell/ufrmEditor.h"

void TfrmEditor::OnEvent(TEventId event, TObject* sender) {
  switch (event.As<TEditorEvent>()) {
    case TEditorEvent::FormCreate: FormCreate(sender); break;
    case TEditorEvent::FormShow: FormShow(sender); break;
    case TEditorEvent::FormDestroy: FormDestroy(sender); break;
    case TEditorEvent::actShowOptionsDialogExecute: ShowOptionsDialog(); break;
    case TEditorEvent::actExitExecute: ExitApplication(); break;
    case TEditorEvent::actRemoveExecute: RemoveImage(); break;
    case TEditorEvent::actAddExecute: AddImages(); break;
    case TEditorEvent::actRemoveMissingImagesExecute: actRemoveMissingImagesExecute(sender); break;
    case TEditorEvent::actAboutExecute:
      if (frmAbout) frmAbout->ShowModal();  // the start-up change lets the tray menu run before it is made
      break;
    case TEditorEvent::actHelpExecute: Application.HelpCommand(HELP_CONTEXT, 522); break;
    case TEditorEvent::actCheckForUpdateExecute: SupportServices().OpenDownloadsPage(); break;
    case TEditorEvent::actHomeExecute: SupportServices().OpenHomePage(); break;
    case TEditorEvent::actSupportExecute: SupportServices().MailSupport(); break;
    case TEditorEvent::actContactExecute: SupportServices().MailContact(); break;
    case TEditorEvent::actRemoveAllImagesExecute: RemoveAllImages(); break;
    case TEditorEvent::actPlaceImageExecute: PlaceImage(); break;
    case TEditorEvent::actMoveUpExecute: MoveImageUp(); break;
    case TEditorEvent::actMoveDownExecute: MoveImageDown(); break;
    case TEditorEvent::actRequestSupportExecute: SupportServices().OpenSupportPage(); break;
    case TEditorEvent::actRequestSupportViaEmailExecute: SupportServices().MailSupport(); break;
    case TEditorEvent::actAnonymousFeedbackExecute: SupportServices().OpenFeedbackPage(); break;
    case TEditorEvent::actTellAFriendExecute: SupportServices().OpenTellAFriendPage(); break;
    case TEditorEvent::actClearDesktopExecute: ClearDesktop(); break;
    case TEditorEvent::actChangeWallpaperExecute: ChangeWallpaper(nullptr); break;
    case TEditorEvent::actControlPanelExecute: ShowControlPanel(); break;
    case TEditorEvent::btnUpClick: MoveImageUp(); break;
    case TEditorEvent::btnDownClick: MoveImageDown(); break;
    case TEditorEvent::btnPutClick: PlaceImage(); break;
    case TEditorEvent::Help3Click: Application.HelpCommand(HELP_CONTEXT, 51); break;
  }
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
