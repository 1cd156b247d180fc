// artgen: draws the game's artwork, font sheets and resource manifest into the
// data folder given on the command line; with --icons, the program's icon for
// the desktop instead. The same build always writes the same bytes.
#include <cairo.h>

#include <exception>
#include <iostream>
#include <string>

#include "tools/artgen/Art.h"
#include "tools/artgen/ArtIcon.h"
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
  const bool icons = argc == 4 && std::string(argv[1]) == "--icons";
  if (argc != 2 && !icons) {
    std::cerr << "usage: artgen <data folder>\n       artgen --icons <icon folder> <icon name>\n";
    return 2;
  }
  try {
    if (icons) {
      artgen::WriteIcons(argv[2], argv[3]);
      cairo_debug_reset_static_data();
      return 0;
    }
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
