#pragma once

// The product version and the maker's contact lines.

#include "framework/widget/Dialog.h"

namespace Lintwick {

class AppManager;

class AboutDialog : public Zing::Dialog {
 public:
  explicit AboutDialog(AppManager* app);

  void ButtonDepress(int id) override;
  using Dialog::ButtonPress;

 private:
  AppManager* mApp;
};

}  // namespace Lintwick
