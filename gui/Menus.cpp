#include "gui/Menus.h"

#include <stdexcept>

namespace {

// Command numbers of a menu's items start above those of the dialog keys (IDOK, IDCANCEL, ...).
constexpr UINT kFirstCommand = 0x100;

template <class Match>
TMenuItem* FindIn(const std::vector<std::unique_ptr<TMenuItem>>& items, const Match& match) {
  for (const auto& item : items) {
    if (match(*item)) return item.get();
    if (TMenuItem* found = FindIn(item->Items(), match)) return found;
  }
  return nullptr;
}

}  // namespace

TMenuItem::TMenuItem(const TMenuItemDef& def, TAction* action, TNotifyEvent onClick, UINT command)
    : FName(def.Name), FCaption(def.Caption), FImageIndex(def.ImageIndex), FAction(action),
      FOnClick(std::move(onClick)), FCommand(command) {}

void TMenuItem::Click() { ExecuteOrClick(FAction, FOnClick, this); }

TMenu::TMenu(const TMenuDef& def, const TActionList& actions, const TImageList* images,
             const TEventHandler& onEvent)
    : FName(def.Name), FKind(def.Kind), FImages(images) {
  UINT command = kFirstCommand;
  for (const TMenuItemDef& itemDef : def.Items) {
    TAction* action = actions.Bound(itemDef.Action);
    auto item = std::make_unique<TMenuItem>(itemDef, action, BindEvent(onEvent, itemDef.OnClick), command++);
    if (!*itemDef.Parent) {
      FItems.push_back(std::move(item));
    } else if (TMenuItem* parent = Find(itemDef.Parent)) {
      parent->FItems.push_back(std::move(item));
    } else {
      throw std::logic_error(std::string("no menu item ") + itemDef.Parent);
    }
  }
  FHandle = BuildMenu(FItems, FKind == TMenuKind::MainMenu);
}

TMenu::~TMenu() { DestroyMenu(FHandle); }

HMENU TMenu::BuildMenu(const std::vector<std::unique_ptr<TMenuItem>>& items, bool bar) {
  HMENU menu = bar ? CreateMenu() : CreatePopupMenu();
  if (!bar) {  // pictures in the place of the check marks, as none of the items is checked
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_STYLE;
    info.dwStyle = MNS_CHECKORBMP;
    SetMenuInfo(menu, &info);
  }
  for (const auto& item : items) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    if (item->IsLine()) {
      info.fMask = MIIM_FTYPE;
      info.fType = MFT_SEPARATOR;
      InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &info);
      continue;
    }
    std::string text = item->Caption();
    if (const std::string shortCut = ShortCutToText(item->ShortCut()); !shortCut.empty()) text += "\t" + shortCut;
    info.fMask = MIIM_STRING | MIIM_ID;
    info.dwTypeData = text.data();
    info.wID = item->Command();
    if (!item->Items().empty()) {
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = BuildMenu(item->Items(), false);
    }
    if (FImages && FImages->HasPicture(item->ImageIndex())) {
      info.fMask |= MIIM_BITMAP | MIIM_DATA;
      info.hbmpItem = HBMMENU_CALLBACK;
      info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
    }
    InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &info);
  }
  return menu;
}

TMenuItem* TMenu::Find(std::string_view name) const {
  return FindIn(FItems, [&](const TMenuItem& item) { return item.Name() == name; });
}

bool TMenu::IsShortCut(TShortCut shortCut) const {
  if (shortCut == 0) return false;
  TMenuItem* item = FindIn(FItems, [&](const TMenuItem& i) { return i.ShortCut() == shortCut; });
  if (item) item->Click();
  return item != nullptr;
}

bool TMenu::DispatchCommand(UINT command) const {
  TMenuItem* item = FindIn(FItems, [&](const TMenuItem& i) { return i.Command() == command && !i.IsLine(); });
  if (item) item->Click();
  return item != nullptr;
}

void TMenu::Popup(HWND owner, int x, int y) const {
  const UINT command =
      static_cast<UINT>(TrackPopupMenuEx(FHandle, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, owner, nullptr));
  if (command != 0) DispatchCommand(command);
}

void TMenu::MeasureItem(MEASUREITEMSTRUCT& measure) const {
  measure.itemWidth = static_cast<UINT>(FImages->Size());
  measure.itemHeight = static_cast<UINT>(FImages->Size());
}

void TMenu::DrawItem(const DRAWITEMSTRUCT& draw) const {
  const TMenuItem* item = FindIn(FItems, [&](const TMenuItem& i) { return i.Command() == draw.itemID; });
  if (!item) return;
  const int size = FImages->Size();
  const RECT& box = draw.rcItem;
  // Wine sets the text right after the picture's box; the picture keeps a little air from it on the left.
  FImages->Draw(draw.hDC, box.left - ScaleToScreen(3), box.top + (box.bottom - box.top - size) / 2, item->ImageIndex());
}
