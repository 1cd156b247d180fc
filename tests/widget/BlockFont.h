#pragma once

// A font for tests: every character is a solid block, 5 pixels wide and as
// tall as the ascent, on a 6-pixel advance, so drawn text shows at known
// pixels in its colour. It also notes what it drew where.

#include <string>
#include <vector>

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"

namespace WidgetTest {

class BlockFont : public Zing::Font {
 public:
  static constexpr int kAdvance = 6;

  BlockFont() {
    ascent = 8;
    height = 10;
  }
  int StringWidth(const std::string& text) override { return kAdvance * static_cast<int>(text.size()); }
  int CharWidth(char) override { return kAdvance; }
  int CharWidthKern(char, char) override { return kAdvance; }
  void DrawString(Zing::Graphics* g, int px, int py, const std::string& text, const Zing::Color& color,
                  const Zing::Rect&) override {
    drawn.push_back(text + " at " + std::to_string(px) + "," + std::to_string(py) + " r" + std::to_string(color.r));
    g->PushState();
    g->SetColor(color);
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != ' ') g->FillRect(px + kAdvance * static_cast<int>(i), py - ascent, kAdvance - 1, ascent);
    }
    g->PopState();
  }
  Font* Duplicate() const override { return new BlockFont(*this); }

  std::vector<std::string> drawn;  // "text at x,y rRED"
};

}  // namespace WidgetTest
