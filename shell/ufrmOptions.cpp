#include "shell/ufrmOptions.h"

#include <algorithm>
#include <string_view>

#include "engine/uGraphics.h"
#include "engine/uWallPaper.h"
#include "forms/Layouts.h"
#include "gui/Dialogs.h"
#include "settings/uOptions.h"

TfrmOptions* frmOptions = nullptr;

namespace {

constexpr int32_t kMultipliers[] = {1, 60, 3600};

// A whole number too long for 32 bits: digits only, after an optional plus sign.
bool IsOverlongNumber(std::string_view text) {
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Why the timer cannot run the period that text stands for in the unit row of units, or empty text when it
// can; without a unit row the period is 120 whatever the number.
std::string PeriodRefusal(const std::string& text, const TComboBox& units) {
  int32_t number = 0;
  // A number too long for 32 bits is too large, any other text that is no whole number too small.
  if (!TryStrToInt(text, number)) number = IsOverlongNumber(text) ? INT32_MAX : 0;
  if (number < 1) return "Value must be 1 or more.";
  const int unitRow = units.ItemIndex();
  if (unitRow < tmSeconds || unitRow > tmHours) return {};
  const int32_t largest = kMaxChangeFrequency / kMultipliers[unitRow];
  if (number <= largest) return {};
  return Format("Value must be %d %s or less.", largest, LowerCase(units.Item(unitRow)).c_str());
}

}  // namespace

TfrmOptions::TfrmOptions()
    : TForm(frmOptionsLayout),
      nbkOptions(Component<TNotebook>("nbkOptions")),
      lblGeneral(Component<TLabel>("lblGeneral")),
      lblWallpaper(Component<TLabel>("lblWallpaper")),
      imgGeneral(Component<TImage>("imgGeneral")),
      imgWallpaper(Component<TImage>("imgWallpaper")),
      chkRunAtStartup(Component<TCheckBox>("chkRunAtStartup")),
      chkMinimizeToSystemTray(Component<TCheckBox>("chkMinimizeToSystemTray")),
      chkMinimizeControlPanelOnClickX(Component<TCheckBox>("chkMinimizeControlPanelOnClickX")),
      cbxDoubleClickAction(Component<TComboBox>("cbxDoubleClickAction")),
      chkChangeOnTimer(Component<TCheckBox>("chkChangeOnTimer")),
      lblChangeEvery(Component<TLabel>("lblChangeEvery")),
      edtFrequency(Component<TEdit>("edtFrequency")),
      cbxTimeMeasure(Component<TComboBox>("cbxTimeMeasure")),
      chkChangeWallpaperOnStartup(Component<TCheckBox>("chkChangeWallpaperOnStartup")),
      chkShuffleWallpaper(Component<TCheckBox>("chkShuffleWallpaper")),
      cbxWallpaperStyle(Component<TComboBox>("cbxWallpaperStyle")),
      clpBackgroundColor(Component<TColorPickerButton>("clpBackgroundColor")),
      btnOk(Component<TButton>("btnOk")),
      btnCancel(Component<TButton>("btnCancel")),
      btnHelp(Component<TButton>("btnHelp")) {}

void TfrmOptions::OnEvent(TEventId event, TObject* sender) {
  switch (event.As<TOptionsEvent>()) {
    case TOptionsEvent::FormShow: FormShow(sender); break;
    case TOptionsEvent::btnOkClick: btnOkClick(sender); break;
    case TOptionsEvent::btnHelpClick: btnHelpClick(sender); break;
    case TOptionsEvent::chkChangeOnTimerClick: chkChangeOnTimerClick(sender); break;
    case TOptionsEvent::edtFrequencyExit: edtFrequencyExit(sender); break;
    case TOptionsEvent::cbxTimeMeasureChange: cbxTimeMeasureChange(sender); break;
    case TOptionsEvent::LeftMenuClick: LeftMenuClick(sender); break;
    case TOptionsEvent::nbkOptionsPageChanged: nbkOptionsPageChanged(sender); break;
  }
}

void TfrmOptions::FormShow(TObject*) {
  ShowWindow(Application.Handle(), SW_HIDE);
  LoadOptions();
  nbkOptions.SetPageIndex(0);
  SetMenuItemActive(&lblGeneral, true);
  SetMenuItemActive(&imgGeneral, true);
}

// A stored value that cannot be read (a string where a number belongs) must not lock the user out of the one
// place that repairs it: its default is shown, and OK stores every control with its right type.
void TfrmOptions::LoadOptions() {
  TOptions options;
  std::string unreadable;  // one line per value
  const auto read = [&](auto getter, auto defaultValue) {
    try {
      return (options.*getter)();
    } catch (const ERegistryException& e) {
      unreadable += e.Message() + ".\n";
      return defaultValue;
    }
  };
  SetFrequencyControls(read(&TOptions::GetChangeFrequency, kDefaultChangeFrequency));
  chkChangeOnTimer.SetChecked(read(&TOptions::GetChangeOnTimer, kDefaultChangeOnTimer));
  EnableFrequencyControls(chkChangeOnTimer.Checked());
  chkRunAtStartup.SetChecked(options.GetRunAtStartup());
  chkMinimizeToSystemTray.SetChecked(read(&TOptions::GetMinimizeToSystemTray, kDefaultMinimizeToSystemTray));
  cbxDoubleClickAction.SetItemIndex(read(&TOptions::GetClickAction, kDefaultClickAction));
  chkChangeWallpaperOnStartup.SetChecked(
      read(&TOptions::GetChangeWallpaperOnStartup, kDefaultChangeWallpaperOnStartup));
  chkShuffleWallpaper.SetChecked(read(&TOptions::GetShuffleWallpaper, kDefaultShuffleWallpaper));
  cbxWallpaperStyle.SetItemIndex(read(&TOptions::GetWallpaperStyle, kDefaultWallpaperStyle));
  clpBackgroundColor.SetSelectionColor(GetDesktopColor());
  chkMinimizeControlPanelOnClickX.SetChecked(
      read(&TOptions::GetMinimizeControlPanelOnClickX, kDefaultMinimizeControlPanelOnClickX));
  if (!unreadable.empty())
    MessageDlg(unreadable + "\nThe dialog shows the default instead; OK stores what it shows.", TMsgDlgType::Information);
}

void TfrmOptions::SaveOptions() {
  TOptions options;
  options.SetChangeFrequency(GetFrequencySeconds());
  options.SetChangeOnTimer(chkChangeOnTimer.Checked());
  options.SetRunAtStartup(chkRunAtStartup.Checked());
  options.SetMinimizeToSystemTray(chkMinimizeToSystemTray.Checked());
  options.SetClickAction(cbxDoubleClickAction.ItemIndex());
  options.SetChangeWallpaperOnStartup(chkChangeWallpaperOnStartup.Checked());
  options.SetShuffleWallpaper(chkShuffleWallpaper.Checked());
  options.SetWallpaperStyle(cbxWallpaperStyle.ItemIndex());
  const TColor color = clpBackgroundColor.SelectionColor();
  options.SetBreakColor(color);
  ApplyDesktopColor(color);
  options.SetMinimizeControlPanelOnClickX(chkMinimizeControlPanelOnClickX.Checked());
}

void TfrmOptions::SetFrequencyControls(int32_t seconds) {
  if (seconds % 3600 == 0) {
    edtFrequency.SetText(IntToStr(seconds / 3600));
    cbxTimeMeasure.SetItemIndex(tmHours);
  } else if (seconds % 60 != 0) {
    edtFrequency.SetText(IntToStr(seconds));
    cbxTimeMeasure.SetItemIndex(tmSeconds);
  } else {
    edtFrequency.SetText(IntToStr(seconds / 60));
    cbxTimeMeasure.SetItemIndex(tmMinutes);
  }
}

void TfrmOptions::EnableFrequencyControls(bool enabled) {
  lblChangeEvery.SetEnabled(enabled);
  edtFrequency.SetEnabled(enabled);
  cbxTimeMeasure.SetEnabled(enabled);
}

// A period that the timer cannot run (below 1 second, or beyond the largest interval) is never stored: the
// stored period comes back into the controls, as it does for text that is no number.
int32_t TfrmOptions::GetFrequencySeconds() {
  int32_t number = 0;
  if (!TryStrToInt(edtFrequency.Text(), number) || !PeriodRefusal(edtFrequency.Text(), cbxTimeMeasure).empty()) {
    TOptions options;
    SetFrequencyControls(options.GetChangeFrequency());
    number = StrToInt(edtFrequency.Text());
  }
  const int unitRow = cbxTimeMeasure.ItemIndex();
  if (unitRow < tmSeconds || unitRow > tmHours) return 120;
  return WrappingMultiply(number, kMultipliers[unitRow]);
}

TColor TfrmOptions::GetDesktopColor() { return ColorRefToColor(GetSysColor(COLOR_BACKGROUND)); }

void TfrmOptions::ApplyDesktopColor(TColor color) {
  if (GetDesktopColor() == color) return;
  if (color < 0) RaiseRangeError();
  const INT element = COLOR_BACKGROUND;
  const COLORREF value = static_cast<COLORREF>(color);
  SetSysColors(1, &element, &value);
  TWallpaperChanger::StoreDesktopColor(color);
}

void TfrmOptions::SetMenuItemActive(TControl* control, bool active) {
  if (!control) return;
  if (auto* label = dynamic_cast<TLabel*>(control)) {
    TFont font = label->Font();
    font.Color = active ? clBlack : clBlue;
    label->SetFont(font);
  }
  control->SetCursor(active ? TCursor::Default : TCursor::HandPoint);
}

void TfrmOptions::nbkOptionsPageChanged(TObject* sender) {
  auto* notebook = dynamic_cast<TNotebook*>(sender);
  if (!notebook || notebook->PageIndex() < 0 || notebook->PageIndex() > 1) return;
  const bool general = notebook->PageIndex() == 0;
  SetMenuItemActive(&lblGeneral, general);
  SetMenuItemActive(&lblWallpaper, !general);
  SetMenuItemActive(&imgGeneral, general);
  SetMenuItemActive(&imgWallpaper, !general);
}

void TfrmOptions::LeftMenuClick(TObject* sender) {
  if (auto* control = dynamic_cast<TControl*>(sender)) nbkOptions.SetPageIndex(control->Tag() - 1);
}

void TfrmOptions::chkChangeOnTimerClick(TObject* sender) {
  if (auto* box = dynamic_cast<TCheckBox*>(sender)) EnableFrequencyControls(box->Checked());
}

bool TfrmOptions::PeriodAccepted() {
  const std::string refusal = PeriodRefusal(edtFrequency.Text(), cbxTimeMeasure);
  if (refusal.empty()) return true;
  MessageDlg(refusal, TMsgDlgType::Information);
  nbkOptions.SetPageIndex(1);  // OK is pressed on either page
  edtFrequency.SetFocus();
  return false;
}

// Cancel stores nothing, so it leaves without the check, whatever the field holds.
void TfrmOptions::edtFrequencyExit(TObject* sender) {
  if (dynamic_cast<TEdit*>(sender) && !btnCancel.Focused()) PeriodAccepted();
}

void TfrmOptions::cbxTimeMeasureChange(TObject*) { PeriodAccepted(); }

// Disabled period controls cannot be mended: their period is kept as stored instead of refused.
void TfrmOptions::btnOkClick(TObject*) {
  if (edtFrequency.Enabled() && !PeriodAccepted()) return;
  try {
    SaveOptions();
  } catch (...) {
    SetModalResult(mrOk);
    throw;
  }
  SetModalResult(mrOk);
}

void TfrmOptions::btnHelpClick(TObject*) { Application.HelpCommand(HELP_CONTEXT, 50); }
