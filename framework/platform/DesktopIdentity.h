#pragma once

// The name under which the desktop knows the program's windows, so that the
// task bar and the window switcher show the icon of its menu entry.

#include <string>

namespace Zing::Platform {

// Names the program's windows after its desktop entry (the entry's file name
// without ".desktop"). Call before the first window opens; a name the user
// set in the environment wins.
void SetDesktopIdentity(const std::string& desktopEntryName);

}  // namespace Zing::Platform
