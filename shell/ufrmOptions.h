#pragma once
// The options dialog: every option that the user sets, read afresh at each showing and written back by OK.
#include <cstdint>

#include "gui/ColorPicker.h"
#include "gui/Forms.h"

// The unit of the change period, as the row of the unit list.
using TTimeMeasure = int32_t;
constexpr TTimeMeasure tmSeconds = 0;
constexpr TTimeMeasure tmMinutes = 1;
constexpr TTimeMeasure tmHours = 2;

// The longest period whose interval in milliseconds fits a signed 32-bit number.
constexpr int32_t kMaxChangeFrequency = 2147483;

class TfrmOptions : public TForm {
public:
  TfrmOptions();

  void LoadOptions();
  void SaveOptions();
  void SetFrequencyControls(int32_t seconds);
  void EnableFrequencyControls(bool enabled);
  int32_t GetFrequencySeconds();
  static TColor GetDesktopColor();
  static void ApplyDesktopColor(TColor color);
  static void SetMenuItemActive(TControl* control, bool active);

  TNotebook& nbkOptions;
  TLabel& lblGeneral;
  TLabel& lblWallpaper;
  TImage& imgGeneral;
  TImage& imgWallpaper;
  TCheckBox& chkRunAtStartup;
  TCheckBox& chkMinimizeToSystemTray;
  TCheckBox& chkMinimizeControlPanelOnClickX;
  TComboBox& cbxDoubleClickAction;
  TCheckBox& chkChangeOnTimer;
  TLabel& lblChangeEvery;
  TEdit& edtFrequency;
  TComboBox& cbxTimeMeasure;
  TCheckBox& chkChangeWallpaperOnStartup;
  TCheckBox& chkShuffleWallpaper;
  TComboBox& cbxWallpaperStyle;
  TColorPickerButton& clpBackgroundColor;
  TButton& btnOk;
  TButton& btnCancel;
  TButton& btnHelp;

protected:
  void OnEvent(TEventId event, TObject* sender) override;

private:
  // Shows why the timer cannot run the period that the two controls show, and puts the focus back into the
  // field; true when it can.
  bool PeriodAccepted();
  void FormShow(TObject* sender);
  void btnOkClick(TObject* sender);
  void btnHelpClick(TObject* sender);
  void chkChangeOnTimerClick(TObject* sender);
  void edtFrequencyExit(TObject* sender);
  void cbxTimeMeasureChange(TObject* sender);
  void LeftMenuClick(TObject* sender);
  void nbkOptionsPageChanged(TObject* sender);
};

extern TfrmOptions* frmOptions;
