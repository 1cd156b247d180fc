#pragma once

// How the game's fixed-size picture (640 x 480) fills a larger window or
// screen: only at whole-number scales, so that every game pixel becomes a
// crisp square of screen pixels, centred with black bars where the screen's
// shape differs. Pointer positions map back to the picture's own pixels
// exactly. Pure arithmetic, so that it can be tested without a display.

#include "framework/platform/Platform.h"

namespace Zing::Platform {

// The largest window scale the automatic choice takes; the setting allows
// 1 to kMaxFixedWindowScale.
inline constexpr int kMaxAutoWindowScale = 8;
inline constexpr int kMaxFixedWindowScale = 4;

// Room the desktop's window frame takes above the client area (the title
// bar); the work area reports the space for the whole window.
inline constexpr int kWindowFrameHeight = 32;

// The whole-number scale of a windowed picture of width x height: `requested`
// 1 to kMaxFixedWindowScale is taken as long as the window fits the work area,
// anything else asks for the largest scale that fits. Never below 1.
int ChooseWindowScale(const ScreenRect& workArea, int width, int height, int requested);

// Where a width x height picture lies on an output of outputWidth x
// outputHeight pixels: the largest whole-number scale that fits, centred.
// An output smaller than the picture gets the picture shrunk to fit, keeping
// its shape (no whole-number scale exists then).
ScreenRect FitPicture(int outputWidth, int outputHeight, int width, int height);

// The placement of the picture in a window, and the way back from pointer
// positions. The window measures windowWidth x windowHeight in the desktop's
// pointer coordinates and outputWidth x outputHeight in pixels; the two
// differ on high-density screens.
class PictureLayout {
 public:
  void Update(int width, int height, int outputWidth, int outputHeight, int windowWidth, int windowHeight);

  // The picture's rectangle in output pixels.
  const ScreenRect& Picture() const { return picture; }

  // The picture pixel under a pointer position of the window. Positions on
  // the black bars lie outside 0..width-1 / 0..height-1, as they do outside
  // a window of the picture's own size.
  void WindowToPicture(int windowX, int windowY, int& x, int& y) const;

 private:
  int pictureWidth = 640;
  int pictureHeight = 480;
  int outputW = 640;
  int outputH = 480;
  int windowW = 640;
  int windowH = 480;
  ScreenRect picture{0, 0, 640, 480};
};

}  // namespace Zing::Platform
