#pragma once
// Actions: a command with its caption, shortcut and picture, shared by the menus and the toolbar that show
// it. Every action is enabled at all times.
#include <windows.h>

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gui/Controls.h"
#include "gui/Keys.h"

struct TActionDef {
  const char* Name = "";
  const char* Caption = "";
  TShortCut ShortCut = 0;
  int ImageIndex = -1;  // a picture of the menus' image list; -1 for none
  const char* Category = "";
  TEventId OnExecute;
};

class TAction : public TObject {
public:
  TAction(const TActionDef& def, TNotifyEvent onExecute);

  const std::string& Name() const { return FName; }
  const std::string& Caption() const { return FCaption; }
  TShortCut ShortCut() const { return FShortCut; }
  int ImageIndex() const { return FImageIndex; }
  const std::string& Category() const { return FCategory; }

  // Runs the handler with the action as the sender.
  void Execute();

private:
  std::string FName;
  std::string FCaption;
  TShortCut FShortCut;
  int FImageIndex;
  std::string FCategory;
  TNotifyEvent FOnExecute;
};

// What a menu item or a button does when clicked: its action, or else its own click handler.
void ExecuteOrClick(TAction* action, const TNotifyEvent& onClick, TObject* sender);

class TActionList : public TObject {
public:
  void Add(std::unique_ptr<TAction> action) { FActions.push_back(std::move(action)); }
  // The action of that name; null when there is none.
  TAction* Find(std::string_view name) const;
  // The action that a layout binds by name: null for an empty name; raises when the list has none of that
  // name, a fault of the layout.
  TAction* Bound(std::string_view name) const;
  // Runs the first action with the shortcut; false when none has it.
  bool IsShortCut(TShortCut shortCut) const;
  const std::vector<std::unique_ptr<TAction>>& Actions() const { return FActions; }

private:
  std::vector<std::unique_ptr<TAction>> FActions;
};
