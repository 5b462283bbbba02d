#pragma once
// Resource identifiers, shared by the resource script and the code; a range per window.

// The program: 1 to 99.
#define IDI_PROGRAM 1

// The options dialog: 200 to 299.
#define IDI_OPTIONS_GENERAL 200
#define IDI_OPTIONS_WALLPAPER 201
