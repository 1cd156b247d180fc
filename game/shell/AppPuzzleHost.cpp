// The application as the puzzle's host and as the one place sounds start:
// the star and vortex sounds start at most once per update, however many
// stars or vortices ask in it, and nothing is asked of the sound manager
// while effects are silent.

#include "framework/audio/SoundManager.h"
#include "game/puzzle/GameScreen.h"
#include "game/shell/AppManager.h"
#include "game/shell/DialogIds.h"
#include "game/shell/Resources.h"
#include "game/shell/ScoreDialog.h"

namespace Lintwick {

void AppManager::PlaySample(int soundId) {
  if (sfxVolume <= 0) return;
  if (int* last = ThrottleSlot(soundId)) {
    if (updateCount - *last <= 0) return;
    *last = updateCount;
  }
  if (soundManager == nullptr) return;
  if (Zing::SoundInstance* instance = soundManager->GetSoundInstance(static_cast<unsigned int>(soundId))) {
    instance->Play(false, true);
  }
}

int* AppManager::ThrottleSlot(int soundId) {
  if (soundId == SOUND_VORTEX) return &mLastVortexSoundTick;
  if (soundId == SOUND_STAR_BIG) return &mLastBigStarSoundTick;
  if (soundId == SOUND_STAR_SMALL) return &mLastSmallStarSoundTick;
  return nullptr;
}

void AppManager::PlaySound(Sound sound) { PlaySample(SoundId(sound)); }

void AppManager::Popup(const std::string& text) { ZingAppBase::Popup(text); }

bool AppManager::FileExists(const std::string& path) { return ZingAppBase::FileExists(path); }

bool AppManager::ReadBufferFromFile(const std::string& path, Zing::Buffer& buffer) {
  return ZingAppBase::ReadBufferFromFile(path, buffer);
}

void AppManager::AskRestartLevel() { AskQuestion(DIALOG_RESTART_LEVEL); }

// The finished game's score goes to the high-score table; a score that
// earns no place goes straight back to the start screen.
void AppManager::ShowHighScores(int score) {
  auto* dialog = new ScoreDialog(this);
  if (dialog->InsertScore(score) >= 0) return;  // the dialog is open as dialog 9
  delete dialog;
  EndGame();
}

void AppManager::FreshGameStarted() { mShowHelp = true; }

// Where the program may end without a close (a browser tab), each level
// reached is saved at once rather than only on closing.
void AppManager::NextLevelShown() {
  if (!services->MayEndWithoutClose()) return;
  if (GameScreen* game = GetShownGameScreen(); game != nullptr) game->SaveGame();
}

CelSize AppManager::VortexCelSize(int link) { return GameScreen::VortexCelSize(link); }

bool AppManager::WriteBufferToFile(const std::string& path, const Zing::Buffer& buffer) {
  return ZingAppBase::WriteBufferToFile(path, buffer);
}

bool AppManager::RegistryReadInteger(const std::string& name, int& value) {
  return ZingAppBase::RegistryReadInteger(name, value);
}

bool AppManager::RegistryWriteInteger(const std::string& name, int value) {
  return ZingAppBase::RegistryWriteInteger(name, value);
}

}  // namespace Lintwick
