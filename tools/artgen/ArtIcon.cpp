// The program's icon for the desktop's menus and task bar: a corner of the
// board on the teal panel, one link finished and one with the rolling cube on
// its way to the last node. It is drawn with plain vector shapes only (no
// blurred shadows), so that the same drawing gives the PNG sizes and the
// scalable SVG.
#include "tools/artgen/ArtIcon.h"

#include <cairo-svg.h>

#include <filesystem>
#include <stdexcept>

#include "tools/artgen/ImageFiles.h"
#include "tools/artgen/Pieces.h"

namespace artgen {

namespace {

// The icon is designed on a 256-unit square.
constexpr double kDesign = 256.0;
constexpr double kCellPitch = 64.0;
constexpr double kBoardOrigin = 32.0;
constexpr int kFinishedLink = 3;  // aqua
constexpr int kOpenLink = 1;      // orange
constexpr int kIconSizes[] = {48, 64, 128, 256};

struct Cell {
  int col;
  int row;
};

double Centre(int index) { return kBoardOrigin + kCellPitch * (index + 0.5); }

// A piece as the board shows it, without its soft shadow: nodes larger and
// brighter than the path pieces.
void IconPiece(cairo_t* cr, Cell cell, Colour colour, bool node, bool finished) {
  const double cx = Centre(cell.col), cy = Centre(cell.row);
  const double w = kCellPitch * (node ? 0.7 : 0.56), r = w * 0.24;
  const Colour body = finished ? colour.Lighter(0.18) : colour.Darker(0.12);
  BevelTile(cr, cx - w / 2, cy - w / 2, w, w, r, body, 1.2);
  const double f = w * 0.36;
  RoundedRect(cr, cx - f / 2, cy - f / 2, f, f, f * 0.25);
  SetColour(cr, body.Lighter(finished ? 0.6 : 0.3), finished ? 0.9 : 0.6);
  cairo_fill(cr);
}

// The rolling cube seen from above, standing on its cell, with a hard shadow.
void IconCube(cairo_t* cr, Cell cell, Colour colour) {
  const double cx = Centre(cell.col), cy = Centre(cell.row), s = kCellPitch * 0.66;
  RoundedRect(cr, cx - s / 2 + 5, cy - s / 2 + 7, s, s, s * 0.14);
  SetColour(cr, theme::kShadow, 0.55);
  cairo_fill(cr);
  BevelTile(cr, cx - s / 2, cy - s / 2, s, s, s * 0.12, colour, 1.4);
  const double e = s * 0.4;
  RoundedRect(cr, cx - e / 2, cy - e / 2, e, e, e * 0.12);
  SetColour(cr, colour.Lighter(0.45), 0.85);
  cairo_fill(cr);
}

void DrawIcon(cairo_t* cr) {
  BevelTile(cr, 8, 8, 240, 240, 48, theme::kPanel, 1.2);
  RoundedRect(cr, 24, 24, 208, 208, 30);
  SetColour(cr, theme::kPanelDeep);
  cairo_fill(cr);
  for (int col = 0; col < 3; ++col) {
    for (int row = 0; row < 3; ++row) DrawCellTile(cr, Centre(col), Centre(row), kCellPitch);
  }
  const Colour done = LinkColour(kFinishedLink), open = LinkColour(kOpenLink);
  const Cell finished[] = {{0, 0}, {0, 1}, {0, 2}, {1, 2}, {2, 2}};
  const Cell started[] = {{2, 0}, {1, 0}, {1, 1}, {2, 1}};
  for (const Cell& c : finished) DrawSocket(cr, Centre(c.col), Centre(c.row), kCellPitch, done);
  for (const Cell& c : started) DrawSocket(cr, Centre(c.col), Centre(c.row), kCellPitch, open);
  for (const Cell& c : finished) IconPiece(cr, c, done, &c == &finished[0] || &c == &finished[4], true);
  IconPiece(cr, started[0], open, true, false);
  IconPiece(cr, started[1], open, false, false);
  IconPiece(cr, started[3], open, true, false);
  IconCube(cr, started[2], open);
}

std::filesystem::path IconFolder(const std::string& root, const std::string& size) {
  const std::filesystem::path folder = std::filesystem::path(root) / "hicolor" / size / "apps";
  std::filesystem::create_directories(folder);
  return folder;
}

void WriteSvgIcon(const std::filesystem::path& path) {
  cairo_surface_t* surface = cairo_svg_surface_create(path.c_str(), kDesign, kDesign);
  cairo_svg_surface_restrict_to_version(surface, CAIRO_SVG_VERSION_1_1);
  cairo_t* cr = cairo_create(surface);
  DrawIcon(cr);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const cairo_status_t status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

void WriteIcons(const std::string& root, const std::string& name) {
  for (int size : kIconSizes) {
    Canvas canvas(size, size);
    cairo_scale(canvas.Cr(), size / kDesign, size / kDesign);
    DrawIcon(canvas.Cr());
    const std::string folder = std::to_string(size) + "x" + std::to_string(size);
    WritePng((IconFolder(root, folder) / (name + ".png")).string(), canvas);
  }
  WriteSvgIcon(IconFolder(root, "scalable") / (name + ".svg"));
}

}  // namespace artgen
