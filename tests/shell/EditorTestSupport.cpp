#include "shell/EditorTestSupport.h"

#include <windows.h>
#include <commctrl.h>

#include "TestPictures.h"

EditorTest::EditorTest()
    : FProgram(ProgramFileName, [file = FFolder.File("orlo.exe")] { return file; }) {
  SetStored("FirstRun", 0);
  SetStored("WallpaperStyle", 0);  // "Center ": the bitmap is the picture itself
  SetStored("ChangeWallpaperOnStartup", 0);
  SetStored("ChangeOnTimer", 0);
}

EditorTest::~EditorTest() { Destroy(); }

void EditorTest::MakeCollection(int n) {
  std::string list;
  for (int k = 0; k < n; ++k) {
    FPictures.push_back(FFolder.Write("picture" + std::to_string(k) + ".bmp", SolidBitmap(Colour(k))));
    list += FPictures.back() + "\r\n";
  }
  FFolder.Write("wallp.sl", list);
}

TfrmEditor& EditorTest::Create() {
  Application.Initialize();
  Application.CreateForm(frmEditor);
  Application.CreateForm(frmOptions);
  return *frmEditor;
}

void EditorTest::Destroy() {
  ui::ClearSteps();
  Application.DestroyForms();
  frmEditor = nullptr;
  frmOptions = nullptr;
}

std::string EditorTest::WriteBitmap(const std::string& name, int width, int height, COLORREF colour) const {
  return FFolder.Write(name, SolidBitmap(colour, width, height));
}

void EditorTest::WriteList(const std::vector<std::string>& files) const {
  std::string list;
  for (const std::string& file : files) list += file + "\r\n";
  FFolder.Write("wallp.sl", list);
}

std::string EditorTest::Shown(int position, int column) const {
  char text[MAX_PATH] = "";
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(frmEditor->vstWallpapers.Handle(), LVM_GETITEMTEXTA, position, reinterpret_cast<LPARAM>(&item));
  return text;
}

RECT EditorTest::RowRect(int position) const {
  RECT rect{};
  rect.left = LVIR_BOUNDS;
  SendMessageA(frmEditor->vstWallpapers.Handle(), LVM_GETITEMRECT, position, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

int EditorTest::AppliedEntry() const {
  const std::string bitmap = FFolder.Read("Muralia.bmp");
  if (bitmap.size() < 58) return -1;
  const std::optional<COLORREF> colour = FirstPixel(bitmap);
  for (int k = 0; colour && k < static_cast<int>(FPictures.size()); ++k) {
    if (*colour == Colour(k)) return k;
  }
  return -2;
}

void EditorTest::TrayMouse(UINT mouseMessage) {
  SendMessageA(frmEditor->CoolTrayIcon().Handle(), TCoolTrayIcon::kCallbackMessage, 1, mouseMessage);
}
