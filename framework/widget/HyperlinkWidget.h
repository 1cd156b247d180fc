#pragma once

// A text link: a button drawn as its label in one colour (another while the
// pointer is over it), underlined, with the hand cursor.

#include "framework/graphics/Color.h"
#include "framework/widget/ButtonWidget.h"

namespace Zing {

class HyperlinkWidget : public ButtonWidget {
 public:
  HyperlinkWidget(int buttonId, ButtonListener* buttonListener);

  void Draw(Graphics* g) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void GotFocus() override;
  void LostFocus() override;

  Color color{255, 255, 255};
  Color overColor{255, 255, 255};
  int underlineSize = 1;
  int underlineOffset = 3;
};

}  // namespace Zing
