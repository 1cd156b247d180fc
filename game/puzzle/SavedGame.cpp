// Writing the running game: the saved-game file of the save folder (its
// layout is in SavedGameRecord.h), which puts the board back exactly as it
// was left, and the furthest level reached, which only grows. Drawing state,
// the cube, marks, vortices and stars are not saved. Reading it back is in
// SavedGameLoad.cpp.

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
  // A one-board game (the daily board) is made again from its date; saving
  // it would overwrite the running game of the hundred levels.
  if (IsSingleBoardGame()) return;
  const Zing::Buffer bytes = SavedGameBytes();
  const std::vector<std::uint8_t> game(bytes.GetDataPtr(), bytes.GetDataPtr() + bytes.GetDataLen());
  if (mHeldGame && *mHeldGame == game) {
    // Nothing was played since a damaged saved game was loaded: the file is
    // left as it is, for a later version or a helping hand to recover.
  } else {
    mHeldGame.reset();
    // A failed write is not reported: the game goes on and saves again later.
    mHost.WriteBufferToFile(mHost.GetUserDataFolder() + kSavedGameFile, bytes);
  }

  int unlocked = 0;
  if (!mHost.RegistryReadInteger(kUnlockedLevelValue, unlocked)) unlocked = 0;
  if (mLevel > unlocked && !mHost.RegistryWriteInteger(kUnlockedLevelValue, mLevel)) {
    mHost.Popup(std::string("Couldn't save \"") + kUnlockedLevelValue + "\" to registry");
  }
}

}  // namespace Lintwick
