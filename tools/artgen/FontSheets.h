// The game's image fonts: glyph sheets rendered with FreeType and the font
// descriptors that tell the image font where each glyph lies.
#pragma once

#include "tools/artgen/Catalog.h"
#include "tools/artgen/Lettering.h"

namespace artgen {

// Unicode code point of a Windows-1252 byte; 0 for the five unused bytes and
// for control characters.
uint32_t Cp1252ToUnicode(uint8_t byte);

// Writes fonts/default.txt (FONT_DEFAULT) and fonts/small.txt
// (FONT_SMALL_DIGITS) with their sheets, and enters them in the catalogue.
void MakeFonts(Catalog& catalog, const Lettering& lettering);

}  // namespace artgen
