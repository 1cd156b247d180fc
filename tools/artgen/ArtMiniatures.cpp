// Miniature boards: the hint in the menu panel (12-pixel cells) and the level
// chooser (20-pixel cells), and the cover over a locked board.
#include <cctype>
#include <cmath>
#include <string>

#include "tools/artgen/Art.h"
#include "tools/artgen/Pieces.h"
#include "tools/artgen/Texts.h"

namespace artgen {

namespace {

constexpr double kPi = 3.14159265358979323846;

void MiniCell(Canvas& c, double size) {
  const double inset = size >= 15 ? 1.0 : 0.5;
  BevelTile(c.Cr(), inset, inset, c.Width() - 2 * inset, c.Height() - 2 * inset, size * 0.18, theme::kCell, 0.7);
}

Canvas MiniShadow(int size, int cell) {
  Canvas c(size, size);
  const double o = (size - cell) / 2.0;
  SoftShadow(
      c, [&](cairo_t* cr) { RoundedRect(cr, o, o, cell, cell, cell * 0.2); }, 1.5, 2, 1, theme::kShadow, 0.8);
  return c;
}

Canvas MiniNodes(int size) {
  return CelGrid(7, 1, size, size, [&](Canvas& cel, int link, int) {
    const double c = size / 2.0, r = size / 2.0 - 1;
    cairo_t* cr = cel.Cr();
    cairo_arc(cr, c, c, r, 0, 2 * kPi);
    SetColour(cr, theme::kShadow, 0.9);
    cairo_fill(cr);
    cairo_arc(cr, c, c, r - 1, 0, 2 * kPi);
    cairo_pattern_t* p = cairo_pattern_create_radial(c - r * 0.4, c - r * 0.4, 0, c, c, r);
    const Colour hi = LinkColour(link).Lighter(0.5), lo = LinkColour(link).Darker(0.1);
    cairo_pattern_add_color_stop_rgb(p, 0, hi.r, hi.g, hi.b);
    cairo_pattern_add_color_stop_rgb(p, 1, lo.r, lo.g, lo.b);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
  });
}

// The path pieces of a miniature: a small tile of each link colour.
Canvas LinkTiles(int size, double radius) {
  return CelGrid(7, 1, size, size, [size, radius](Canvas& cel, int link, int) {
    RoundedRect(cel.Cr(), 0.5, 0.5, size - 1, size - 1, radius);
    SetColour(cel.Cr(), LinkColour(link).Darker(0.05));
    cairo_fill(cel.Cr());
  });
}

// The sticks joining neighbouring pieces of a miniature, centred in their
// cel: row 0 joins neighbours side by side, row 1 one above the other.
Canvas LinkSticks(int size, int thickness) {
  return CelGrid(7, 2, size, size, [size, thickness](Canvas& cel, int link, int row) {
    const int inset = (size - thickness) / 2;
    if (row == 0)
      cairo_rectangle(cel.Cr(), 0, inset, size, thickness);
    else
      cairo_rectangle(cel.Cr(), inset, 0, thickness, size);
    SetColour(cel.Cr(), LinkColour(link).Darker(0.15));
    cairo_fill(cel.Cr());
  });
}

void MakeHint(Catalog& catalog) {
  // An opaque, plain panel: stored as a GIF.
  Canvas bkg(132, 132);
  cairo_t* cr = bkg.Cr();
  cairo_rectangle(cr, 0, 0, 132, 132);
  SetColour(cr, theme::kPanelDeep);
  cairo_fill(cr);
  cairo_rectangle(cr, 1, 1, 130, 130);
  FillVertical(cr, 1, 131, theme::kPanelDark.Darker(0.2), theme::kPanelDark.Lighter(0.03));
  cairo_new_path(cr);
  cairo_rectangle(cr, 1, 1, 130, 1);
  SetColour(cr, theme::kShadow);
  cairo_fill(cr);
  cairo_rectangle(cr, 1, 130, 130, 1);
  SetColour(cr, theme::kMaker);
  cairo_fill(cr);
  catalog.AddImage({"Game", "HINT_BKG", "hint_bkg", Format::Gif}, std::move(bkg));

  Canvas cell(11, 11);
  MiniCell(cell, 11);
  catalog.AddImage({"Game", "HINT_CELL", "hint_cell"}, std::move(cell));
  catalog.AddImage({"Game", "HINT_SHADOW", "hint_shadow"}, MiniShadow(17, 11));
  catalog.AddImage({"Game", "HINT_NODES", "hint_nodes", Format::Png, 1, 7}, MiniNodes(10));
  catalog.AddImage({"Game", "HINT_LINKS", "hint_links", Format::Png, 1, 7}, LinkTiles(6, 1.5));
  catalog.AddImage({"Game", "HINT_STICKS", "hint_sticks", Format::Png, 2, 7}, LinkSticks(8, 2));
}

// The marks of the level chooser: cel 0 a tick for a solved board, cel 1 a
// star for a perfect one, both in the warm accent of the game's good news,
// lifted off the miniature by a soft shadow.
void MarkShape(cairo_t* cr, int cel, double size) {
  const double c = size / 2.0;
  if (cel == 0) {
    cairo_move_to(cr, size * 0.18, size * 0.52);
    cairo_line_to(cr, size * 0.42, size * 0.76);
    cairo_line_to(cr, size * 0.84, size * 0.26);
    return;
  }
  for (int i = 0; i < 10; ++i) {
    const double angle = -kPi / 2 + i * kPi / 5;
    const double r = i % 2 == 0 ? size * 0.46 : size * 0.19;
    const double x = c + r * std::cos(angle), y = c + 1 + r * std::sin(angle);
    if (i == 0)
      cairo_move_to(cr, x, y);
    else
      cairo_line_to(cr, x, y);
  }
  cairo_close_path(cr);
}

Canvas ChooserMarks(int size) {
  return CelGrid(2, 1, size, size, [size](Canvas& cel, int mark, int) {
    cairo_t* cr = cel.Cr();
    const double width = size * 0.16;
    auto shape = [&](cairo_t* g) {
      MarkShape(g, mark, size);
      if (mark == 0) {
        cairo_set_line_width(g, width);
        cairo_set_line_cap(g, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(g, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(g);
      }
    };
    SoftShadow(cel, shape, 1, 1.5, 1, theme::kShadow, 0.9);
    cairo_new_path(cr);
    MarkShape(cr, mark, size);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, size);
    const Colour top = Colour::Rgb(255, 226, 160), bottom = theme::kAccent;
    cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
    cairo_set_source(cr, p);
    if (mark == 0) {
      cairo_set_line_width(cr, width);
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
      cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
      cairo_stroke(cr);
    } else {
      cairo_fill(cr);
    }
    cairo_pattern_destroy(p);
  });
}

// A solve played back on the chooser's miniature: the pieces as small tiles
// of their link colour and the sticks joining them, as in the hint.
void MakeReplayPieces(Catalog& catalog) {
  catalog.AddImage({"Game", "REPLAY_LINKS", "replay_links", Format::Png, 1, 7}, LinkTiles(10, 2.5));
  catalog.AddImage({"Game", "REPLAY_STICKS", "replay_sticks", Format::Png, 2, 7}, LinkSticks(14, 4));
  catalog.AddImage({"Game", "REPLAY_MARKS", "replay_marks", Format::Png, 1, 2}, ChooserMarks(22));
}

void Padlock(Canvas& c, double cx, double cy, double s) {
  cairo_t* cr = c.Cr();
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy - s * 0.1, s * 0.28, kPi, 2 * kPi);
  cairo_line_to(cr, cx + s * 0.28, cy + s * 0.1);
  cairo_move_to(cr, cx - s * 0.28, cy + s * 0.1);
  cairo_line_to(cr, cx - s * 0.28, cy - s * 0.1);
  SetColour(cr, theme::kText.Darker(0.2));
  cairo_set_line_width(cr, s * 0.1);
  cairo_stroke(cr);
  auto body = [&](cairo_t* g) { RoundedRect(g, cx - s * 0.4, cy, s * 0.8, s * 0.6, s * 0.1); };
  SoftShadow(c, body, 2, 3, 2, theme::kShadow, 0.8);
  BevelTile(cr, cx - s * 0.4, cy, s * 0.8, s * 0.6, s * 0.1, theme::kAccent, 1.0);
  cairo_arc(cr, cx, cy + s * 0.25, s * 0.08, 0, 2 * kPi);
  SetColour(cr, theme::kShadow, 0.8);
  cairo_fill(cr);
}

void MakeReplay(Catalog& catalog, const Lettering& lettering) {
  Canvas bkg(206, 206);
  RoundedRect(bkg.Cr(), 0.5, 0.5, 205, 205, 10);
  SetColour(bkg.Cr(), theme::kPanelDeep.Darker(0.2), 0.9);
  cairo_fill_preserve(bkg.Cr());
  SetColour(bkg.Cr(), theme::kMaker, 0.8);
  cairo_set_line_width(bkg.Cr(), 1);
  cairo_stroke(bkg.Cr());
  catalog.AddImage({"Game", "REPLAY_BKG", "replay_bkg"}, std::move(bkg));

  Canvas cell(19, 19);
  MiniCell(cell, 19);
  catalog.AddImage({"Game", "REPLAY_CELL", "replay_cell"}, std::move(cell));
  catalog.AddImage({"Game", "REPLAY_NODES", "replay_nodes", Format::Png, 1, 7}, MiniNodes(14));
  catalog.AddImage({"Game", "REPLAY_SHADOW", "replay_shadow"}, MiniShadow(27, 19));
  MakeReplayPieces(catalog);

  for (const Language& lang : kLanguages) {
    std::string s = lang.suffix, l = s;
    for (char& ch : l) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    Canvas cover(206, 206);
    RoundedRect(cover.Cr(), 0, 0, 206, 206, 10);
    SetColour(cover.Cr(), theme::kPanelDeep, 0.72);
    cairo_fill(cover.Cr());
    Padlock(cover, 103, 70, 64);
    const double size = lettering.FitSize(cover.Cr(), Face::CondensedBold, lang.locked, 26, 190);
    DrawLabel(cover, lettering, Face::CondensedBold, size, lang.locked, 103, 150, theme::kAccentSoft, 0.9);
    const double small = lettering.FitSize(cover.Cr(), Face::Regular, lang.lockedHint, 12, 192);
    DrawLabel(cover, lettering, Face::Regular, small, lang.lockedHint, 103, 174, theme::kText, 0.9);
    catalog.AddImage({"Game", "REPLAY_LOCKED_" + s, "replay_locked_" + l}, std::move(cover));
  }
}

}  // namespace

void MakeMiniatureArt(Catalog& catalog, const Lettering& lettering) {
  MakeHint(catalog);
  MakeReplay(catalog, lettering);
}

}  // namespace artgen
