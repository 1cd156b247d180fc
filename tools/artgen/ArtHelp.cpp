// The help page: four small drawings that explain the rules, with a heading
// and two lines of text each, one picture per language.
#include <array>
#include <cctype>
#include <cmath>
#include <string>

#include "tools/artgen/Art.h"
#include "tools/artgen/Pieces.h"
#include "tools/artgen/Texts.h"

namespace artgen {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kW = 420, kH = 300;
constexpr int kPanelW = 205, kPanelH = 145;
constexpr double kCell = 26;

// A row of board cells with their top-left corner at (x, y).
void CellRow(Canvas& c, double x, double y, int count) {
  for (int i = 0; i < count; ++i) DrawCellTile(c.Cr(), x + kCell * (i + 0.5), y + kCell / 2, kCell);
}

void Piece(Canvas& c, double x, double y, int i, int link, double finish) {
  const double cx = x + kCell * (i + 0.5), cy = y + kCell / 2;
  DrawSocket(c.Cr(), cx, cy, kCell, LinkColour(link));
  DrawPiece(c, cx, cy, kCell, LinkColour(link), 1.0, finish);
}

// Join the pairs: a finished link and one still being drawn.
Canvas PairsPicture() {
  Canvas c(kPanelW, 64);
  CellRow(c, 24, 4, 6);
  CellRow(c, 24, 4 + kCell, 6);
  for (int i = 0; i < 6; ++i) Piece(c, 24, 4, i, 0, 1.0);
  Piece(c, 24, 4 + kCell, 0, 4, 1.0);
  Piece(c, 24, 4 + kCell, 1, 4, 0.0);
  Piece(c, 24, 4 + kCell, 5, 4, 1.0);
  return c;
}

// The rolling cube on its way to the target node.
Canvas CubePicture() {
  Canvas c(kPanelW, 64);
  const double y = 18;
  CellRow(c, 24, y, 6);
  Piece(c, 24, y, 0, 1, 1.0);
  Piece(c, 24, y, 1, 1, 0.0);
  Piece(c, 24, y, 5, 1, 1.0);
  DrawSocket(c.Cr(), 24 + kCell * 2.5, y + kCell / 2, kCell, LinkColour(1));
  DrawCube(c, 24 + kCell * 3.0, y + kCell / 2, kCell * 0.72, LinkColour(1), 45, false);
  cairo_t* cr = c.Cr();
  cairo_arc(cr, 24 + kCell * 5.5, y + kCell / 2, kCell * 0.55, 0, 2 * kPi);
  SetColour(cr, theme::kAccentSoft.Lighter(0.3));
  cairo_set_line_width(cr, 1.8);
  cairo_set_dash(cr, std::array<double, 2>{5, 3}.data(), 2, 0);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
  return c;
}

// Cutting: marked pieces, a vortex, and the bar losing a piece.
Canvas CutPicture() {
  Canvas c(kPanelW, 64);
  const double y = 4;
  CellRow(c, 24, y, 6);
  for (int i = 0; i < 3; ++i) Piece(c, 24, y, i, 5, 0.0);
  cairo_t* cr = c.Cr();
  for (int i = 3; i < 5; ++i) {
    RoundedRect(cr, 24 + kCell * i + 2, y + 2, kCell - 4, kCell - 4, 4);
    SetColour(cr, Colour::Rgb(210, 40, 20), 0.35);
    cairo_fill_preserve(cr);
    SetColour(cr, theme::kAccent);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
  }
  // The swirl left where a piece was cut.
  const double vx = 24 + kCell * 5.5, vy = y + kCell / 2;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int arm = 0; arm < 3; ++arm) {
    cairo_new_path(cr);
    for (int s = 0; s <= 16; ++s) {
      const double u = s / 16.0, a = arm * 2 * kPi / 3 + u * 2.4, r = 10 * (1 - u * 0.85);
      if (s == 0)
        cairo_move_to(cr, vx + r * std::cos(a), vy + r * std::sin(a));
      else
        cairo_line_to(cr, vx + r * std::cos(a), vy + r * std::sin(a));
    }
    SetColour(cr, LinkColour(5));
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
  }
  // The vortex bar, partly used up.
  RoundedRect(cr, 24, 42, 156, 10, 5);
  SetColour(cr, theme::kShadow, 0.6);
  cairo_fill(cr);
  RoundedRect(cr, 25, 43, 100, 8, 4);
  FillVertical(cr, 43, 51, theme::kAccentSoft.Lighter(0.2), theme::kAccent);
  cairo_new_path(cr);
  return c;
}

// Hints: the miniature of the solution in the panel.
Canvas HintPicture() {
  Canvas c(kPanelW, 64);
  cairo_t* cr = c.Cr();
  RoundedRect(cr, 62, 2, 80, 60, 6);
  SetColour(cr, theme::kPanelDeep.Darker(0.2));
  cairo_fill(cr);
  const int path[][2] = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {3, 2}, {4, 2}};
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) {
      RoundedRect(cr, 67 + x * 12, 8 + y * 12, 11, 11, 2);
      SetColour(cr, theme::kCell);
      cairo_fill(cr);
    }
  }
  for (size_t i = 0; i < std::size(path); ++i) {
    const double px = 67 + path[i][0] * 12 + 5.5, py = 8 + path[i][1] * 12 + 5.5;
    const bool node = i == 0 || i + 1 == std::size(path);
    if (node)
      cairo_arc(cr, px, py, 4.5, 0, 2 * kPi);
    else
      RoundedRect(cr, px - 3, py - 3, 6, 6, 1.5);
    SetColour(cr, LinkColour(3));
    cairo_fill(cr);
  }
  return c;
}

void Caption(Canvas& page, const Lettering& lettering, double x, double y, const std::array<const char*, 3>& text) {
  const double head = lettering.FitSize(page.Cr(), Face::Bold, text[0], 15, kPanelW - 12);
  DrawLabel(page, lettering, Face::Bold, head, text[0], x + kPanelW / 2.0, y + 18, theme::kAccentSoft, 0.7);
  for (int line = 1; line <= 2; ++line) {
    const double size = lettering.FitSize(page.Cr(), Face::Regular, text[size_t(line)], 11.5, kPanelW - 10);
    DrawLabel(page, lettering, Face::Regular, size, text[size_t(line)], x + kPanelW / 2.0, y + 104 + 15 * line,
              theme::kText, 0.6);
  }
}

}  // namespace

void MakeHelpArt(Catalog& catalog, const Lettering& lettering) {
  const Canvas pictures[4] = {PairsPicture(), CubePicture(), CutPicture(), HintPicture()};
  for (const Language& lang : kLanguages) {
    Canvas page(kW, kH);
    for (int i = 0; i < 4; ++i) {
      const double x = (i % 2) * (kPanelW + 10), y = (i / 2) * (kPanelH + 10);
      cairo_t* cr = page.Cr();
      RoundedRect(cr, x + 0.5, y + 0.5, kPanelW - 1, kPanelH - 1, 8);
      SetColour(cr, theme::kPanelDark, 0.85);
      cairo_fill_preserve(cr);
      SetColour(cr, theme::kMaker, 0.9);
      cairo_set_line_width(cr, 1);
      cairo_stroke(cr);
      page.Paint(pictures[i], x, y + 28);
      Caption(page, lettering, x, y, lang.help[size_t(i)]);
    }
    std::string s = lang.suffix, l = s;
    for (char& ch : l) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    catalog.AddImage({"Game", "HELP_" + s, "help_" + l}, std::move(page));
  }
}

}  // namespace artgen
