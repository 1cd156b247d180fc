// How a push button looks: nothing, a bevelled box in its colours, or its
// state images with an optional fading highlight; the label on top, one pixel
// down and right while the button is pressed.

#include "framework/graphics/Graphics.h"
#include "framework/widget/ButtonWidget.h"

namespace Zing {

namespace {

constexpr int kDefaultFontSize = 10;

// The image a state's cell is cut from: its own, or the normal image.
Image* CellSource(Image* stateImage, Image* normalImage) { return stateImage != nullptr ? stateImage : normalImage; }

}  // namespace

void ButtonWidget::DrawButtonImage(Graphics* g, Image* image, const Rect& rect, int px, int py) {
  if (image == nullptr) return;
  if (rect.w == 0) {
    g->DrawImage(image, px, py);
  } else {
    g->DrawImage(image, px, py, rect);
  }
}

void ButtonWidget::Draw(Graphics* g) {
  if (btnNoDraw) return;
  EnsureFont(kDefaultFontSize, false);
  const bool pressedLook = (isDown && isOver && !disabled) != inverted;
  int labelX = 0;
  int labelY = 0;
  if (font != nullptr) {
    const int labelWidth = font->StringWidth(label);
    if (labelJustify == BUTTON_LABEL_CENTER) {
      labelX = (width - labelWidth) / 2;
    } else if (labelJustify == BUTTON_LABEL_RIGHT) {
      labelX = width - labelWidth;
    }
    const int ascent = font->GetAscent();
    labelY = (height - ascent / 6 - 1 + ascent) / 2;
  }
  if (buttonImage == nullptr && downImage == nullptr) {
    DrawFrameLook(g, pressedLook);
  } else {
    DrawImageLook(g, pressedLook);
  }
  if (pressedLook) {
    DrawLabel(g, labelX + 1, labelY + 1, true);
  } else {
    DrawLabel(g, labelX, labelY, IsHighlighted());
  }
}

void ButtonWidget::DrawLabel(Graphics* g, int px, int py, bool hilite) {
  if (font == nullptr || label.empty()) return;
  g->SetFont(font.get());
  g->SetColor(GetColor(hilite ? COLOR_LABEL_HILITE : COLOR_LABEL));
  g->DrawString(label, px, py);
}

void ButtonWidget::DrawFrameLook(Graphics* g, bool pressedLook) {
  if (frameNoDraw) return;
  g->SetColor(GetColor(COLOR_BKG));
  g->FillRect(0, 0, width, height);
  const Color light = GetColor(COLOR_LIGHT_OUTLINE);
  const Color dark = GetColor(COLOR_DARK_OUTLINE);
  // Raised: lit from the top left. Pressed: the light and dark sides swap.
  g->SetColor(pressedLook ? dark : light);
  g->FillRect(0, 0, width - 1, 1);
  g->FillRect(0, 0, 1, height - 1);
  g->SetColor(pressedLook ? light : dark);
  g->FillRect(0, height - 1, width, 1);
  g->FillRect(width - 1, 0, 1, height);
  g->SetColor(GetColor(COLOR_MEDIUM_OUTLINE));
  if (pressedLook) {
    g->FillRect(1, 1, width - 3, 1);
    g->FillRect(1, 1, 1, height - 3);
  } else {
    g->FillRect(1, height - 2, width - 2, 1);
    g->FillRect(width - 2, 1, 1, height - 2);
  }
}

void ButtonWidget::DrawImageLook(Graphics* g, bool pressedLook) {
  if (pressedLook) {
    if (HaveDownImage()) {
      DrawButtonImage(g, CellSource(downImage, buttonImage), downRect, 0, 0);
    } else if (HaveOverImage()) {
      DrawButtonImage(g, CellSource(overImage, buttonImage), overRect, 0, 0);
    } else {
      DrawButtonImage(g, buttonImage, normalRect, 1, 1);
    }
    return;
  }
  if (disabled && HaveDisabledImage()) {
    DrawButtonImage(g, CellSource(disabledImage, buttonImage), disabledRect, 0, 0);
  } else if (overAlpha > 0 && HaveOverImage()) {
    if (HaveButtonImage() && overAlpha < 1) DrawButtonImage(g, buttonImage, normalRect, 0, 0);
    g->PushState();
    g->SetColorizeImages(true);
    g->SetColor(Color(255, 255, 255, static_cast<int>(overAlpha * 255)));
    DrawButtonImage(g, CellSource(overImage, buttonImage), overRect, 0, 0);
    g->PopState();
  } else if ((IsHighlighted() || isDown) && HaveOverImage()) {
    // Held and dragged off, the button still shows that it is being pressed.
    DrawButtonImage(g, CellSource(overImage, buttonImage), overRect, 0, 0);
  } else if (HaveButtonImage()) {
    DrawButtonImage(g, buttonImage, normalRect, 0, 0);
  }
}

}  // namespace Zing
