#include "framework/platform/WebInput.h"

#include <cmath>

#include "framework/platform/KeyCodes.h"

namespace Zing::Platform {

namespace {

constexpr int kWheelNotch = 120;

int ToPicture(double css, double box, int size) {
  const double scale = box > 0.0 ? size / box : 1.0;
  // A hair of slack keeps a point that is exactly on a pixel's edge, but
  // reached through a fractional CSS scale, on that pixel.
  return static_cast<int>(std::floor(css * scale + 1e-9));
}

}  // namespace

PicturePoint CanvasToPicture(double cssX, double cssY, double boxWidth, double boxHeight, int width, int height) {
  return {ToPicture(cssX, boxWidth, width), ToPicture(cssY, boxHeight, height)};
}

int VirtualKeyFromPage(int keyCode) {
  if (keyCode >= KEYCODE_A && keyCode < KEYCODE_A + 26) return keyCode;
  if (keyCode >= KEYCODE_0 && keyCode < KEYCODE_0 + 10) return keyCode;
  if (keyCode >= KEYCODE_F1 && keyCode <= KEYCODE_F12) return keyCode;
  switch (keyCode) {
    case KEYCODE_BACK:
    case KEYCODE_TAB:
    case KEYCODE_RETURN:
    case KEYCODE_SHIFT:
    case KEYCODE_CONTROL:
    case KEYCODE_MENU:
    case KEYCODE_ESCAPE:
    case KEYCODE_SPACE:
    case KEYCODE_PRIOR:
    case KEYCODE_NEXT:
    case KEYCODE_END:
    case KEYCODE_HOME:
    case KEYCODE_LEFT:
    case KEYCODE_UP:
    case KEYCODE_RIGHT:
    case KEYCODE_DOWN:
    case KEYCODE_INSERT:
    case KEYCODE_DELETE:
      return keyCode;
    default:
      return 0;
  }
}

int WheelDeltaFromPage(double deltaY) {
  if (deltaY == 0.0) return 0;
  return deltaY < 0.0 ? kWheelNotch : -kWheelNotch;
}

}  // namespace Zing::Platform
