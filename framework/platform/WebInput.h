#pragma once

// The browser's input in the framework's terms: pointer positions in the
// canvas's CSS box (which the page scales to any size) back to picture
// pixels, and the page's key numbers to virtual keys. Pure arithmetic, so
// that it runs in the native tests as well.

namespace Zing::Platform {

struct PicturePoint {
  int x = 0;
  int y = 0;
};

// The picture pixel under a point (cssX, cssY) measured from the top left of
// the canvas's CSS box of boxWidth x boxHeight, for a picture of width x
// height pixels. Points left of or above the box map below 0, points beyond
// it to width or more, as outside a desktop window. An empty box maps as if
// the picture were shown at its own size.
PicturePoint CanvasToPicture(double cssX, double cssY, double boxWidth, double boxHeight, int width, int height);

// The virtual key of a keyboard event's key number, 0 for keys the framework
// does not know. The page numbers letters, digits, function keys and the
// editing keys as the framework does.
int VirtualKeyFromPage(int keyCode);

// The mouse wheel's movement as the framework counts it: 120 per notch,
// positive away from the user. The page reports pixels or lines downwards.
int WheelDeltaFromPage(double deltaY);

}  // namespace Zing::Platform
