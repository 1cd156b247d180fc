// The text field's editing: keys and typed characters change the text, the
// cursor and the selection; then the limits are enforced, the owner may veto
// the new text, and the change is remembered for undo. Every edit keeps the
// text within `maxChars` and the pixel limits, whatever arrives (thousands of
// pasted characters, control bytes, characters the font cannot show).

#include "framework/widget/EditWidget.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "framework/widget/WidgetManager.h"
#include "framework/widget/WidgetManagerHost.h"

namespace Zing {

namespace {

constexpr char kCopy = 3;
constexpr char kPaste = 22;
constexpr char kCut = 24;
constexpr char kUndo = 26;
constexpr char kSelectAll = 1;
constexpr unsigned char kFirstPrintable = 32;
constexpr unsigned char kDelete = 127;  // a control character, never typed
constexpr unsigned char kFirstExtended = 128;

// Bytes the code page leaves undefined; they stand for C1 control characters.
bool IsUndefinedByte(unsigned char byte) {
  return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

bool MovesCaret(int key) {
  return key == KEYCODE_LEFT || key == KEYCODE_RIGHT || key == KEYCODE_HOME || key == KEYCODE_END;
}

constexpr int kDefaultColors[EditWidget::NUM_COLORS][3] = {
    {255, 255, 255}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}};

}  // namespace

EditWidget::EditWidget(int editId, EditListener* editListener) : id(editId), listener(editListener) {
  SetColors(kDefaultColors, NUM_COLORS);
}

EditWidget::~EditWidget() = default;

void EditWidget::SetFont(Font* newFont, Font* widthCheckFont) {
  font.reset(newFont != nullptr ? newFont->Duplicate() : nullptr);
  widthCheckFonts.clear();
  if (widthCheckFont != nullptr) widthCheckFonts.push_back({std::unique_ptr<Font>(widthCheckFont->Duplicate()), 0});
  MarkDirty();
}

void EditWidget::SetText(const std::string& newText, bool leaveCursorAlone) {
  text = newText;
  EnforceLimits();
  cursorPos = static_cast<int>(text.size());
  hiliteAnchor = -1;
  // A text set by the owner is where undo starts from.
  undoText = text;
  undoCursor = cursorPos;
  undoHiliteAnchor = -1;
  lastModifyIdx = -1;
  lastKind_ = EditKind::None;
  if (leaveCursorAlone) {
    leftPos = 0;
  } else {
    FocusCursor(true);
  }
  MarkDirty();
}

bool EditWidget::IsPartOfWord(char character) {
  const auto c = static_cast<unsigned char>(character);
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c >= 192 || c == '_';
}

void EditWidget::KeyDown(int key) {
  // Letters come as typed characters; offering them as keys too would act twice.
  const bool letter = key >= 'A' && key <= 'Y';
  if (!letter && (listener == nullptr || listener->AllowKey(id, key))) ProcessKey(key, 0);
  Widget::KeyDown(key);
}

void EditWidget::KeyChar(char character) { ProcessKey(0, character); }

void EditWidget::ProcessKey(int key, char character) {
  if (key == KEYCODE_SHIFT || key == KEYCODE_CONTROL) return;
  ClampPositions();
  if (key == 0 && character == kSelectAll) {
    // The one key that leaves a selection without Shift.
    hiliteAnchor = 0;
    cursorPos = static_cast<int>(text.size());
    MarkDirty();
    return;
  }
  const bool shiftDown = widgetManager != nullptr && widgetManager->IsKeyDown(KEYCODE_SHIFT);
  const bool controlDown = widgetManager != nullptr && widgetManager->IsKeyDown(KEYCODE_CONTROL);
  // Only a key that moves the caret starts a selection: a capital typed
  // with Shift held must not leave itself selected for the next key to replace.
  if (shiftDown && hiliteAnchor < 0 && MovesCaret(key)) hiliteAnchor = cursorPos;

  const EditState before{text, cursorPos, hiliteAnchor};
  const EditKind kind = ApplyKey(key, character, shiftDown, controlDown);
  EnforceLimits();
  ClampPositions();
  if (cursorPos != before.cursor) RestartBlink();
  FocusCursor(true);
  if (!shiftDown || hiliteAnchor == cursorPos) hiliteAnchor = -1;

  if (listener != nullptr && text != before.text && !listener->AllowText(id, text)) {
    text = before.text;
    cursorPos = before.cursor;
    hiliteAnchor = before.anchor;
    FocusCursor(true);
  } else if (text != before.text) {
    RecordUndo(before, kind, before.cursor);
  }
  MarkDirty();
}

EditWidget::EditKind EditWidget::ApplyKey(int key, char character, bool shiftDown, bool controlDown) {
  switch (character) {
    case kCopy:
      return CopyOrCut(false);
    case kCut:
      return CopyOrCut(true);
    case kPaste:
      return Paste();
    case kUndo:
      SwapWithUndo();
      return EditKind::None;
    default:
      break;
  }
  switch (key) {
    case KEYCODE_LEFT:
      MoveLeft(controlDown, shiftDown);
      return EditKind::None;
    case KEYCODE_RIGHT:
      MoveRight(controlDown, shiftDown);
      return EditKind::None;
    case KEYCODE_BACK:
      return DeleteBackward();
    case KEYCODE_DELETE:
      return DeleteForward();
    case KEYCODE_HOME:
      cursorPos = 0;
      return EditKind::None;
    case KEYCODE_END:
      cursorPos = static_cast<int>(text.size());
      return EditKind::None;
    case KEYCODE_RETURN:
      if (listener != nullptr) listener->EditWidgetText(id, text);
      return EditKind::None;
    default:
      break;
  }
  return key == 0 ? TypeChar(character) : EditKind::None;
}

EditWidget::EditKind EditWidget::CopyOrCut(bool cut) {
  if (!HasSelection()) return EditKind::None;
  const int from = std::min(cursorPos, hiliteAnchor);
  const int to = std::max(cursorPos, hiliteAnchor);
  // What is shown goes out: a password field gives its password characters.
  const std::string selected =
      GetDisplayText().substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
  if (widgetManager != nullptr && widgetManager->app != nullptr) widgetManager->app->SetClipboardText(selected);
  if (!cut) return EditKind::None;
  DeleteSelection();
  return EditKind::Replaced;
}

EditWidget::EditKind EditWidget::Paste() {
  if (widgetManager == nullptr || widgetManager->app == nullptr) return EditKind::None;
  std::string pasted = widgetManager->app->GetClipboardText();
  pasted = pasted.substr(0, pasted.find_first_of("\r\n"));
  std::string accepted;
  const bool hadSelection = HasSelection();
  const std::size_t keptLength =
      text.size() - (hadSelection ? static_cast<std::size_t>(std::abs(cursorPos - hiliteAnchor)) : 0);
  // Only as much as fits the character limit is taken, so the text already
  // in the field is not pushed out at its end.
  const std::size_t room = maxChars < 0
                               ? pasted.size()
                               : static_cast<std::size_t>(std::max<int>(0, maxChars - static_cast<int>(keptLength)));
  for (char c : pasted) {
    if (accepted.size() >= room) break;
    if (CanType(c)) accepted.push_back(c);
  }
  if (accepted.empty() && !hadSelection) return EditKind::None;
  DeleteSelection();
  text.insert(static_cast<std::size_t>(cursorPos), accepted);
  cursorPos += static_cast<int>(accepted.size());
  return EditKind::Replaced;
}

bool EditWidget::CanType(char character) {
  const auto c = static_cast<unsigned char>(character);
  if (c < kFirstPrintable || c == kDelete || IsUndefinedByte(c)) return false;
  if (c >= kFirstExtended &&
      (widgetManager == nullptr || widgetManager->app == nullptr || !widgetManager->app->AllowsExtendedChars())) {
    return false;
  }
  Font* measure = GetFont();
  if (measure != nullptr && measure->CharWidth(character) < 1) return false;
  return listener == nullptr || listener->AllowChar(id, character);
}

EditWidget::EditKind EditWidget::TypeChar(char character) {
  if (!CanType(character)) return EditKind::None;
  const bool replaced = DeleteSelection();
  text.insert(static_cast<std::size_t>(cursorPos), 1, character);
  ++cursorPos;
  FocusCursor(false);
  return replaced ? EditKind::TypedOver : EditKind::Typed;
}

EditWidget::EditKind EditWidget::DeleteBackward() {
  if (DeleteSelection()) return EditKind::DeletedSelection;
  if (cursorPos == 0) return EditKind::None;
  text.erase(static_cast<std::size_t>(cursorPos - 1), 1);
  --cursorPos;
  return EditKind::Deleted;
}

EditWidget::EditKind EditWidget::DeleteForward() {
  if (DeleteSelection()) return EditKind::DeletedSelection;
  if (cursorPos >= static_cast<int>(text.size())) return EditKind::None;
  text.erase(static_cast<std::size_t>(cursorPos), 1);
  return EditKind::Deleted;
}

bool EditWidget::DeleteSelection() {
  if (!HasSelection()) return false;
  const int from = std::min(cursorPos, hiliteAnchor);
  text.erase(static_cast<std::size_t>(from), static_cast<std::size_t>(std::abs(cursorPos - hiliteAnchor)));
  cursorPos = from;
  hiliteAnchor = -1;
  return true;
}

void EditWidget::MoveLeft(bool controlDown, bool shiftDown) {
  if (!shiftDown && HasSelection()) {
    cursorPos = std::min(cursorPos, hiliteAnchor);  // KeyDown then drops the selection
    return;
  }
  const std::string& shown = GetDisplayText();
  if (!controlDown) {
    cursorPos = std::max(0, cursorPos - 1);
    return;
  }
  while (cursorPos > 0 && !IsPartOfWord(shown[static_cast<std::size_t>(cursorPos - 1)])) --cursorPos;
  while (cursorPos > 0 && IsPartOfWord(shown[static_cast<std::size_t>(cursorPos - 1)])) --cursorPos;
}

void EditWidget::MoveRight(bool controlDown, bool shiftDown) {
  if (!shiftDown && HasSelection()) {
    cursorPos = std::max(cursorPos, hiliteAnchor);  // KeyDown then drops the selection
    return;
  }
  const std::string& shown = GetDisplayText();
  const int end = static_cast<int>(shown.size());
  if (!controlDown) {
    cursorPos = std::min(end, cursorPos + 1);
    return;
  }
  while (cursorPos < end && IsPartOfWord(shown[static_cast<std::size_t>(cursorPos)])) ++cursorPos;
  while (cursorPos < end && !IsPartOfWord(shown[static_cast<std::size_t>(cursorPos)])) ++cursorPos;
}

void EditWidget::SwapWithUndo() {
  std::swap(text, undoText);
  std::swap(cursorPos, undoCursor);
  std::swap(hiliteAnchor, undoHiliteAnchor);
  lastModifyIdx = -1;
  lastKind_ = EditKind::None;
}

// Typing right behind the previous character, or deleting next to the
// previous deletion, continues one change; anything else starts a new one,
// and the text before it becomes what undo brings back.
void EditWidget::RecordUndo(const EditState& before, EditKind kind, int modifyIdx) {
  const bool continues =
      kind == lastKind_ && (kind == EditKind::Typed || kind == EditKind::Deleted) && modifyIdx == lastModifyIdx;
  if (!continues) {
    undoText = before.text;
    undoCursor = before.cursor;
    undoHiliteAnchor = before.anchor;
  }
  // Typing over a selection, or deleting one, begins a change that
  // typing or deleting next to it continues.
  if (kind == EditKind::TypedOver) kind = EditKind::Typed;
  if (kind == EditKind::DeletedSelection) kind = EditKind::Deleted;
  lastKind_ = kind;
  lastModifyIdx = lastKind_ == EditKind::Typed || lastKind_ == EditKind::Deleted ? cursorPos : -1;
}

void EditWidget::EnforceLimits() {
  if (maxChars >= 0 && static_cast<int>(text.size()) > maxChars) text.resize(static_cast<std::size_t>(maxChars));
  if (maxPixels >= 0 && GetFont() != nullptr) FitsWidth(GetFont(), maxPixels);
  for (WidthCheck& check : widthCheckFonts) {
    const int limit = check.maxPixels > 0 ? check.maxPixels : maxPixels;
    if (limit >= 0 && check.font != nullptr) FitsWidth(check.font.get(), limit);
  }
}

// Drops characters from the end until the shown text is no wider than
// `limit` in `measure`. The longest fitting length is found by halving, so
// a long paste costs little.
void EditWidget::FitsWidth(Font* measure, int limit) {
  auto widthOf = [&](std::size_t length) {
    return measure->StringWidth(passwordChar != 0 ? std::string(length, passwordChar) : text.substr(0, length));
  };
  if (widthOf(text.size()) <= limit) return;
  std::size_t fits = 0;
  std::size_t tooWide = text.size();
  while (tooWide - fits > 1) {
    const std::size_t middle = fits + (tooWide - fits) / 2;
    (widthOf(middle) <= limit ? fits : tooWide) = middle;
  }
  text.resize(fits);
}

void EditWidget::ClampPositions() {
  const int length = static_cast<int>(text.size());
  cursorPos = std::clamp(cursorPos, 0, length);
  hiliteAnchor = std::clamp(hiliteAnchor, -1, length);
  leftPos = std::clamp(leftPos, 0, length);
}

void EditWidget::RestartBlink() {
  showingCursor = true;
  blinkAcc = 0;
}

}  // namespace Zing
