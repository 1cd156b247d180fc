#include "framework/platform/Cursors.h"

#include <array>
#include <cstdint>

#include "framework/platform/Platform.h"

namespace Zing::Platform {

namespace {

// 32 x 32 monochrome hands: 'X' outline, '.' fill, ' ' transparent.
constexpr std::array<const char*, 24> kPointingHand = {
    "                                ", "                                ", "                                ",
    "                                ", "          XX                    ", "         X..X                   ",
    "         X..X                   ", "         X..X                   ", "         X..X                   ",
    "         X..XXX                 ", "         X..X..XXX              ", "         X..X..X..XX            ",
    "      XX X..X..X..X.X          ", "     X..XX.........X.X          ", "     X...X...........X          ",
    "      X..X...........X          ", "       X.............X          ", "       X.............X          ",
    "        X............X          ", "        X...........X           ", "         X..........X           ",
    "         X.........X            ", "          X........X            ", "          XXXXXXXXXX            "};

constexpr std::array<const char*, 24> kDraggingHand = {
    "                                ", "                                ", "                                ",
    "                                ", "                                ", "                                ",
    "                                ", "                                ", "          XX XX XX              ",
    "         X..X..X..XX            ", "         X.........X.X          ", "       XXX...........X          ",
    "      X..X...........X          ", "      X...............X         ", "       X..............X         ",
    "        X.............X         ", "        X.............X         ", "         X...........X          ",
    "         X...........X          ", "          X.........X           ", "          X.........X           ",
    "           X.......X            ", "           XXXXXXXXX            ", "                                "};

template <std::size_t Rows>
SDL_Cursor* FromArt(const std::array<const char*, Rows>& art, int hotX, int hotY) {
  std::array<std::uint8_t, 32 * 32 / 8> data{};
  std::array<std::uint8_t, 32 * 32 / 8> mask{};
  for (std::size_t y = 0; y < Rows; ++y) {
    for (std::size_t x = 0; x < 32; ++x) {
      const char c = art[y][x];
      const std::size_t byte = y * 4 + x / 8;
      const auto bit = static_cast<std::uint8_t>(0x80 >> (x % 8));
      if (c != ' ') mask[byte] |= bit;
      if (c == 'X') data[byte] |= bit;
    }
  }
  return SDL_CreateCursor(data.data(), mask.data(), 32, 32, hotX, hotY);
}

}  // namespace

SDL_Cursor* CreateCursorShape(int shape) {
  switch (shape) {
    case CursorHand: return FromArt(kPointingHand, 11, 4);
    case CursorDragging: return FromArt(kDraggingHand, 15, 10);
    case CursorText: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_IBEAM);
    case CursorNo: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_NO);
    case CursorMove: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZEALL);
    case CursorSizeNESW: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZENESW);
    case CursorSizeNS: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZENS);
    case CursorSizeNWSE: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZENWSE);
    case CursorSizeWE: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZEWE);
    case CursorWait: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
    default: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
  }
}

}  // namespace Zing::Platform
