#pragma once

// What a dialog tells the one who answers it (the application, unless the
// dialog is given another listener) about its yes/ok (1000) and no/cancel
// (1001) buttons.

namespace Zing {

class DialogListener {
 public:
  virtual ~DialogListener() = default;

  virtual void DialogButtonPress(int /*dialogId*/, int /*buttonId*/) {}
  virtual void DialogButtonDepress(int /*dialogId*/, int /*buttonId*/) {}

  // The listener every new dialog starts with; the application sets itself
  // here when it is built and clears it when it goes.
  static DialogListener* GetDefault();
  static void SetDefault(DialogListener* listener);
};

}  // namespace Zing
