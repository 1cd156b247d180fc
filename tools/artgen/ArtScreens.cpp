// Everything outside the board: the splash, the backgrounds, the menu panel,
// the titles and the big buttons.
#include <cctype>
#include <cmath>
#include <string>

#include "tools/artgen/Art.h"
#include "tools/artgen/FontSheets.h"
#include "tools/artgen/Pieces.h"
#include "tools/artgen/Texts.h"

namespace artgen {

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Deep teal with light falling from the top left and a quiet diagonal weave.
void Backdrop(Canvas& canvas, double lightX, double lightY) {
  cairo_t* cr = canvas.Cr();
  const double w = canvas.Width(), h = canvas.Height();
  SetColour(cr, theme::kPanelDeep);
  cairo_paint(cr);
  cairo_pattern_t* light = cairo_pattern_create_radial(lightX, lightY, 0, lightX, lightY, std::hypot(w, h));
  cairo_pattern_add_color_stop_rgba(light, 0, theme::kMaker.r, theme::kMaker.g, theme::kMaker.b, 0.75);
  cairo_pattern_add_color_stop_rgba(light, 0.55, theme::kPanel.r, theme::kPanel.g, theme::kPanel.b, 0.5);
  cairo_pattern_add_color_stop_rgba(light, 1, 0.0, 0.08, 0.07, 0.6);
  cairo_set_source(cr, light);
  cairo_paint(cr);
  cairo_pattern_destroy(light);
  for (double d = -h; d < w; d += 18) {
    cairo_move_to(cr, d, h);
    cairo_line_to(cr, d + h, 0);
  }
  SetColour(cr, theme::kHighlight, 0.025);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

// A recessed well: darker inside, shaded on its upper-left inner edge.
void Well(cairo_t* cr, double x, double y, double w, double h, double r, double alpha = 0.55) {
  RoundedRect(cr, x, y, w, h, r);
  SetColour(cr, theme::kPanelDeep.Darker(0.3), alpha);
  cairo_fill(cr);
  RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, r);
  cairo_pattern_t* rim = cairo_pattern_create_linear(x, y, x + w, y + h);
  cairo_pattern_add_color_stop_rgba(rim, 0, 0, 0.02, 0.02, 0.6);
  cairo_pattern_add_color_stop_rgba(rim, 0.5, 0, 0, 0, 0);
  cairo_pattern_add_color_stop_rgba(rim, 1, 1, 1, 1, 0.18);
  cairo_set_source(cr, rim);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_pattern_destroy(rim);
}

// The word "Lintwick" with a joined pair of pieces under it: the game's mark.
void Wordmark(Canvas& canvas, const Lettering& lettering, double cx, double baseline, double size, bool withPath) {
  cairo_t* cr = canvas.Cr();
  const std::string word = "Lintwick";
  lettering.Use(cr, Face::Bold, size);
  const double w = Lettering::Width(cr, word), x = cx - w / 2;
  auto path = [&](cairo_t* c) {
    lettering.Use(c, Face::Bold, size);
    Lettering::Path(c, word, x, baseline);
  };
  SoftShadow(canvas, path, size * 0.03, size * 0.05, std::max(1, int(size / 20)), theme::kShadow, 0.85);
  Glow(canvas, path, std::max(2, int(size / 10)), theme::kMaker.Lighter(0.3), 0.5);
  path(cr);
  FillVertical(cr, baseline - size * 0.75, baseline, theme::kHighlight, theme::kText.Mix(theme::kMaker, 0.35));
  cairo_new_path(cr);
  if (!withPath) return;
  // Two nodes joined by a path of pieces, from the first letter to the last.
  const double y = baseline + size * 0.34, step = size * 0.42, piece = size * 0.4;
  const int count = std::max(2, int(w / step));
  const double start = cx - (count - 1) * step / 2;
  for (int i = 0; i < count; ++i) {
    const bool node = i == 0 || i == count - 1;
    DrawPiece(canvas, start + i * step, y, piece, LinkColour(1), node ? 1.0 : 0.82, node ? 1.0 : 0.6);
  }
}

void MakeSplash(Catalog& catalog, const Lettering& lettering) {
  Canvas bkg(640, 480);
  Backdrop(bkg, 120, 40);
  cairo_t* cr = bkg.Cr();
  // A scatter of pieces along the lower edge, like a board seen from afar.
  for (int i = 0; i < 7; ++i) {
    DrawPiece(bkg, 70 + i * 83, 448 - 10 * (i % 2), 36, LinkColour(i), 1.0, 1.0);
  }
  Well(cr, 148, 338, 344, 24, 9, 0.7);  // the trough of the loading bar
  catalog.AddImage({"Splash", "SPLASH_BKG", "splash_bkg", Format::Jpeg}, std::move(bkg));

  Canvas text(598, 230);
  Wordmark(text, lettering, 299, 150, 118, true);
  catalog.AddImage({"Splash", "SPLASH_TEXT", "splash_text", Format::JpegAlphaImage}, std::move(text));

  Canvas bar(336, 16);
  RoundedRect(bar.Cr(), 0.5, 0.5, 335, 15, 7.5);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 16);
  cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.78, 0.5);
  cairo_pattern_add_color_stop_rgb(p, 0.5, theme::kAccent.r, theme::kAccent.g, theme::kAccent.b);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.62, 0.3, 0.03);
  cairo_set_source(bar.Cr(), p);
  cairo_fill(bar.Cr());
  cairo_pattern_destroy(p);
  RoundedRect(bar.Cr(), 4, 2, 328, 4, 2);
  SetColour(bar.Cr(), {1, 1, 1}, 0.35);
  cairo_fill(bar.Cr());
  catalog.AddImage({"Splash", "LOADING_BAR", "loading_bar"}, std::move(bar));
}

void MakeBackgrounds(Catalog& catalog, const Lettering& lettering) {
  Canvas game(470, 480);
  Backdrop(game, 0, 0);
  Well(game.Cr(), 1, 11, 458, 458, 8, 0.35);  // the board's bed
  Well(game.Cr(), 6, 465, 458, 12, 5, 0.8);   // the track of the vortex bar
  catalog.AddImage({"Game", "GAME_BKG", "game_bkg", Format::Jpeg}, std::move(game));

  Canvas menu(470, 480);
  Backdrop(menu, 0, 0);
  // A faint row of a finished board along the lower edge, below the start
  // screen's four buttons (the lowest ends at y 413), so none covers it.
  constexpr int kRowY = 425;
  for (int x = 0; x < 10; ++x) {
    Canvas cell(45, 45);
    DrawCellTile(cell.Cr(), 22.5, 22.5, 45);
    if ((x + 2) % 4 == 1) DrawPiece(cell, 22.5, 22.5, 45, LinkColour((x + 2) % 7), 1.0, 1.0);
    menu.Paint(cell, 10 + x * 45, kRowY, 0.38);
  }
  catalog.AddImage({"Game", "MENU_BKG", "menu_bkg", Format::Jpeg}, std::move(menu));
  (void)lettering;
}

void MakePanel(Catalog& catalog, const Lettering& lettering) {
  Canvas panel(170, 480);
  cairo_t* cr = panel.Cr();
  cairo_rectangle(cr, 0, 0, 170, 480);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 170, 480);
  cairo_pattern_add_color_stop_rgb(p, 0, theme::kPanel.Lighter(0.06).r, theme::kPanel.Lighter(0.06).g,
                                   theme::kPanel.Lighter(0.06).b);
  cairo_pattern_add_color_stop_rgb(p, 1, theme::kPanelDark.r, theme::kPanelDark.g, theme::kPanelDark.b);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  // The edge towards the play field: a light line then a dark one.
  cairo_rectangle(cr, 167, 0, 1, 480);
  SetColour(cr, theme::kMaker.Lighter(0.2), 0.6);
  cairo_fill(cr);
  cairo_rectangle(cr, 168, 0, 2, 480);
  SetColour(cr, theme::kShadow, 0.8);
  cairo_fill(cr);
  Well(cr, 10, 52 - kSmallFontRaise, 150, 36, 7);  // level and score, in the raised small font
  Well(cr, 16, 262, 140, 138, 9);                  // where the hint miniature appears
  // Until a hint is shown, the hint well holds a quiet question mark.
  DrawLabel(panel, lettering, Face::Bold, 64, "?", 86, 356, theme::kMaker, 0.0);
  catalog.AddImage({"Game", "PANEL", "panel", Format::Jpeg}, std::move(panel));

  // Low enough to leave room for the level and score labels below it, which
  // the small font raises (kSmallFontRaise).
  Canvas text(166, 22);
  Wordmark(text, lettering, 83, 18, 20, false);
  catalog.AddImage({"Game", "PANEL_TEXT", "panel_text"}, std::move(text));
}

// The main menu's buttons: normal, under the pointer, pressed.
void MakePanelButtons(Catalog& catalog) {
  const char* ids[3] = {"BUTTON_NORMAL", "BUTTON_OVER", "BUTTON_DOWN"};
  const char* files[3] = {"button_normal", "button_over", "button_down"};
  for (int state = 0; state < 3; ++state) {
    Canvas b(144, 38);
    auto shape = [](cairo_t* c) { RoundedRect(c, 2, 2, 138, 32, 10); };
    if (state != 2) SoftShadow(b, shape, 1, 2, 2, theme::kShadow, 0.7);
    if (state == 1) Glow(b, shape, 2, theme::kAccent, 0.6);
    const Colour base = state == 1   ? theme::kMaker.Lighter(0.1)
                        : state == 2 ? theme::kMaker.Darker(0.3)
                                     : theme::kMaker.Darker(0.1);
    BevelTile(b.Cr(), state == 2 ? 3 : 2, state == 2 ? 3 : 2, 138, 32, 10, base, state == 2 ? -0.6 : 1.0);
    catalog.AddImage({"Game", ids[state], files[state]}, std::move(b));
  }
}

// The start screen's four big buttons and the menu title, per language.
Canvas StartButton(const Lettering& lettering, const char* label, bool lit) {
  Canvas b(460, 64);
  auto shape = [](cairo_t* c) { RoundedRect(c, 60, 6, 340, 50, 25); };
  SoftShadow(b, shape, 2, 3, 3, theme::kShadow, 0.8);
  if (lit) Glow(b, shape, 4, theme::kAccent, 0.8);
  BevelTile(b.Cr(), 60, 6, 340, 50, 25, lit ? theme::kMaker.Lighter(0.12) : theme::kPanel.Lighter(0.04), 1.0);
  cairo_t* cr = b.Cr();
  const double size = lettering.FitSize(cr, Face::Bold, label, 24, 290);
  DrawLabel(b, lettering, Face::Bold, size, label, 230, 40, lit ? theme::kHighlight : theme::kText, 0.8);
  return b;
}

void MakeStartScreen(Catalog& catalog, const Lettering& lettering) {
  for (const Language& lang : kLanguages) {
    const std::string s = lang.suffix, l = Lower(s);
    Canvas title(460, 110);
    Wordmark(title, lettering, 230, 66, 66, false);
    DrawLabel(title, lettering, Face::Regular, 18, lang.tagline, 230, 96, theme::kAccentSoft, 0.7);
    catalog.AddImage({"Game", "MENU_TITLE_" + s, "menu_title_" + l, Format::JpegUnderscoreAlpha}, std::move(title));
    const char* labels[4] = {lang.newGame, lang.continueGame, lang.replay, lang.daily};
    const char* names[4] = {"NEW", "CONTINUE", "REPLAY", "DAILY"};
    for (int i = 0; i < 4; ++i) {
      const std::string id = names[i], file = Lower(id);
      catalog.AddImage({"Game", id + "_" + s, file + "_" + l}, StartButton(lettering, labels[i], false));
      catalog.AddImage({"Game", id + "_HLT_" + s, file + "_hlt_" + l}, StartButton(lettering, labels[i], true));
    }
  }
}

}  // namespace

void MakeScreenArt(Catalog& catalog, const Lettering& lettering) {
  MakeSplash(catalog, lettering);
  MakeBackgrounds(catalog, lettering);
  MakePanel(catalog, lettering);
  MakePanelButtons(catalog);
  MakeStartScreen(catalog, lettering);
}

}  // namespace artgen
