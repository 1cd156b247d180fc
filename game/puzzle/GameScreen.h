#pragma once

// The play field: the puzzle in a widget. It turns the widget manager's mouse
// input into the puzzle's moves, runs the puzzle's logic tick on every fifth
// update (20 ticks a second) and draws the board with all its effects. The
// static part of the board (background, cell shadows and cells) is drawn once
// per level into a board cache, so a frame draws one large image plus the
// pieces and effects.
//
// It reaches the application only through its `PuzzleHost` (sounds, files,
// settings, the restart question, the high-score hand-over) and marks the
// main menu panel dirty after every tick, since the panel shows its level,
// score and hint.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "framework/widget/Widget.h"
#include "game/puzzle/Puzzle.h"

namespace Zing {
class Graphics;
class Image;
class MemoryImage;
class WidgetManager;
}  // namespace Zing

namespace Lintwick {

struct SavedGameRecord;
struct SavedLink;

// The game screen's place in the 640 x 480 window: right of the 170-pixel
// main menu panel.
inline constexpr int kGameScreenX = 170;
inline constexpr int kGameScreenY = 0;
inline constexpr int kGameScreenWidth = 470;
inline constexpr int kGameScreenHeight = 480;

// Updates per logic tick: the framework's 100 updates a second give 20 ticks.
inline constexpr int kUpdatesPerTick = 5;

class GameScreen : public Zing::Widget, public Puzzle {
 public:
  // `panel` is the main menu panel, marked dirty after every tick; it may be
  // null and may be set later.
  GameScreen(PuzzleHost& host, Zing::Widget* panel);
  ~GameScreen() override;

  void SetPanel(Zing::Widget* panel) { mPanel = panel; }

  // Widget hooks.
  void AddedToManager(Zing::WidgetManager* manager) override;
  void RemovedFromManager(Zing::WidgetManager* manager) override;
  void Update() override;
  void Draw(Zing::Graphics* g) override;
  void MouseMove(int px, int py) override;
  void MouseDown(int px, int py, int clickCount) override;
  void MouseDrag(int px, int py) override;
  void MouseLeave() override;
  // The arrows, Space and Enter, Backspace and Escape play the board; Tab
  // moves the focus on to the main menu panel.
  void KeyDown(int key) override;
  void GotFocus() override;
  void LostFocus() override;
  using Zing::Widget::MouseDown;

  // Queries and game operations of the shell and the main menu panel.
  // GetLevel, GetScore, NewGame, Pause, StopTransition and
  // IsGameCompleteTransition come from the puzzle.
  int GetHintsLeft() const { return mHintsLeft; }
  // Buys the hint of the current level: one hint, once per level build.
  void UseHint();
  // The hint miniature, in the panel's coordinates (nothing unless bought).
  void DrawHint(Zing::Graphics* g);
  void ContinueGame();
  void StartAtLevel(int level);
  // Writes the running game to the save folder and raises the furthest level
  // reached in the settings.
  void SaveGame();
  // Restores a saved game: mode 0 the whole game, mode 1 only hints and score
  // on the level set by the caller. False when there is no saved game. A
  // damaged one gives back what is sound in it, or false when nothing is.
  bool LoadGame(int mode);
  // The last load met a damaged saved game (see mHeldGame).
  bool SavedGameWasDamaged() const { return mSavedGameDamaged; }

  // The saved-game bytes of the running game.
  Zing::Buffer SavedGameBytes() const;

  // Cel size of the vortex image of a link colour, which the application
  // answers to the puzzle (vortices are centred on their cells by it).
  static CelSize VortexCelSize(int link);

  // The board image of the current level (null before the images exist).
  const Zing::MemoryImage* GetBoardCache() const { return mBoardCache.get(); }

 protected:
  void LevelBuilt() override;

 private:
  void PickLevelImages();
  void BuildBoardCache();
  bool HasShadow(int cx, int cy) const;
  // The cel at (col, row) with its centre at (cx, cy), halves rounded toward zero.
  static void DrawCentred(Zing::Graphics* g, Zing::Image* image, int cx, int cy, int col, int row);
  static void DrawCentredCel(Zing::Graphics* g, Zing::Image* image, int cx, int cy, int cel);

  // The layers, back to front.
  void DrawPieces(Zing::Graphics* g) const;
  void DrawVortices(Zing::Graphics* g) const;
  void DrawCube(Zing::Graphics* g) const;
  void DrawHover(Zing::Graphics* g) const;
  void DrawStars(Zing::Graphics* g) const;
  void DrawMark(Zing::Graphics* g) const;
  void DrawShutters(Zing::Graphics* g) const;
  void DrawShutterTexts(Zing::Graphics* g, int sw) const;
  void DrawLevelPoints(Zing::Graphics* g, int sw) const;
  void DrawVortexBar(Zing::Graphics* g) const;

  // The hint miniature's layers.
  void DrawHintBoard(Zing::Graphics* g) const;
  void DrawHintSolution(Zing::Graphics* g) const;
  void DrawHintSticks(Zing::Graphics* g, int link) const;

  // Putting a saved game back onto the freshly built level; each answers
  // whether what it took was sound.
  bool RestoreHintsAndScore(const SavedGameRecord& record);
  bool RestorePlay(const SavedGameRecord& record);
  bool RestoreTransition(const SavedGameRecord& record);
  bool RestoreLevelScore(const SavedGameRecord& record);
  bool RestoreLinks(const std::vector<SavedLink>& links);
  bool RestoreLink(int link, const SavedLink& saved);
  bool ExtendPath(int link, int code);
  void HoldSavedGameIfDamaged();

  Zing::Widget* mPanel = nullptr;
  std::unique_ptr<Zing::MemoryImage> mBoardCache;

  // Images of the link colours and the star kinds, picked at every level build.
  std::array<Zing::Image*, kMaxLinks> mLinkImages{};
  std::array<Zing::Image*, kMaxLinks> mCubeImages{};
  std::array<Zing::Image*, kMaxLinks> mVortexImages{};
  std::array<Zing::Image*, 2> mStarImages{};

  // A damaged saved game is left on the disk until the player has played on:
  // these are the bytes the game would have saved right after the load, and
  // a save that would write them again writes nothing.
  bool mSavedGameDamaged = false;
  std::optional<std::vector<std::uint8_t>> mHeldGame;
};

}  // namespace Lintwick
