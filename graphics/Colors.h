#pragma once
// Colours: COLORREF byte order (red in the low byte) with a zero top byte for a plain colour; a top byte of
// 0x80 names a system colour by its index instead.
#include <windows.h>

#include <cstdint>

using TColor = int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clGreen = 0x008000;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clSystemColor = static_cast<TColor>(0x80000000);
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;

// The plain colour that a colour stands for now.
inline COLORREF ColorToRGB(TColor color) {
  return (color & clSystemColor) ? GetSysColor(color & 0xFF) : static_cast<COLORREF>(color);
}
