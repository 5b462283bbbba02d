#pragma once
// The control panel's editing driven as a user drives it: the picture dialog answered through its seam,
// the questions answered from inside their own loops, and the list file read back from the disk.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/FakeActiveDesktop.h"
#include "system/FileUtils.h"
#include "shell/EditorTestSupport.h"

// Counts the saves of one file of a folder from the folder's change notifications: a save puts a new file
// in the old one's place, so each save names the file once as added or renamed to.
class TSaveCounter {
public:
  TSaveCounter(const std::string& folder, const std::string& name);
  ~TSaveCounter();
  TSaveCounter(const TSaveCounter&) = delete;
  TSaveCounter& operator=(const TSaveCounter&) = delete;

  // The saves so far, once the folder has been quiet for a moment.
  int Saves();

private:
  void Watch();
  void Take(DWORD bytes);

  std::wstring FName;
  HANDLE FFolder;
  OVERLAPPED FOverlapped{};
  alignas(DWORD) char FBuffer[64 * 1024];
  int FSaves = 0;
};

class EditingTest : public EditorTest {
protected:
  // The collection: the list file names the first `listed` of `pictures` solid-colour pictures.
  TfrmEditor& CreateWith(int pictures, int listed);
  // What the picture dialog gives next time: these files, or a cancel.
  void Choose(const std::vector<std::string>& files) {
    FChosen.emplace();
    for (const std::string& file : files) FChosen->push_back(Widened(file));
  }
  void ChooseWide(std::vector<std::wstring> files) { FChosen = std::move(files); }
  void CancelDialog() { FChosen.reset(); }

  // The picture each row shows, top to bottom, as its number among FPictures (-1 for none of them).
  std::vector<int> RowPictures() const;
  // The entry index each row carries, top to bottom.
  std::vector<int32_t> RowIndexes() const;
  // The row in position k.
  PVirtualNode Row(int position) const;
  // Makes the row in position k the focused and selected one, as a click would.
  void FocusRow(int position);
  // The picture of the focused row's entry; nullopt with no row focused.
  std::optional<int> FocusedPicture() const;
  // The picture that the information band names, -1 for an empty band.
  int BandPicture() const;
  bool PreviewEmpty() const { return frmEditor->imgPreview.Picture() == nullptr; }
  // "UDR" for btnUp, btnDown and btnRemove enabled, a '-' for each one disabled.
  std::string Buttons() const;

  // The list file's lines as FPictures numbers, -1 for an empty line.
  std::vector<int> ListFile() const;
  // Answers the next question with the button, noting its text; fails when none comes within five seconds.
  void AnswerNextQuestion(const std::string& button, int ticksLeft = 250);
  // Presses OK in the next warning, noting its text.
  void AcknowledgeNextWarning();
  // One press of the key with the modifiers, through the system's input; returns once the key has come up.
  void Press(WORD key, TShiftState shift = 0);
  // The text of every question answered, and of every warning.
  std::vector<std::string> FQuestions;
  std::vector<std::wstring> FWarnings;
  int FDialogRuns = 0;
  TFakeActiveDesktop FDesktop;

private:
  int PictureOf(const std::string& path) const;
  bool ShowChosen(OPENFILENAMEW& dialog);

  std::optional<std::vector<std::wstring>> FChosen;
  TScopedReplacement<TGetOpenFileNameCall> FDialog{GetOpenFileNameCall,
                                                   [this](OPENFILENAMEW& dialog) { return ShowChosen(dialog); }};
  TScopedReplacement<std::function<TComPtr<IActiveDesktop>()>> FActiveDesktop{
      TWallpaperChanger::ActiveDesktopObject, [this] { return FDesktop.Reference(); }};
};
