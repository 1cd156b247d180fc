// The text list's lines and the table of linked lists: adding, changing,
// removing and sorting lines keeps every linked column in step, and the
// highlight and the selection are shared by all of them.

#include "framework/widget/ListWidget.h"

#include <algorithm>
#include <numeric>

#include "framework/graphics/Font.h"

namespace Zing {

namespace {

constexpr int kDefaultColors[ListWidget::NUM_COLORS][3] = {{255, 255, 255}, {255, 255, 255}, {0, 0, 0},
                                                           {0, 192, 0},     {0, 0, 128},     {255, 255, 255}};
constexpr int kWidthPadding = 16;
constexpr int kHeightPadding = 8;

bool ValidIndex(int index, std::size_t count) { return index >= 0 && static_cast<std::size_t>(index) < count; }

}  // namespace

ListWidget::ListWidget(int listId, Font* listFont, ListListener* listListener)
    : id(listId), listener(listListener), font(listFont), itemHeight(listFont != nullptr ? listFont->GetHeight() : -1) {
  SetColors(kDefaultColors, NUM_COLORS);
}

ListWidget* ListWidget::Head() {
  ListWidget* head = this;
  while (head->listParent != nullptr) head = head->listParent;
  return head;
}

std::string ListWidget::GetSortKey(int index) {
  std::string key = GetStringAt(index);
  if (maxNumericPlaces > static_cast<int>(key.size()))
    key.insert(0, static_cast<std::size_t>(maxNumericPlaces) - key.size(), '0');
  return key;
}

void ListWidget::Sort(bool ascending) {
  ListWidget* keyList = sortFromChild && listChild != nullptr ? listChild : this;
  std::vector<std::size_t> order(lines.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::vector<std::string> keys;
  for (std::size_t i = 0; i < lines.size(); ++i) keys.push_back(keyList->GetSortKey(static_cast<int>(i)));
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return ascending ? keys[a] < keys[b] : keys[b] < keys[a]; });
  for (ListWidget* list = Head(); list != nullptr; list = list->listChild) {
    std::vector<std::string> sortedLines;
    std::vector<Color> sortedColors;
    for (std::size_t from : order) {
      if (from < list->lines.size()) sortedLines.push_back(list->lines[from]);
      if (from < list->lineColors.size()) sortedColors.push_back(list->lineColors[from]);
    }
    list->lines = std::move(sortedLines);
    list->lineColors = std::move(sortedColors);
    list->MarkDirty();
  }
}

std::string ListWidget::GetStringAt(int index) {
  return ValidIndex(index, lines.size()) ? lines[static_cast<std::size_t>(index)] : std::string();
}

int ListWidget::AddLine(const std::string& line, bool alphabetical) {
  std::size_t at = lines.size();
  if (alphabetical) {
    at = static_cast<std::size_t>(
        std::find_if(lines.begin(), lines.end(), [&](const std::string& other) { return other > line; }) -
        lines.begin());
  }
  for (ListWidget* list = Head(); list != nullptr; list = list->listChild) {
    const std::size_t place = std::min(at, list->lines.size());
    list->lines.insert(list->lines.begin() + static_cast<std::ptrdiff_t>(place), list == this ? line : std::string());
    list->lineColors.insert(
        list->lineColors.begin() + static_cast<std::ptrdiff_t>(std::min(place, list->lineColors.size())),
        list->GetColor(COLOR_TEXT));
    list->UpdateScrollbarMax();
    list->MarkDirty();
  }
  return static_cast<int>(at);
}

void ListWidget::SetLine(int index, const std::string& line) {
  if (!ValidIndex(index, lines.size())) return;
  lines[static_cast<std::size_t>(index)] = line;
  MarkDirty();
}

int ListWidget::GetLineCount() { return static_cast<int>(lines.size()); }

int ListWidget::GetLineIdx(const std::string& line) {
  auto found = std::find(lines.begin(), lines.end(), line);
  return found == lines.end() ? -1 : static_cast<int>(found - lines.begin());
}

void ListWidget::SetColor(const std::string& line, const Color& color) { SetLineColor(GetLineIdx(line), color); }

void ListWidget::SetLineColor(int index, const Color& color) {
  for (ListWidget* list = Head(); list != nullptr; list = list->listChild) {
    if (!ValidIndex(index, list->lineColors.size())) continue;
    list->lineColors[static_cast<std::size_t>(index)] = color;
    list->MarkDirty();
  }
}

void ListWidget::RemoveLine(int index) {
  for (ListWidget* list = Head(); list != nullptr; list = list->listChild) {
    if (ValidIndex(index, list->lines.size())) list->lines.erase(list->lines.begin() + index);
    if (ValidIndex(index, list->lineColors.size())) list->lineColors.erase(list->lineColors.begin() + index);
    // The highlight and the selection stay on the lines they marked.
    if (list->hiliteIdx == index) list->hiliteIdx = -1;
    if (list->hiliteIdx > index) --list->hiliteIdx;
    if (list->selectIdx == index) list->selectIdx = -1;
    if (list->selectIdx > index) --list->selectIdx;
    list->UpdateScrollbarMax();
    list->MarkDirty();
  }
}

void ListWidget::RemoveAll() {
  for (ListWidget* list = Head(); list != nullptr; list = list->listChild) {
    list->lines.clear();
    list->lineColors.clear();
    list->hiliteIdx = -1;
    list->selectIdx = -1;
    list->UpdateScrollbarMax();
    list->MarkDirty();
  }
}

int ListWidget::GetOptimalWidth() {
  int widest = 0;
  if (font != nullptr) {
    for (const std::string& line : lines) widest = std::max(widest, font->StringWidth(line));
  }
  return widest + kWidthPadding;
}

int ListWidget::GetOptimalHeight() { return GetLineCount() * ItemHeight() + kHeightPadding; }

void ListWidget::SetSelect(int index) {
  for (ListWidget* list = Head(); list != nullptr; list = list->listChild) {
    list->selectIdx = index;
    list->MarkDirty();
  }
}

void ListWidget::ScrollPosition(int scrollId, double newPosition) {
  if (listChild != nullptr) listChild->ScrollPosition(scrollId, newPosition);
  position = newPosition;
  MarkDirty();
}

void ListWidget::UpdateScrollbarMax() {
  if (scrollbar != nullptr) scrollbar->SetMaxValue(static_cast<double>(lines.size()));
}

}  // namespace Zing
