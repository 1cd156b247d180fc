#pragma once

// What the widget manager asks of the application that owns it. The
// application object implements it; widgets reach the application only through
// their manager, and tests give the manager a recording fake.

#include <string>

namespace Zing {

class WidgetManagerHost {
 public:
  virtual ~WidgetManagerHost() = default;

  // Selects the application's cursor: 0 the arrow, 1 the hand, and the other
  // cursor numbers of the application.
  virtual void SetCursor(int cursorNum) = 0;

  // Drops the platform's pointer capture (the window stops receiving the
  // pointer outside its area). Called when the application loses the focus.
  virtual void ReleaseMouseCapture() = 0;

  // Whether frames are drawn by the accelerated display back-end; stretched
  // images are then drawn filtered.
  virtual bool IsHardwareAccelerated() const = 0;

  // Bracket one draw pass into the screen image, so that the display (and the
  // thread that moves the image cursor) does not read the image meanwhile.
  virtual void LockScreenImage() {}
  virtual void UnlockScreenImage() {}

  // One step of the application's loop, run nested by a dialog that waits for
  // its answer; false once the application is unwinding to its top level.
  virtual bool UpdateAppStep(bool* updated) {
    if (updated != nullptr) *updated = false;
    return false;
  }

  // Takes the dialog with this id out of the application's dialog table and
  // the tree and deletes it once it is safe; false when none is open.
  virtual bool KillDialog(int /*dialogId*/) { return false; }

  // The desktop clipboard as Windows-1252 text; empty where there is none.
  virtual std::string GetClipboardText() { return {}; }
  virtual void SetClipboardText(const std::string& /*text*/) {}

  // Whether text fields take the characters 128 to 255 of the code page.
  virtual bool AllowsExtendedChars() const { return true; }
};

}  // namespace Zing
