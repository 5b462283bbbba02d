// The control panel's life: creation, showing, the close rule, destruction, and the scheduling of changes.
#include "shell/ufrmEditor.h"

#include "engine/uChangeRules.h"
#include "forms/Layouts.h"
#include "forms/Resources.h"
#include "gui/Dialogs.h"
#include "system/FileUtils.h"
#include "shell/ufrmOptions.h"

TfrmEditor* frmEditor = nullptr;

namespace {

HICON SmallProgramIcon() {
  return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON,
                                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

// A creation step whose failure must not cost the steps after it: the failure is said, and creation goes on.
template <class Step>
void SayFailure(Step step) {
  try {
    step();
  } catch (...) {
    Application.HandleCurrentException();
  }
}

}  // namespace

TfrmEditor::TfrmEditor()
    : TForm(frmEditorLayout),
      vstWallpapers(Component<TVirtualStringTree>("vstWallpapers")),
      imgPreview(Component<TImage>("imgPreview")),
      lblFileName(Component<TLabel>("lblFileName")),
      lblFileType(Component<TLabel>("lblFileType")),
      lblSizes(Component<TLabel>("lblSizes")),
      lblSize(Component<TLabel>("lblSize")),
      lblChanged(Component<TLabel>("lblChanged")),
      tbrMain(Component<TToolBar>("tbrMain")),
      btnUp(tbrMain.Button("btnUp")),
      btnDown(tbrMain.Button("btnDown")),
      btnRemove(tbrMain.Button("btnRemove")),
      btnPut(tbrMain.Button("btnPut")),
      FCoolTrayIcon(std::make_unique<TCoolTrayIcon>(SmallProgramIcon(), "Muralia")),
      FOpenPictureDialog(std::make_unique<TOpenPictureDialog>(
          TPreviewTemplate{IDD_PICTURE_PREVIEW, IDC_PICTURE_PREVIEW, IDC_PICTURE_SIZE}, PicturePreview)),
      tmrWallpaper(std::make_unique<TSimpleTimer>()) {
  FCoolTrayIcon->PopupOwner = Handle();
  FCoolTrayIcon->OnPopupMenu = [this](POINT cursor) { Menu("pupTray").Popup(Handle(), cursor.x, cursor.y); };
  Application.OnHelp = [this](UINT command, ULONG_PTR data, bool& callHelp) {
    return ApplicationEventsHelp(command, data, callHelp);
  };
  imgPreview.OnProgress = [this](TObject* s) { imgPreviewProgress(s); };
  OnCloseQuery = std::bind_front(&TfrmEditor::FormCloseQuery, this);
  vstWallpapers.OnGetText = std::bind_front(&TfrmEditor::vstWallpapersGetText, this);
  vstWallpapers.OnBeforeCellPaint = std::bind_front(&TfrmEditor::vstWallpapersBeforeCellPaint, this);
  vstWallpapers.OnFocusChanged = std::bind_front(&TfrmEditor::vstWallpapersFocusChanged, this);
  vstWallpapers.OnKeyUp = std::bind_front(&TfrmEditor::vstWallpapersKeyUp, this);
  tmrWallpaper->SetInterval(5000);
  tmrWallpaper->SetEnabled(true);
}

TfrmEditor::~TfrmEditor() { Application.OnHelp = nullptr; }

TOptions& TfrmEditor::Options() {
  return FOptions;
}

TWallpaperChanger& TfrmEditor::WallpaperChanger() {
  return FWallpaperChanger;
}

TSupportServices& TfrmEditor::SupportServices() {
  return FSupportServices;
}

// Read from the list file, never made empty: a list that was not read would overwrite the file when saved.
TWallpaperList& TfrmEditor::WallpaperList() {
  if (!FWallpaperList) {
    FWallpaperList = std::make_unique<TWallpaperList>();
    LoadWallpaperList();
  }
  return *FWallpaperList;
}

void TfrmEditor::FormCreate(TObject*) {
  FClosing = false;
  FClearPreview = false;
  // A position that cannot be read leaves the changes at the first entry; exit stores a good one.
  SayFailure([this] { FCurrentIndex = FOptions.GetLastActiveWallpaperIndex(); });
  ClearImageInfo();
  FWallpaperList = std::make_unique<TWallpaperList>();
  // The collection is read even when the first-run step failed: a list never read would empty the file.
  SayFailure([this] { FWallpaperList->AddDefaultOnFirstRun(); });
  LoadWallpaperList();
  // A failed start-up change leaves the timer, the tray click and help set up all the same.
  SayFailure([this] {
    if (FOptions.GetChangeWallpaperOnStartup()) ChangeWallpaper();
  });
  FPreviewIndex = 0;
  SetupTimer();
  FCoolTrayIcon->OnClick = [this](TObject* s) { TrayIconClick(s); };
  SetHelpFile();
}

void TfrmEditor::FormShow(TObject*) {
  ShowWindow(Application.Handle(), SW_HIDE);
  ShowPreview(FPreviewIndex);
}

void TfrmEditor::FormCloseQuery(TObject*, bool& canClose) {
  if (!Visible()) {
    canClose = true;
    return;
  }
  if (!CanCloseForm()) {
    Application.Minimize();
    FCoolTrayIcon->HideMainForm();
  }
  canClose = CanCloseForm();
}

bool TfrmEditor::CanCloseForm() {
  if (FClosing) return true;
  try {
    return !Options().GetMinimizeControlPanelOnClickX();
  } catch (const std::exception&) {
    return true;
  }
}

void TfrmEditor::FormDestroy(TObject*) {
  AdvanceStoredIndex();
  Options().SetLastActiveWallpaperIndex(FCurrentIndex);
  if (FWallpaperList) {
    FWallpaperList->SaveToFile();
    FWallpaperList.reset();
  }
  FTimer.SetEnabled(false);
}

void TfrmEditor::ExitApplication() {
  FClosing = true;
  Close();
}

// A failed change is reported here, while no other change may start: ticks that come while its box is open
// would otherwise stack one box on another.
void TfrmEditor::ChangeWallpaper(TObject*) {
  if (FReportingFailure) return;
  try {
    ApplyCurrentEntry();
  } catch (...) {
    FReportingFailure = true;
    Application.HandleCurrentException();
    FReportingFailure = false;
  }
}

void TfrmEditor::ApplyCurrentEntry() {
  if (!FWallpaperList || !CanChangeAt(FCurrentIndex, FWallpaperList->LastIndex())) return;
  // A blanked entry or a missing file has nothing to apply: the change takes the next entry that has one.
  FCurrentIndex = FirstIndexWithFile(FCurrentIndex, FWallpaperList->LastIndex(),
                                     [this](int32_t index) { return !FWallpaperList->GetFileName(index).empty(); });
  const std::string fileName = FWallpaperList->GetFileName(FCurrentIndex);
  Application.ProcessMessages();
  try {
    WallpaperChanger().SetWallpaper(fileName, WallpaperStyle());
  } catch (...) {
    AdvanceIndex();  // one picture or option that fails must not hold every later change on this entry
    throw;
  }
  AdvanceIndex();
}

// The style is passed on as one byte: a stored 258 acts as 2, a stored -1 as 255.
TWallpaperStyle TfrmEditor::WallpaperStyle() { return static_cast<uint8_t>(Options().GetWallpaperStyle()); }

void TfrmEditor::SayWriteFailure(TWriteFailure kind, const std::string& message) {
  if (!FWriteFailuresSaid.insert(kind).second) return;
  const std::string cost = kind == TWriteFailure::ListFile
                               ? "The collection cannot be saved: changes made to it now are lost when the program ends."
                               : "The desktop picture cannot be written: the wallpaper cannot change.";
  MessageDlg(cost + "\n\n" + message + ".", TMsgDlgType::Warning);
}

// List order comes first, so that a shuffle option that cannot be read still moves the changes on.
void TfrmEditor::AdvanceIndex() {
  if (!FWallpaperList || !FWallpaperList->HasItems()) return;
  const int32_t lastIndex = FWallpaperList->LastIndex();
  FCurrentIndex = FollowingIndex(FCurrentIndex, lastIndex);
  if (Options().GetShuffleWallpaper()) FCurrentIndex = ShuffledIndex(lastIndex);
}

void TfrmEditor::AdvanceStoredIndex() {
  if (FWallpaperList) FCurrentIndex = FollowingIndex(FCurrentIndex, FWallpaperList->LastIndex());
}

// While the box of a failed change is open the display change's own change does not run: neither does its step.
void TfrmEditor::StepIndexBack() {
  if (FReportingFailure || !FWallpaperList) return;
  FCurrentIndex = PrecedingIndex(FCurrentIndex, FWallpaperList->LastIndex());
}

void TfrmEditor::SetupTimer() {
  FTimer.OnTimer = [this](TObject* s) { ChangeWallpaper(s); };
  FTimer.SetInterval(IntervalOf(Options().GetChangeFrequency()));
  FTimer.SetEnabled(Options().GetChangeOnTimer());
}

void TfrmEditor::SetHelpFile() { Application.SetHelpFile(ExtractFilePath(Application.ExeName()) + "orlo.hlp"); }

void TfrmEditor::LoadWallpaperList() {
  try {
    FWallpaperList->LoadFromFile();
    if (FWallpaperList->HasItems()) {
      for (int32_t index = 0; index <= FWallpaperList->LastIndex(); ++index) vstWallpapers.AddChild(index);
      SelectFirstImage();
    }
  } catch (const std::exception&) {
    // A missing or unreadable list gives an empty collection, without a message; the rows made stay.
  }
}

void TfrmEditor::ClearDesktop() {
  const THourglass hourglass;
  WallpaperChanger().ClearWallpaper();
}

void TfrmEditor::ShowControlPanel() {
  FCoolTrayIcon->ShowMainForm();
  Application.Restore();
}

void TfrmEditor::ShowOptionsDialog() {
  if (!frmOptions) return;  // the start-up change lets the tray menu run before the dialog is made
  if (frmOptions->Visible()) {
    frmOptions->BringToFront();
    return;
  }
  if (frmOptions->ShowModal() == mrOk) SetupTimer();
}

void TfrmEditor::TrayIconClick(TObject*) {
  switch (Options().GetClickAction()) {
    case clkOpenOptionsDialog: ShowOptionsDialog(); break;
    case clkOpenControlPanel: ShowControlPanel(); break;
    case clkChangeWallpaper: ChangeWallpaper(); break;
    case clkClearWallpaper: ClearDesktop(); break;
    default: break;
  }
}

LRESULT TfrmEditor::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_QUERYENDSESSION) return 1;  // a visible control panel never holds up the session's end
  const LRESULT result = TForm::WndProc(message, wParam, lParam);
  if (message == WM_ENDSESSION) {
    FClosing = true;
    if (wParam) Application.EndSession();
  } else if (message == WM_DISPLAYCHANGE) {
    StepIndexBack();
    ChangeWallpaper();
  }
  return result;
}

