// The colours of the game's look: the dark teal panels, the light text, the
// warm accents and the seven link colours.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "tools/artgen/ColourVision.h"

namespace artgen {

// A colour with components 0..1, as cairo wants them.
struct Colour {
  double r = 0, g = 0, b = 0;

  static constexpr Colour Rgb(int red, int green, int blue) { return {red / 255.0, green / 255.0, blue / 255.0}; }
  static constexpr Colour Hex(uint32_t rgb) {
    return Rgb(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
  }
  constexpr Colour Mix(Colour o, double t) const { return {r + (o.r - r) * t, g + (o.g - g) * t, b + (o.b - b) * t}; }
  constexpr Colour Lighter(double t) const { return Mix({0.97, 0.99, 1.0}, t); }
  constexpr Colour Darker(double t) const { return Mix({0.02, 0.09, 0.09}, t); }
};

namespace theme {
inline constexpr Colour kText = Colour::Hex(0xDBF8FF);
inline constexpr Colour kPanel = Colour::Rgb(17, 66, 61);
inline constexpr Colour kPanelDark = Colour::Rgb(13, 47, 44);
inline constexpr Colour kPanelDeep = Colour::Rgb(8, 41, 38);
inline constexpr Colour kAccent = Colour::Rgb(240, 122, 16);
inline constexpr Colour kAccentSoft = Colour::Rgb(238, 154, 83);
inline constexpr Colour kMaker = Colour::Hex(0x1C6860);
// The board: cells a little lighter than the panels, a soft near-black for shadows.
inline constexpr Colour kCell = Colour::Rgb(46, 104, 98);
inline constexpr Colour kShadow = Colour::Rgb(2, 16, 15);
inline constexpr Colour kHighlight = Colour::Rgb(244, 252, 255);
}  // namespace theme

// The seven link colours: red, orange, lemon, aqua, blue, orchid, mint. They
// differ in lightness as well as in hue so that players with any of the common
// colour-vision deficiencies can still tell every pair apart.
inline constexpr std::array<Rgb8, 7> kLinkColours = {{
    {0xC8, 0x14, 0x28},
    {0xF2, 0x91, 0x15},
    {0xEE, 0xF8, 0x40},
    {0x54, 0xE4, 0xDD},
    {0x24, 0x48, 0xE8},
    {0xD3, 0x7F, 0xEA},
    {0xD1, 0xFC, 0xC6},
}};

inline constexpr Colour LinkColour(int link) {
  const Rgb8 c = kLinkColours[size_t(link)];
  return Colour::Rgb(c.r, c.g, c.b);
}

}  // namespace artgen
