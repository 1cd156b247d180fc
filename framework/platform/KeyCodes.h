#pragma once

// Virtual-key numbers: the numbering every layer of the framework uses for
// keys, whatever the desktop reports.

namespace Zing {

enum KeyCode : int {
  KEYCODE_BACK = 8,
  KEYCODE_TAB = 9,
  KEYCODE_RETURN = 13,
  KEYCODE_SHIFT = 16,
  KEYCODE_CONTROL = 17,
  KEYCODE_MENU = 18,
  KEYCODE_ESCAPE = 27,
  KEYCODE_SPACE = 32,
  KEYCODE_PRIOR = 33,
  KEYCODE_NEXT = 34,
  KEYCODE_END = 35,
  KEYCODE_HOME = 36,
  KEYCODE_LEFT = 37,
  KEYCODE_UP = 38,
  KEYCODE_RIGHT = 39,
  KEYCODE_DOWN = 40,
  KEYCODE_INSERT = 45,
  KEYCODE_DELETE = 46,
  KEYCODE_0 = 48,
  KEYCODE_A = 65,
  KEYCODE_F1 = 112,
  KEYCODE_F4 = 115,
  KEYCODE_F12 = 123,
  // The Start (menu) button of a game controller; its other buttons arrive as
  // the keys above.
  KEYCODE_START = 207,
};

}  // namespace Zing
