#pragma once
// A window's stored layout: its components as data, in pixels as designed at 96 dpi, built by TForm.
// Events are enumerators of the window's own event enum, which the form answers in its OnEvent.
#include <span>

#include "gui/Controls.h"
#include "gui/Menus.h"
#include "gui/PaintedCtrls.h"
#include "gui/StdCtrls.h"
#include "gui/ToolBar.h"
#include "gui/VirtualTrees.h"

enum class TControlKind { Panel, Label, Button, CheckBox, ComboBox, Edit, GroupBox, Notebook, Page, Image, ColorPicker,
                          VirtualStringTree, ToolBar };

struct TBounds {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
};

struct TComponentDef {
  const char* Name = "";
  TControlKind Kind = TControlKind::Panel;
  const char* Parent = "";  // empty: the form
  TBounds Bounds;
  const char* Caption = "";
  TAlign Align = TAlign::None;
  int TabOrder = -1;  // -1: no tab stop
  int Tag = 0;
  const TFont* Font = nullptr;  // null: the parent's font
  TColor Color = clSystemColor | 0xFF;  // the parent's colour unless set
  TBevel BevelOuter = TBevel::None;
  TBevel BevelInner = TBevel::None;
  TCursor Cursor = TCursor::Default;
  bool AutoSize = false;
  bool WordWrap = false;
  int HelpContext = 0;
  const char* HelpKeyword = "";
  const char* Items = "";  // rows of a list, separated by '\n'
  int ModalResult = 0;
  int Picture = 0;           // an icon resource, drawn at the control's designed width; 0 for none
  int PageIndex = 0;         // the notebook's page as designed
  TEventId OnClick;
  TEventId OnExit;
  TEventId OnChange;  // a list's row picked by the user
  TEventId OnPageChanged;
  const char* PopupMenu = "";  // a menu of the form, shown by the right button and searched for shortcuts
  // A toolbar's image list and buttons.
  const char* Images = "";
  std::span<const TToolButtonDef> Buttons;
  // A list control's columns and the font of its header (null: the control's); the form assigns its callbacks.
  std::span<const TVirtualTreeColumn> Columns;
  const TFont* HeaderFont = nullptr;
};

constexpr TColor clParentColor = clSystemColor | 0xFF;

enum class TBorderStyle { Dialog, Sizeable };
enum class TPosition { Designed, ScreenCenter };

struct TFormDef {
  const char* Name = "";
  const char* Caption = "";
  TBorderStyle BorderStyle = TBorderStyle::Dialog;
  bool HelpButton = false;  // the title bar's context-help button
  bool StayOnTop = false;
  TPosition Position = TPosition::Designed;
  TBounds Bounds;            // Left and Top for a designed position
  bool ClientSize = true;    // Width and Height are the client area's, else the window's
  TBounds MinSize;           // Width and Height: the smallest window size, 0 for none
  TColor Color = clBtnFace;
  TFont Font;
  TEventId OnCreate;
  TEventId OnShow;
  TEventId OnDestroy;
  std::span<const TComponentDef> Components;
  // The components without a window: made before the others, in this order.
  std::span<const TImageListDef> ImageLists;
  std::span<const TActionDef> Actions;
  std::span<const TMenuDef> Menus;
  const char* Menu = "";  // the menu bar: one of Menus
};
