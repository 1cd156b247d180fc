#pragma once

// What a push button tells its owner, by the id the owner gave the button.
// Every callback does nothing by default; a press with a click count is
// passed on as a plain press unless the owner wants the count. An owner that
// overrides one `ButtonPress` writes `using ButtonListener::ButtonPress;` so
// that the other stays visible.

namespace Zing {

class ButtonListener {
 public:
  virtual ~ButtonListener() = default;

  virtual void ButtonPress(int id, int /*clickCount*/) { ButtonPress(id); }
  virtual void ButtonPress(int /*id*/) {}
  // The button was released over itself: the click is complete.
  virtual void ButtonDepress(int /*id*/) {}
  // Once per update while the button is held down under the pointer.
  virtual void ButtonDownTick(int /*id*/) {}
  virtual void ButtonMouseEnter(int /*id*/) {}
  virtual void ButtonMouseLeave(int /*id*/) {}
  virtual void ButtonMouseMove(int /*id*/, int /*x*/, int /*y*/) {}
};

}  // namespace Zing
