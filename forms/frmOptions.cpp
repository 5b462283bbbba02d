// The options dialog: a link menu on the left, two pages in the middle, the buttons on the right.
#include "forms/Layouts.h"
#include "forms/Resources.h"

namespace {

using enum TControlKind;
using enum TOptionsEvent;

const TFont kLinkFont{.Name = "MS Sans Serif", .Height = -11, .Style = {.Underline = true}, .Color = clBlue};

const TComponentDef kComponents[] = {
    {.Name = "Panel1", .Kind = Panel, .Bounds = {0, 0, 105, 244}, .Align = TAlign::Left, .TabOrder = 0,
     .Color = clWhite, .BevelInner = TBevel::Lowered},
    {.Name = "pnlGeneral", .Kind = Panel, .Parent = "Panel1", .Bounds = {0, 0, 105, 41}, .Align = TAlign::Top,
     .Tag = 1, .Color = clWhite, .OnClick = LeftMenuClick},
    {.Name = "imgGeneral", .Kind = Image, .Parent = "pnlGeneral", .Bounds = {6, 9, 24, 24}, .Tag = 1,
     .Cursor = TCursor::HandPoint, .Picture = IDI_OPTIONS_GENERAL, .OnClick = LeftMenuClick},
    {.Name = "lblGeneral", .Kind = Label, .Parent = "pnlGeneral", .Bounds = {38, 12, 0, 0}, .Caption = "General",
     .Tag = 1, .Font = &kLinkFont, .Cursor = TCursor::HandPoint, .AutoSize = true, .OnClick = LeftMenuClick},
    {.Name = "pnlWallpaper", .Kind = Panel, .Parent = "Panel1", .Bounds = {0, 41, 105, 41}, .Align = TAlign::Top,
     .Tag = 2, .Color = clWhite, .OnClick = LeftMenuClick},
    {.Name = "imgWallpaper", .Kind = Image, .Parent = "pnlWallpaper", .Bounds = {6, 9, 24, 24}, .Tag = 2,
     .Cursor = TCursor::HandPoint, .Picture = IDI_OPTIONS_WALLPAPER, .OnClick = LeftMenuClick},
    {.Name = "lblWallpaper", .Kind = Label, .Parent = "pnlWallpaper", .Bounds = {38, 12, 0, 0},
     .Caption = "Wallpaper", .Tag = 2, .Font = &kLinkFont, .Cursor = TCursor::HandPoint, .AutoSize = true,
     .OnClick = LeftMenuClick},
    {.Name = "pnlCalendar", .Kind = Panel, .Parent = "Panel1", .Bounds = {0, 82, 105, 41}, .Align = TAlign::Top,
     .Tag = 3, .Color = clWhite},

    {.Name = "nbkOptions", .Kind = Notebook, .Bounds = {105, 0, 292, 244}, .Align = TAlign::Client, .TabOrder = 1,
     .PageIndex = 1, .OnPageChanged = nbkOptionsPageChanged},
    {.Name = "General", .Kind = Page, .Parent = "nbkOptions", .Bounds = {0, 0, 292, 244}, .Caption = "General",
     .TabOrder = 0},
    {.Name = "Wallpaper", .Kind = Page, .Parent = "nbkOptions", .Bounds = {0, 0, 292, 244}, .Caption = "Wallpaper",
     .TabOrder = 1},

    {.Name = "GroupBox1", .Kind = GroupBox, .Parent = "General", .Bounds = {8, 8, 273, 73}, .Caption = "Startup",
     .TabOrder = 0},
    {.Name = "chkRunAtStartup", .Kind = CheckBox, .Parent = "GroupBox1", .Bounds = {16, 19, 97, 17},
     .Caption = "Run at startup", .TabOrder = 0, .HelpContext = 552},
    {.Name = "chkMinimizeToSystemTray", .Kind = CheckBox, .Parent = "GroupBox1", .Bounds = {16, 43, 193, 17},
     .Caption = "Minimize to system tray", .TabOrder = 1, .HelpContext = 553},
    {.Name = "GroupBox5", .Kind = GroupBox, .Parent = "General", .Bounds = {8, 88, 273, 57},
     .Caption = "Control Panel", .TabOrder = 2},
    {.Name = "chkMinimizeControlPanelOnClickX", .Kind = CheckBox, .Parent = "GroupBox5",
     .Bounds = {16, 24, 217, 17}, .Caption = "Minimize Control Panel on click X ", .TabOrder = 0,
     .HelpContext = 554},
    {.Name = "GroupBox2", .Kind = GroupBox, .Parent = "General", .Bounds = {8, 152, 273, 57},
     .Caption = "System Tray", .TabOrder = 1},
    {.Name = "Label1", .Kind = Label, .Parent = "GroupBox2", .Bounds = {16, 24, 0, 0}, .Caption = "Click:",
     .AutoSize = true},
    {.Name = "cbxDoubleClickAction", .Kind = ComboBox, .Parent = "GroupBox2", .Bounds = {47, 21, 145, 21},
     .TabOrder = 0, .HelpKeyword = "555",
     .Items = "Open Options Dialog\nOpen Control Panel\nChange Wallpaper\nClear Wallpaper"},

    {.Name = "GroupBox3", .Kind = GroupBox, .Parent = "Wallpaper", .Bounds = {8, 8, 273, 129}, .Caption = "Change",
     .TabOrder = 0},
    {.Name = "chkChangeOnTimer", .Kind = CheckBox, .Parent = "GroupBox3", .Bounds = {16, 21, 97, 17},
     .Caption = "Change on timer", .TabOrder = 2, .HelpContext = 556, .OnClick = chkChangeOnTimerClick},
    {.Name = "lblChangeEvery", .Kind = Label, .Parent = "GroupBox3", .Bounds = {16, 48, 0, 0},
     .Caption = "Change every:", .AutoSize = true},
    {.Name = "edtFrequency", .Kind = Edit, .Parent = "GroupBox3", .Bounds = {96, 44, 65, 21}, .Caption = "10",
     .TabOrder = 0, .HelpContext = 557, .OnExit = edtFrequencyExit},
    {.Name = "cbxTimeMeasure", .Kind = ComboBox, .Parent = "GroupBox3", .Bounds = {168, 44, 97, 21}, .TabOrder = 1,
     .HelpContext = 558, .Items = "Seconds\nMinutes\nHours", .OnChange = cbxTimeMeasureChange},
    {.Name = "chkChangeWallpaperOnStartup", .Kind = CheckBox, .Parent = "GroupBox3", .Bounds = {16, 74, 201, 17},
     .Caption = "Change wallpaper on startup", .TabOrder = 3, .HelpContext = 559},
    {.Name = "chkShuffleWallpaper", .Kind = CheckBox, .Parent = "GroupBox3", .Bounds = {16, 98, 161, 17},
     .Caption = "Shuffle wallpaper", .TabOrder = 4, .HelpContext = 560},
    {.Name = "GroupBox4", .Kind = GroupBox, .Parent = "Wallpaper", .Bounds = {8, 144, 273, 89},
     .Caption = "Appearance", .TabOrder = 1},
    {.Name = "Label2", .Kind = Label, .Parent = "GroupBox4", .Bounds = {16, 24, 0, 0}, .Caption = "Style:",
     .AutoSize = true},
    {.Name = "cbxWallpaperStyle", .Kind = ComboBox, .Parent = "GroupBox4", .Bounds = {47, 20, 195, 21},
     .TabOrder = 0, .HelpContext = 561, .Items = "Center \nTile\nStretch\nFit Desktop"},
    {.Name = "Label6", .Kind = Label, .Parent = "GroupBox4", .Bounds = {16, 56, 0, 0},
     .Caption = "Background colour:", .AutoSize = true},
    {.Name = "clpBackgroundColor", .Kind = ColorPicker, .Parent = "GroupBox4", .Bounds = {116, 54, 125, 18},
     .HelpContext = 562, .DefaultEntry = "Default", .CustomEntry = "Custom"},

    {.Name = "Panel2", .Kind = Panel, .Bounds = {397, 0, 91, 244}, .Align = TAlign::Right, .TabOrder = 2},
    {.Name = "btnOk", .Kind = Button, .Parent = "Panel2", .Bounds = {6, 16, 81, 25}, .Caption = "Ok", .TabOrder = 0,
     .OnClick = btnOkClick},
    {.Name = "btnCancel", .Kind = Button, .Parent = "Panel2", .Bounds = {6, 48, 81, 25}, .Caption = "Cancel",
     .TabOrder = 1, .ModalResult = 2},
    {.Name = "btnHelp", .Kind = Button, .Parent = "Panel2", .Bounds = {6, 80, 81, 25}, .Caption = "Help",
     .TabOrder = 2, .OnClick = btnHelpClick},
};

}  // namespace

const TFormDef frmOptionsLayout{
    .Name = "frmOptions",
    .Caption = "Options",
    .BorderStyle = TBorderStyle::Dialog,
    .HelpButton = true,
    .Position = TPosition::Designed,
    .Bounds = {211, 213, 488, 244},
    .Color = clBtnFace,
    .Font = {.Name = "MS Sans Serif", .Height = -11, .Color = clWindowText},
    .OnShow = TOptionsEvent::FormShow,
    .Components = kComponents,
};
