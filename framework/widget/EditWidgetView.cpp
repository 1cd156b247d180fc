// How the text field looks and follows the pointer: the visible part of the
// text scrolled to keep the cursor in view, the selection, the blinking
// cursor bar, and placing the cursor and the selection with the mouse.

#include <algorithm>

#include "framework/graphics/Graphics.h"
#include "framework/widget/EditWidget.h"
#include "framework/widget/SystemFonts.h"

namespace Zing {

namespace {

constexpr int kTextInset = 4;  // pixels between the frame and the text
constexpr int kSmallJump = 1;  // characters scrolled while typing
constexpr int kBigJump = 10;   // characters scrolled when the cursor jumps
constexpr int kDefaultFontSize = 10;
constexpr int kCursorTextBeam = 3;
constexpr int kCursorArrow = 0;

}  // namespace

const std::string& EditWidget::GetDisplayText() {
  if (passwordChar == 0) return text;
  displayCache_.assign(text.size(), passwordChar);
  return displayCache_;
}

Font* EditWidget::GetFont() {
  if (font == nullptr) font = CreateSystemFont(kDefaultFontFace, kDefaultFontSize);
  return font.get();
}

int EditWidget::TextWidth(const std::string& part) {
  Font* measure = GetFont();
  return measure != nullptr ? measure->StringWidth(part) : 0;
}

void EditWidget::FocusCursor(bool bigJump) {
  const int step = bigJump ? kBigJump : kSmallJump;
  cursorPos = std::clamp(cursorPos, 0, static_cast<int>(text.size()));
  while (cursorPos < leftPos) leftPos = std::max(0, leftPos - step);
  const std::string& shown = GetDisplayText();
  while (leftPos < cursorPos &&
         TextWidth(shown.substr(static_cast<std::size_t>(leftPos), static_cast<std::size_t>(cursorPos - leftPos))) >=
             width - 2 * kTextInset) {
    leftPos = std::min(leftPos + step, cursorPos);
  }
}

int EditWidget::GetCharAt(int px, int) {
  Font* measure = GetFont();
  const std::string& shown = GetDisplayText();
  const int length = static_cast<int>(shown.size());
  int index = std::min(leftPos, length);
  if (measure == nullptr) return index;
  int boundary = kTextInset;
  char previous = 0;
  for (; index < length; ++index) {
    const char c = shown[static_cast<std::size_t>(index)];
    const int advance = measure->CharWidthKern(c, previous);
    if (px < boundary + advance / 2) return index;
    boundary += advance;
    previous = c;
  }
  return length;
}

void EditWidget::HiliteWord() {
  const std::string& shown = GetDisplayText();
  int from = std::clamp(cursorPos, 0, static_cast<int>(shown.size()));
  int to = from;
  while (from > 0 && IsPartOfWord(shown[static_cast<std::size_t>(from - 1)])) --from;
  while (to < static_cast<int>(shown.size()) && IsPartOfWord(shown[static_cast<std::size_t>(to)])) ++to;
  hiliteAnchor = from;
  cursorPos = to;
}

void EditWidget::Update() {
  Widget::Update();
  if (!hasFocus) return;
  if (++blinkAcc > blinkDelay) {
    showingCursor = !showingCursor;
    blinkAcc = 0;
    MarkDirty();
  }
}

void EditWidget::GotFocus() {
  Widget::GotFocus();
  RestartBlink();
  MarkDirty();
}

void EditWidget::LostFocus() {
  Widget::LostFocus();
  showingCursor = false;
  MarkDirty();
}

void EditWidget::MouseEnter() { SetAppCursor(kCursorTextBeam); }

void EditWidget::MouseLeave() { SetAppCursor(kCursorArrow); }

void EditWidget::MouseDown(int px, int py, int, int clickCount) {
  hiliteAnchor = -1;
  cursorPos = GetCharAt(px, py);
  if (clickCount == 2) {
    hadDoubleClick = true;
    HiliteWord();
  }
  MarkDirty();
  FocusCursor(false);
}

void EditWidget::MouseDrag(int px, int py) {
  if (hiliteAnchor < 0) hiliteAnchor = cursorPos;
  cursorPos = GetCharAt(px, py);
  MarkDirty();
  FocusCursor(false);
}

void EditWidget::MouseUp(int, int, int, int) {
  if (hiliteAnchor == cursorPos) hiliteAnchor = -1;
  if (hadDoubleClick) {
    HiliteWord();
    hadDoubleClick = false;
  }
  MarkDirty();
}

void EditWidget::Draw(Graphics* g) {
  ClampPositions();
  g->SetColor(GetColor(COLOR_BKG));
  g->FillRect(0, 0, width, height);
  Font* shownFont = GetFont();
  if (shownFont != nullptr) {
    const std::string& shown = GetDisplayText();
    const int textY = (height - shownFont->GetHeight()) / 2 + shownFont->GetAscent();
    // Every character is at least a pixel wide, so no more than `width` of
    // them can be in view.
    const std::string inView =
        shown.substr(static_cast<std::size_t>(leftPos), static_cast<std::size_t>(std::max(width, 0)));
    g->PushState();
    g->SetFont(shownFont);
    g->ClipRect(kTextInset, 0, width - 2 * kTextInset, height);
    g->SetColor(GetColor(COLOR_TEXT));
    g->DrawString(inView, kTextInset, textY);
    g->PopState();
    if (hasFocus && HasSelection()) DrawSelection(g, textY);
    if (hasFocus && showingCursor) {
      const int cursorX =
          kTextInset + TextWidth(shown.substr(static_cast<std::size_t>(leftPos),
                                              static_cast<std::size_t>(std::max(0, cursorPos - leftPos))));
      g->SetColor(GetColor(COLOR_TEXT));
      g->FillRect(cursorX, (height - shownFont->GetHeight()) / 2, 1, shownFont->GetHeight());
    }
  }
  g->SetColor(GetColor(COLOR_OUTLINE));
  g->DrawRect(0, 0, width - 1, height - 1);
}

void EditWidget::DrawSelection(Graphics* g, int textY) {
  const std::string& shown = GetDisplayText();
  const int from = std::max(std::min(cursorPos, hiliteAnchor), leftPos);
  const int to = std::max(cursorPos, hiliteAnchor);
  if (to <= from) return;
  const auto start = static_cast<std::size_t>(leftPos);
  const int fromX = kTextInset + TextWidth(shown.substr(start, static_cast<std::size_t>(from - leftPos)));
  const int toX = kTextInset + TextWidth(shown.substr(start, static_cast<std::size_t>(to - leftPos)));
  Font* shownFont = GetFont();
  g->PushState();
  g->SetFont(shownFont);
  g->ClipRect(kTextInset, 0, width - 2 * kTextInset, height);
  g->ClipRect(fromX, 0, toX - fromX, height);
  g->SetColor(GetColor(COLOR_HILITE));
  g->FillRect(fromX, (height - shownFont->GetHeight()) / 2, toX - fromX, shownFont->GetHeight());
  g->SetColor(GetColor(COLOR_HILITE_TEXT));
  g->DrawString(shown.substr(start, static_cast<std::size_t>(std::max(width, 0))), kTextInset, textY);
  g->PopState();
}

}  // namespace Zing
