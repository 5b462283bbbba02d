#pragma once
// The picture-file dialog: the system's open dialog (explorer style, several files at once, resizable, no
// read-only box) offering every registered picture format, with a preview pane beside the file list that
// shows the selected picture fitted into its box with its width and height.
#include <windows.h>

#include <commdlg.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"
#include "system/Seams.h"

// GetOpenFileName itself; tests answer for the user instead. The dialog is the wide one: only the wide name
// of a file whose name the ANSI code page cannot hold leads to a name that opens it.
using TGetOpenFileNameCall = std::function<bool(OPENFILENAMEW& dialog)>;
extern TReplaceable<TGetOpenFileNameCall> GetOpenFileNameCall;

// A picture of a file fitted into width x height, with the picture's own size; a null bitmap for a file that
// is not a picture, which the preview then leaves empty without a message.
struct TPreview {
  std::unique_ptr<TBitmap> Bitmap;
  int Width = 0;
  int Height = 0;
};
using TPreviewMaker = std::function<TPreview(const std::string& fileName, int width, int height)>;

// The dialog template of the preview pane, from the program's resources: a control with the system's
// identifier stc32 where the system's controls go, an owner-drawn box for the picture and a text for its size.
struct TPreviewTemplate {
  int Dialog;
  int Box;
  int SizeText;
};

class TOpenPictureDialog {
public:
  TOpenPictureDialog(TPreviewTemplate pane, TPreviewMaker preview) : FPane(pane), FPreview(std::move(preview)) {}

  // Runs the dialog, owned by owner; false when the user cancels. The chosen files, in the dialog's order,
  // are in Files() as paths in the ANSI code page, short (8.3) paths where the code page cannot hold a long
  // one; those that have neither are in Refused(), by their wide names.
  bool Execute(HWND owner);
  const std::vector<std::string>& Files() const { return FFiles; }
  const std::vector<std::wstring>& Refused() const { return FRefused; }

private:
  static UINT_PTR CALLBACK Hook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void SelectionChanged(HWND dialog, OPENFILENAMEW& data);
  void DrawPreview(const DRAWITEMSTRUCT& draw) const;

  TPreviewTemplate FPane;
  TPreviewMaker FPreview;
  TPreview FShown;
  std::vector<wchar_t> FBuffer;
  std::vector<std::string> FFiles;
  std::vector<std::wstring> FRefused;
};

// The chosen files of a multiple-selection dialog's buffer: the folder and then each name, or one full path.
std::vector<std::wstring> SplitFileList(const wchar_t* buffer);
