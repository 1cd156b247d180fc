// A text link: a button that draws only its underlined label.

#include "framework/widget/HyperlinkWidget.h"

#include "framework/graphics/Graphics.h"

namespace Zing {

namespace {

constexpr int kDefaultFontSize = 10;

}  // namespace

HyperlinkWidget::HyperlinkWidget(int buttonId, ButtonListener* buttonListener)
    : ButtonWidget(buttonId, buttonListener) {
  doFinger = true;
}

void HyperlinkWidget::Draw(Graphics* g) {
  EnsureFont(kDefaultFontSize, false);
  if (font == nullptr) return;
  const int labelWidth = font->StringWidth(label);
  const int labelX = (width - labelWidth) / 2;
  const int labelY = (font->GetAscent() + height) / 2 - 1;
  g->SetFont(font.get());
  g->SetColor(IsHighlighted() ? overColor : color);
  g->DrawString(label, labelX, labelY);
  for (int row = 0; row < underlineSize; ++row) g->FillRect(labelX, labelY + underlineOffset + row, labelWidth, 1);
}

void HyperlinkWidget::MouseEnter() {
  ButtonWidget::MouseEnter();
  MarkFullyDirty();
}

void HyperlinkWidget::GotFocus() {
  ButtonWidget::GotFocus();
  MarkFullyDirty();
}

void HyperlinkWidget::LostFocus() {
  ButtonWidget::LostFocus();
  MarkFullyDirty();
}

void HyperlinkWidget::MouseLeave() {
  ButtonWidget::MouseLeave();
  MarkFullyDirty();
}

}  // namespace Zing
