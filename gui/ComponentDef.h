#pragma once
// One component of a window's stored layout, in pixels as designed at 96 dpi: each control's kind takes its
// own settings from it when the form builds the control.
#include <span>

#include "gui/Controls.h"

class TActionList;
class TImageList;

struct TToolButtonDef {
  const char* Name = "";
  const char* Caption = "";  // empty: the action's caption
  const char* Hint = "";
  const char* Action = "";
  int ImageIndex = -1;  // a picture of the toolbar's image list; -1: the action's
  TEventId OnClick;
  bool Separator = false;
  int Width = 8;  // a separator's, as designed at 96 dpi
};

enum class TAlignment { LeftJustify, RightJustify };

struct TVirtualTreeColumn {
  const char* Text = "";
  int Width = 0;  // as designed at 96 dpi
  TAlignment Alignment = TAlignment::LeftJustify;
};

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
  // A colour picker's entries above and below its colours.
  const char* DefaultEntry = "";
  const char* CustomEntry = "";
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

// What a control takes from its form as it configures itself from its layout.
struct TLayoutContext {
  const TEventHandler& OnEvent;
  const TActionList& Actions;
  const TImageList* Images;  // the image list that the layout names, null for none
};
