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

// How far FONT_SMALL_DIGITS draws its letters above the pen's baseline. The
// game writes the level chooser's board number at a point inside the top row
// of the board miniature; raised by this much, the number stands in the free
// band between the dialog's title and the miniature. The main menu's level
// and score labels, written in the same font, rise with it, and the panel's
// word mark is drawn small enough to leave them room.
inline constexpr int kSmallFontRaise = 20;

}  // namespace artgen
