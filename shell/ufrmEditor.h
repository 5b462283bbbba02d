#pragma once
// The control panel: the program's main window. It owns the collection, the wallpaper changer, the change
// timer and the tray icon, schedules the changes, shows the collection with an information band and a
// preview, and edits it. Its operations are kept in four files: the window's life and the scheduling
// (ufrmEditor.cpp), the list view with the band and the preview (ufrmEditorView.cpp), the editing
// (ufrmEditorEditing.cpp), and its events with the actions and help (ufrmEditorActions.cpp).
#include <cstdint>
#include <memory>
#include <set>

#include "engine/uWallPaper.h"
#include "gui/Forms.h"
#include "gui/SimpleTimer.h"
#include "gui/ToolBar.h"
#include "gui/TrayIcon.h"
#include "gui/VirtualTrees.h"
#include "settings/uOptions.h"
#include "gui/ExtDlgs.h"
#include "shell/uSupportServices.h"

class TfrmEditor : public TForm {
public:
  TfrmEditor();
  ~TfrmEditor() override;

  // Life and scheduling.
  void ChangeWallpaper(TObject* sender = nullptr);
  void AdvanceIndex();
  void AdvanceStoredIndex();
  void StepIndexBack();
  void SetupTimer();
  void SetHelpFile();
  void LoadWallpaperList();
  void ClearDesktop();
  void ShowControlPanel();
  void ShowOptionsDialog();
  void ExitApplication();
  bool CanCloseForm();
  void TrayIconClick(TObject* sender);

  // The list view, the information band and the preview.
  void ShowImageInfo(PVirtualNode node);
  void ClearImageInfo();
  void ShowPreview(int32_t index);

  // Editing the collection.
  void AddImages();
  void RemoveImage();
  void RemoveAllImages();
  void actRemoveMissingImagesExecute(TObject* sender = nullptr);
  void MoveImageUp();
  void MoveImageDown();
  void PlaceImage();
  void SelectFirstImage();
  void UpdateButtons();
  bool HasFocusedImage() const;
  bool CanMoveImageUp() const;
  bool CanMoveImageDown() const;
  // The focused row's entry index; null when no row is focused.
  std::optional<int32_t> FocusedIndexData() const;

  bool IsShortCut(const MSG& msg) override;

  int32_t CurrentIndex() const { return FCurrentIndex; }
  int32_t PreviewIndex() const { return FPreviewIndex; }
  bool Closing() const { return FClosing; }
  // The collection; read in with its rows when a failed creation left it out.
  TWallpaperList& WallpaperList();
  TSimpleTimer* Timer() { return &FTimer; }
  TCoolTrayIcon& CoolTrayIcon() const { return *FCoolTrayIcon; }
  TOpenPictureDialog& OpenPictureDialog() const { return *FOpenPictureDialog; }

  TVirtualStringTree& vstWallpapers;
  TImage& imgPreview;
  TLabel& lblFileName;
  TLabel& lblFileType;
  TLabel& lblSizes;
  TLabel& lblSize;
  TLabel& lblChanged;
  TToolBar& tbrMain;
  TToolButton& btnUp;
  TToolButton& btnDown;
  TToolButton& btnRemove;
  TToolButton& btnPut;

protected:
  void OnEvent(TEventId event, TObject* sender) override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void FormCloseQuery(TObject* sender, bool& canClose);
  void FormDestroy(TObject* sender);
  bool ApplicationEventsHelp(UINT command, ULONG_PTR data, bool& callHelp);

  void vstWallpapersGetText(TVirtualStringTree* sender, PVirtualNode node, int column, TVSTTextType textType,
                            std::wstring& cellText);
  void vstWallpapersBeforeCellPaint(TVirtualStringTree* sender, HDC canvas, PVirtualNode node, int column,
                                    const RECT& cellRect);
  void vstWallpapersFocusChanged(TVirtualStringTree* sender, PVirtualNode node);
  void vstWallpapersKeyUp(TObject* sender, WORD& key, TShiftState shift);
  void imgPreviewProgress(TObject* sender);

  TOptions& Options();
  TWallpaperChanger& WallpaperChanger();
  TSupportServices& SupportServices();
  void ApplyCurrentEntry();
  TWallpaperStyle WallpaperStyle();
  void SayWriteFailure(TWriteFailure kind, const std::string& message);
  void MoveFocusedPast(PVirtualNode neighbour, TVTNodeAttachMode mode);

  int32_t FCurrentIndex = 0;
  TSimpleTimer FTimer;
  bool FClosing = false;
  bool FReportingFailure = false;  // the box of a failed change is open
  int32_t FPreviewIndex = 0;
  bool FClearPreview = false;
  // Each kind of failed write is said once per run; the report outlives the collection, which saves as it goes.
  std::set<TWriteFailure> FWriteFailuresSaid;
  TScopedReplacement<TWriteFailureReport> FWriteFailureReport{
      ReportWriteFailure, [this](TWriteFailure kind, const std::string& message) { SayWriteFailure(kind, message); }};
  TSupportServices FSupportServices;
  TWallpaperChanger FWallpaperChanger;
  std::unique_ptr<TWallpaperList> FWallpaperList;
  TOptions FOptions;
  std::unique_ptr<TCoolTrayIcon> FCoolTrayIcon;
  std::unique_ptr<TOpenPictureDialog> FOpenPictureDialog;
  // Ticks every 5 seconds with no handler, so it does nothing; the changes run on FTimer.
  std::unique_ptr<TSimpleTimer> tmrWallpaper;
  WORD FShortCutKey = 0;  // the key whose press ran a shortcut: its release runs nothing more
};

extern TfrmEditor* frmEditor;

// The picture dialog's preview of a file, fitted into width x height as the control panel's preview is.
TPreview PicturePreview(const std::string& fileName, int width, int height);
