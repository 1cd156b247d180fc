// A dialog's button: its frame image stretched as nine pieces over the
// button, from the cell of the current state, with the label centred.

#include "framework/widget/DialogButton.h"

#include "framework/graphics/Graphics.h"

namespace Zing {

namespace {

constexpr int kLabelFontSize = 12;

constexpr Color kDefaultColors[ButtonWidget::NUM_COLORS] = {
    {255, 255, 255}, {255, 255, 255}, {0, 0, 0}, {255, 255, 255}, {132, 132, 132}, {212, 212, 212},
};

}  // namespace

DialogButton::DialogButton(Image* frameImage, int buttonId, ButtonListener* buttonListener)
    : ButtonWidget(buttonId, buttonListener), componentImage(frameImage) {
  doFinger = true;
  colors.assign(std::begin(kDefaultColors), std::end(kDefaultColors));
}

void DialogButton::Draw(Graphics* g) {
  if (btnNoDraw) return;
  if (componentImage == nullptr) {
    ButtonWidget::Draw(g);
    return;
  }
  EnsureFont(kLabelFontSize, true);
  g->PushState();
  if (IsButtonDown()) g->Translate(static_cast<float>(translateX), static_cast<float>(translateY));
  if (normalRect.w == 0) {
    g->DrawImageBox(Rect(0, 0, width, height), componentImage);
  } else {
    DrawCells(g);
  }
  if (font != nullptr && !label.empty()) {
    const int ascent = font->GetAscent();
    const int labelX = (width - font->StringWidth(label)) / 2 + textOffsetX;
    const int labelY = (ascent + height - ascent / 6 - font->GetAscentPadding() - 1) / 2 + textOffsetY;
    g->SetFont(font.get());
    g->SetColor(GetColor(IsHighlighted() ? COLOR_LABEL_HILITE : COLOR_LABEL));
    g->DrawString(label, labelX, labelY);
  }
  g->PopState();
}

void DialogButton::DrawCells(Graphics* g) {
  const Rect dest(0, 0, width, height);
  if (disabled && disabledRect.w >= 1 && disabledRect.h >= 1) {
    g->DrawImageBox(disabledRect, dest, componentImage);
  } else if (IsButtonDown()) {
    g->DrawImageBox(downRect, dest, componentImage);
  } else if (overAlpha <= 0) {
    g->DrawImageBox(IsHighlighted() ? overRect : normalRect, dest, componentImage);
  } else {
    // The highlight fades: the over cell, tinted white, over the normal one.
    if (overAlpha < 1) g->DrawImageBox(normalRect, dest, componentImage);
    g->PushState();
    g->SetColorizeImages(true);
    g->SetColor(Color(255, 255, 255, static_cast<int>(overAlpha * 255)));
    g->DrawImageBox(overRect, dest, componentImage);
    g->PopState();
  }
}

}  // namespace Zing
