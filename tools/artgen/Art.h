// The artwork generators, one per family of pictures. Each draws its images
// and enters them in the catalogue under their resource ids and groups.
#pragma once

#include "tools/artgen/Catalog.h"
#include "tools/artgen/Lettering.h"

namespace artgen {

// Cells, pieces, cubes, vortices, stars, marks, shutters, effect texts, digits.
void MakeBoardArt(Catalog& catalog, const Lettering& lettering);
// Splash, backgrounds, menu panel, titles, start-screen and panel buttons.
void MakeScreenArt(Catalog& catalog, const Lettering& lettering);
// Dialog frame and button, check box, sliders, scroll bar, cursors.
void MakeWidgetArt(Catalog& catalog, const Lettering& lettering);
// The hint and level-chooser miniatures and the locked cover.
void MakeMiniatureArt(Catalog& catalog, const Lettering& lettering);
// The help pictures.
void MakeHelpArt(Catalog& catalog, const Lettering& lettering);

}  // namespace artgen
