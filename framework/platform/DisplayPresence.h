#pragma once

// Whether the window the program opens can be seen. Without a display, the
// desktop library falls back to a driver that draws into memory; the game
// would then play to nobody. A driver the user chose by name (tests, tools,
// headless runs) is always taken as it is.

#include <string>

namespace Zing::Platform {

// What the start-up knows: the driver the library chose (null when it could
// not start), the one the user asked for (the library's environment variable,
// null when unset), the two display variables and the library's error text.
struct DisplayChoice {
  const char* chosenDriver = nullptr;
  const char* requestedDriver = nullptr;
  const char* x11Display = nullptr;
  const char* waylandDisplay = nullptr;
  std::string error;
};

// "" when the window can be seen; otherwise the reason, to follow "needs a
// graphical desktop: ".
std::string UnseenDisplayReason(const DisplayChoice& choice);

}  // namespace Zing::Platform
