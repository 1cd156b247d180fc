#pragma once

// The dimming overlay under every dialog: covers the whole window and fades
// to a quarter black each time it is shown. While it is shown the game
// screen is paused (the application counts that).

#include "framework/widget/Widget.h"

namespace Lintwick {

class AppManager;

class ShadowScreen : public Zing::Widget {
 public:
  static constexpr int kFullAlpha = 64;

  explicit ShadowScreen(AppManager* app);

  void AddedToManager(Zing::WidgetManager* manager) override;
  void Update() override;
  void Draw(Zing::Graphics* g) override;

  int GetAlpha() const { return mAlpha; }

 private:
  [[maybe_unused]] AppManager* mApp;
  int mAlpha = 0;
};

}  // namespace Lintwick
