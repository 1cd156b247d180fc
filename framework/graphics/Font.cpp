#include "framework/graphics/Font.h"

namespace Zing {

int Font::StringWidth(const std::string&) { return 0; }
int Font::CharWidth(char ch) { return StringWidth(std::string(1, ch)); }
int Font::CharWidthKern(char ch, char) { return CharWidth(ch); }
void Font::DrawString(Graphics*, int, int, const std::string&, const Color&, const Rect&) {}

}  // namespace Zing
