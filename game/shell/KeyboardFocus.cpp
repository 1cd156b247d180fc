// Playing the shell from the keyboard or a game controller: the focus ring of
// the shown screens, and the Start button, which opens the options wherever
// the focus stands. Tab and the arrows walk the ring; the board keeps the
// arrows for its own cursor, so Tab leads from it to the panel.

#include <vector>

#include "framework/platform/KeyCodes.h"
#include "framework/widget/ButtonWidget.h"
#include "framework/widget/FocusRing.h"
#include "framework/widget/WidgetManager.h"
#include "game/puzzle/GameScreen.h"
#include "game/shell/AppManager.h"
#include "game/shell/MainMenu.h"
#include "game/shell/StartScreen.h"

namespace Lintwick {

namespace {

constexpr int kMenuOptionsCommand = 1;

}  // namespace

void AppManager::SetUpFocus() {
  std::vector<Zing::Widget*> ring;
  if (GameScreen* game = GetShownGameScreen()) {
    ring.push_back(game);
  } else if (mStartScreen != nullptr && mStartScreen->widgetManager != nullptr) {
    for (int id = 0; id < StartScreen::kButtonCount; ++id) ring.push_back(mStartScreen->GetButton(id));
  }
  if (mMainMenu != nullptr && mMainMenu->widgetManager != nullptr) {
    for (int id = 0; id < MainMenu::kButtonCount; ++id) ring.push_back(mMainMenu->GetButton(id));
  }
  Zing::LinkFocusRing(ring);
  if (!ring.empty()) GetWidgetManager()->SetFocus(ring.front());
}

bool AppManager::CommandKeyDown(int key) {
  if (key != Zing::KEYCODE_START) return false;
  // Between the splash and the options' own answers there is nothing to open.
  if (mMainMenu != nullptr && mMainMenu->widgetManager != nullptr && GetDialogCount() == 0) {
    MainMenuCommand(kMenuOptionsCommand);
  }
  return true;
}

}  // namespace Lintwick
