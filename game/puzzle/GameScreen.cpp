// The play screen as a widget: construction, the logic tick in the update
// rhythm, mouse and key input, the per-level images and the board cache. Drawing is
// in GameScreenDraw.cpp, hints in Hints.cpp, saving in SavedGame.cpp.

#include "game/puzzle/GameScreen.h"

#include <optional>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/platform/KeyCodes.h"
#include "game/shell/Resources.h"

namespace Lintwick {

namespace {

std::optional<BoardKey> BoardKeyOf(int key) {
  switch (key) {
    case Zing::KEYCODE_UP:
      return BoardKey::Up;
    case Zing::KEYCODE_LEFT:
      return BoardKey::Left;
    case Zing::KEYCODE_RIGHT:
      return BoardKey::Right;
    case Zing::KEYCODE_DOWN:
      return BoardKey::Down;
    case Zing::KEYCODE_SPACE:
    case Zing::KEYCODE_RETURN:
      return BoardKey::Press;
    case Zing::KEYCODE_BACK:
    case Zing::KEYCODE_ESCAPE:
      return BoardKey::Cancel;
    default:
      return std::nullopt;
  }
}

}  // namespace

GameScreen::GameScreen(PuzzleHost& host, Zing::Widget* panel) : Puzzle(host), mPanel(panel) {
  // A click on the board gives it the keys back.
  wantsFocus = true;
  Resize(kGameScreenX, kGameScreenY, kGameScreenWidth, kGameScreenHeight);
  // The puzzle built level 0 before this screen existed; give it its images.
  LevelBuilt();
}

GameScreen::~GameScreen() = default;

void GameScreen::AddedToManager(Zing::WidgetManager* manager) { Widget::AddedToManager(manager); }

void GameScreen::RemovedFromManager(Zing::WidgetManager* manager) { Widget::RemovedFromManager(manager); }

void GameScreen::Update() {
  // A paused screen stands still: not even the update count advances, so the
  // ticks resume in the same rhythm.
  if (IsPaused()) return;
  Widget::Update();
  if (updateCount % kUpdatesPerTick != 0) return;
  Tick();
  MarkDirty();
  if (mPanel) mPanel->MarkDirty();
}

void GameScreen::MouseMove(int px, int py) { HandleMouseMove(px, py); }

void GameScreen::MouseDrag(int px, int py) { MouseMove(px, py); }

void GameScreen::MouseDown(int px, int py, int clickCount) { HandleMouseDown(px, py, clickCount); }

void GameScreen::MouseLeave() { HandleMouseLeave(); }

void GameScreen::KeyDown(int key) {
  const std::optional<BoardKey> boardKey = BoardKeyOf(key);
  if (!boardKey) {
    Widget::KeyDown(key);
    return;
  }
  HandleBoardKey(*boardKey);
  MarkDirty();
}

// The keyboard cursor is shown only while the board has the keys.
void GameScreen::GotFocus() {
  Widget::GotFocus();
  MarkDirty();
}

void GameScreen::LostFocus() {
  Widget::LostFocus();
  MarkDirty();
}

void GameScreen::LevelBuilt() {
  PickLevelImages();
  BuildBoardCache();
}

void GameScreen::PickLevelImages() {
  for (std::size_t link = 0; link < kMaxLinks; ++link) {
    const int colour = static_cast<int>(link);
    mLinkImages[link] = LinkImage(colour);
    mCubeImages[link] = RollingCubeImage(colour);
    mVortexImages[link] = VortexImage(colour);
  }
  mStarImages = {IMAGE_STAR_SMALL, IMAGE_STAR_BIG};
}

CelSize GameScreen::VortexCelSize(int link) {
  const Zing::Image* image = VortexImage(link);
  return image ? CelSize{image->GetCelWidth(), image->GetCelHeight()} : CelSize{};
}

// A cell casts a shadow when it lies on the edge of the grid or next to a hole.
bool GameScreen::HasShadow(int cx, int cy) const {
  return CastsShadow(cx, cy, [this](int col, int row) { return IsPresent(col, row); });
}

void GameScreen::BuildBoardCache() {
  mBoardCache = std::make_unique<Zing::MemoryImage>();
  mBoardCache->Create(kGameScreenWidth, kGameScreenHeight);
  // An opaque canvas, like the screen: the background covers it whole, so
  // everything is laid on it, and it is copied onto the screen, without
  // blending against its own alpha.
  mBoardCache->SetImageMode(false, false);
  Zing::Graphics g(mBoardCache.get());
  g.DrawImage(IMAGE_GAME_BKG, 0, 0);
  // Every shadow goes under every cell.
  for (int cx = 0; cx < kBoardSize; ++cx) {
    for (int cy = 0; cy < kBoardSize; ++cy) {
      if (IsPresent(cx, cy) && HasShadow(cx, cy))
        DrawCentred(&g, IMAGE_SHADOW_PIECE, CellCentreX(cx), CellCentreY(cy), 0, 0);
    }
  }
  for (int cx = 0; cx < kBoardSize; ++cx) {
    for (int cy = 0; cy < kBoardSize; ++cy) {
      if (IsPresent(cx, cy)) g.DrawImage(IMAGE_CELL, kBoardLeft + kCellPixels * cx, kBoardTop + kCellPixels * cy);
    }
  }
}

}  // namespace Lintwick
