#pragma once
// The stored layouts of the program's windows, each beside the events that it binds and its form answers.
#include "gui/FormLayout.h"

enum class TOptionsEvent {
  FormShow, btnOkClick, btnHelpClick, chkChangeOnTimerClick, edtFrequencyExit, cbxTimeMeasureChange, LeftMenuClick,
  nbkOptionsPageChanged,
};
extern const TFormDef frmOptionsLayout;

enum class TAboutEvent { FormShow, lblHomePageClick, lblEmailClick };
extern const TFormDef frmAboutLayout;

enum class TEditorEvent {
  FormCreate, FormShow, FormDestroy,
  actShowOptionsDialogExecute, actExitExecute, actRemoveExecute, actAddExecute, actRemoveMissingImagesExecute,
  actAboutExecute, actHelpExecute, actCheckForUpdateExecute, actHomeExecute, actSupportExecute, actContactExecute,
  actRemoveAllImagesExecute, actPlaceImageExecute, actMoveUpExecute, actMoveDownExecute, actRequestSupportExecute,
  actRequestSupportViaEmailExecute, actAnonymousFeedbackExecute, actTellAFriendExecute, actClearDesktopExecute,
  actChangeWallpaperExecute, actControlPanelExecute,
  // The toolbar's own buttons and the help menu's item without an action.
  btnUpClick, btnDownClick, btnPutClick, Help3Click,
};
extern const TFormDef frmEditorLayout;
