#include "gui/ExtDlgs.h"

#include <cwchar>

#include "system/FileUtils.h"
#include "gui/Forms.h"
#include "graphics/Picture.h"

namespace {

bool RealGetOpenFileName(OPENFILENAMEW& dialog) { return GetOpenFileNameW(&dialog) != FALSE; }

// The filter in the dialog's form: entries and their patterns separated by NULs, two at the end.
std::wstring DialogFilter() {
  std::wstring filter = Widened(GraphicFilter());
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  return filter + std::wstring(2, L'\0');
}

}  // namespace

TReplaceable<TGetOpenFileNameCall> GetOpenFileNameCall{RealGetOpenFileName};

std::vector<std::wstring> SplitFileList(const wchar_t* buffer) {
  std::vector<std::wstring> parts;
  for (const wchar_t* part = buffer; *part; part += std::wcslen(part) + 1) parts.emplace_back(part);
  if (parts.size() <= 1) return parts;
  std::wstring folder = parts.front();
  if (folder.back() != L'\\') folder += L'\\';
  std::vector<std::wstring> files;
  for (size_t i = 1; i < parts.size(); ++i) files.push_back(folder + parts[i]);
  return files;
}

bool TOpenPictureDialog::Execute(HWND owner) {
  const std::wstring filter = DialogFilter();
  FBuffer.assign(64 * 1024, L'\0');
  FFiles.clear();
  FRefused.clear();
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.hInstance = GetModuleHandleW(nullptr);
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = FBuffer.data();
  dialog.nMaxFile = static_cast<DWORD>(FBuffer.size());
  dialog.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST |
                 OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
  dialog.lpTemplateName = MAKEINTRESOURCEW(FPane.Dialog);
  dialog.lpfnHook = Hook;
  dialog.lCustData = reinterpret_cast<LPARAM>(this);
  const bool chosen = GetOpenFileNameCall(dialog);
  FShown = {};
  if (!chosen) return false;
  for (const std::wstring& file : SplitFileList(dialog.lpstrFile)) {
    if (std::optional<std::string> path = AnsiPath(file))
      FFiles.push_back(std::move(*path));
    else
      FRefused.push_back(file);
  }
  return true;
}

// Before the dialog fills the file buffer it is grown to hold every chosen name, however many.
void TOpenPictureDialog::SelectionChanged(HWND dialog, OPENFILENAMEW& data) {
  HWND explorer = GetParent(dialog);
  const LRESULT needed = SendMessageW(explorer, CDM_GETSPEC, 0, 0) +
                         SendMessageW(explorer, CDM_GETFOLDERPATH, 0, 0) + MAX_PATH;
  if (needed > static_cast<LRESULT>(FBuffer.size())) {
    FBuffer.assign(static_cast<size_t>(needed) * 2, L'\0');
    data.lpstrFile = FBuffer.data();
    data.nMaxFile = static_cast<DWORD>(FBuffer.size());
  }
  wchar_t path[MAX_PATH] = L"";
  std::optional<std::string> single;
  if (SendMessageW(explorer, CDM_GETFILEPATH, MAX_PATH, reinterpret_cast<LPARAM>(path)) > 0 &&
      (GetFileAttributesW(path) & FILE_ATTRIBUTE_DIRECTORY) == 0)
    single = AnsiPath(path);
  HWND box = GetDlgItem(dialog, FPane.Box);
  RECT area;
  GetClientRect(box, &area);
  FShown = single ? FPreview(*single, area.right - 2, area.bottom - 2) : TPreview{};
  const std::string size = FShown.Bitmap ? std::to_string(FShown.Width) + " x " + std::to_string(FShown.Height) : "";
  SetDlgItemTextA(dialog, FPane.SizeText, size.c_str());
  InvalidateRect(box, nullptr, TRUE);
}

void TOpenPictureDialog::DrawPreview(const DRAWITEMSTRUCT& draw) const {
  FillRect(draw.hDC, &draw.rcItem, GetSysColorBrush(COLOR_WINDOW));
  FrameRect(draw.hDC, &draw.rcItem, GetSysColorBrush(COLOR_BTNSHADOW));
  if (!FShown.Bitmap) return;
  const int width = FShown.Bitmap->Width();
  const int height = FShown.Bitmap->Height();
  const int left = (draw.rcItem.right - draw.rcItem.left - width) / 2;
  const int top = (draw.rcItem.bottom - draw.rcItem.top - height) / 2;
  BitBlt(draw.hDC, left, top, width, height, FShown.Bitmap->CanvasHandle(), 0, 0, SRCCOPY);
}

UINT_PTR CALLBACK TOpenPictureDialog::Hook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  try {
    if (message == WM_INITDIALOG) {
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      return TRUE;
    }
    auto* data = reinterpret_cast<OPENFILENAMEW*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!data) return FALSE;
    auto* self = reinterpret_cast<TOpenPictureDialog*>(data->lCustData);
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == CDN_SELCHANGE) {
      self->SelectionChanged(dialog, *data);
    } else if (message == WM_DRAWITEM) {
      const auto& draw = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (draw.CtlID != static_cast<UINT>(self->FPane.Box)) return FALSE;
      self->DrawPreview(draw);
      return TRUE;
    }
  } catch (...) {
    Application.HandleCurrentException();
  }
  return FALSE;
}
