#pragma once

// Translation of SDL input events into the framework's window messages:
// virtual-key numbers, click codes, wheel deltas and Windows-1252 characters.

#include <SDL.h>

#include <vector>

#include "framework/platform/Platform.h"

namespace Zing::Platform {

// The virtual-key number of an SDL key, or 0 for keys the framework ignores.
int VirtualKeyFromSdl(SDL_Keycode key);

// Appends the messages one SDL event stands for (none, one or several).
void TranslateSdlEvent(const SDL_Event& event, std::vector<WindowMessage>& out);

}  // namespace Zing::Platform
