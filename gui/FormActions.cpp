// The form's components without a window (image lists, actions, menus) and its shortcuts.
#include "gui/Forms.h"

namespace {

template <class T>
T& Named(const std::vector<std::unique_ptr<T>>& components, std::string_view name) {
  for (const auto& component : components) {
    if (component->Name() == name) return *component;
  }
  throw Exception(Format("Component %.*s not found", static_cast<int>(name.size()), name.data()));
}

}  // namespace

void TForm::BuildNonVisual(const TFormDef& layout) {
  for (const TImageListDef& def : layout.ImageLists) FImageLists.push_back(std::make_unique<TImageList>(def));
  for (const TActionDef& def : layout.Actions)
    FActionList.Add(std::make_unique<TAction>(def, BindEvent(FOnEvent, def.OnExecute)));
  for (const TMenuDef& def : layout.Menus) {
    const TImageList* images = *def.Images ? &ImageList(def.Images) : nullptr;
    FMenus.push_back(std::make_unique<TMenu>(def, FActionList, images, FOnEvent));
  }
  if (*layout.Menu) {
    FMainMenu = &Menu(layout.Menu);
    SetMenu(Handle(), FMainMenu->Handle());
  }
}

TMenu& TForm::Menu(std::string_view name) const { return Named(FMenus, name); }

TImageList& TForm::ImageList(std::string_view name) const { return Named(FImageLists, name); }

bool TForm::IsShortCut(const MSG& msg) {
  const TShortCut shortCut = ShortCut(static_cast<WORD>(msg.wParam), KeyboardShiftState());
  HWND window = msg.hwnd;
  while (window && !TControl::FromHandle(window)) window = GetParent(window);
  for (TControl* control = window ? TControl::FromHandle(window) : nullptr; control; control = control->Parent()) {
    if (control->PopupMenu() && control->PopupMenu()->IsShortCut(shortCut)) return true;
  }
  if (FMainMenu && FMainMenu->IsShortCut(shortCut)) return true;
  return FActionList.IsShortCut(shortCut);
}
