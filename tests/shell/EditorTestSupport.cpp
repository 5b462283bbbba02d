#include "shell/EditorTestSupport.h"

#include <windows.h>
#include <commctrl.h>

namespace {

// A Windows bitmap of one colour, 24 bits per pixel.
std::string SolidBitmap(COLORREF colour, int width = 4, int height = 4) {
  const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  std::string file(54 + stride * static_cast<uint32_t>(height), '\0');
  auto put32 = [&file](size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>(value >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  file[26] = 1;
  file[28] = 24;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const size_t pixel = 54 + y * stride + x * 3;
      file[pixel] = static_cast<char>(GetBValue(colour));
      file[pixel + 1] = static_cast<char>(GetGValue(colour));
      file[pixel + 2] = static_cast<char>(GetRValue(colour));
    }
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
