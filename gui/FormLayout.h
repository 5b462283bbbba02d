#pragma once
// A window's stored layout: its components as data, in pixels as designed at 96 dpi, built by TForm.
// Events are enumerators of the window's own event enum, which the form answers in its OnEvent.
#include <span>

#include "gui/ComponentDef.h"
#include "gui/Menus.h"
#include "gui/PaintedCtrls.h"
#include "gui/StdCtrls.h"
#include "gui/ToolBar.h"
#include "gui/VirtualTrees.h"

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
