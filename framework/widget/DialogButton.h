#pragma once

// The button of a dialog: a nine-piece frame image (whole, or one cell per
// state) stretched over the button, its label centred, and the whole drawing
// shifted while it is held down.

#include "framework/widget/ButtonWidget.h"

namespace Zing {

class DialogButton : public ButtonWidget {
 public:
  DialogButton(Image* frameImage, int buttonId, ButtonListener* buttonListener);

  void Draw(Graphics* g) override;

  Image* componentImage;
  int translateX = 1;
  int translateY = 1;
  int textOffsetX = 0;
  int textOffsetY = 0;

 private:
  void DrawCells(Graphics* g);
};

}  // namespace Zing
