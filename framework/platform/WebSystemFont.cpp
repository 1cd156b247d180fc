// The browser has no system font renderer for the program: controls without
// a font of their own use the game's image fonts, and a request for a system
// face is answered with none.

#include "framework/platform/SystemFont.h"

namespace Zing::Platform {

struct SystemFontFace::Impl {};

std::unique_ptr<SystemFontFace> SystemFontFace::Open(const std::string& family, int, bool, bool, std::string& error) {
  error = "No system font \"" + family + "\" in the browser";
  return nullptr;
}

SystemFontFace::SystemFontFace(std::unique_ptr<Impl> opened) : impl(std::move(opened)) {}

SystemFontFace::~SystemFontFace() = default;

bool SystemFontFace::Render(char32_t, SystemGlyph&) { return false; }

}  // namespace Zing::Platform
