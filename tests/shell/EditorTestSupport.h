#pragma once
// The control panel made as the program makes it, in a program folder of the test's own with a collection
// of solid-colour pictures: the desktop bitmap's colour tells which entry a change applied.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "shell/ShellTestSupport.h"
#include "shell/ufrmEditor.h"
#include "shell/ufrmOptions.h"

class EditorTest : public ShellTest {
protected:
  EditorTest();
  ~EditorTest() override;

  // Writes n pictures, entry k in the colour Colour(k), and the list file naming them.
  void MakeCollection(int n);
  // Writes a Windows bitmap of one colour into the program folder and returns its path.
  std::string WriteBitmap(const std::string& name, int width, int height, COLORREF colour) const;
  // Writes the list file naming the files.
  void WriteList(const std::vector<std::string>& files) const;

  // What the list shows in a cell, by the row's position and the column's own index.
  std::string Shown(int position, int column) const;
  RECT RowRect(int position) const;
  static COLORREF Colour(int entry) { return RGB(10 + 20 * entry, 200 - 30 * entry, 40 + 7 * entry); }
  void SetStored(const char* name, uint32_t value) { regtest::SetDword(regtest::kOptionsKey, name, value); }
  uint32_t Stored(const char* name) { return regtest::GetDword(regtest::kOptionsKey, name).value_or(0xDEADBEEF); }

  // Makes the control panel as the application's main form, with the options dialog beside it.
  TfrmEditor& Create();
  // Destroys the forms as the program's end does.
  void Destroy();

  // The entry whose colour the desktop bitmap has; -1 when there is no bitmap, -2 for another colour.
  int AppliedEntry() const;
  // Removes the desktop bitmap, so that the next change is seen.
  void ForgetApplied() const { DeleteFileA(FFolder.File("Muralia.bmp").c_str()); }
  // A message to the tray icon as the shell sends it for a mouse event.
  void TrayMouse(UINT mouseMessage);

  TempFolder FFolder;
  std::vector<std::string> FPictures;

private:
  TScopedReplacement<std::function<std::string()>> FProgram;
};
