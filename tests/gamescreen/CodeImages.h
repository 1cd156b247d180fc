#pragma once

// Stand-ins for the play field's artwork, made in code with the cel layouts
// of the real images: every cel is one opaque colour that names its image and
// cel, so a test reads back which layer drew a pixel. Installed into the
// resource identifiers for the life of the object. And a play screen drawn
// with them.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widget/Widget.h"
#include "game/puzzle/GameScreen.h"
#include "game/shell/Resources.h"
#include "tests/puzzle/PuzzleTestSupport.h"

namespace LintwickTest {

// The colour of cel `cel` (row * cols + col) of the image tagged `tag`.
constexpr std::uint32_t CelColour(int tag, int cel) {
  return 0xFF000000u | (static_cast<std::uint32_t>(tag) << 16) | static_cast<std::uint32_t>(cel);
}

// Tags of the images: the board's, the play's effects', the hint miniature's.
enum BoardTag { kBkg = 1, kCell, kShadow, kLink0 = 10, kCube0 = 20, kVortex0 = 30 };
enum EffectTag { kHighlights = 40, kTarget, kMark, kStarSmall, kStarBig, kShutters };
enum TextTag { kEffectTexts = 46, kDigits, kVortexLine };
enum HintTag { kHintBkg = 50, kHintCell, kHintShadow, kHintNodes, kHintLinks, kHintSticks };

class CodeImages {
 public:
  // Cel sizes as in the real images, but link cels smaller than the cube's,
  // so the cube's base cel shows as a ring around a piece's link cel.
  CodeImages() {
    using namespace Lintwick;
    Install(IMAGE_GAME_BKG, kBkg, 1, 1, 470, 480);
    Install(IMAGE_CELL, kCell, 1, 1, 45, 45);
    Install(IMAGE_SHADOW_PIECE, kShadow, 1, 1, 51, 51);
    for (int c = 0; c < 7; ++c) {
      Install(LinkImage(c), kLink0 + c, 22, 1, 31, 31);
      Install(RollingCubeImage(c), kCube0 + c, 14, 2, 41, 41);
      Install(VortexImage(c), kVortex0 + c, 15, 1, 40, 40);
    }
    Install(IMAGE_HIGHLIGHTS, kHighlights, 2, 1, 45, 45);
    Install(IMAGE_TARGET, kTarget, 20, 1, 11, 11);
    Install(IMAGE_MARK, kMark, 2, 1, 45, 45);
    Install(IMAGE_STAR_SMALL, kStarSmall, 7, 1, 9, 9);
    Install(IMAGE_STAR_BIG, kStarBig, 7, 1, 15, 15);
    Install(IMAGE_SHUTTERS, kShutters, 1, 2, 464, 230);
    Install(IMAGE_EFFECT_TEXTS, kEffectTexts, 1, 9, 200, 20);
    Install(IMAGE_DIGITS, kDigits, 10, 1, 16, 20);
    Install(IMAGE_VORTEX_LINE, kVortexLine, 1, 2, 200, 4);
    Install(IMAGE_HINT_BKG, kHintBkg, 1, 1, 132, 132);
    Install(IMAGE_HINT_CELL, kHintCell, 1, 1, 11, 11);
    Install(IMAGE_HINT_SHADOW, kHintShadow, 1, 1, 17, 17);
    Install(IMAGE_HINT_NODES, kHintNodes, 7, 1, 10, 10);
    Install(IMAGE_HINT_LINKS, kHintLinks, 7, 1, 6, 6);
    Install(IMAGE_HINT_STICKS, kHintSticks, 7, 2, 8, 8);
  }
  ~CodeImages() {
    for (auto& [id, image] : installed) *id = nullptr;
  }
  CodeImages(const CodeImages&) = delete;
  CodeImages& operator=(const CodeImages&) = delete;

 private:
  void Install(Zing::Image*& id, int tag, int cols, int rows, int celW, int celH) {
    const int w = cols * celW;
    const int h = rows * celH;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x)
        pixels[static_cast<std::size_t>(y) * w + x] = CelColour(tag, (y / celH) * cols + x / celW);
    }
    auto image = std::make_unique<Zing::MemoryImage>();
    image->SetBits(pixels.data(), w, h);
    image->numCols = cols;
    image->numRows = rows;
    id = image.get();
    installed.emplace_back(&id, std::move(image));
  }

  std::vector<std::pair<Zing::Image**, std::unique_ptr<Zing::MemoryImage>>> installed;
};

// A play screen over twelve copies of a level given as a map, beside a panel.
struct CodeScreen : ::testing::Test {
  CodeScreen(const std::vector<std::string>& rows, const std::vector<std::vector<int>>& solution) {
    LevelFiles files;
    files.Add(LevelFromMap(rows, solution), 12);
    files.InstallInto(host);
    screen = std::make_unique<Lintwick::GameScreen>(host, &panel);
  }

  // The pixel at (x, y) of a w x h picture that `draw` drew.
  template <typename Draw>
  std::uint32_t Drawn(Draw draw, int w, int h, int x, int y) {
    Zing::MemoryImage frame;
    frame.Create(w, h);
    frame.SetImageMode(false, false);  // opaque, like the screen
    Zing::Graphics g(&frame);
    (screen.get()->*draw)(&g);
    return frame.GetPixel(x, y);
  }

  CodeImages images;  // before the screen: its board cache is drawn at construction
  FakeHost host;
  Zing::Widget panel;  // the menu panel beside the play field
  std::unique_ptr<Lintwick::GameScreen> screen;
};

}  // namespace LintwickTest
