#pragma once

// Controls and dialogs without a font of their own draw their texts in a
// font of the desktop ("Arial Unicode MS" at some size, bold or not). The
// system font renderer registers the factory that makes such fonts; until one
// is registered, or when it cannot make the font, those texts are not drawn.

#include <functional>
#include <memory>
#include <string>

#include "framework/graphics/Font.h"

namespace Zing {

inline constexpr const char* kDefaultFontFace = "Arial Unicode MS";

using SystemFontFactory = std::function<std::unique_ptr<Font>(const std::string& face, int size, bool bold)>;

void SetSystemFontFactory(SystemFontFactory factory);
// The font from the registered factory, or none.
std::unique_ptr<Font> CreateSystemFont(const std::string& face, int size, bool bold = false);

}  // namespace Zing
