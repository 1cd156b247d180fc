#pragma once

// The game's application object: the product's identity, start-up with its
// three resource groups, the five long-lived screens, what follows every
// button and dialog answer, and saving the running game when the program
// ends. It is also the puzzle's host: sounds, popups, file reads and the
// questions the play field asks.

#include <atomic>
#include <memory>
#include <string>

#include "framework/app/ZingAppBase.h"
#include "game/puzzle/PuzzleHost.h"

namespace Zing {
class Dialog;
}

namespace Lintwick {

class GameScreen;
class MainMenu;
class ShadowScreen;
class Splash;
class StartScreen;

// Start modes of StartGame.
inline constexpr int kStartNewGame = 0;
inline constexpr int kStartContinue = 1;
inline constexpr int kStartAtLevel = 2;

// The song id of the game's music.
inline constexpr int kGameSong = 1;

class AppManager : public Zing::ZingAppBase, public PuzzleHost {
 public:
  explicit AppManager(std::unique_ptr<Zing::Platform::Services> platformServices = nullptr);
  ~AppManager() override;

  // The application base's hooks.
  using ZingAppBase::ButtonDepress;
  void ButtonDepress(int id) override;
  void LoadingThreadCompleted() override;
  void LoadingThreadProc() override;
  bool LoadingSlice() override;
  void SaveForLeaving() override;
  Zing::Dialog* NewDialog(int id, bool isModal, const std::string& header, const std::string& lines,
                          const std::string& footer, int buttonMode) override;
  void Shutdown() override;
  void Init() override;
  bool ChangeDirHook(const std::string&) override { return false; }
  using ZingAppBase::PlaySample;
  void PlaySample(int soundId) override;
  void GotFocus() override;
  void LostFocus() override;
  bool DebugKeyDown(int) override { return false; }
  // The Start button of a game controller opens the options.
  bool CommandKeyDown(int key) override;

  // What the screens and dialogs ask for.
  void SplashFinished();
  void MainMenuCommand(int index);
  void StartScreenCommand(int index);
  void StartGame(int mode, int level = 0);
  void ReturnToStartScreen();
  void EndGame();
  // The level chooser closed: -1 when cancelled, else the board to play.
  void LevelChooserClosed(int level);
  void ShowShadow();
  void HideShadow();
  void LanguageChanged();
  // The options dialog has applied its settings and closed.
  void OptionsClosed();
  // A screen-mode switch made anywhere (Alt+Enter, the options dialog) is
  // shown by the options dialog's "Full Screen" box while it is open.
  using ZingAppBase::SwitchScreenMode;
  void SwitchScreenMode(bool wantWindowed) override;
  void SetupTexts();
  void SelectLanguageImages();
  // Opens one of the yes/no questions (dialogs 2 to 5) over the shadow.
  void AskQuestion(int dialogId);

  // Links the keyboard's focus ring of the shown screens (the board or the
  // start screen's buttons, then the main menu panel's buttons) and gives the
  // focus to its first control.
  void SetUpFocus();

  // The game screen while it is in the widget manager, else null.
  GameScreen* GetShownGameScreen() const;
  bool LoadingFailed() const { return mLoadingFailed; }

  // The puzzle's host.
  void Popup(const std::string& text) override;
  bool FileExists(const std::string& path) override;
  bool ReadBufferFromFile(const std::string& path, Zing::Buffer& buffer) override;
  void PlaySound(Sound sound) override;
  void AskRestartLevel() override;
  void ShowHighScores(int score) override;
  void FreshGameStarted() override;
  void NextLevelShown() override;
  CelSize VortexCelSize(int link) override;
  std::string GetUserDataFolder() override { return GetAppDataFolder(); }
  bool WriteBufferToFile(const std::string& path, const Zing::Buffer& buffer) override;
  bool RegistryReadInteger(const std::string& name, int& value) override;
  bool RegistryWriteInteger(const std::string& name, int value) override;

  Splash* mSplash = nullptr;
  MainMenu* mMainMenu = nullptr;
  GameScreen* mGameScreen = nullptr;
  StartScreen* mStartScreen = nullptr;
  ShadowScreen* mShadow = nullptr;
  int mLastVortexSoundTick = 0;
  int mLastBigStarSoundTick = 0;
  int mLastSmallStarSoundTick = 0;
  bool mShowHelp = false;
  std::string mLocale;

 private:
  void PrepareSaveFolder();
  bool LoadStartGroup(const char* group, bool (*extract)(Zing::ResourceManager*));
  void SetCustomCursors();
  // The update count stored for a sound that starts at most once per update,
  // or null for the other sounds.
  int* ThrottleSlot(int soundId);
  void PausePlay(bool& pausedFlag, bool pause);

  std::atomic<bool> mLoadingFailed{false};
  bool mLoadingStarted = false;  // group "Game" has begun loading
  // Whether the shadow or the lost focus holds one pause of the game screen,
  // so that every pause is matched by exactly one resume.
  bool mShadowPaused = false;
  bool mFocusPaused = false;
};

}  // namespace Lintwick
