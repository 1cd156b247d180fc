// The running game on disk: the saved-game file of the save folder, which
// puts the board back exactly as it was left, and the furthest level reached,
// which only grows. Drawing state, the cube, marks, vortices and stars are
// not saved.

#include <vector>

#include "game/puzzle/GameScreen.h"
#include "game/shell/GameConstants.h"

namespace Lintwick {

Zing::Buffer GameScreen::SavedGameBytes() const {
  Zing::Buffer buffer;
  buffer.WriteByte(static_cast<std::uint8_t>(mLevel));
  buffer.WriteByte(mHintShown ? 1 : 0);
  buffer.WriteByte(static_cast<std::uint8_t>(mHintsLeft));
  buffer.WriteLong(mScore);
  buffer.WriteShort(static_cast<std::int16_t>(mLevelPoints));
  buffer.WriteShort(static_cast<std::int16_t>(mVortexesLeft));
  // A finished game whose final score has gone to the high-score table is
  // saved without its standing transition: resumed, the transition would pay
  // the score and hand it over a second time.
  const bool over = mFinalScoreHandedOver;
  buffer.WriteShort(static_cast<std::int16_t>(over ? 0 : mShutterTick));
  buffer.WriteShort(static_cast<std::int16_t>(over ? 0 : mShutterOffset));
  buffer.WriteByte(static_cast<std::uint8_t>(mTransitionKind));
  buffer.WriteShort(static_cast<std::int16_t>(mLevelPointsShown));
  for (const Link& link : mLinks) {
    // The count always matches the codes that follow it, even for a link
    // whose slots had a gap.
    std::vector<std::uint8_t> codes;
    for (int slot = 0; slot < link.count; ++slot) {
      if (const Piece* piece = link.At(slot)) codes.push_back(static_cast<std::uint8_t>(CellCode(piece->x, piece->y)));
    }
    buffer.WriteByte(link.completed ? 1 : 0);
    buffer.WriteByte(static_cast<std::uint8_t>(codes.size()));
    buffer.WriteBytes(codes.data(), codes.size());
  }
  return buffer;
}

void GameScreen::SaveGame() {
  // A failed write is not reported: the game goes on and saves again later.
  mHost.WriteBufferToFile(mHost.GetUserDataFolder() + kSavedGameFile, SavedGameBytes());

  int unlocked = 0;
  if (!mHost.RegistryReadInteger(kUnlockedLevelValue, unlocked)) unlocked = 0;
  if (mLevel > unlocked && !mHost.RegistryWriteInteger(kUnlockedLevelValue, mLevel)) {
    mHost.Popup(std::string("Couldn't save \"") + kUnlockedLevelValue + "\" to registry");
  }
}

// Reading a saved game back comes with the level chooser; until then there is
// never a saved game to continue.
bool GameScreen::LoadGame(int /*mode*/) { return false; }

void GameScreen::ContinueGame() {
  mShutterTick = mShutterOffset = 0;
  mBarBlink = mBarHighlight = 0;
  if (!LoadGame(0)) NewGame();
}

void GameScreen::StartAtLevel(int level) {
  mLevel = level;
  mShutterTick = mShutterOffset = 0;
  mBarBlink = mBarHighlight = 0;
  mHintShown = false;
  if (!LoadGame(1)) NewGame();
}

}  // namespace Lintwick
