#pragma once

// The loading screen: fills the window while group "Game" loads, shows the
// progress bar, and then the start link that leads to the menus.

#include "framework/widget/ButtonListener.h"
#include "framework/widget/Widget.h"

namespace Zing {
class HyperlinkWidget;
}

namespace Lintwick {

class AppManager;

class Splash : public Zing::Widget, public Zing::ButtonListener {
 public:
  explicit Splash(AppManager* app);
  Splash(const Splash&) = delete;
  Splash& operator=(const Splash&) = delete;
  ~Splash() override;

  void AddedToManager(Zing::WidgetManager* manager) override;
  void RemovedFromManager(Zing::WidgetManager* manager) override;
  void Update() override;
  void Draw(Zing::Graphics* g) override;
  void ButtonDepress(int id) override;

  // Loading has finished without failure: the player may go on.
  void EnableStartLink();
  bool IsStartLinkEnabled() const;
  // The start link in window coordinates (for tests and benchmarks).
  Zing::Rect GetStartLinkRect() const;

 private:
  // Width of the progress bar for the loading thread's progress now.
  int BarWidth() const;

  AppManager* mApp;
  Zing::HyperlinkWidget* mStartLink;  // owned; null once handed over for deletion
  int mDrawnBarWidth = 0;
};

}  // namespace Lintwick
