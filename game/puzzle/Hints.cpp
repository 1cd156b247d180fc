// Hints: a game comes with ten. Buying one shows, in the main menu panel, a
// miniature of the current board with the whole solution of every link drawn
// in: both nodes, every solution cell and the sticks joining them. It stays
// until the level is built again; asking again on the same level costs
// nothing. The solution comes from the level's solution record; nothing is
// computed, and the player's own paths are not shown.

#include <algorithm>
#include <cstdlib>

#include "framework/graphics/Graphics.h"
#include "game/puzzle/GameScreen.h"
#include "game/shell/Resources.h"

namespace Lintwick {

namespace {

// The miniature in the panel's coordinates: 12-pixel cells, cell (0, 0)
// centred at (32, 276), on a background centred at (86, 330).
constexpr int kHintCell = 12;
constexpr int kHintLeft = 32;
constexpr int kHintTop = 276;
constexpr int kHintBkgX = 86;
constexpr int kHintBkgY = 330;

constexpr int HintX(int x) { return kHintLeft + kHintCell * x; }
constexpr int HintY(int y) { return kHintTop + kHintCell * y; }

// Rows of the stick image: joining cells side by side, or one above the other.
constexpr int kStickAcross = 0;
constexpr int kStickDown = 1;

void DrawCentredAt(Zing::Graphics* g, Zing::Image* image, int cx, int cy, int col, int row) {
  if (image) g->DrawImageCel(image, cx - image->GetCelWidth() / 2, cy - image->GetCelHeight() / 2, col, row);
}

}  // namespace

void GameScreen::UseHint() {
  if (mHintShown || mHintsLeft <= 0) return;
  mHintsLeft -= 1;
  mHintShown = true;
}

void GameScreen::DrawHint(Zing::Graphics* g) {
  if (!mHintShown) return;
  DrawCentredAt(g, IMAGE_HINT_BKG, kHintBkgX, kHintBkgY, 0, 0);
  DrawHintBoard(g);
  DrawHintSolution(g);
  for (int link = 0; link < kMaxLinks; ++link) DrawHintSticks(g, link);
}

// Every shadow goes under every cell, as on the board itself.
void GameScreen::DrawHintBoard(Zing::Graphics* g) const {
  for (int cx = 0; cx < kBoardSize; ++cx) {
    for (int cy = 0; cy < kBoardSize; ++cy) {
      if (IsPresent(cx, cy) && HasShadow(cx, cy)) DrawCentredAt(g, IMAGE_HINT_SHADOW, HintX(cx), HintY(cy), 0, 0);
    }
  }
  for (int cx = 0; cx < kBoardSize; ++cx) {
    for (int cy = 0; cy < kBoardSize; ++cy) {
      if (IsPresent(cx, cy)) DrawCentredAt(g, IMAGE_HINT_CELL, HintX(cx), HintY(cy), 0, 0);
    }
  }
}

void GameScreen::DrawHintSolution(Zing::Graphics* g) const {
  for (int link = 0; link < kMaxLinks; ++link) {
    for (int slot = 0; slot < 2; ++slot) {
      if (const Piece* node = GetLink(link).At(slot))
        DrawCentredAt(g, IMAGE_HINT_NODES, HintX(node->x), HintY(node->y), link, 0);
    }
  }
  for (int link = 0; link < kMaxLinks; ++link) {
    for (int code : mSolution[static_cast<std::size_t>(link)]) {
      if (code != kNoCell) DrawCentredAt(g, IMAGE_HINT_LINKS, HintX(CellCodeX(code)), HintY(CellCodeY(code)), link, 0);
    }
  }
}

// The sticks run from the start node through the solution cells to the
// target node; a stick joins two cells only where they are neighbours.
void GameScreen::DrawHintSticks(Zing::Graphics* g, int link) const {
  Zing::Image* sticks = IMAGE_HINT_STICKS;
  const int start = mNodeCells[static_cast<std::size_t>(2 * link + 1)];
  if (!sticks || start == kNoCell) return;
  const int w = sticks->GetCelWidth();
  const int h = sticks->GetCelHeight();
  auto join = [&](int a, int b) {
    const int ax = CellCodeX(a), ay = CellCodeY(a), bx = CellCodeX(b), by = CellCodeY(b);
    if (ay == by && std::abs(ax - bx) == 1) {
      g->DrawImageCel(sticks, HintX(std::min(ax, bx)) + kHintCell / 2 - w / 2, HintY(ay) - h / 2, link, kStickAcross);
    } else if (ax == bx && std::abs(ay - by) == 1) {
      g->DrawImageCel(sticks, HintX(ax) - w / 2, HintY(std::min(ay, by)) + kHintCell / 2 - h / 2, link, kStickDown);
    }
  };
  int from = start;
  for (int code : mSolution[static_cast<std::size_t>(link)]) {
    if (code == kNoCell) continue;
    join(from, code);
    from = code;
  }
  const int target = mNodeCells[static_cast<std::size_t>(2 * link)];
  if (target != kNoCell) join(from, target);
}

}  // namespace Lintwick
