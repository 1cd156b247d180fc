// A push button's input: pressing, completing a click by releasing over it,
// held ticks, and the highlight that fades in and out as the pointer comes
// and goes. Its drawing is in ButtonWidgetDraw.cpp.

#include "framework/widget/ButtonWidget.h"

#include <algorithm>

#include "framework/widget/FocusRing.h"
#include "framework/widget/SystemFonts.h"
#include "framework/widget/WidgetManager.h"

namespace Zing {

namespace {

// What is left of a highlight after steps that should have used it up
// exactly (ten steps of 0.1 leave a rounding error, not a visible glow).
constexpr double kFadeEpsilon = 1e-9;

constexpr Color kDefaultColors[ButtonWidget::NUM_COLORS] = {
    {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}, {132, 132, 132}, {212, 212, 212},
};

}  // namespace

ButtonWidget::ButtonWidget(int buttonId, ButtonListener* buttonListener) : id(buttonId), listener(buttonListener) {
  hasAlpha = true;
  colors.assign(std::begin(kDefaultColors), std::end(kDefaultColors));
}

ButtonWidget::~ButtonWidget() = default;

void ButtonWidget::SetFont(Font* newFont) {
  font.reset(newFont != nullptr ? newFont->Duplicate() : nullptr);
  MarkDirty();
}

bool ButtonWidget::IsButtonDown() { return isDown && isOver && !disabled; }

void ButtonWidget::EnsureFont(int size, bool bold) {
  if (font == nullptr && !label.empty()) font = CreateSystemFont(kDefaultFontFace, size, bold);
}

bool ButtonWidget::HoverChangesLook() {
  return isDown || HaveOverImage() || GetColor(COLOR_LABEL) != GetColor(COLOR_LABEL_HILITE);
}

void ButtonWidget::SetDisabled(bool isDisabled) {
  Widget::SetDisabled(isDisabled);
  if (HaveDisabledImage()) MarkDirty();
}

void ButtonWidget::MouseEnter() {
  if (overAlphaFadeInSpeed == 0 && overAlpha > 0) overAlpha = 0;
  if (HoverChangesLook()) MarkDirty();
  if (listener != nullptr) listener->ButtonMouseEnter(id);
}

void ButtonWidget::MouseLeave() {
  if (overAlphaSpeed == 0 && overAlpha > 0) {
    overAlpha = 0;
  } else if (overAlphaSpeed > 0 && overAlpha == 0) {
    overAlpha = 1.0;  // the highlight fades out from full
  }
  if (HoverChangesLook()) MarkDirty();
  if (listener != nullptr) listener->ButtonMouseLeave(id);
}

void ButtonWidget::MouseMove(int px, int py) {
  if (listener != nullptr) listener->ButtonMouseMove(id, px, py);
}

void ButtonWidget::MouseDown(int, int, int, int clickCount) {
  if (listener != nullptr) listener->ButtonPress(id, clickCount);
  MarkDirty();
}

void ButtonWidget::MouseUp(int, int, int, int) {
  // Only a release over the button, in the active window, completes a click.
  const bool appHasFocus = widgetManager == nullptr || widgetManager->hasFocus;
  if (isOver && appHasFocus && listener != nullptr) listener->ButtonDepress(id);
  MarkDirty();
}

void ButtonWidget::KeyDown(int key) {
  if (IsPressKey(key)) {
    if (disabled || listener == nullptr) return;
    listener->ButtonPress(id, 1);
    listener->ButtonDepress(id);
    return;
  }
  if (!MoveFocusByArrow(*this, key)) Widget::KeyDown(key);
}

void ButtonWidget::GotFocus() {
  Widget::GotFocus();
  if (HoverChangesLook()) MarkDirty();
}

void ButtonWidget::LostFocus() {
  Widget::LostFocus();
  if (HoverChangesLook()) MarkDirty();
}

void ButtonWidget::Update() {
  Widget::Update();
  if (isDown && isOver && listener != nullptr) listener->ButtonDownTick(id);
  if (!isDown && !isOver) {
    if (overAlpha > 0) {
      overAlpha = overAlphaSpeed > 0 ? overAlpha - overAlphaSpeed : 0.0;
      if (overAlpha < kFadeEpsilon) overAlpha = 0.0;
      MarkDirty();
    }
  } else if (isOver && overAlpha < 1 && overAlphaFadeInSpeed > 0) {
    overAlpha = overAlpha + overAlphaFadeInSpeed;
    if (overAlpha > 1.0 - kFadeEpsilon) overAlpha = 1.0;
    MarkDirty();
  }
}

}  // namespace Zing
