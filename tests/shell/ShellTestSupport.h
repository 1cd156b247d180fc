#pragma once

// The game's application on the window-less platform with the generated data
// of the build: a simulated clock, mouse clicks, keys and characters sent as
// window messages, and the loading thread's work run in place.

#include <gtest/gtest.h>

#include "framework/audio/OpenALMusicInterface.h"
#include "framework/platform/Folders.h"
#include "framework/platform/NullPlatform.h"
#include "framework/widget/Dialog.h"
#include "game/puzzle/GameScreen.h"
#include "game/puzzle/Progress.h"
#include "game/shell/AppManager.h"
#include "game/shell/DialogIds.h"
#include "game/shell/LanguageDialog.h"
#include "game/shell/MainMenu.h"
#include "game/shell/OptionsDialog.h"
#include "game/shell/ShadowScreen.h"
#include "game/shell/Splash.h"
#include "game/shell/StartScreen.h"
#include "tests/puzzle/PuzzleTestSupport.h"
#include "tests/support/NullApp.h"

namespace LintwickTest {

using Zing::Platform::MessageCode;
using Zing::Platform::NullServices;

// The real music player, noting the songs played: id, offset, whether they stop at their end.
struct NotingMusic : Zing::OpenALMusicInterface {
  std::vector<std::tuple<int, int, bool>> played;
  void PlayMusic(int id, int offset, bool noLoop) override {
    played.emplace_back(id, offset, noLoop);
    OpenALMusicInterface::PlayMusic(id, offset, noLoop);
  }
};

struct ShellApp : ZingTest::NullApp<Lintwick::AppManager> {
  using NullApp::NullApp;
  Zing::MusicInterface* CreateMusicInterface(void*) override { return new NotingMusic; }
};

inline bool Shown(Zing::Widget* widget) { return widget != nullptr && widget->widgetManager != nullptr; }

struct ShellFixture : ZingTest::NullAppFixture<ShellApp> {
  std::string dataDir;

  void SetUp() override {
    const char* dir = std::getenv("LINTWICK_DATA_DIR");
    if (dir == nullptr) GTEST_SKIP() << "LINTWICK_DATA_DIR is not set";
    dataDir = dir;
    Zing::Platform::ChangeWorkingFolder(dataDir);
    MakeApp();
  }

  // No flow shows the player a message box it did not expect: a test that expects one takes it.
  void TearDown() override {
    EXPECT_TRUE(!app || services->messageBoxes.empty()) << (app ? services->messageBoxes[0] : "");
  }

  // Init, then the loading thread's work done in place.
  void Start() {
    NullAppFixture::Start();
    if (!app->exits.empty()) return;
    app->loadingThreadStarted = true;
    app->LoadingThreadProc();
    app->loadingThreadCompleted = true;
    RunFor(20);
  }

  // Splash, start link, start screen.
  void ReachStartScreen() {
    Start();
    ASSERT_TRUE(app->exits.empty() && app->mSplash->IsStartLinkEnabled());
    ClickCentre(app->mSplash->GetStartLinkRect());
    ASSERT_NE(app->mStartScreen->widgetManager, nullptr);
  }

  // The player's progress file, as the game writes it.
  void WriteProgress(const Lintwick::Progress& progress) {
    home.Write("data/save/progress.dat", Bytes(Lintwick::ProgressBytes(progress)));
  }

  void Send(MessageCode code, int x = 0, int y = 0, int param = 0) { NullAppFixture::Send(code, param, x, y); }

  void Key(int key, bool alt = false) {
    NullAppFixture::Send(MessageCode::KeyDown, key, 0, 0, alt);
    NullAppFixture::Send(MessageCode::KeyUp, key, 0, 0, alt);
  }

  void MoveTo(int x, int y) { Send(MessageCode::MouseMove, x, y); }

  // A click, then the loop's time to follow it (unless `run` is false).
  void Click(int x, int y, bool run = true) {
    MoveTo(x, y);
    Send(MessageCode::LButtonDown, x, y);
    Send(MessageCode::LButtonUp, x, y);
    if (run) RunFor(20);
  }

  void ClickCentre(const Zing::Rect& r, bool run = true) { Click(r.x + r.w / 2, r.y + r.h / 2, run); }

  // The YES (or OK, DONE) button of a dialog, or its NO (CANCEL); a dialog
  // that closes leaves the widget manager with every control it added.
  void ClickFooter(int dialogId, bool yes = true) {
    Zing::Dialog* dialog = app->GetDialog(dialogId);
    ASSERT_NE(dialog, nullptr) << "dialog " << dialogId;
    EXPECT_EQ(app->GetWidgetManager()->baseModalWidget, dialog) << "every dialog stands modal: " << dialogId;
    const std::vector<Zing::Widget*> controls = dialog->FocusOrder();
    ClickCentre((yes ? dialog->yesButton : dialog->noButton)->GetRect(), false);
    for (Zing::Widget* control : controls)
      EXPECT_TRUE(app->GetDialog(dialogId) == dialog || control->widgetManager == nullptr) << "dialog " << dialogId;
    RunFor(20);
  }

  Lintwick::OptionsDialog* OpenOptions() {
    ClickCentre(app->mMainMenu->GetButton(1)->GetRect());
    return dynamic_cast<Lintwick::OptionsDialog*>(app->GetDialog(Lintwick::DIALOG_OPTIONS));
  }

  Lintwick::LanguageDialog* OpenLanguages(Lintwick::OptionsDialog* options) {
    ClickCentre(options->GetButton(Lintwick::OptionsDialog::ID_LANGUAGE)->GetRect());
    return dynamic_cast<Lintwick::LanguageDialog*>(app->GetDialog(Lintwick::DIALOG_LANGUAGE));
  }

  // Opens the language chooser from the options and clicks a line: 0 English, 1 German, 2 French.
  Lintwick::LanguageDialog* PickLanguage(Lintwick::OptionsDialog* options, int line) {
    auto* language = OpenLanguages(options);
    if (language == nullptr) return nullptr;
    const Zing::ListWidget* list = language->GetList();
    Click(list->x + 20, list->y + 4 + list->itemHeight * line + list->itemHeight / 2);
    return language;
  }

  // Window coordinates of a board cell's centre.
  static int CellX(int x) { return Lintwick::kGameScreenX + Lintwick::CellCentreX(x); }
  static int CellY(int y) { return Lintwick::kGameScreenY + Lintwick::CellCentreY(y); }

  // Plays the shown level with the mouse along its stored solution, one cell
  // per logic tick, then waits until the next level stands behind the shutters.
  void SolveLevel() {
    Lintwick::GameScreen* game = app->mGameScreen;
    const int level = game->GetLevel();
    ASSERT_NO_FATAL_FAILURE(DrawSolution(game));
    for (int i = 0; i < 400 && game->GetLevel() == level; ++i) RunFor(50);
    ASSERT_EQ(game->GetLevel(), level + 1);
  }

  // Draws every link of a play screen's board along its stored solution.
  void DrawSolution(Lintwick::GameScreen* game) {
    using namespace Lintwick;
    for (int link = 0; link < kMaxLinks; ++link) {
      if (!game->GetLink(link).Exists()) continue;
      for (int i = 0; i < 400 && game->mCube != nullptr; ++i) RunFor(50);
      Click(CellX(game->GetLink(link).At(1)->x), CellY(game->GetLink(link).At(1)->y));
      RunFor(60);
      for (int code : game->mSolution[static_cast<std::size_t>(link)]) {
        if (code == kNoCell) break;
        MoveTo(CellX(CellCodeX(code)), CellY(CellCodeY(code)));
        RunFor(60);
      }
      MoveTo(CellX(game->GetLink(link).At(0)->x), CellY(game->GetLink(link).At(0)->y));
      RunFor(60);
      ASSERT_TRUE(game->GetLink(link).completed) << "link " << link;
    }
  }
};

}  // namespace LintwickTest
