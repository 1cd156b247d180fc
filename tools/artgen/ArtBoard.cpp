// The play field's sprites. Sizes follow the board: 45-pixel cells, every
// sprite drawn centred on its cell.
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/artgen/Art.h"
#include "tools/artgen/Pieces.h"
#include "tools/artgen/Texts.h"

namespace artgen {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kCell = 45;
constexpr int kCubeCel = 64;
constexpr int kCubeColumns = 14;
constexpr double kCubeSide = 32;

double EaseOut(double t) { return 1 - (1 - t) * (1 - t); }

void MakeCellAndShadow(Catalog& catalog) {
  Canvas cell(kCell, kCell);
  DrawCellTile(cell.Cr(), kCell / 2.0, kCell / 2.0, kCell);
  catalog.AddImage({"Game", "CELL", "cell"}, std::move(cell));

  Canvas shadow(61, 61);
  SoftShadow(
      shadow, [](cairo_t* cr) { RoundedRect(cr, 10, 10, 43, 43, 8); }, 3, 4, 3, theme::kShadow, 0.8);
  catalog.AddImage({"Game", "SHADOW_PIECE", "shadow_piece"}, std::move(shadow));
}

// 22 cels: 0..10 a piece growing to its open look, 11..21 turning finished.
Canvas LinkStrip(Colour colour) {
  return CelGrid(22, 1, kCell, kCell, [&](Canvas& cel, int i, int) {
    const double c = kCell / 2.0;
    if (i <= 10) {
      const double t = (i + 1) / 11.0;
      // A little overshoot before settling makes the growth feel alive.
      const double scale = i == 10 ? 1.0 : std::min(1.06, EaseOut(t) * 1.08);
      DrawPiece(cel, c, c, kCell, colour, std::max(0.12, scale), 0.0);
      return;
    }
    const double t = (i - 10) / 11.0;
    DrawPiece(cel, c, c, kCell, colour, 1.0, t);
    // A ring of light sweeps outwards while the piece turns.
    if (i < 21) {
      const double r = 10 + 12 * t;
      cairo_arc(cel.Cr(), c, c, r, 0, 2 * kPi);
      SetColour(cel.Cr(), colour.Lighter(0.6), 0.55 * std::sin(t * kPi));
      cairo_set_line_width(cel.Cr(), 2.0);
      cairo_stroke(cel.Cr());
    }
  });
}

// Row 0 rolls sideways, row 1 up and down; column 0 of row 0 is the cube at
// rest and column 0 of row 1 the socket under every piece of the link.
Canvas CubeStrip(Colour colour) {
  return CelGrid(kCubeColumns, 2, kCubeCel, kCubeCel, [&](Canvas& cel, int col, int row) {
    const double c = kCubeCel / 2.0;
    if (row == 1 && col == 0) {
      DrawSocket(cel.Cr(), c, c, kCell, colour);
      return;
    }
    DrawCube(cel, c, c, kCubeSide, colour, 90.0 * col / kCubeColumns, row == 1);
  });
}

// 15 cels: the piece swirls away in its own colour.
Canvas VortexStrip(Colour colour) {
  constexpr int kSize = 60;
  return CelGrid(15, 1, kSize, kSize, [&](Canvas& cel, int k, int) {
    cairo_t* cr = cel.Cr();
    const double t = k / 14.0, c = kSize / 2.0;
    const double radius = 25 * (1 - 0.55 * t) * (k == 0 ? 0.8 : 1.0);
    const double alpha = std::max(0.18, 1 - t * t);  // the last cel still shows a trace
    Glow(
        cel, [&](cairo_t* g) { cairo_arc(g, c, c, radius * 0.8, 0, 2 * kPi); }, 4, colour, 0.35 * alpha);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int arm = 0; arm < 3; ++arm) {
      const double base = arm * 2 * kPi / 3 + t * 5.0;
      cairo_new_path(cr);
      for (int s = 0; s <= 24; ++s) {
        const double u = s / 24.0;
        const double a = base + u * 2.4, r = radius * (1 - u * 0.85);
        if (s == 0)
          cairo_move_to(cr, c + r * std::cos(a), c + r * std::sin(a));
        else
          cairo_line_to(cr, c + r * std::cos(a), c + r * std::sin(a));
      }
      SetColour(cr, colour.Lighter(0.25 * (arm % 2)), alpha);
      cairo_set_line_width(cr, 4.0 * (1 - 0.5 * t));
      cairo_stroke(cr);
    }
    // What is left of the piece, shrinking into the centre.
    const double w = 24 * (1 - t) * (1 - t);
    if (w > 0.5) {
      RoundedRect(cr, c - w / 2, c - w / 2, w, w, w * 0.25);
      SetColour(cr, colour.Darker(0.2), alpha);
      cairo_fill(cr);
    }
  });
}

void MakeLinkSprites(Catalog& catalog) {
  for (int link = 0; link < 7; ++link) {
    const std::string n = std::to_string(link);
    catalog.AddImage({"Game", "LINK" + n, "link" + n, Format::Png, 1, 22}, LinkStrip(LinkColour(link)));
  }
  for (int link = 0; link < 7; ++link) {
    const std::string n = std::to_string(link);
    catalog.AddImage({"Game", "ROLLING_CUBE" + n, "cube" + n, Format::Png, 2, kCubeColumns},
                     CubeStrip(LinkColour(link)));
  }
  for (int link = 0; link < 7; ++link) {
    const std::string n = std::to_string(link);
    catalog.AddImage({"Game", "VORTEX" + n, "vortex" + n, Format::Png, 1, 15}, VortexStrip(LinkColour(link)));
  }
}

void MakeStars(Catalog& catalog) {
  static const double kSize[7] = {0.35, 0.75, 1.0, 0.9, 0.7, 0.45, 0.22};
  static const double kAlpha[7] = {0.7, 1.0, 1.0, 0.95, 0.8, 0.6, 0.35};
  catalog.AddImage(
      {"Game", "STAR_BIG", "star_big", Format::Png, 1, 7},
      CelGrid(7, 1, 32, 32, [](Canvas& cel, int k, int) { DrawSparkle(cel, 16, 16, 14 * kSize[k], kAlpha[k], true); }));
  catalog.AddImage({"Game", "STAR_SMALL", "star_small", Format::Png, 1, 7},
                   CelGrid(7, 1, 20, 20, [](Canvas& cel, int k, int) {
                     DrawSparkle(cel, 10, 10, 8.5 * kSize[k], kAlpha[k], false);
                   }));
}

// 20 frames: four corner brackets turning slowly and breathing around the target node.
void MakeTarget(Catalog& catalog) {
  constexpr int kSize = 57;
  catalog.AddImage({"Game", "TARGET", "target", Format::Png, 1, 20},
                   CelGrid(20, 1, kSize, kSize, [](Canvas& cel, int k, int) {
                     cairo_t* cr = cel.Cr();
                     const double c = kSize / 2.0, phase = k / 20.0;
                     const double r = 21 + 2.0 * std::sin(2 * kPi * phase);
                     Glow(
                         cel, [&](cairo_t* g) { cairo_arc(g, c, c, r, 0, 2 * kPi); }, 2, theme::kHighlight, 0.0);
                     cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
                     for (int q = 0; q < 4; ++q) {
                       const double a = q * kPi / 2 + phase * kPi / 2;
                       cairo_new_path(cr);
                       cairo_arc(cr, c, c, r, a - 0.42, a + 0.42);
                       SetColour(cr, theme::kShadow, 0.5);
                       cairo_set_line_width(cr, 4.5);
                       cairo_stroke_preserve(cr);
                       SetColour(cr, theme::kAccentSoft.Lighter(0.3 + 0.2 * std::sin(2 * kPi * phase)));
                       cairo_set_line_width(cr, 2.5);
                       cairo_stroke(cr);
                     }
                   }));
}

void MakeHighlightsAndMark(Catalog& catalog) {
  // Column 0: the hovered piece; column 1: a piece that a click would remove.
  catalog.AddImage({"Game", "HIGHLIGHTS", "highlights", Format::Png, 1, 2},
                   CelGrid(2, 1, kCell, kCell, [](Canvas& cel, int col, int) {
                     cairo_t* cr = cel.Cr();
                     if (col == 0) {
                       RoundedRect(cr, 3, 3, 39, 39, 8);
                       SetColour(cr, theme::kHighlight, 0.14);
                       cairo_fill_preserve(cr);
                       SetColour(cr, theme::kHighlight, 0.75);
                       cairo_set_line_width(cr, 2);
                       cairo_stroke(cr);
                       return;
                     }
                     RoundedRect(cr, 3, 3, 39, 39, 8);
                     SetColour(cr, Colour::Rgb(210, 40, 20), 0.35);
                     cairo_fill_preserve(cr);
                     cairo_save(cr);
                     cairo_clip_preserve(cr);
                     for (int d = -45; d < 45; d += 7) {
                       cairo_move_to(cr, d, 45);
                       cairo_line_to(cr, d + 45, 0);
                     }
                     SetColour(cr, theme::kAccent, 0.45);
                     cairo_set_line_width(cr, 2);
                     cairo_stroke(cr);
                     cairo_restore(cr);
                     SetColour(cr, theme::kAccent, 0.9);
                     cairo_set_line_width(cr, 2);
                     cairo_stroke(cr);
                   }));
  // The blinking mark on the piece to click again: a warm ring with a cross.
  catalog.AddImage(
      {"Game", "MARK", "mark", Format::Png, 1, 2}, CelGrid(2, 1, kCell, kCell, [](Canvas& cel, int phase, int) {
        cairo_t* cr = cel.Cr();
        const double c = kCell / 2.0, r = phase ? 19 : 17;
        Glow(
            cel, [&](cairo_t* g) { cairo_arc(g, c, c, r, 0, 2 * kPi); }, 3, theme::kAccent, phase ? 0.5 : 0.9);
        cairo_new_path(cr);
        cairo_arc(cr, c, c, r, 0, 2 * kPi);
        SetColour(cr, phase ? theme::kAccentSoft : theme::kAccent.Lighter(0.15));
        cairo_set_line_width(cr, phase ? 2.0 : 3.0);
        cairo_stroke(cr);
        const double x = 6;
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, c - x, c - x);
        cairo_line_to(cr, c + x, c + x);
        cairo_move_to(cr, c + x, c - x);
        cairo_line_to(cr, c - x, c + x);
        SetColour(cr, theme::kShadow, 0.6);
        cairo_set_line_width(cr, 5);
        cairo_stroke_preserve(cr);
        SetColour(cr, theme::kText);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
      }));
}

// The shutters: two heavy panels, each covering half of the board, with a calm
// band near the meeting edge where the effect texts stand.
constexpr int kShutterW = 464, kShutterH = 232;

void ShutterPanel(Canvas& cel, bool upper) {
  cairo_t* cr = cel.Cr();
  cairo_save(cr);
  if (!upper) {
    // The lower shutter is the upper one mirrored, with the light still from above.
    cairo_translate(cr, 0, kShutterH);
    cairo_scale(cr, 1, -1);
  }
  cairo_rectangle(cr, 0, 0, kShutterW, kShutterH);
  FillVertical(cr, 0, kShutterH, theme::kPanelDeep, theme::kPanel);
  cairo_new_path(cr);
  // Horizontal grooves on the far part of the panel.
  for (int y = 12; y < kShutterH - 80; y += 14) {
    cairo_rectangle(cr, 8, y, kShutterW - 16, 1);
    SetColour(cr, theme::kShadow, 0.35);
    cairo_fill(cr);
    cairo_rectangle(cr, 8, y + 1, kShutterW - 16, 1);
    SetColour(cr, theme::kMaker, 0.35);
    cairo_fill(cr);
  }
  // The band for the words and the lip at the meeting edge.
  cairo_rectangle(cr, 0, kShutterH - 70, kShutterW, 56);
  SetColour(cr, theme::kPanelDark, 0.75);
  cairo_fill(cr);
  cairo_rectangle(cr, 0, kShutterH - 12, kShutterW, 12);
  FillVertical(cr, kShutterH - 12, kShutterH, theme::kMaker.Lighter(0.1), theme::kPanelDeep);
  cairo_new_path(cr);
  cairo_rectangle(cr, 0, kShutterH - 13, kShutterW, 2);
  SetColour(cr, theme::kAccent, 0.85);
  cairo_fill(cr);
  cairo_restore(cr);
  // Light from the top: a highlight on every upper edge, a shade on lower ones.
  cairo_rectangle(cr, 0, 0, kShutterW, 1);
  SetColour(cr, theme::kHighlight, 0.25);
  cairo_fill(cr);
  cairo_rectangle(cr, 0, kShutterH - 1, kShutterW, 1);
  SetColour(cr, theme::kShadow, 0.7);
  cairo_fill(cr);
}

void MakeShutters(Catalog& catalog) {
  catalog.AddImage({"Game", "SHUTTERS", "shutters", Format::Png, 2, 1},
                   CelGrid(1, 2, kShutterW, kShutterH, [](Canvas& cel, int, int row) { ShutterPanel(cel, row == 0); }));
}

constexpr int kEffectW = 440, kEffectH = 48;
constexpr int kEffectRows = 11;

void EffectText(Canvas& cel, const Lettering& lettering, int row, const char* text) {
  cairo_t* cr = cel.Cr();
  if (row == 5) {
    // The shimmer: a streak of light that says the board is changing.
    Glow(
        cel,
        [](cairo_t* g) {
          cairo_save(g);
          cairo_translate(g, kEffectW / 2.0, kEffectH / 2.0);
          cairo_scale(g, 190, 6);
          cairo_arc(g, 0, 0, 1, 0, 2 * kPi);
          cairo_restore(g);
        },
        5, theme::kText, 0.9);
    for (int i = 0; i < 5; ++i)
      DrawSparkle(cel, 70 + i * 75, kEffectH / 2.0 + (i % 2 ? -5 : 5), 8 + 3 * (i % 3), 0.9, i % 2 == 0);
    return;
  }
  const bool good = row == 1 || row == 4 || row == 10, bad = row == 2;
  const double size = lettering.FitSize(cr, Face::CondensedBold, text, 38, kEffectW - 16);
  lettering.Use(cr, Face::CondensedBold, size);
  const double w = Lettering::Width(cr, text), x = (kEffectW - w) / 2, base = 38;
  auto path = [&](cairo_t* c) {
    lettering.Use(c, Face::CondensedBold, size);
    Lettering::Path(c, text, x, base);
  };
  SoftShadow(cel, path, 1.5, 2.5, 2, theme::kShadow, 0.9);
  if (good || bad) Glow(cel, path, 4, bad ? Colour::Rgb(230, 60, 40) : theme::kAccent, 0.6);
  path(cr);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, base - size * 0.75, 0, base);
  const Colour top = good ? Colour::Rgb(255, 226, 160) : bad ? Colour::Rgb(255, 190, 170) : theme::kHighlight;
  const Colour bottom = good ? theme::kAccent : bad ? Colour::Rgb(225, 80, 60) : theme::kText.Mix(theme::kMaker, 0.25);
  cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void MakeEffectTexts(Catalog& catalog, const Lettering& lettering) {
  for (const Language& lang : kLanguages) {
    const std::string s = lang.suffix;
    std::string lower = s;
    for (char& ch : lower) ch = char(std::tolower(ch));
    catalog.AddImage({"Game", "EFFECT_TEXTS_" + s, "effect_texts_" + lower, Format::Png, kEffectRows, 1},
                     CelGrid(1, kEffectRows, kEffectW, kEffectH, [&](Canvas& cel, int, int row) {
                       EffectText(cel, lettering, row, lang.effects[size_t(row)]);
                     }));
  }
}

void MakeDigits(Catalog& catalog, const Lettering& lettering) {
  catalog.AddImage({"Game", "DIGITS", "digits", Format::Png, 1, 10},
                   CelGrid(10, 1, 30, 44, [&](Canvas& cel, int d, int) {
                     const std::string text(1, char('0' + d));
                     cairo_t* cr = cel.Cr();
                     lettering.Use(cr, Face::Bold, 36);
                     const double x = (30 - Lettering::Width(cr, text)) / 2;
                     auto path = [&](cairo_t* c) {
                       lettering.Use(c, Face::Bold, 36);
                       Lettering::Path(c, text, x, 37);
                     };
                     SoftShadow(cel, path, 1.5, 2.5, 2, theme::kShadow, 0.9);
                     Glow(cel, path, 3, theme::kAccent, 0.5);
                     path(cr);
                     FillVertical(cr, 10, 37, Colour::Rgb(255, 236, 190), theme::kAccent);
                     cairo_new_path(cr);
                   }));
}

// The vortex bar: row 0 as it normally looks, row 1 while it blinks.
void MakeVortexLine(Catalog& catalog) {
  catalog.AddImage({"Game", "VORTEX_LINE", "vortex_line", Format::Png, 2, 1},
                   CelGrid(1, 2, 454, 10, [](Canvas& cel, int, int row) {
                     cairo_t* cr = cel.Cr();
                     RoundedRect(cr, 0.5, 1, 453, 8, 4);
                     cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 454, 0);
                     const Colour a = row ? theme::kHighlight : theme::kAccent;
                     const Colour b = row ? Colour::Rgb(255, 214, 160) : theme::kAccentSoft.Lighter(0.2);
                     cairo_pattern_add_color_stop_rgb(p, 0, a.r, a.g, a.b);
                     cairo_pattern_add_color_stop_rgb(p, 1, b.r, b.g, b.b);
                     cairo_set_source(cr, p);
                     cairo_fill(cr);
                     cairo_pattern_destroy(p);
                     cairo_rectangle(cr, 4, 2, 446, 2);
                     SetColour(cr, {1, 1, 1}, row ? 0.7 : 0.35);
                     cairo_fill(cr);
                   }));
}

}  // namespace

void MakeBoardArt(Catalog& catalog, const Lettering& lettering) {
  MakeCellAndShadow(catalog);
  MakeLinkSprites(catalog);
  MakeStars(catalog);
  MakeTarget(catalog);
  MakeHighlightsAndMark(catalog);
  MakeShutters(catalog);
  MakeEffectTexts(catalog, lettering);
  MakeDigits(catalog, lettering);
  MakeVortexLine(catalog);
}

}  // namespace artgen
