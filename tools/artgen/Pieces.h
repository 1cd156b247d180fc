// The drawing of the game's recurring things: board cells, link pieces, the
// rolling cube, sparkles. Every picture that shows them (the play field, the
// help page, the title art) draws them through these functions so that they
// look the same everywhere.
#pragma once

#include "tools/artgen/Canvas.h"

namespace artgen {

// A board cell: a softly recessed tile filling size x size around (cx, cy).
void DrawCellTile(cairo_t* cr, double cx, double cy, double size);

// A link piece centred on (cx, cy): `scale` 0..1 grows it to its open look,
// `finish` 0..1 turns it into its brighter finished look.
void DrawPiece(Canvas& canvas, double cx, double cy, double size, Colour colour, double scale, double finish);

// The flat coloured socket drawn under every piece of a link.
void DrawSocket(cairo_t* cr, double cx, double cy, double size, Colour colour);

// The rolling cube centred on (cx, cy), turned by `angle` (0..90 degrees) about
// the edge it rolls over: rolling to the right, or downwards when `vertical`.
void DrawCube(Canvas& canvas, double cx, double cy, double side, Colour colour, double angle, bool vertical);

// A four-pointed sparkle of the given radius.
void DrawSparkle(Canvas& canvas, double cx, double cy, double radius, double alpha, bool withRays);

}  // namespace artgen
