// artgen: draws the game's artwork, font sheets and resource manifest into the
// data folder given on the command line. The same build always writes the same
// bytes.
#include <cairo.h>

#include <exception>
#include <iostream>

#include "tools/artgen/Art.h"
#include "tools/artgen/FontSheets.h"
#include "tools/artgen/Samples.h"

namespace {

void AddSounds(artgen::Catalog& catalog) {
  // The sound files come from the sound generator; the manifest names them.
  catalog.AddSound({"Init", "GUI_CLICK", "gui_click"});
  for (const char* id : {"CUBE_BUMP", "CUBE_CLICK", "CUBE_DROP", "CUBE_TAP", "SHUTTERS_BLUR", "SHUTTERS_BUMP",
                         "SHUTTERS_MOVE", "STAR_BIG", "STAR_SMALL", "VORTEX"}) {
    std::string path = id;
    for (char& c : path) c = char(std::tolower(static_cast<unsigned char>(c)));
    catalog.AddSound({"Game", id, path});
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: artgen <data folder>\n";
    return 2;
  }
  try {
    artgen::Catalog catalog(argv[1]);
    {
      artgen::Lettering lettering;
      artgen::MakeFonts(catalog, lettering);
      artgen::MakeWidgetArt(catalog, lettering);
      artgen::MakeScreenArt(catalog, lettering);
      artgen::MakeBoardArt(catalog, lettering);
      artgen::MakeMiniatureArt(catalog, lettering);
      artgen::MakeHelpArt(catalog, lettering);
      AddSounds(catalog);
      catalog.WriteManifest();
      catalog.WriteContactSheet(artgen::MakeSamples(catalog, lettering));
    }
  } catch (const std::exception& e) {
    std::cerr << "artgen: " << e.what() << "\n";
    return 1;
  }
  cairo_debug_reset_static_data();
  return 0;
}
