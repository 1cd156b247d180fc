// How the text list looks and follows the pointer: lines drawn from the
// scroll position down, the selected line on its bar, the highlighted line
// under the pointer, and clicks reported to the owner.

#include <algorithm>

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/widget/FocusRing.h"
#include "framework/widget/ListWidget.h"

namespace Zing {

namespace {

constexpr int kInset = 4;  // pixels above the first line and below the last
constexpr int kTextIndent = 4;
constexpr int kWheelLines = 5;
constexpr int kCursorArrow = 0;
constexpr int kCursorHand = 1;

}  // namespace

int ListWidget::ItemHeight() const {
  if (itemHeight > 0) return itemHeight;
  return font != nullptr && font->GetHeight() > 0 ? font->GetHeight() : 1;
}

void ListWidget::Resize(int newX, int newY, int newWidth, int newHeight) {
  Widget::Resize(newX, newY, newWidth, newHeight);
  const int item = ItemHeight();
  pageSize = item + 2 * kInset < height ? static_cast<double>(height - 2 * kInset) / item : 1.0;
  if (scrollbar != nullptr) scrollbar->SetPageSize(pageSize);
}

void ListWidget::Draw(Graphics* g) {
  g->SetColor(GetColor(COLOR_BKG));
  g->FillRect(0, 0, width, height);
  g->PushState();
  g->ClipRect(0, kInset, width, height - 2 * kInset);
  const int item = ItemHeight();
  const int first = std::max(0, static_cast<int>(position));
  const int count = static_cast<int>(lines.size());
  for (int i = first; i < count; ++i) {
    const int top = kInset + static_cast<int>((i - position) * item);
    if (top >= height - kInset) break;
    DrawLine(g, i, top);
  }
  g->PopState();
  if (drawOutline) {
    g->SetColor(GetColor(COLOR_OUTLINE));
    g->DrawRect(0, 0, width - 1, height - 1);
  }
  if (hasFocus) DrawFocusFrame(g, width, height);
}

void ListWidget::DrawLine(Graphics* g, int index, int top) {
  const int item = ItemHeight();
  const bool selected = index == selectIdx;
  if (selected || (drawSelectWhenHilited && index == hiliteIdx)) {
    g->SetColor(GetColor(COLOR_SELECT));
    g->FillRect(0, top, width, item);
  }
  if (font == nullptr) return;
  Color color = static_cast<std::size_t>(index) < lineColors.size() ? lineColors[static_cast<std::size_t>(index)]
                                                                    : GetColor(COLOR_TEXT);
  if (index == hiliteIdx) {
    color = GetColor(COLOR_HILITE);
  } else if (selected && colors.size() > COLOR_SELECT_TEXT) {
    color = GetColor(COLOR_SELECT_TEXT);
  }
  const std::string& line = lines[static_cast<std::size_t>(index)];
  const int textWidth = font->StringWidth(line);
  int textX = kTextIndent;
  if (justify == JUSTIFY_CENTER) textX = (width - textWidth) / 2;
  if (justify == JUSTIFY_RIGHT) textX = width - textWidth - kTextIndent;
  const int baseline = top + std::max(0, (item - font->GetHeight()) / 2) + font->GetAscent();
  g->SetFont(font);
  g->SetColor(color);
  g->DrawString(line, textX, baseline);
}

void ListWidget::SetHilite(int index) {
  for (ListWidget* list = Head(); list != nullptr; list = list->listChild) {
    if (list->hiliteIdx == index) continue;
    const int old = list->hiliteIdx;
    list->hiliteIdx = index;
    if (list->listener != nullptr) list->listener->ListHiliteChanged(list->id, old, index);
    list->MarkDirty();
  }
}

void ListWidget::MouseMove(int, int py) {
  const int item = ItemHeight();
  int index = py < kInset ? -1 : static_cast<int>((py - kInset) / item + position);
  if (index >= static_cast<int>(lines.size()) || py >= height - kInset) index = -1;
  if (index != hiliteIdx) SetHilite(index);
  SetAppCursor(index >= 0 && doFingerWhenHilited ? kCursorHand : kCursorArrow);
}

void ListWidget::MouseDown(int px, int py, int, int clickCount) {
  MouseMove(px, py);  // the highlight follows a click that came without a move
  if (hiliteIdx >= 0 && listener != nullptr) listener->ListClicked(id, hiliteIdx, clickCount);
}

void ListWidget::KeyDown(int key) {
  if (key != KEYCODE_UP && key != KEYCODE_DOWN) {
    if (!MoveFocusByArrow(*this, key)) Widget::KeyDown(key);
    return;
  }
  const int count = static_cast<int>(lines.size());
  if (count == 0) return;
  const int index = std::clamp(selectIdx + (key == KEYCODE_DOWN ? 1 : -1), 0, count - 1);
  SetSelect(index);
  if (listener != nullptr) listener->ListClicked(id, index, 1);
}

void ListWidget::GotFocus() {
  Widget::GotFocus();
  MarkDirty();
}

void ListWidget::LostFocus() {
  Widget::LostFocus();
  MarkDirty();
}

void ListWidget::MouseLeave() {
  SetHilite(-1);
  SetAppCursor(kCursorArrow);
}

void ListWidget::MouseWheel(int delta) {
  if (scrollbar == nullptr) return;
  scrollbar->SetValue(scrollbar->GetValue() - kWheelLines * delta);
  ScrollPosition(id, scrollbar->GetValue());
}

void ListWidget::SiblingOrderChanged() {
  if (parent == nullptr) return;
  // The next column follows this one and moves its own followers.
  if (listChild != nullptr && listChild->parent == parent) parent->PutInFront(listChild, this);
  ListWidget* last = this;
  while (last->listChild != nullptr && last->listChild->parent == parent) last = last->listChild;
  if (scrollbarWidget != nullptr && scrollbarWidget->parent == parent) parent->PutInFront(scrollbarWidget, last);
}

}  // namespace Zing
