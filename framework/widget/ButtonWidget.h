#pragma once

// A push button with a text label, drawn from up to four state images (or
// cells of one image) or, without images, as a bevelled box in its colours.
// It tells its listener about presses, completed clicks (release over the
// button), held ticks and the pointer entering, moving and leaving; its
// highlight can fade in and out.

#include <memory>
#include <string>

#include "framework/graphics/Font.h"
#include "framework/graphics/Rect.h"
#include "framework/widget/ButtonListener.h"
#include "framework/widget/Widget.h"

namespace Zing {

class Image;

class ButtonWidget : public Widget {
 public:
  // Indices of `colors`.
  enum {
    COLOR_LABEL = 0,
    COLOR_LABEL_HILITE = 1,
    COLOR_DARK_OUTLINE = 2,
    COLOR_LIGHT_OUTLINE = 3,
    COLOR_MEDIUM_OUTLINE = 4,
    COLOR_BKG = 5,
    NUM_COLORS = 6,
  };
  // Label justification.
  enum { BUTTON_LABEL_CENTER = 0, BUTTON_LABEL_RIGHT = 1, BUTTON_LABEL_LEFT = -1 };

  ButtonWidget(int buttonId, ButtonListener* buttonListener);
  ~ButtonWidget() override;

  using Widget::MouseDown;
  using Widget::MouseUp;
  using Widget::Resize;

  // The whole image at (px, py) when the rectangle has no width, else that
  // rectangle of it.
  virtual void DrawButtonImage(Graphics* g, Image* image, const Rect& rect, int px, int py);
  // Keeps a copy of the font (none: back to the default font).
  virtual void SetFont(Font* newFont);
  // Held down with the pointer over it, and enabled.
  virtual bool IsButtonDown();

  void Draw(Graphics* g) override;
  void Update() override;
  void SetDisabled(bool isDisabled) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseMove(int px, int py) override;
  void MouseDown(int px, int py, int button, int clickCount) override;
  void MouseUp(int px, int py, int button, int clickCount) override;
  // Enter and Space press the button with the focus, the arrows move the
  // focus along its ring; the focus shows as the highlight.
  void KeyDown(int key) override;
  void GotFocus() override;
  void LostFocus() override;
  // Shows its highlight: the pointer is over it or it has the focus.
  bool IsHighlighted() const { return isOver || hasFocus; }

  // Whether a state's image counts as present: the image is set, or its
  // rectangle (a cell of the normal image) has a width.
  static bool HaveImage(const Image* image, const Rect& rect) { return image != nullptr || rect.w != 0; }
  bool HaveButtonImage() const { return HaveImage(buttonImage, normalRect); }
  bool HaveOverImage() const { return HaveImage(overImage, overRect); }
  bool HaveDownImage() const { return HaveImage(downImage, downRect); }
  bool HaveDisabledImage() const { return HaveImage(disabledImage, disabledRect); }

  int id;
  ButtonListener* listener;
  std::string label;
  int labelJustify = BUTTON_LABEL_CENTER;
  std::unique_ptr<Font> font;

  Image* buttonImage = nullptr;
  Image* overImage = nullptr;
  Image* downImage = nullptr;
  Image* disabledImage = nullptr;
  Rect normalRect;
  Rect overRect;
  Rect downRect;
  Rect disabledRect;

  bool inverted = false;
  bool btnNoDraw = false;
  bool frameNoDraw = false;
  double overAlpha = 0.0;
  double overAlphaSpeed = 0.0;
  double overAlphaFadeInSpeed = 0.0;

 protected:
  // Makes the default label font when none is set and there is a label.
  void EnsureFont(int size, bool bold);
  // Whether entering or leaving changes how the button looks.
  bool HoverChangesLook();
  // The look with images: the state's image, a fading highlight, or the
  // normal image one pixel down and right while pressed.
  void DrawImageLook(Graphics* g, bool pressedLook);
  void DrawFrameLook(Graphics* g, bool pressedLook);
  void DrawLabel(Graphics* g, int px, int py, bool hilite);
};

}  // namespace Zing
