#pragma once
// The toolbar: a flat comctl32 toolbar of buttons with a picture above the caption and the hint as tooltip,
// inside an etched border. A button runs its action, or else its own click handler.
#include <windows.h>

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gui/ActnList.h"
#include "gui/ComponentDef.h"
#include "gui/Controls.h"
#include "gui/ImgList.h"

class TToolBar;

class TToolButton : public TObject {
public:
  TToolButton(TToolBar& toolBar, const TToolButtonDef& def, TAction* action, TNotifyEvent onClick, int command);

  const std::string& Name() const { return FName; }
  const std::string& Caption() const { return FCaption; }
  const std::string& Hint() const { return FHint; }
  TAction* Action() const { return FAction; }
  int Command() const { return FCommand; }
  bool Separator() const { return FSeparator; }
  // The button alone: its action stays as it is.
  bool Enabled() const;
  void SetEnabled(bool enabled);
  // Place within the toolbar's client area.
  RECT BoundsRect() const;

  // Runs the action, or else the click handler with the button as the sender.
  void Click();

private:
  TToolBar& FToolBar;
  std::string FName;
  std::string FCaption;
  std::string FHint;
  TAction* FAction;
  TNotifyEvent FOnClick;
  int FCommand;
  bool FSeparator;
};

class TToolBar : public TControl {
public:
  using TControl::TControl;

  static const char* WindowClass();
  static DWORD WindowStyle();
  // After the window is made: the pictures and the buttons, 52 x 44 pixels as designed.
  void Configure(const TComponentDef& def, const TLayoutContext& context) override;

  // The button of that name; raises when there is none.
  TToolButton& Button(std::string_view name) const;
  const std::vector<std::unique_ptr<TToolButton>>& Buttons() const { return FButtons; }

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  TToolButton* ButtonOf(UINT_PTR command) const;
  LRESULT TipText(NMHDR& header);
  void PaintBorder();

  std::vector<std::unique_ptr<TToolButton>> FButtons;
};
