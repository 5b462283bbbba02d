#pragma once
// The control panel: the program's main window. It owns the collection, the wallpaper changer, the change
// timer and the tray icon, and schedules the changes.
#include <cstdint>
#include <memory>

#include "engine/uWallPaper.h"
#include "platform/Forms.h"
#include "platform/SimpleTimer.h"
#include "platform/TrayIcon.h"
#include "settings/uOptions.h"
#include "shell/uSupportServices.h"

class TfrmEditor : public TForm {
public:
  TfrmEditor();
  ~TfrmEditor() override;

  // One change: the entry at the change position becomes the wallpaper, then the position moves on.
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

  int32_t CurrentIndex() const { return FCurrentIndex; }
  bool Closing() const { return FClosing; }
  TWallpaperList* WallpaperList() const { return FWallpaperList.get(); }
  TSimpleTimer* Timer() const { return FTimer.get(); }
  TCoolTrayIcon& CoolTrayIcon() const { return *FCoolTrayIcon; }

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void FormCloseQuery(TObject* sender, bool& canClose);
  void FormDestroy(TObject* sender);
  void ShowTrayMenu(POINT cursor);
  // The owned objects, made again when a failed creation left one out.
  TOptions& Options();
  TWallpaperChanger& WallpaperChanger();

  int32_t FCurrentIndex = 0;
  std::unique_ptr<TSimpleTimer> FTimer;
  bool FClosing = false;
  int32_t FPreviewIndex = 0;
  bool FClearPreview = false;
  std::unique_ptr<TSupportServices> FSupportServices;
  std::unique_ptr<TWallpaperChanger> FWallpaperChanger;
  std::unique_ptr<TWallpaperList> FWallpaperList;
  std::unique_ptr<TOptions> FOptions;
  std::unique_ptr<TCoolTrayIcon> FCoolTrayIcon;
};

extern TfrmEditor* frmEditor;
