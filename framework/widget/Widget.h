#pragma once

// A rectangle of the user interface: it draws itself, is updated once per
// tick, takes mouse and keyboard input from its manager and may hold child
// widgets. Screens, dialogs and controls derive from it and override the hooks.

#include <string>
#include <vector>

#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"
#include "framework/platform/KeyCodes.h"
#include "framework/widget/WidgetContainer.h"

namespace Zing {

class Font;
class Image;

// Amounts by which the hit rectangle is smaller than the widget.
struct Insets {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

class Widget : public WidgetContainer {
 public:
  Widget();
  // A widget still in a tree takes itself out first, so that nothing keeps a
  // pointer to it; screens and dialogs are removed before they are deleted.
  ~Widget() override;

  virtual void SiblingOrderChanged();
  virtual void SetVisible(bool isVisible);

  virtual void SetColors(const int table[][4], int count);
  virtual void SetColors(const int table[][3], int count);
  virtual void SetColor(int index, const Color& color);
  virtual Color GetColor(int index, const Color& fallback);
  virtual Color GetColor(int index);

  virtual void SetDisabled(bool isDisabled);
  virtual void ShowHandCursor(bool show);
  // Selects one of the application's cursors (0 arrow, 1 hand, 2 dragging hand, ...).
  void SetAppCursor(int cursorNum);

  virtual void Resize(const Rect& rect);
  virtual void Resize(int newX, int newY, int newWidth, int newHeight);
  virtual void Move(int newX, int newY);
  virtual bool AcceptsFocus();

  virtual void DrawOverlay(Graphics* g, int overlayPriority);
  virtual void DrawOverlay(Graphics* g);

  virtual void GotFocus();
  virtual void LostFocus();
  virtual void KeyChar(char character);
  virtual void KeyDown(int key);
  virtual void KeyUp(int key);

  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void MouseMove(int px, int py);
  // Buttons: 0 left, 1 right, 2 middle.
  virtual void MouseDown(int px, int py, int button, int clickCount);
  // Click codes: 1 single, 2 double (left), -1 and -2 right, 3 middle.
  virtual void MouseDown(int px, int py, int clickCode);
  virtual void MouseUp(int px, int py, int button, int clickCount);
  virtual void MouseUp(int px, int py, int clickCode);
  virtual void MouseUp(int px, int py);
  virtual void MouseDrag(int px, int py);
  virtual void MouseWheel(int delta);
  // Whether a point of the hit rectangle (in the widget's own coordinates)
  // belongs to the widget; shaped widgets refuse the points they do not cover.
  virtual bool AcceptsPoint(int px, int py);

  // Text in the graphics' current font. The centred lines return the
  // rectangle they cover; word wrapping returns the height it used.
  virtual Rect DrawCenteredLineShadowed(Graphics* g, int lineY, const std::string& text, const Color& color,
                                        const Color& shadowColor, const Point& shadowOffset);
  virtual Rect DrawCenteredLine(Graphics* g, int lineY, const std::string& text);
  virtual void DrawColoredString(Graphics* g, const std::string& text, int px, int py);
  virtual int DrawWordWrapped(Graphics* g, const Rect& rect, const std::string& text, int lineSpacing = -1,
                              int justification = -1);
  virtual int GetWordWrappedHeight(Font* font, int wrapWidth, const std::string& text, int lineSpacing = -1);
  virtual int GetDigitCount(int number);
  // Digits 0 to 9 in ten equal cells of the strip, drawn left to right.
  virtual void DrawNumberFromStrip(Graphics* g, int number, int px, int py, Image* strip, int spacing);

  // Whether the point (in the parent's coordinates) lies in the widget.
  virtual bool Contains(int px, int py);
  virtual Rect GetInsetRect();

  bool visible = true;
  bool mouseVisible = true;
  bool disabled = false;
  bool hasFocus = false;
  bool isDown = false;
  bool isOver = false;
  bool hasTransparencies = false;
  bool doFinger = false;
  bool wantsFocus = false;
  std::vector<Color> colors;
  Insets mouseInsets;
  Widget* tabPrev = nullptr;
  Widget* tabNext = nullptr;
};

}  // namespace Zing
