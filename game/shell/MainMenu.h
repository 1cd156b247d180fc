#pragma once

// The left-hand panel that stays for the whole run: level and score labels,
// the hint miniature during play, and the buttons New Game, Options, Hint and
// Exit Game.

#include <array>
#include <string>

#include "framework/widget/ButtonListener.h"
#include "framework/widget/Widget.h"

namespace Zing {
class ButtonWidget;
}

namespace Lintwick {

class AppManager;

class MainMenu : public Zing::Widget, public Zing::ButtonListener {
 public:
  static constexpr int kButtonCount = 4;
  static constexpr int kHintButton = 2;

  explicit MainMenu(AppManager* app);
  MainMenu(const MainMenu&) = delete;
  MainMenu& operator=(const MainMenu&) = delete;
  ~MainMenu() override;

  void AddedToManager(Zing::WidgetManager* manager) override;
  void RemovedFromManager(Zing::WidgetManager* manager) override;
  void Draw(Zing::Graphics* g) override;
  void KeyChar(char character) override;
  void ButtonDepress(int id) override;

  // The hint button's caption with `hintsLeft` filled in.
  void SetHintCount(int hintsLeft);
  // Captions again from the text table, after a change of language.
  void Relabel();
  // The level and score labels as drawn now: the shown game's, or 0 between games.
  std::string LevelLabel() const;
  std::string ScoreLabel() const;
  Zing::ButtonWidget* GetButton(int id) const { return mButtons[static_cast<std::size_t>(id)]; }

 private:
  AppManager* mApp;
  std::array<Zing::ButtonWidget*, kButtonCount> mButtons{};  // owned
};

}  // namespace Lintwick
