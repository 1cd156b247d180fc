#pragma once

// The rules as one large picture in the chosen language, with a close button.

#include "framework/widget/Dialog.h"

namespace Lintwick {

class AppManager;

class HelpDialog : public Zing::Dialog {
 public:
  explicit HelpDialog(AppManager* app);

  void Draw(Zing::Graphics* g) override;
  void ButtonDepress(int id) override;
  using Dialog::ButtonPress;

 private:
  void DrawKeys(Zing::Graphics* g, int top);

  AppManager* mApp;
};

}  // namespace Lintwick
