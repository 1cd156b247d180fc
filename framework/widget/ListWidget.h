#pragma once

// A vertical list of text lines: the line under the pointer is highlighted,
// one line may be marked as selected by the owner, and clicks, highlight
// changes and closing are reported to the listener. Lists linked side by
// side (`listParent`, `listChild`) act as the columns of one table: they share
// highlight, selection, line removal and line colours. A scroll bar, when
// given, scrolls the lines.

#include <string>
#include <vector>

#include "framework/graphics/Color.h"
#include "framework/widget/ListListener.h"
#include "framework/widget/Widget.h"

namespace Zing {

class ListWidget : public Widget, public ScrollListener {
 public:
  // Roles of the colour table.
  enum ColorIndex {
    COLOR_BKG = 0,
    COLOR_OUTLINE,
    COLOR_TEXT,
    COLOR_HILITE,
    COLOR_SELECT,
    COLOR_SELECT_TEXT,
    NUM_COLORS
  };
  enum Justify { JUSTIFY_LEFT = 0, JUSTIFY_CENTER = 1, JUSTIFY_RIGHT = 2 };

  ListWidget(int listId, Font* listFont, ListListener* listListener);

  using Widget::MouseDown;
  using Widget::Resize;
  using Widget::SetColor;

  // The text lines are ordered by: the line itself, or, with
  // `maxNumericPlaces`, the line with leading zeros up to that many places.
  virtual std::string GetSortKey(int index);
  // Sorts the lines with their colours (this list's order, or the child's
  // with `sortFromChild`) and reorders the linked lists alike.
  virtual void Sort(bool ascending);
  virtual std::string GetStringAt(int index);
  virtual int AddLine(const std::string& line, bool alphabetical);
  virtual void SetLine(int index, const std::string& line);
  virtual int GetLineCount();
  virtual int GetLineIdx(const std::string& line);
  virtual void SetColor(const std::string& line, const Color& color);
  virtual void SetLineColor(int index, const Color& color);
  virtual void RemoveLine(int index);
  virtual void RemoveAll();
  virtual int GetOptimalWidth();
  virtual int GetOptimalHeight();
  virtual void SetSelect(int index);

  void ScrollPosition(int scrollId, double newPosition) override;
  void Resize(int newX, int newY, int newWidth, int newHeight) override;
  void Draw(Graphics* g) override;
  void MouseMove(int px, int py) override;
  void MouseDown(int px, int py, int button, int clickCount) override;
  void MouseLeave() override;
  void MouseWheel(int delta) override;
  // With the focus, Up and Down pick the line above or below as a click on
  // it would; Left and Right move the focus, Tab as everywhere.
  void KeyDown(int key) override;
  void GotFocus() override;
  void LostFocus() override;
  void SiblingOrderChanged() override;

  int id;
  ListListener* listener;
  Font* font;  // not owned
  ListScrollbar* scrollbar = nullptr;
  Widget* scrollbarWidget = nullptr;  // the same scroll bar as a widget, kept in front of the list
  std::vector<std::string> lines;
  std::vector<Color> lineColors;
  int justify = JUSTIFY_LEFT;
  double position = 0;  // the first visible line, may be fractional
  double pageSize = 0;  // lines that fit
  int hiliteIdx = -1;
  int selectIdx = -1;
  ListWidget* listParent = nullptr;
  ListWidget* listChild = nullptr;
  bool sortFromChild = false;
  int maxNumericPlaces = 0;
  int itemHeight;  // -1: the font's height
  bool drawOutline = true;
  bool drawSelectWhenHilited = false;
  bool doFingerWhenHilited = true;

 private:
  int ItemHeight() const;
  // The first list of the linked table.
  ListWidget* Head();
  void SetHilite(int index);
  void UpdateScrollbarMax();
  void DrawLine(Graphics* g, int index, int top);
};

}  // namespace Zing
