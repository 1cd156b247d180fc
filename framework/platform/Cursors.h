#pragma once

#include <SDL.h>

namespace Zing::Platform {

// A cursor for one of the framework's cursor numbers: the desktop's standard
// shapes, and the two hands drawn from built-in masks. Null when the shape
// cannot be made.
SDL_Cursor* CreateCursorShape(int shape);

}  // namespace Zing::Platform
