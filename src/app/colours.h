// Colour decisions that do not need the platform: contrast between a
// background and its text, and the background a control is finally painted in.
#pragma once

#include <cstdint>

#include "app/layout.h"

namespace tavlin::app {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
};

// WCAG contrast ratio, from 1 (same luminance) to 21 (black on white).
double ContrastRatio(Rgb a, Rgb b);

// The Windows system colours the window uses (COLOR_...), by their indexes.
inline constexpr SysColour kColourDesktop = 1;  // COLOR_BACKGROUND
inline constexpr SysColour kColourWindow = 5;
inline constexpr SysColour kColourWindowFrame = 6;
inline constexpr SysColour kColourWindowText = 8;
inline constexpr SysColour kColourCaptionText = 9;
inline constexpr SysColour kColourBtnFace = 15;
inline constexpr SysColour kColourBtnText = 18;

// The caption-text colour (9) was a light background when the window was
// designed; on current systems it is often black, under black text. When it
// stands too little apart from the normal label text, the window colour (5)
// takes its place, for the whole About box alike; where it is light it stays.
SysColour EffectiveBack(SysColour back, Rgb backRgb, Rgb labelTextRgb);

}  // namespace tavlin::app
