#pragma once
// Menus built at run time from menu tables: the menu bar and pop-up menus. An item bound to an action shows
// the action's caption, shortcut text and picture and runs the action; any other item runs its own click
// handler. No item is a default item.
#include <windows.h>

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gui/ActnList.h"
#include "gui/ImgList.h"

struct TMenuItemDef {
  const char* Name = "";
  const char* Parent = "";   // empty: the menu itself; else the earlier item whose submenu this item is in
  const char* Caption = "";  // "-" for a separator line
  const char* Action = "";
  int ImageIndex = -1;
  TEventId OnClick;
};

enum class TMenuKind { MainMenu, PopupMenu };

struct TMenuDef {
  const char* Name = "";
  TMenuKind Kind = TMenuKind::PopupMenu;
  const char* Images = "";  // the image list of the items' pictures
  std::span<const TMenuItemDef> Items;
};

class TMenuItem : public TObject {
public:
  TMenuItem(const TMenuItemDef& def, TAction* action, TNotifyEvent onClick, UINT command);

  const std::string& Name() const { return FName; }
  TAction* Action() const { return FAction; }
  const std::string& Caption() const { return FAction ? FAction->Caption() : FCaption; }
  TShortCut ShortCut() const { return FAction ? FAction->ShortCut() : 0; }
  int ImageIndex() const { return FAction ? FAction->ImageIndex() : FImageIndex; }
  bool IsLine() const { return FCaption == "-"; }
  UINT Command() const { return FCommand; }
  const std::vector<std::unique_ptr<TMenuItem>>& Items() const { return FItems; }

  // Runs the action, or else the click handler with the item as the sender.
  void Click();

private:
  friend class TMenu;
  std::string FName;
  std::string FCaption;
  int FImageIndex;
  TAction* FAction;
  TNotifyEvent FOnClick;
  UINT FCommand;
  std::vector<std::unique_ptr<TMenuItem>> FItems;
};

class TMenu : public TObject {
public:
  TMenu(const TMenuDef& def, const TActionList& actions, const TImageList* images, const TEventHandler& onEvent);
  ~TMenu() override;

  const std::string& Name() const { return FName; }
  TMenuKind Kind() const { return FKind; }
  HMENU Handle() const { return FHandle; }
  const std::vector<std::unique_ptr<TMenuItem>>& Items() const { return FItems; }
  // The item of that name, at any depth; null when there is none.
  TMenuItem* Find(std::string_view name) const;

  // Runs the item with the shortcut, at any depth; false when none has it.
  bool IsShortCut(TShortCut shortCut) const;
  // Runs the item of a command that Windows reported; false when the command is not this menu's.
  bool DispatchCommand(UINT command) const;
  // Shows a pop-up menu at a point of the screen, owned by window, and runs the item chosen.
  void Popup(HWND owner, int x, int y) const;

  // The items' pictures are drawn by the menu's owner window (menus under Wine ignore a bitmap's alpha): it
  // hands its WM_MEASUREITEM and WM_DRAWITEM for menus to the menu named in the item data.
  static TMenu* OfItemData(ULONG_PTR data) { return reinterpret_cast<TMenu*>(data); }
  void MeasureItem(MEASUREITEMSTRUCT& measure) const;
  void DrawItem(const DRAWITEMSTRUCT& draw) const;

private:
  HMENU BuildMenu(const std::vector<std::unique_ptr<TMenuItem>>& items, bool bar);

  std::string FName;
  TMenuKind FKind;
  const TImageList* FImages;
  std::vector<std::unique_ptr<TMenuItem>> FItems;
  HMENU FHandle = nullptr;
};
