#include "shell/EditingTestSupport.h"

#include <algorithm>

TSaveCounter::TSaveCounter(const std::string& folder, const std::string& name)
    : FName(name.begin(), name.end()),
      FFolder(CreateFileA(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)) {
  FOverlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  Watch();
}

TSaveCounter::~TSaveCounter() {
  CancelIo(FFolder);
  CloseHandle(FFolder);
  CloseHandle(FOverlapped.hEvent);
}

void TSaveCounter::Watch() {
  ResetEvent(FOverlapped.hEvent);
  if (!ReadDirectoryChangesW(FFolder, FBuffer, sizeof FBuffer, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME, nullptr,
                             &FOverlapped, nullptr))
    ADD_FAILURE() << "the folder cannot be watched: " << GetLastError();
}

void TSaveCounter::Take(DWORD bytes) {
  if (bytes == 0) ADD_FAILURE() << "more changes than the watch can hold";
  for (DWORD at = 0; at < bytes;) {
    const auto& change = *reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(FBuffer + at);
    const std::wstring name(change.FileName, change.FileNameLength / sizeof(WCHAR));
    const bool arrived = change.Action == FILE_ACTION_ADDED || change.Action == FILE_ACTION_RENAMED_NEW_NAME;
    if (arrived && CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, name.c_str(), -1, FName.c_str(), -1) ==
                       CSTR_EQUAL)
      ++FSaves;
    if (change.NextEntryOffset == 0) break;
    at += change.NextEntryOffset;
  }
}

int TSaveCounter::Saves() {
  while (WaitForSingleObject(FOverlapped.hEvent, 300) == WAIT_OBJECT_0) {
    DWORD bytes = 0;
    GetOverlappedResult(FFolder, &FOverlapped, &bytes, FALSE);
    Take(bytes);
    Watch();
  }
  return FSaves;
}

TfrmEditor& EditingTest::CreateWith(int pictures, int listed) {
  MakeCollection(pictures);
  WriteList({FPictures.begin(), FPictures.begin() + listed});
  TfrmEditor& editor = Create();
  editor.Show();
  ui::Pump();
  return editor;
}

bool EditingTest::ShowChosen(OPENFILENAMEW& dialog) {
  ++FDialogRuns;
  if (!FChosen) return false;
  // As the system fills it: one full path, or the folder and then each name.
  std::wstring buffer;
  const std::wstring folder = Widened(FFolder.Path());
  if (FChosen->size() == 1) {
    buffer = FChosen->front() + L'\0';
  } else if (!FChosen->empty()) {
    buffer = folder.substr(0, folder.size() - 1) + L'\0';
    for (const std::wstring& file : *FChosen) buffer += file.substr(folder.size()) + L'\0';
  }
  buffer += L'\0';
  if (buffer.size() > dialog.nMaxFile) {
    ADD_FAILURE() << "the file buffer holds " << dialog.nMaxFile << " characters, not " << buffer.size();
    return false;
  }
  std::copy(buffer.begin(), buffer.end(), dialog.lpstrFile);
  return true;
}

int EditingTest::PictureOf(const std::string& path) const {
  const auto found = std::find(FPictures.begin(), FPictures.end(), path);
  return found == FPictures.end() ? -1 : static_cast<int>(found - FPictures.begin());
}

PVirtualNode EditingTest::Row(int position) const {
  PVirtualNode row = frmEditor->vstWallpapers.GetFirst();
  for (int k = 0; k < position && row; ++k) row = frmEditor->vstWallpapers.GetNext(row);
  return row;
}

std::vector<int32_t> EditingTest::RowIndexes() const {
  std::vector<int32_t> indexes;
  const TVirtualStringTree& list = frmEditor->vstWallpapers;
  for (PVirtualNode row = list.GetFirst(); row; row = list.GetNext(row)) indexes.push_back(*list.GetNodeData(row));
  return indexes;
}

std::vector<int> EditingTest::RowPictures() const {
  std::vector<int> pictures;
  for (const int32_t index : RowIndexes())
    pictures.push_back(PictureOf(frmEditor->WallpaperList().GetFileName(index)));
  return pictures;
}

void EditingTest::FocusRow(int position) {
  PVirtualNode row = Row(position);
  frmEditor->vstWallpapers.SetSelected(row, true);
  frmEditor->vstWallpapers.SetFocusedNode(row);
}

std::optional<int> EditingTest::FocusedPicture() const {
  const std::optional<int32_t> index = frmEditor->FocusedIndexData();
  if (!index) return std::nullopt;
  return PictureOf(frmEditor->WallpaperList().GetFileName(*index));
}

int EditingTest::BandPicture() const {
  const std::string title = frmEditor->lblFileName.Caption();
  if (title.empty()) return -1;
  return PictureOf(FFolder.File(title + ".bmp"));
}

std::string EditingTest::Buttons() const {
  return std::string(frmEditor->btnUp.Enabled() ? "U" : "-") + (frmEditor->btnDown.Enabled() ? "D" : "-") +
         (frmEditor->btnRemove.Enabled() ? "R" : "-");
}

std::vector<int> EditingTest::ListFile() const {
  const std::string text = FFolder.Read("wallp.sl");
  if (text == "<missing>") ADD_FAILURE() << "no list file";
  std::vector<int> lines;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    lines.push_back(line.empty() ? -1 : PictureOf(line));
    start = end + 2;
  }
  return lines;
}

void EditingTest::AnswerNextQuestion(const std::string& button, int ticksLeft) {
  ui::Later([this, button, ticksLeft] {
    const ui::TMessageBox box = ui::FindMessageBox();
    if (!box.Handle) {
      // The key or call that asks may not have run yet: look again at the next tick.
      if (ticksLeft > 0) AnswerNextQuestion(button, ticksLeft - 1);
      else ADD_FAILURE() << "no question";
      return;
    }
    EXPECT_EQ("Confirm", box.Caption);
    EXPECT_EQ((std::vector<std::string>{"&Yes", "&No"}), box.Buttons);
    EXPECT_TRUE(box.HasIcon);
    FQuestions.push_back(box.Text);
    ui::Answer(box, button);
  });
}

void EditingTest::AcknowledgeNextWarning() {
  ui::WhenMessageBoxOpens([this](const ui::TMessageBox& box) {
    wchar_t text[4096] = L"";  // read wide: a file name may hold characters that the ANSI code page lacks
    for (HWND child = GetWindow(box.Handle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (ui::TextOf(child) == box.Text) GetWindowTextW(child, text, 4096);
    FWarnings.push_back(text);
    ui::Answer(box, "OK");
  });
}

void EditingTest::Press(WORD key, TShiftState shift) {
  // A key's toggle bit flips when its press is taken from the queue; its state is up once the release is.
  const bool toggled = GetKeyState(key) & 1;
  ui::SendKey(key, shift);
  const DWORD start = GetTickCount();
  while (((GetKeyState(key) & 1) == toggled || GetKeyState(key) < 0 || GetKeyState(VK_CONTROL) < 0 ||
          GetKeyState(VK_SHIFT) < 0) &&
         GetTickCount() - start < 5000) {
    ui::Pump();
    Sleep(5);
  }
  ui::Pump();
}
