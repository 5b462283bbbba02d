#include "gui/ActnList.h"

#include <stdexcept>

TAction::TAction(const TActionDef& def, TNotifyEvent onExecute)
    : FName(def.Name), FCaption(def.Caption), FShortCut(def.ShortCut), FImageIndex(def.ImageIndex),
      FCategory(def.Category), FOnExecute(std::move(onExecute)) {}

void TAction::Execute() {
  if (FOnExecute) FOnExecute(this);
}

TAction* TActionList::Find(std::string_view name) const {
  for (const auto& action : FActions) {
    if (action->Name() == name) return action.get();
  }
  return nullptr;
}

TAction* TActionList::Bound(std::string_view name) const {
  if (name.empty()) return nullptr;
  if (TAction* action = Find(name)) return action;
  throw std::logic_error("no action " + std::string(name));
}

void ExecuteOrClick(TAction* action, const TNotifyEvent& onClick, TObject* sender) {
  if (action) {
    action->Execute();
  } else if (onClick) {
    onClick(sender);
  }
}

bool TActionList::IsShortCut(TShortCut shortCut) const {
  if (shortCut == 0) return false;
  for (const auto& action : FActions) {
    if (action->ShortCut() == shortCut) {
      action->Execute();
      return true;
    }
  }
  return false;
}
