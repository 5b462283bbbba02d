#include "shell/EditorTestSupport.h"

namespace {

// A 4 x 4 Windows bitmap of one colour.
std::string SolidBitmap(COLORREF colour) {
  const int size = 4;
  const uint32_t stride = size * 3;
  std::string file(54 + stride * size, '\0');
  auto put32 = [&file](size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>(value >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, size);
  put32(22, size);
  file[26] = 1;
  file[28] = 24;
  for (size_t pixel = 54; pixel < file.size(); pixel += 3) {
    file[pixel] = static_cast<char>(GetBValue(colour));
    file[pixel + 1] = static_cast<char>(GetGValue(colour));
    file[pixel + 2] = static_cast<char>(GetRValue(colour));
  }
  return file;
}

}  // namespace

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

int EditorTest::AppliedEntry() const {
  const std::string bitmap = FFolder.Read("Muralia.bmp");
  if (bitmap.size() < 58) return -1;
  const uint32_t offset = static_cast<uint8_t>(bitmap[10]) | static_cast<uint8_t>(bitmap[11]) << 8;
  if (offset + 3 > bitmap.size()) return -2;
  const COLORREF colour = RGB(static_cast<uint8_t>(bitmap[offset + 2]), static_cast<uint8_t>(bitmap[offset + 1]),
                              static_cast<uint8_t>(bitmap[offset]));
  for (int k = 0; k < static_cast<int>(FPictures.size()); ++k) {
    if (colour == Colour(k)) return k;
  }
  return -2;
}

void EditorTest::TrayMouse(UINT mouseMessage) {
  SendMessageA(frmEditor->CoolTrayIcon().Handle(), TCoolTrayIcon::kCallbackMessage, 1, mouseMessage);
}
