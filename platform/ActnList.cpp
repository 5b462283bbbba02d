#include "platform/ActnList.h"

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
