#pragma once

// A value from 0 to 1 set by dragging a thumb along a track, or by clicking
// the track to jump there. Horizontal by default; a vertical slider works the
// same with x and y (and width and height) swapped. The listener hears every
// change while the thumb is dragged, and the final value at release.

#include "framework/widget/SliderListener.h"
#include "framework/widget/Widget.h"

namespace Zing {

class Image;

class Slider : public Widget {
 public:
  Slider(Image* track, Image* thumb, int sliderId, SliderListener* sliderListener);

  using Widget::MouseDown;
  using Widget::MouseUp;

  // Clamps to [0, 1] and redraws; the listener is not told.
  virtual void SetValue(double newValue);
  // Whether the slider has see-through parts: it always has.
  virtual bool HasTransparencies();

  void Draw(Graphics* g) override;
  void MouseDown(int px, int py, int clickCount) override;
  void MouseMove(int px, int py) override;
  void MouseDrag(int px, int py) override;
  void MouseUp(int px, int py) override;
  void MouseLeave() override;
  // With the focus, the arrows along the slider move the value by `keyStep`
  // (the listener hears it at once), those across it move the focus; Tab as
  // everywhere.
  void KeyDown(int key) override;
  void GotFocus() override;
  void LostFocus() override;

  Image* trackImage;
  Image* thumbImage;
  int id;
  SliderListener* listener;
  double value = 0.0;
  bool dragging = false;
  int relX = 0;
  int relY = 0;
  bool horizontal = true;
  double keyStep = 0.05;

 private:
  // Positions along the slider's axis: the thumb's offset and length, the
  // slider's length, and a point's coordinate.
  int ThumbPos() const;
  int ThumbLength() const;
  int Length() const;
  int Along(int px, int py) const { return horizontal ? px : py; }
  bool OnThumb(int px, int py) const;
};

}  // namespace Zing
