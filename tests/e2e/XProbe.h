#pragma once

// The parts of the end-to-end tests' X probe that look at a window: its state and size, and its
// whole picture (written to a file, or checked for crisp scaling). The game may unmap, resize or
// destroy its window at any moment; X errors are counted here instead of ending the probe.

#include <X11/Xlib.h>

namespace XProbe {

// The exit code of a command whose window is gone.
inline constexpr int kExitGone = 4;

// Installs the handler that counts X errors; ErrorCount tells how many came.
void CountErrors();
int ErrorCount();

struct Frame {
  bool exists = false;
  bool viewable = false;
  int width = 0;
  int height = 0;
};

// Whether the window exists and is shown, and its size.
Frame LookAt(Display* display, Window window);

// Writes the window's picture as a binary PPM or, for a name ending in ".png", as a PNG.
int Shot(Display* display, Window window, const char* path);

// Prints the window's size and how many of its SCALE x SCALE squares (from
// the top left) hold more than one colour: 0 for a crisp picture at SCALE.
int Crisp(Display* display, Window window, int scale);

}  // namespace XProbe
