#pragma once

// One whole play-screen frame in the worst case the game can reach: a full
// board of seven links, the rolling cube and its target, a dozen vortices, the
// stars of every link at their peak, the mark, and the shutters closed with
// their captions and points. The artwork is made here with the cel sizes of
// the game's images and with soft (partly transparent) edges, so every blit
// blends. The scene borrows the game's image identifiers while it exists and
// gives them back afterwards, so it can also be drawn inside the running game
// (the web page's frame measurement).

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/puzzle/GameScreen.h"
#include "game/shell/Resources.h"
#include "tests/puzzle/PuzzleTestSupport.h"

namespace WorstFrameScene {

inline constexpr int kScreenW = 640;
inline constexpr int kScreenH = 480;

// An image of cols x rows cels, each an opaque disc with a soft rim on a
// transparent ground (or fully opaque when `opaque`).
inline std::unique_ptr<Zing::MemoryImage> MakeArt(int cols, int rows, int celW, int celH, bool opaque = false) {
  const int w = cols * celW;
  const int h = rows * celH;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int dx = x % celW - celW / 2;
      const int dy = y % celH - celH / 2;
      const int r2 = (dx * dx * 4) / (celW * celW / 4 + 1) + (dy * dy * 4) / (celH * celH / 4 + 1);
      std::uint32_t alpha = r2 < 3 ? 255u : (r2 < 4 ? 128u : 0u);
      if (opaque) alpha = 255;
      pixels[static_cast<std::size_t>(y) * w + x] =
          (alpha << 24) | static_cast<std::uint32_t>((x * 7) ^ (y * 13)) % 0xFFFFFFu;
    }
  }
  auto image = std::make_unique<Zing::MemoryImage>();
  image->SetBits(pixels.data(), w, h);
  image->numCols = cols;
  image->numRows = rows;
  return image;
}

struct Art {
  std::vector<std::unique_ptr<Zing::MemoryImage>> owned;
  std::vector<std::pair<Zing::Image**, Zing::Image*>> borrowed;
  void Set(Zing::Image*& id, std::unique_ptr<Zing::MemoryImage> image) {
    borrowed.emplace_back(&id, id);
    id = image.get();
    owned.push_back(std::move(image));
  }
  Art(const Art&) = delete;
  Art& operator=(const Art&) = delete;
  ~Art() {
    for (auto it = borrowed.rbegin(); it != borrowed.rend(); ++it) *it->first = it->second;
  }
  Art() {
    using namespace Lintwick;
    Set(IMAGE_GAME_BKG, MakeArt(1, 1, 470, 480, true));
    Set(IMAGE_CELL, MakeArt(1, 1, 45, 45));
    Set(IMAGE_SHADOW_PIECE, MakeArt(1, 1, 61, 61));
    for (int c = 0; c < 7; ++c) {
      Set(LinkImage(c), MakeArt(22, 1, 45, 45));
      Set(RollingCubeImage(c), MakeArt(14, 2, 64, 64));
      Set(VortexImage(c), MakeArt(15, 1, 60, 60));
    }
    Set(IMAGE_HIGHLIGHTS, MakeArt(2, 1, 45, 45));
    Set(IMAGE_TARGET, MakeArt(20, 1, 57, 57));
    Set(IMAGE_MARK, MakeArt(2, 1, 45, 45));
    Set(IMAGE_STAR_SMALL, MakeArt(7, 1, 20, 20));
    Set(IMAGE_STAR_BIG, MakeArt(7, 1, 32, 32));
    Set(IMAGE_SHUTTERS, MakeArt(1, 2, 464, 232, true));
    Set(IMAGE_EFFECT_TEXTS, MakeArt(1, 9, 440, 48));
    Set(IMAGE_DIGITS, MakeArt(10, 1, 30, 44));
    Set(IMAGE_VORTEX_LINE, MakeArt(1, 2, 454, 10));
  }
};

// Seven links of ten cells, one per row, all joined but the last, which the
// cube is drawing; rows 7 to 9 empty for the vortices.
inline LintwickTest::FakeHost WorstLevel() {
  std::vector<std::string> rows;
  for (int link = 0; link < 7; ++link)
    rows.push_back(std::string(1, static_cast<char>('a' + link)) + "........" + static_cast<char>('A' + link));
  for (int row = 7; row < 10; ++row) rows.emplace_back("..........");
  LintwickTest::FakeHost host;
  LintwickTest::LevelFromMap(rows).InstallInto(host);
  return host;
}

struct WorstScreen {
  Art art;
  LintwickTest::FakeHost host = WorstLevel();
  Lintwick::GameScreen screen{host, nullptr};
  Zing::MemoryImage frame;

  WorstScreen() {
    frame.Create(kScreenW, kScreenH);
    frame.SetImageMode(false, false);  // opaque, like the screen
    for (int link = 0; link < 7; ++link) {
      for (int x = 1; x < 9; ++x) {
        Lintwick::Piece* piece = screen.AddPiece(link, x, link, false);
        piece->frame = Lintwick::kFinishedFrame;
        piece->cel = Lintwick::kFinishedCel;
        piece->highlighted = link == 2;
      }
      screen.mLinks[static_cast<std::size_t>(link)].completed = true;
    }
    // Every link sparkles at once; run the stars to their fullest.
    for (int link = 0; link < 7; ++link) screen.SparkleLink(link);
    for (int tick = 0; tick < 12; ++tick) screen.UpdateStars();
    for (int i = 0; i < 12; ++i) screen.AddVortex(i % 7, 10 + 37 * i, 330 + (i % 3) * 40);
    screen.mCube = screen.PieceAt(4, 6);
    screen.mCubeFrame = 8;
    screen.mCubeCel = 7;
    screen.mCubeDir = Lintwick::kDirRight;
    screen.mMark = screen.PieceAt(3, 3);
    screen.mMarkTicks = 1;
    screen.mShutterTick = 70;
    screen.mShutterOffset = Lintwick::kShutterTravel;
    screen.mLevelPointsShown = 4999;
    screen.mBarBlink = 2;
  }

  void DrawFrame() {
    Zing::Graphics g(&frame);
    g.Translate(Lintwick::kGameScreenX, Lintwick::kGameScreenY);
    g.ClipRect(0, 0, Lintwick::kGameScreenWidth, Lintwick::kGameScreenHeight);
    screen.Draw(&g);
  }
};

}  // namespace WorstFrameScene
