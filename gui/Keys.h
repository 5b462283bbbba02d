#pragma once
// Modifier keys and shortcuts: a shortcut is a virtual-key code with its modifiers in the high bits, as the
// action tables store it, and shows in menus as text such as "Ctrl+Enter".
#include <windows.h>

#include <cstdint>
#include <string>

using TShiftState = unsigned;
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssAlt = 2;
constexpr TShiftState ssCtrl = 4;

// The modifiers held down now, as the message being handled saw them.
TShiftState KeyboardShiftState();

using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

constexpr TShortCut ShortCut(WORD key, TShiftState shift) {
  return static_cast<TShortCut>((key & 0xFF) | ((shift & ssShift) ? scShift : 0) | ((shift & ssCtrl) ? scCtrl : 0) |
                                ((shift & ssAlt) ? scAlt : 0));
}

// "Ctrl+Up", "Alt+F4", "Del"; empty for no shortcut.
std::string ShortCutToText(TShortCut shortCut);
