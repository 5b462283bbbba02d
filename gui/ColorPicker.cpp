#include "gui/ColorPicker.h"

#include <commdlg.h>
#include <windowsx.h>

#include "gui/ComponentDef.h"
#include "gui/Forms.h"

namespace {

// Posted to the button so that the palette's window is destroyed outside its own message handling.
constexpr UINT kFreePalette = WM_APP + 1;

constexpr int kMargin = 4;
constexpr int kCell = 18;
constexpr int kGap = 4;
constexpr int kEntryHeight = 22;
constexpr int kRows = 5;
constexpr int kPaletteWidth = 2 * kMargin + TColorPickerButton::kColumns * kCell + 7 * kGap;
constexpr int kGridTop = kMargin + kEntryHeight + kGap;
constexpr int kCustomTop = kGridTop + kRows * kCell + (kRows - 1) * kGap + kGap;
constexpr int kPaletteHeight = kCustomTop + kEntryHeight + kMargin;

bool RealChooseColor(HWND owner, COLORREF& colour) {
  static COLORREF custom[16]{};
  CHOOSECOLORA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.rgbResult = colour;
  dialog.lpCustColors = custom;
  dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorA(&dialog)) return false;
  colour = dialog.rgbResult;
  return true;
}

RECT Scaled(int left, int top, int width, int height) {
  return {ScaleToScreen(left), ScaleToScreen(top), ScaleToScreen(left + width), ScaleToScreen(top + height)};
}

void FillColor(HDC dc, const RECT& rect, COLORREF colour) {
  TBrushHandle brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, brush.get());
  FrameRect(dc, &rect, GetSysColorBrush(COLOR_BTNSHADOW));
}

}  // namespace

TReplaceable<TChooseColorCall> ChooseColorCall{RealChooseColor};

const std::array<TColor, 40> TColorPickerButton::kColors = {
    0x000000, 0x003399, 0x003333, 0x003300, 0x663300, 0x800000, 0x993333, 0x333333,
    0x000080, 0x0066FF, 0x008080, 0x008000, 0x808000, 0xFF0000, 0x996666, 0x808080,
    0x0000FF, 0x0099FF, 0x00CC99, 0x669933, 0xCCCC33, 0xFF6633, 0x800080, 0x999999,
    0xFF00FF, 0x00CCFF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFFCC00, 0x663399, 0xC0C0C0,
    0xCC99FF, 0x99CCFF, 0x99FFFF, 0xCCFFCC, 0xFFFFCC, 0xFFCC99, 0xFF99CC, 0xFFFFFF,
};

TColorPickerButton::TColorPickerButton(std::string name, TControl* parent) : TControl(std::move(name), parent) {}

TColorPickerButton::~TColorPickerButton() = default;

void TColorPickerButton::SetSelectionColor(TColor color) {
  FSelectionColor = color;
  Invalidate();
}

void TColorPickerButton::Configure(const TComponentDef& def, const TLayoutContext&) {
  FDefaultText = def.DefaultEntry;
  FCustomText = def.CustomEntry;
}

void TColorPickerButton::Click() {
  TControl::Click();
  OpenPalette();
}

void TColorPickerButton::OpenPalette() {
  if (FPalette) return;
  FPalette = std::make_unique<TColorPalette>(*this);
  RECT button;
  GetWindowRect(Handle(), &button);
  const RECT bounds{button.left, button.bottom, button.left + ScaleToScreen(kPaletteWidth),
                    button.bottom + ScaleToScreen(kPaletteHeight)};
  FPalette->CreateHandle(RegisterControlClass("TColorPalette", CS_DROPSHADOW), "",
                         WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, bounds);
  ShowWindow(FPalette->Handle(), SW_SHOWNOACTIVATE);
  SetCapture(FPalette->Handle());
}

void TColorPickerButton::Picked(int entry) {
  if (entry == TColorPalette::kDefaultEntry) {
    if (OnDefaultSelect) OnDefaultSelect(this);
  } else if (entry == TColorPalette::kCustomEntry) {
    COLORREF colour = ColorToRGB(FSelectionColor);
    if (ChooseColorCall(GetAncestor(Handle(), GA_ROOT), colour)) SetSelectionColor(static_cast<TColor>(colour));
  } else if (entry >= 0 && entry < static_cast<int>(kColors.size())) {
    SetSelectionColor(kColors[static_cast<size_t>(entry)]);
  }
}

void TColorPickerButton::Paint(HDC dc, const RECT& client) {
  RECT rect = client;
  DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (FPalette ? DFCS_PUSHED : 0) |
                                              (IsWindowEnabled(Handle()) ? 0 : DFCS_INACTIVE));
  const int arrowWidth = ScaleToScreen(14);
  RECT swatch{rect.left + ScaleToScreen(4), rect.top + ScaleToScreen(4), rect.right - arrowWidth - ScaleToScreen(2),
              rect.bottom - ScaleToScreen(4)};
  FillColor(dc, swatch, ColorToRGB(FSelectionColor));
  // The drop-down arrow: a small triangle pointing down.
  const int centreX = rect.right - arrowWidth / 2 - ScaleToScreen(2);
  const int centreY = (rect.top + rect.bottom) / 2;
  const int half = ScaleToScreen(3);
  for (int row = 0; row <= half; ++row) {
    const RECT line{centreX - half + row, centreY - half / 2 + row, centreX + half - row + 1, centreY - half / 2 + row + 1};
    FillRect(dc, &line, GetSysColorBrush(COLOR_BTNTEXT));
  }
}

LRESULT TColorPickerButton::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case kFreePalette:
      FPalette.reset();
      Invalidate();
      return 0;
    default:
      return TControl::WndProc(message, wParam, lParam);
  }
}

TColorPalette::TColorPalette(TColorPickerButton& owner) : TControl(owner.Name() + "Palette", nullptr), FOwner(owner) {
  SetFont(owner.Font());
  SetColor(clWindow);
}

HWND TColorPalette::ParentWindow() const { return Application.Handle(); }

RECT TColorPalette::EntryRect(int entry) const {
  if (entry == kDefaultEntry) return Scaled(kMargin, kMargin, kPaletteWidth - 2 * kMargin, kEntryHeight);
  if (entry == kCustomEntry) return Scaled(kMargin, kCustomTop, kPaletteWidth - 2 * kMargin, kEntryHeight);
  const int column = entry % TColorPickerButton::kColumns;
  const int row = entry / TColorPickerButton::kColumns;
  return Scaled(kMargin + column * (kCell + kGap), kGridTop + row * (kCell + kGap), kCell, kCell);
}

int TColorPalette::EntryAt(POINT point) const {
  for (int entry = kDefaultEntry; entry <= kCustomEntry; ++entry) {
    const RECT rect = EntryRect(entry);
    if (PtInRect(&rect, point)) return entry;
  }
  return -2;
}

void TColorPalette::ClosePalette() {
  if (GetCapture() == Handle()) ReleaseCapture();
  ShowWindow(Handle(), SW_HIDE);
  PostMessageA(FOwner.Handle(), kFreePalette, 0, 0);
}

void TColorPalette::Paint(HDC dc, const RECT&) {
  TSelection font(dc, FontHandle(Font()));
  SetBkMode(dc, TRANSPARENT);
  for (int entry = kDefaultEntry; entry <= kCustomEntry; ++entry) {
    RECT rect = EntryRect(entry);
    if (entry == kDefaultEntry || entry == kCustomEntry) {
      DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (entry == FHotEntry ? DFCS_HOT : 0));
      const std::string& text = entry == kDefaultEntry ? FOwner.FDefaultText : FOwner.FCustomText;
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      DrawTextA(dc, text.c_str(), -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      continue;
    }
    if (entry == FHotEntry) {
      RECT frame = rect;
      InflateRect(&frame, ScaleToScreen(2), ScaleToScreen(2));
      FrameRect(dc, &frame, GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    FillColor(dc, rect, static_cast<COLORREF>(TColorPickerButton::kColors[static_cast<size_t>(entry)]));
  }
}

LRESULT TColorPalette::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE: {
      const int hot = EntryAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      if (hot != FHotEntry) {
        FHotEntry = hot;
        Invalidate();
      }
      return 0;
    }
    case WM_LBUTTONDOWN: {
      RECT client;
      GetClientRect(Handle(), &client);
      if (!PtInRect(&client, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) ClosePalette();
      return 0;
    }
    case WM_LBUTTONUP: {
      const int entry = EntryAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      if (entry < kDefaultEntry) return 0;
      ClosePalette();
      FOwner.Picked(entry);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != Handle() && IsWindowVisible(Handle())) ClosePalette();
      return 0;
    default:
      return TControl::WndProc(message, wParam, lParam);
  }
}
