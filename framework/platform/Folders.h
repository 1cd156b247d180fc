#pragma once

// Per-user folders of the desktop.

#include <string>

namespace Zing::Platform {

// $XDG_DATA_HOME (default ~/.local/share) / company / product /, with a
// trailing '/'; empty (the working folder) when there is no home folder.
std::string UserDataFolder(const std::string& company, const std::string& product);

// $XDG_CONFIG_HOME, default ~/.config, without a trailing '/'; empty when
// there is no home folder.
std::string UserConfigFolder();

bool ChangeWorkingFolder(const std::string& path);

// The folder that holds the running program, with a trailing '/'; empty when
// it cannot be found.
std::string ProgramFolder();

}  // namespace Zing::Platform
