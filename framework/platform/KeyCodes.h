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

// The control character a desktop of the framework's home types for a key:
// Back, Tab, Enter, Escape, and Ctrl with A, C, V, X, Z for the edit field;
// 0 for any other key.
constexpr int ControlCharacterOf(int virtualKey, bool ctrl) {
  if (ctrl && virtualKey >= KEYCODE_A && virtualKey < KEYCODE_A + 26) {
    const int letter = virtualKey - KEYCODE_A + 1;
    return (letter == 1 || letter == 3 || letter == 22 || letter == 24 || letter == 26) ? letter : 0;
  }
  if (ctrl) return 0;
  switch (virtualKey) {
    case KEYCODE_BACK:
    case KEYCODE_TAB:
    case KEYCODE_RETURN:
    case KEYCODE_ESCAPE:
      return virtualKey;
    default:
      return 0;
  }
}

}  // namespace Zing
