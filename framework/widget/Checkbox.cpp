// A two-state box: any mouse button toggles it, and so do Enter and Space
// while it has the focus.

#include "framework/widget/Checkbox.h"

#include "framework/graphics/Graphics.h"
#include "framework/widget/FocusRing.h"

namespace Zing {

Checkbox::Checkbox(int checkboxId, CheckboxListener* checkboxListener) : id(checkboxId), listener(checkboxListener) {
  doFinger = true;
}

void Checkbox::SetChecked(bool isChecked, bool tellListener) {
  checked = isChecked;
  if (tellListener && listener != nullptr) listener->CheckboxChecked(id, checked);
  MarkDirty();
}

bool Checkbox::IsChecked() { return checked; }

void Checkbox::MouseDown(int, int, int, int) {
  checked = !checked;
  if (listener != nullptr) listener->CheckboxChecked(id, checked);
  MarkDirty();
}

void Checkbox::KeyDown(int key) {
  if (IsPressKey(key)) {
    MouseDown(0, 0, 0, 1);
  } else if (!MoveFocusByArrow(*this, key)) {
    Widget::KeyDown(key);
  }
}

void Checkbox::GotFocus() {
  Widget::GotFocus();
  MarkDirty();
}

void Checkbox::LostFocus() {
  Widget::LostFocus();
  MarkDirty();
}

void Checkbox::Draw(Graphics* g) {
  DrawLook(g);
  if (hasFocus) DrawFocusFrame(g, width, height);
}

void Checkbox::DrawLook(Graphics* g) {
  if (checkedRect.w == 0 && uncheckedRect.w == 0) {
    if (checkedImage != nullptr && uncheckedImage != nullptr) {
      g->DrawImage(checked ? checkedImage : uncheckedImage, 0, 0);
      return;
    }
  } else if (uncheckedImage != nullptr) {
    // One image holds both looks.
    g->DrawImage(uncheckedImage, 0, 0, checked ? checkedRect : uncheckedRect);
    return;
  }
  if (checkedImage != nullptr || uncheckedImage != nullptr) return;
  g->SetColor(outlineColor);
  g->FillRect(0, 0, width, height);
  g->SetColor(bkgColor);
  g->FillRect(1, 1, width - 2, height - 2);
  if (!checked) return;
  g->SetColor(checkColor);
  g->DrawLine(1, 1, width - 2, height - 2);
  g->DrawLine(width - 2, 1, 1, height - 2);
}

}  // namespace Zing
