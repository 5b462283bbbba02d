#pragma once
// The controls that are the system's own windows, subclassed: buttons, check boxes, lists, edits and group
// frames.
#include <windows.h>

#include <string>
#include <vector>

#include "gui/Controls.h"

// A system button of any style: a press runs Click.
class TButtonControl : public TControl {
public:
  using TControl::TControl;

protected:
  LRESULT Notify(UINT code, LPARAM lParam) override;
};

class TButton : public TButtonControl {
public:
  using TButtonControl::TButtonControl;
  void Configure(const TComponentDef& def, const TLayoutContext& context) override;
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int result) { FModalResult = result; }

protected:
  void Click() override;

private:
  int FModalResult = 0;
};

class TCheckBox : public TButtonControl {
public:
  using TButtonControl::TButtonControl;
  bool Checked() const;
  // Runs OnClick when the state changes, as a click of the user would.
  void SetChecked(bool checked);
};

// A drop-down list without typing.
class TComboBox : public TControl {
public:
  using TControl::TControl;
  void Configure(const TComponentDef& def, const TLayoutContext& context) override;
  void SetItems(const std::vector<std::string>& items);
  int ItemCount() const;
  std::string Item(int index) const;
  // -1 when no row is selected; selecting a row that is not in the list leaves none selected.
  int ItemIndex() const;
  // Selects a row without running OnChange, which runs only when the user picks a row.
  void SetItemIndex(int index);

  TNotifyEvent OnChange;

protected:
  LRESULT Notify(UINT code, LPARAM lParam) override;
};

class TEdit : public TControl {
public:
  using TControl::TControl;
  std::string Text() const { return Caption(); }
  void SetText(const std::string& text) { SetCaption(text); }

protected:
  HBRUSH CtlColor(HDC) override { return nullptr; }
};

// A frame with a caption around a group of controls, which are its children.
class TGroupBox : public TControl {
public:
  using TControl::TControl;
  void SetCaption(const std::string& caption) override;
  void SetFont(const TFont& font) override;
  // Makes the frame, under the group's controls.
  void ChildrenMade(const TComponentDef& def) override;

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  HWND FFrame = nullptr;
};
