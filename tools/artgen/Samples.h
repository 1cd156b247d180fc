// Sample screens for the contact sheet, put together from the finished images
// the way the game draws them, so that a reviewer sees the look as a whole.
#pragma once

#include <vector>

#include "tools/artgen/Catalog.h"
#include "tools/artgen/Lettering.h"

namespace artgen {

std::vector<Canvas> MakeSamples(const Catalog& catalog, const Lettering& lettering);

}  // namespace artgen
