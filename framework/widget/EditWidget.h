#pragma once

// A one-line text field: a narrow (Windows-1252) text with a cursor and an
// optional selection, scrolled sideways to keep the cursor in view, with the
// usual editing keys, the desktop clipboard and one level of undo. Its owner
// limits the length in characters and pixels and may veto keys, characters and
// texts; Enter reports the text to the owner.

#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/Font.h"
#include "framework/widget/EditListener.h"
#include "framework/widget/Widget.h"

namespace Zing {

class EditWidget : public Widget {
 public:
  // Roles of the colour table.
  enum ColorIndex { COLOR_BKG = 0, COLOR_OUTLINE, COLOR_TEXT, COLOR_HILITE, COLOR_HILITE_TEXT, NUM_COLORS };

  EditWidget(int editId, EditListener* editListener);
  ~EditWidget() override;

  using Widget::MouseDown;
  using Widget::MouseUp;

  virtual void ProcessKey(int key, char character);
  // Selects the word around the cursor.
  virtual void HiliteWord();
  // Keeps copies of the fonts; the width-check font gets `maxPixels` as its limit.
  virtual void SetFont(Font* newFont, Font* widthCheckFont = nullptr);
  // Puts the cursor at the end; `leaveCursorAlone` scrolls back to the start.
  virtual void SetText(const std::string& newText, bool leaveCursorAlone = false);
  virtual bool IsPartOfWord(char character);
  // The index of the character boundary nearest to the point.
  virtual int GetCharAt(int px, int py);
  // Scrolls so that the cursor is in view, by ten characters at a time when
  // `bigJump`, else by one.
  virtual void FocusCursor(bool bigJump);

  void Update() override;
  void Draw(Graphics* g) override;
  void GotFocus() override;
  void LostFocus() override;
  void KeyDown(int key) override;
  void KeyChar(char character) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseDown(int px, int py, int button, int clickCount) override;
  void MouseDrag(int px, int py) override;
  void MouseUp(int px, int py, int button, int clickCount) override;

  // A pixel limit for the text in a font other than the field's own; a limit
  // of 0 or less means `maxPixels`.
  struct WidthCheck {
    std::unique_ptr<Font> font;
    int maxPixels = 0;
  };

  int id;
  EditListener* listener;
  std::string text;
  char passwordChar = 0;
  std::unique_ptr<Font> font;
  int cursorPos = 0;
  int hiliteAnchor = -1;  // -1: no selection; otherwise it spans to cursorPos
  int leftPos = 0;        // the first character in view
  int maxChars = -1;      // -1: unlimited
  int maxPixels = -1;     // -1: unlimited
  std::vector<WidthCheck> widthCheckFonts;
  bool showingCursor = false;
  int blinkAcc = 0;
  int blinkDelay = 40;  // updates between blinks
  bool hadDoubleClick = false;
  std::string undoText;
  int undoCursor = 0;
  int undoHiliteAnchor = -1;
  int lastModifyIdx = -1;  // where the running change typed or deleted last; -1: none

 protected:
  // The text as shown: the text itself, or one password character per character.
  const std::string& GetDisplayText();
  // The field's font, made from the desktop's when none was given; may be none.
  Font* GetFont();
  int TextWidth(const std::string& part);
  bool HasSelection() const { return hiliteAnchor >= 0 && hiliteAnchor != cursorPos; }

 private:
  struct EditState {
    std::string text;
    int cursor = 0;
    int anchor = -1;
  };

  // How an edit changed the text, for deciding whether it continues the
  // change that undo would take back.
  // What an edit did, for undo. Typing over a selection and deleting one
  // start a new change that further typing or deleting then continues.
  enum class EditKind { None, Typed, Deleted, Replaced, TypedOver, DeletedSelection };

  EditKind ApplyKey(int key, char character, bool shiftDown, bool controlDown);
  EditKind CopyOrCut(bool cut);
  EditKind Paste();
  EditKind TypeChar(char character);
  EditKind DeleteBackward();
  EditKind DeleteForward();
  void MoveLeft(bool controlDown, bool shiftDown);
  void MoveRight(bool controlDown, bool shiftDown);
  void SwapWithUndo();
  // Deletes the selection; false when there is none.
  bool DeleteSelection();
  bool CanType(char character);
  void EnforceLimits();
  void FitsWidth(Font* measure, int limit);
  void RecordUndo(const EditState& before, EditKind kind, int modifyIdx);
  void RestartBlink();
  void ClampPositions();
  void DrawSelection(Graphics* g, int textY);

  std::string displayCache_;
  EditKind lastKind_ = EditKind::None;
};

}  // namespace Zing
