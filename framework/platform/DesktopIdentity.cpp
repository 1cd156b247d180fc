// SDL takes a window's class (X11) and application id (Wayland) from these
// environment variables when it opens the display; both default to the
// program's file name, which matches no desktop entry of a reverse-domain name.

#include "framework/platform/DesktopIdentity.h"

#include <cstdlib>

namespace Zing::Platform {

void SetDesktopIdentity(const std::string& desktopEntryName) {
  if (desktopEntryName.empty()) return;
  constexpr int kKeepExisting = 0;  // setenv's "overwrite": a value already set stays
  setenv("SDL_VIDEO_X11_WMCLASS", desktopEntryName.c_str(), kKeepExisting);
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", desktopEntryName.c_str(), kKeepExisting);
}

}  // namespace Zing::Platform
