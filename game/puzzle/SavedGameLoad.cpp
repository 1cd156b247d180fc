// Continuing a saved game and starting a chosen level with the saved score
// and hints. The file comes from outside the game's control (a disk that
// filled up, a copy broken off, an edited file), so nothing in it is trusted:
// the level it names is built fresh from the level files, and each saved
// value is put back only when play could have produced it on that level.
// What is not sound is left as the fresh level has it; a file that is no
// saved game at all gives a new game. Either way the damaged file stays on
// the disk until the player has played on (see SaveGame).

#include <algorithm>
#include <string>

#include "game/puzzle/GameScreen.h"
#include "game/puzzle/SavedGameRecord.h"
#include "game/shell/GameConstants.h"

namespace Lintwick {

bool GameScreen::LoadGame(int mode) {
  mSavedGameDamaged = false;
  const std::string path = mHost.GetUserDataFolder() + kSavedGameFile;
  Zing::Buffer file;
  if (mHost.FileExists(path) && !mHost.ReadBufferFromFile(path, file)) {
    mHost.Popup(std::string("Could not read contents of ") + kSavedGameFile);
    mSavedGameDamaged = true;  // something is there: it is not overwritten unasked
    return false;
  }
  if (file.GetDataLen() == 0) return false;

  const std::optional<SavedGameRecord> record = ReadSavedGame(file);
  if (!record || (mode == 0 && !record->continuable)) {
    mSavedGameDamaged = true;
    return false;
  }
  if (mode == 0) mLevel = record->level;
  RestartLevel();
  // Whatever the game screen showed before, the loaded game has not handed a
  // final score over yet.
  mFinalScoreHandedOver = false;
  if (mode == 0) mHintShown = record->hintShown;
  bool sound = RestoreHintsAndScore(*record) && record->whole && record->continuable;
  if (mode == 0) sound = RestorePlay(*record) && sound;
  mSavedGameDamaged = !sound;
  return true;
}

bool GameScreen::RestoreHintsAndScore(const SavedGameRecord& record) {
  mHintsLeft = std::clamp(record.hintsLeft, 0, kHintsPerGame);
  mScore = std::max(record.score, 0);
  return mHintsLeft == record.hintsLeft && mScore == record.score;
}

// A level whose every link is joined but whose transition was lost to damage
// would stand finished forever; it starts its transition as play would have.
bool GameScreen::RestorePlay(const SavedGameRecord& record) {
  if (!record.hasPlay) return false;
  bool sound = RestoreTransition(record);
  sound = RestoreLevelScore(record) && sound;
  sound = RestoreLinks(record.links) && sound;
  const bool anyLink = std::any_of(mLinks.begin(), mLinks.end(), [](const Link& l) { return l.Exists(); });
  if (anyLink && mShutterTick == 0) CheckLevelComplete();
  return sound;
}

void GameScreen::ContinueGame() {
  mShutterTick = mShutterOffset = 0;
  mBarBlink = mBarHighlight = 0;
  if (!LoadGame(0)) NewGame();
  HoldSavedGameIfDamaged();
}

// Without a saved game to take the score and hints from, the chosen level is
// still the one that starts, as a new game. Choosing a level is playing on: a
// damaged saved game is not kept over the choice.
void GameScreen::StartAtLevel(int level) {
  const int chosen = std::clamp(level, 0, kLastLevel);
  mLevel = chosen;
  mShutterTick = mShutterOffset = 0;
  mBarBlink = mBarHighlight = 0;
  mHintShown = false;
  if (!LoadGame(1)) {
    NewGame();
    if (chosen != mLevel) {
      mLevel = chosen;
      RestartLevel();
    }
  }
  mHeldGame.reset();
}

void GameScreen::HoldSavedGameIfDamaged() {
  if (!mSavedGameDamaged) {
    mHeldGame.reset();
    return;
  }
  const Zing::Buffer bytes = SavedGameBytes();
  mHeldGame.emplace(bytes.GetDataPtr(), bytes.GetDataPtr() + bytes.GetDataLen());
}

}  // namespace Lintwick
