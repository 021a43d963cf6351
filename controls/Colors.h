// Colour values as the tables store them: RGB, or a system colour that is
// turned into its current RGB value when it is used.
#pragma once
#include "platform/Canvas.h"

namespace tov {

// Standard colour values. A system colour is its COLOR_* index with the high
// bit set.
constexpr Color clBlack = 0x000000;
constexpr Color clWhite = 0xFFFFFF;
constexpr Color clFuchsia = 0xFF00FF;
constexpr Color clGray = 0x808080;
constexpr Color clNone = kNoColor;
constexpr Color clWindowText = 0x80000008;
constexpr Color clBtnFace = 0x8000000F;
constexpr Color clBtnShadow = 0x80000010;
constexpr Color clBtnText = 0x80000012;
constexpr Color clBtnHighlight = 0x80000014;
constexpr Color clHighlight = 0x8000000D;
constexpr Color clHighlightText = 0x8000000E;
constexpr Color clGrayText = 0x80000011;
constexpr Color clHotLight = 0x8000001A;  // links

// The RGB value of a colour: a system colour through the platform, any other
// value with its high byte cleared.
Color ColorToRGB(Color c);

}  // namespace tov
