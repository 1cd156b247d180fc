// The drivers that draw into memory are the library's fall-back when no
// display answers; a player who starts the game there gets one clear line
// instead of a process that runs unseen.

#include "framework/platform/DisplayPresence.h"

#include <strings.h>
#include <array>

namespace Zing::Platform {

namespace {

// SDL's drivers that show nothing on any screen.
constexpr std::array<const char*, 2> kUnseenDrivers = {"offscreen", "dummy"};

bool IsSet(const char* variable) { return variable != nullptr && *variable != '\0'; }

bool IsUnseen(const char* driver) {
  for (const char* unseen : kUnseenDrivers)
    if (strcasecmp(driver, unseen) == 0) return true;
  return false;
}

// Which of the display variables point where no display answered.
std::string WhereItLooked(const DisplayChoice& choice) {
  const bool x11 = IsSet(choice.x11Display);
  const bool wayland = IsSet(choice.waylandDisplay);
  if (!x11 && !wayland) return "no display was found (DISPLAY and WAYLAND_DISPLAY are not set)";
  std::string where;
  if (x11) where = std::string("DISPLAY=") + choice.x11Display;
  if (wayland) where += std::string(x11 ? ", " : "") + "WAYLAND_DISPLAY=" + choice.waylandDisplay;
  return "no display could be opened (" + where + ")";
}

}  // namespace

std::string UnseenDisplayReason(const DisplayChoice& choice) {
  const bool requested = IsSet(choice.requestedDriver);
  if (choice.chosenDriver == nullptr) {
    if (requested)
      return std::string("the display driver \"") + choice.requestedDriver + "\" could not start (" + choice.error +
             ")";
    return WhereItLooked(choice);
  }
  if (requested || !IsUnseen(choice.chosenDriver)) return {};
  return WhereItLooked(choice);
}

}  // namespace Zing::Platform
