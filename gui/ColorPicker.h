#pragma once
// A button that shows one selected colour and opens a palette of plain colours below it, with a "Default"
// entry above the colours and a "Custom" entry below them that opens the system's colour dialog.
// It takes no keyboard focus.
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "gui/Controls.h"
#include "system/Seams.h"

// The system's colour dialog, started from colour; false when the user cancels.
using TChooseColorCall = std::function<bool(HWND owner, COLORREF& colour)>;
extern TReplaceable<TChooseColorCall> ChooseColorCall;

class TColorPalette;

class TColorPickerButton : public TControl {
public:
  TColorPickerButton(std::string name, TControl* parent);
  ~TColorPickerButton() override;

  TColor SelectionColor() const { return FSelectionColor; }
  void SetSelectionColor(TColor color);
  // Takes the texts of the "Default" and "Custom" entries.
  void Configure(const TComponentDef& def, const TLayoutContext& context) override;

  // Opens the palette, as a click does; DropDown() is null while it is closed.
  void OpenPalette();
  TColorPalette* DropDown() const { return FPalette.get(); }

  // Picking the "Default" entry runs this and leaves the selected colour as it is.
  TNotifyEvent OnDefaultSelect;

  static constexpr int kColumns = 8;
  static const std::array<TColor, 40> kColors;

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Click() override;
  void Paint(HDC dc, const RECT& client) override;

private:
  friend class TColorPalette;
  void Picked(int entry);

  TColor FSelectionColor = clBlack;
  std::string FDefaultText;
  std::string FCustomText;
  std::unique_ptr<TColorPalette> FPalette;
};

// The palette's pop-up window. Entry -1 is "Default", 0 to 39 the colours, 40 "Custom".
class TColorPalette : public TControl {
public:
  static constexpr int kDefaultEntry = -1;
  static constexpr int kCustomEntry = 40;

  explicit TColorPalette(TColorPickerButton& owner);
  RECT EntryRect(int entry) const;
  // Closes the palette; the owner frees it.
  void ClosePalette();

protected:
  // The palette floats over every window, owned by the application's window like the forms.
  HWND ParentWindow() const override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc, const RECT& client) override;

private:
  int EntryAt(POINT point) const;

  TColorPickerButton& FOwner;
  int FHotEntry = -2;
};
