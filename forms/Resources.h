#pragma once
// Resource identifiers, shared by the resource script and the code; a range per window.

// The program: 1 to 99.
#define IDI_PROGRAM 1

// The control panel: 100 to 199. The menus' and actions' pictures, the toolbar's and the information band's.
#define IDI_EDITOR_CLEAR_DESKTOP 100
#define IDI_EDITOR_HELP 101
#define IDI_EDITOR_OPTIONS 102
#define IDI_EDITOR_MAIL 103
#define IDI_EDITOR_ADD 104
#define IDI_EDITOR_REMOVE 105
#define IDI_EDITOR_NEXT_WALLPAPER 106
#define IDI_EDITOR_CONTROL_PANEL 107
#define IDI_EDITOR_CHECK_FOR_UPDATE 108
#define IDI_EDITOR_TELL_A_FRIEND 109
#define IDI_EDITOR_MOVE_UP 110
#define IDI_EDITOR_MOVE_DOWN 111
#define IDI_EDITOR_PLACE 112
#define IDI_EDITOR_WALLPAPER 113

// The options dialog: 200 to 299.
#define IDI_OPTIONS_GENERAL 200
#define IDI_OPTIONS_WALLPAPER 201

// The picture-file dialog's preview pane: 300 to 399.
#define IDD_PICTURE_PREVIEW 300
#define IDC_PICTURE_PREVIEW 301
#define IDC_PICTURE_SIZE 302
