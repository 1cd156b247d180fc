#pragma once

// The shell fixture with what the dialog tests add: keys and characters sent
// as window messages, the high-score file, and a restart of the application
// on the same settings and data folders.

#include <string>

#include "framework/app/Buffer.h"
#include "framework/widget/Dialog.h"
#include "game/shell/GameConstants.h"
#include "game/shell/ScoreTable.h"
#include "game/shell/ShadowScreen.h"
#include "game/shell/Splash.h"
#include "game/shell/StartScreen.h"
#include "tests/shell/ShellTestSupport.h"

namespace LintwickTest {

struct GameDialogFixture : ShellFixture {
  void ReachStartScreen() {
    Start();
    ASSERT_TRUE(app->exits.empty());
    ASSERT_NE(app->mSplash, nullptr);
    ClickCentre(app->mSplash->GetStartLinkRect());
    ASSERT_NE(app->mStartScreen, nullptr);
    ASSERT_NE(app->mStartScreen->widgetManager, nullptr);
  }

  // Ends this run as the player would and starts a new one on the same folders.
  void Restart() {
    app->Shutdown();
    app.reset();
    services = new NullServices;
    MakeApp();
    ReachStartScreen();
  }

  void Key(int key, bool alt = false) {
    NullAppFixture::Send(MessageCode::KeyDown, key, 0, 0, alt);
    NullAppFixture::Send(MessageCode::KeyUp, key, 0, 0, alt);
  }

  // Characters as the platform delivers typed text.
  void Type(const std::string& text) {
    for (char c : text) Send(MessageCode::Char, 0, 0, static_cast<unsigned char>(c));
  }

  void ClickFooter(int dialogId) {
    Zing::Dialog* dialog = app->GetDialog(dialogId);
    ASSERT_NE(dialog, nullptr) << "dialog " << dialogId;
    ClickCentre(dialog->yesButton->GetRect());
  }

  std::string ScorePath() const { return home.Path() + "/data/save/score.dat"; }

  Lintwick::ScoreTable StoredScores() {
    Zing::Buffer buffer;
    Lintwick::ScoreTable table;
    table.entries = {};
    if (app->ZingAppBase::ReadBufferFromFile(ScorePath(), buffer)) table.Read(buffer);
    return table;
  }
};

}  // namespace LintwickTest
