// How a dialog looks, and how tall it wants to be: the panel, the header
// centred at the top, the lines wrapped below it, the footer line below them.

#include "framework/graphics/Graphics.h"
#include "framework/widget/Dialog.h"
#include "framework/widget/SystemFonts.h"

namespace Zing {

namespace {

constexpr int kHeaderFontSize = 14;
constexpr int kLinesFontSize = 12;
// Space above the footer line and above the buttons, and the buttons' own
// margin.
constexpr int kBlockGap = 8;
// The drawn panel: its outline's inset, and its shadow's depth and start.
constexpr int kPanelInset = 12;
constexpr int kShadowStart = 24;
constexpr Color kShadowColor{0, 0, 0, 128};

}  // namespace

void Dialog::EnsureFonts() {
  if (headerFont == nullptr) headerFont = CreateSystemFont(kDefaultFontFace, kHeaderFontSize);
  if (linesFont == nullptr) linesFont = CreateSystemFont(kDefaultFontFace, kLinesFontSize);
}

int Dialog::LinesSpacing() const {
  return (linesFont != nullptr ? linesFont->GetLineSpacing() : 0) + lineSpacingOffset;
}

int Dialog::TextWidth() const {
  return width - backgroundInsets.left - contentInsets.left - backgroundInsets.right - contentInsets.right - 4;
}

int Dialog::GetPreferredHeight(int forWidth) {
  EnsureFonts();
  int h = backgroundInsets.top + backgroundInsets.bottom + contentInsets.top + contentInsets.bottom;
  bool anything = false;
  if (!dialogHeader.empty()) {
    if (headerFont != nullptr) h += headerFont->GetHeight() - headerFont->GetAscentPadding();
    anything = true;
  }
  if (!dialogLines.empty()) {
    if (anything) h += spaceAfterHeader;
    const int wrapWidth =
        forWidth - backgroundInsets.left - contentInsets.left - backgroundInsets.right - contentInsets.right - 4;
    h += GetWordWrappedHeight(linesFont.get(), wrapWidth, dialogLines, LinesSpacing());
    anything = true;
  }
  if (!dialogFooter.empty() && buttonMode != BUTTONS_FOOTER) {
    if (anything) h += kBlockGap;
    if (headerFont != nullptr) h += headerFont->GetLineSpacing();
    anything = true;
  }
  if (buttonMode != BUTTONS_NONE) {
    if (anything) h += kBlockGap;
    h += kBlockGap + buttonHeight;
  }
  return h;
}

void Dialog::DrawPanel(Graphics* g) {
  if (componentImage != nullptr) {
    g->DrawImageBox(
        Rect(backgroundInsets.left, backgroundInsets.top, width - backgroundInsets.left - backgroundInsets.right,
             height - backgroundInsets.top - backgroundInsets.bottom),
        componentImage);
    return;
  }
  g->SetColor(GetColor(COLOR_OUTLINE));
  g->DrawRect(kPanelInset, kPanelInset, width - 2 * kPanelInset - 1, height - 2 * kPanelInset - 1);
  g->SetColor(GetColor(COLOR_BKG));
  g->FillRect(kPanelInset + 1, kPanelInset + 1, width - 2 * kPanelInset - 2, height - 2 * kPanelInset - 2);
  g->SetColor(kShadowColor);
  g->FillRect(width - kPanelInset, kShadowStart, kPanelInset, height - kShadowStart - kPanelInset);
  g->FillRect(kShadowStart, height - kPanelInset, width - kShadowStart, kPanelInset);
}

void Dialog::Draw(Graphics* g) {
  EnsureFonts();
  DrawPanel(g);
  int textY = contentInsets.top + backgroundInsets.top;
  if (!dialogHeader.empty() && headerFont != nullptr) {
    const int padding = headerFont->GetAscentPadding();
    g->SetFont(headerFont.get());
    g->SetColor(GetColor(COLOR_HEADER));
    DrawCenteredLine(g, textY + headerFont->GetAscent() - padding, dialogHeader);
    textY += headerFont->GetHeight() - padding + spaceAfterHeader;
  }
  if (!dialogLines.empty() && linesFont != nullptr) {
    g->SetFont(linesFont.get());
    g->SetColor(GetColor(COLOR_LINES));
    // The alignment goes to the word wrapping as it stands.
    const Rect area(backgroundInsets.left + contentInsets.left + 2, textY, TextWidth(), height - textY);
    textY += DrawWordWrapped(g, area, dialogLines, LinesSpacing(), textAlign);
  }
  if (!dialogFooter.empty() && buttonMode != BUTTONS_FOOTER && headerFont != nullptr) {
    g->SetFont(headerFont.get());
    g->SetColor(GetColor(COLOR_FOOTER));
    DrawCenteredLine(g, textY + kBlockGap + headerFont->GetLineSpacing(), dialogFooter);
  }
}

}  // namespace Zing
