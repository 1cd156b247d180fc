#pragma once

// A two-state box: any click toggles it and tells the listener. Drawn from
// two images, from two cells of one image, or as a plain box with a cross.

#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"
#include "framework/widget/CheckboxListener.h"
#include "framework/widget/Widget.h"

namespace Zing {

class Image;

class Checkbox : public Widget {
 public:
  Checkbox(int checkboxId, CheckboxListener* checkboxListener);

  using Widget::MouseDown;

  virtual void SetChecked(bool isChecked, bool tellListener = true);
  virtual bool IsChecked();

  void Draw(Graphics* g) override;
  void MouseDown(int px, int py, int button, int clickCount) override;
  // Enter and Space toggle the box with the focus; the arrows move the focus.
  void KeyDown(int key) override;
  void GotFocus() override;
  void LostFocus() override;

  int id;
  CheckboxListener* listener;
  bool checked = false;
  Image* uncheckedImage = nullptr;
  Image* checkedImage = nullptr;
  // Cells of `uncheckedImage` when it holds both looks.
  Rect uncheckedRect;
  Rect checkedRect;
  Color outlineColor{255, 255, 255};
  Color bkgColor{80, 80, 80};
  Color checkColor{255, 255, 0};

 private:
  void DrawLook(Graphics* g);
};

}  // namespace Zing
