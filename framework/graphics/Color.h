#pragma once

// A drawing colour: red, green, blue and alpha as 32-bit integers 0..255. Pixels
// themselves are packed 0xAARRGGBB words.

#include <cstdint>

namespace Zing {

struct Color {
  int r = 0;
  int g = 0;
  int b = 0;
  int a = 255;

  constexpr Color() = default;
  constexpr Color(int red, int green, int blue, int alpha = 255) : r(red), g(green), b(blue), a(alpha) {}
  // From a packed 0xAARRGGBB value; an alpha byte of 0 means opaque, so that
  // plain 0xRRGGBB numbers give solid colours.
  static constexpr Color FromPacked(std::uint32_t packed) {
    const int alpha = static_cast<int>(packed >> 24);
    return Color(static_cast<int>((packed >> 16) & 0xFF), static_cast<int>((packed >> 8) & 0xFF),
                 static_cast<int>(packed & 0xFF), alpha == 0 ? 255 : alpha);
  }

  // The packed 0xAARRGGBB value (each component reduced to its low 8 bits).
  constexpr std::uint32_t ToPacked() const {
    return (static_cast<std::uint32_t>(a & 0xFF) << 24) | (static_cast<std::uint32_t>(r & 0xFF) << 16) |
           (static_cast<std::uint32_t>(g & 0xFF) << 8) | static_cast<std::uint32_t>(b & 0xFF);
  }

  constexpr bool operator==(const Color&) const = default;

  static const Color White;
  static const Color Black;
};

inline constexpr Color Color::White{255, 255, 255, 255};
inline constexpr Color Color::Black{0, 0, 0, 255};

}  // namespace Zing
