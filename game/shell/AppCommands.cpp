// The screen flow: what the main menu, the start screen and the answers of
// the dialogs lead to, and the shadow under every dialog, which pauses play.

#include <array>

#include "framework/widget/Dialog.h"
#include "framework/widget/WidgetManager.h"
#include "game/puzzle/GameScreen.h"
#include "game/shell/AppManager.h"
#include "game/shell/DialogIds.h"
#include "game/shell/GameConstants.h"
#include "game/shell/HelpDialog.h"
#include "game/shell/LevelDialog.h"
#include "game/shell/MainMenu.h"
#include "game/shell/OptionsDialog.h"
#include "game/shell/Resources.h"
#include "game/shell/ShadowScreen.h"
#include "game/shell/StartScreen.h"
#include "game/shell/Texts.h"

namespace Lintwick {

namespace {

// Main menu buttons and start screen buttons.
enum MainMenuIndex { kMenuNewGame = 0, kMenuOptions = 1, kMenuHint = 2, kMenuExit = 3 };
enum StartIndex { kStartNew = 0, kStartContinueGame = 1, kStartReplay = 2 };

struct Question {
  int dialogId;
  const std::string* title;
  const std::string* text;
};

const std::array<Question, 4> kQuestions = {{
    {DIALOG_CONFIRM_START_NEW, &TEXT_START_NEW_GAME_TITLE, &TEXT_START_NEW_GAME_QUESTION},
    {DIALOG_CONFIRM_NEW_GAME, &TEXT_NEW_GAME_TITLE, &TEXT_NEW_GAME_QUESTION},
    {DIALOG_RESTART_LEVEL, &TEXT_RESTART_LEVEL_TITLE, &TEXT_RESTART_LEVEL_QUESTION},
    {DIALOG_CONFIRM_EXIT, &TEXT_EXIT_GAME_TITLE, &TEXT_EXIT_GAME_QUESTION},
}};

}  // namespace

void AppManager::MainMenuCommand(int index) {
  switch (index) {
    case kMenuNewGame:
      if (GetShownGameScreen() != nullptr) AskQuestion(DIALOG_CONFIRM_NEW_GAME);
      break;
    case kMenuOptions:
      ShowShadow();
      AddDialog(DIALOG_OPTIONS, new OptionsDialog(this));
      break;
    case kMenuHint:
      if (GameScreen* game = GetShownGameScreen()) {
        game->UseHint();
        mMainMenu->SetHintCount(game->GetHintsLeft());
      }
      break;
    case kMenuExit:
      AskQuestion(DIALOG_CONFIRM_EXIT);
      break;
    default:
      break;
  }
  PlaySample(SOUND_GUI_CLICK);
}

void AppManager::StartScreenCommand(int index) {
  switch (index) {
    case kStartNew:
      if (ZingAppBase::FileExists(GetAppDataFolder() + kSavedGameFile)) {
        AskQuestion(DIALOG_CONFIRM_START_NEW);
      } else {
        StartGame(kStartNewGame);
      }
      break;
    case kStartContinueGame:
      StartGame(kStartContinue);
      break;
    case kStartReplay:
      ShowShadow();
      AddDialog(DIALOG_LEVEL_CHOOSER, new LevelDialog(this));
      break;
    default:
      break;
  }
  PlaySample(SOUND_GUI_CLICK);
}

void AppManager::AskQuestion(int dialogId) {
  for (const Question& question : kQuestions) {
    if (question.dialogId != dialogId) continue;
    ShowShadow();
    DoDialog(dialogId, true, *question.title, *question.text, "", Zing::Dialog::BUTTONS_YES_NO);
  }
}

void AppManager::StartGame(int mode, int level) {
  Zing::WidgetManager* manager = GetWidgetManager();
  if (mStartScreen != nullptr && mStartScreen->widgetManager != nullptr) manager->RemoveWidget(mStartScreen);
  if (mGameScreen == nullptr) {
    mGameScreen = new GameScreen(*this, mMainMenu);
    mGameScreen->Resize(kGameScreenX, kGameScreenY, kGameScreenWidth, kGameScreenHeight);
  }
  if (mode == kStartContinue) {
    mGameScreen->ContinueGame();
  } else if (mode == kStartAtLevel) {
    mGameScreen->StartAtLevel(level);
  } else {
    mGameScreen->NewGame();
  }
  mMainMenu->SetHintCount(mGameScreen->GetHintsLeft());
  manager->AddWidget(mGameScreen);
  SetUpFocus();
  if (mShowHelp) {
    ShowShadow();
    AddDialog(DIALOG_HELP, new HelpDialog(this));
  }
}

void AppManager::ReturnToStartScreen() {
  Zing::WidgetManager* manager = GetWidgetManager();
  if (mGameScreen != nullptr) {
    mGameScreen->SaveGame();
    if (mGameScreen->widgetManager != nullptr) manager->RemoveWidget(mGameScreen);
  }
  manager->AddWidget(mStartScreen);
  SetUpFocus();
  mMainMenu->SetHintCount(0);
}

void AppManager::EndGame() {
  if (mGameScreen != nullptr) mGameScreen->StopTransition();
  ReturnToStartScreen();
}

void AppManager::OptionsClosed() { HideShadow(); }

void AppManager::SwitchScreenMode(bool wantWindowed) {
  ZingAppBase::SwitchScreenMode(wantWindowed);
  if (auto* options = dynamic_cast<OptionsDialog*>(GetDialog(DIALOG_OPTIONS))) {
    options->GetFullScreenBox()->SetChecked(!windowed, true);
  }
}

void AppManager::LevelChooserClosed(int level) {
  HideShadow();
  if (level > -1) StartGame(kStartAtLevel, level);
}

void AppManager::ShowShadow() {
  if (mShadow == nullptr) {
    mShadow = new ShadowScreen(this);
    mShadow->Resize(0, 0, width, height);
  }
  if (mShadow->widgetManager == nullptr) GetWidgetManager()->AddWidget(mShadow);
  PausePlay(mShadowPaused, true);
}

void AppManager::HideShadow() {
  if (mShadow != nullptr && mShadow->widgetManager != nullptr) GetWidgetManager()->RemoveWidget(mShadow);
  PausePlay(mShadowPaused, false);
}

void AppManager::GotFocus() { PausePlay(mFocusPaused, false); }

void AppManager::LostFocus() { PausePlay(mFocusPaused, true); }

// Pauses the game screen while it is shown, or resumes it; each cause (the
// shadow, the lost focus) holds at most one pause, so pause and resume
// always pair up, whatever screen was shown in between.
void AppManager::PausePlay(bool& pausedFlag, bool pause) {
  if (mGameScreen == nullptr || pause == pausedFlag) return;
  if (pause && GetShownGameScreen() == nullptr) return;
  mGameScreen->Pause(pause);
  pausedFlag = pause;
}

void AppManager::ButtonDepress(int id) {
  const int dialogId = id >= kNoAnswer ? id - kNoAnswer : id - kYesAnswer;
  const bool yes = id < kNoAnswer;
  if (id >= kYesAnswer && id < kNoAnswer + kYesAnswer) {
    switch (dialogId) {
      case DIALOG_MESSAGE:
        if (yes) KillDialog(DIALOG_MESSAGE);
        break;
      case DIALOG_CONFIRM_START_NEW:
        HideShadow();
        KillDialog(dialogId);
        if (yes) StartGame(kStartNewGame);
        break;
      case DIALOG_CONFIRM_NEW_GAME:
        HideShadow();
        KillDialog(dialogId);
        if (yes) ReturnToStartScreen();
        break;
      case DIALOG_RESTART_LEVEL:
        HideShadow();
        KillDialog(dialogId);
        if (!yes) ReturnToStartScreen();
        break;
      case DIALOG_CONFIRM_EXIT:
        HideShadow();
        KillDialog(dialogId);
        if (yes) Shutdown();
        break;
      default:
        break;
    }
  }
  PlaySample(SOUND_GUI_CLICK);
}

}  // namespace Lintwick
