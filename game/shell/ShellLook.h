#pragma once

// The colours of the game's menus and dialogs.

#include "framework/graphics/Color.h"

namespace Lintwick {

inline constexpr Zing::Color kTextColor(0xDB, 0xF8, 0xFF);
inline constexpr Zing::Color kHighlightColor(0xFF, 0xFF, 0xFF);

}  // namespace Lintwick
