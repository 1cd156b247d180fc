// A value from 0 to 1 along a track. Every position is computed along the
// slider's axis, so the vertical slider is the horizontal one with x and y
// swapped.

#include "framework/widget/Slider.h"

#include <algorithm>

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widget/FocusRing.h"
#include "framework/widget/WidgetManager.h"
#include "framework/widget/WidgetManagerHost.h"

namespace Zing {

namespace {

constexpr int kCursorArrow = 0;
constexpr int kCursorDragging = 2;
constexpr int kTrackCells = 3;  // left end, repeated middle, right end

}  // namespace

Slider::Slider(Image* track, Image* thumb, int sliderId, SliderListener* sliderListener)
    : trackImage(track), thumbImage(thumb), id(sliderId), listener(sliderListener) {}

void Slider::SetValue(double newValue) {
  value = std::clamp(newValue, 0.0, 1.0);
  MarkFullyDirty();
}

bool Slider::HasTransparencies() { return true; }

int Slider::Length() const { return horizontal ? width : height; }

int Slider::ThumbLength() const {
  if (thumbImage == nullptr) return 0;
  return horizontal ? thumbImage->GetWidth() : thumbImage->GetHeight();
}

int Slider::ThumbPos() const { return static_cast<int>(value * (Length() - ThumbLength())); }

bool Slider::OnThumb(int px, int py) const {
  const int along = Along(px, py);
  return along >= ThumbPos() && along < ThumbPos() + ThumbLength();
}

void Slider::Draw(Graphics* g) {
  if (trackImage != nullptr) {
    const int trackAcross = horizontal ? trackImage->GetHeight() : trackImage->GetWidth();
    const int cell = (horizontal ? trackImage->GetWidth() : trackImage->GetHeight()) / kTrackCells;
    const int across = ((horizontal ? height : width) - trackAcross) / 2;
    // Places a cell of the track at `along` on the slider's axis.
    auto drawCell = [&](int index, int along) {
      const Rect source =
          horizontal ? Rect(index * cell, 0, cell, trackAcross) : Rect(0, index * cell, trackAcross, cell);
      g->DrawImage(trackImage, horizontal ? along : across, horizontal ? across : along, source);
    };
    if (cell > 0) {
      drawCell(0, 0);
      g->PushState();
      if (horizontal) {
        g->ClipRect(cell, 0, width - 2 * cell, height);
      } else {
        g->ClipRect(0, cell, width, height - 2 * cell);
      }
      for (int along = cell; along < Length() - cell; along += cell) drawCell(1, along);
      g->PopState();
      drawCell(2, Length() - cell);
    }
  }
  if (thumbImage != nullptr) {
    const int thumbAcross = horizontal ? thumbImage->GetHeight() : thumbImage->GetWidth();
    const int across = ((horizontal ? height : width) - thumbAcross) / 2;
    g->DrawImage(thumbImage, horizontal ? ThumbPos() : across, horizontal ? across : ThumbPos());
  }
  if (hasFocus) DrawFocusFrame(g, width, height);
}

void Slider::MouseDown(int px, int py, int) {
  if (OnThumb(px, py)) {
    SetAppCursor(kCursorDragging);
    dragging = true;
    const int thumbX = horizontal ? ThumbPos() : 0;
    const int thumbY = horizontal ? 0 : ThumbPos();
    relX = px - thumbX;
    relY = py - thumbY;
  } else if (Length() > 0) {
    // Jump there; the listener hears the value when the button comes up.
    SetValue(static_cast<double>(Along(px, py)) / Length());
  }
}

void Slider::MouseMove(int px, int py) { SetAppCursor(OnThumb(px, py) ? kCursorDragging : kCursorArrow); }

void Slider::MouseDrag(int px, int py) {
  if (!dragging) return;
  const int travel = Length() - ThumbLength();
  if (travel <= 0) return;
  const int grab = horizontal ? relX : relY;
  const double newValue = std::clamp(static_cast<double>(Along(px, py) - grab) / travel, 0.0, 1.0);
  if (newValue == value) return;
  value = newValue;
  if (listener != nullptr) listener->SliderValueChanged(id, value);
  MarkFullyDirty();
}

void Slider::MouseUp(int, int) {
  dragging = false;
  SetAppCursor(kCursorArrow);
  if (listener != nullptr) listener->SliderValueChanged(id, value);
}

void Slider::KeyDown(int key) {
  const int lower = horizontal ? KEYCODE_LEFT : KEYCODE_UP;
  const int higher = horizontal ? KEYCODE_RIGHT : KEYCODE_DOWN;
  if (key != lower && key != higher) {
    if (!MoveFocusByArrow(*this, key)) Widget::KeyDown(key);
    return;
  }
  const double newValue = std::clamp(value + (key == higher ? keyStep : -keyStep), 0.0, 1.0);
  if (newValue == value) return;
  SetValue(newValue);
  if (listener != nullptr) listener->SliderValueChanged(id, value);
}

void Slider::GotFocus() {
  Widget::GotFocus();
  MarkFullyDirty();
}

void Slider::LostFocus() {
  Widget::LostFocus();
  MarkFullyDirty();
}

void Slider::MouseLeave() {
  if (!dragging) SetAppCursor(kCursorArrow);
}

}  // namespace Zing
