// The program's icon, for the desktop's menus.
#pragma once

#include <string>

namespace artgen {

// Writes `name`.png in the sizes 48, 64, 128 and 256 and a scalable
// `name`.svg below `root` in the icon theme's layout
// (hicolor/48x48/apps/... , hicolor/scalable/apps/...).
void WriteIcons(const std::string& root, const std::string& name);

}  // namespace artgen
