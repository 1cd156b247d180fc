#pragma once

// The right-hand area between games: the menu background, the title and the
// four big buttons New, Continue, Replay and Daily Board, drawn in the chosen
// language, and under the title how many boards the player has solved perfectly.

#include <array>
#include <string>

#include "framework/widget/ButtonListener.h"
#include "framework/widget/Widget.h"

namespace Zing {
class ButtonWidget;
class Image;
}  // namespace Zing

namespace Lintwick {

class AppManager;

class StartScreen : public Zing::Widget, public Zing::ButtonListener {
 public:
  static constexpr int kButtonCount = 4;

  explicit StartScreen(AppManager* app);
  StartScreen(const StartScreen&) = delete;
  StartScreen& operator=(const StartScreen&) = delete;
  ~StartScreen() override;

  void AddedToManager(Zing::WidgetManager* manager) override;
  void RemovedFromManager(Zing::WidgetManager* manager) override;
  void Draw(Zing::Graphics* g) override;
  void ButtonDepress(int id) override;

  // Takes the language images again and gives them to the buttons.
  void ApplyLanguageImages();
  Zing::ButtonWidget* GetButton(int id) const { return mButtons[static_cast<std::size_t>(id)]; }
  // The line under the title, "Perfect: N/100" in the chosen language.
  std::string PerfectLabel() const;

 private:
  AppManager* mApp;
  std::array<Zing::ButtonWidget*, kButtonCount> mButtons{};  // owned
  Zing::Image* mNewImage = nullptr;
  Zing::Image* mNewHighlight = nullptr;
  Zing::Image* mContinueImage = nullptr;
  Zing::Image* mContinueHighlight = nullptr;
  Zing::Image* mReplayImage = nullptr;
  Zing::Image* mReplayHighlight = nullptr;
  Zing::Image* mDailyImage = nullptr;
  Zing::Image* mDailyHighlight = nullptr;
};

}  // namespace Lintwick
