#include "tools/artgen/Samples.h"
#include "tools/artgen/FontSheets.h"

#include <stdexcept>
#include <string>

namespace artgen {

namespace {

class Screen {
 public:
  Screen(const Catalog& catalog, const Lettering& lettering, int w, int h)
      : catalog_(catalog), lettering_(lettering), canvas_(w, h) {}

  Canvas Take() { return std::move(canvas_); }
  cairo_t* Cr() { return canvas_.Cr(); }

  // One cel of an image with its top-left corner at (x, y).
  void Cel(const std::string& id, int col, int row, double x, double y, double srcWidth = -1) {
    const ImageEntry* e = nullptr;
    const Canvas* c = catalog_.Find(id, &e);
    if (!c) throw std::runtime_error("sample needs " + id);
    const double cw = c->Width() / e->cols, ch = c->Height() / e->rows;
    cairo_t* cr = canvas_.Cr();
    cairo_save(cr);
    cairo_rectangle(cr, x, y, srcWidth >= 0 ? srcWidth : cw, ch);
    cairo_clip(cr);
    cairo_set_source_surface(cr, c->Surface(), x - col * cw, y - row * ch);
    cairo_paint(cr);
    cairo_restore(cr);
  }
  // A part of an image: the source rectangle (sx, sy, w, h) drawn at (x, y).
  void Part(const std::string& id, double sx, double sy, double w, double h, double x, double y) {
    const Canvas* c = catalog_.Find(id);
    cairo_t* cr = canvas_.Cr();
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    cairo_set_source_surface(cr, c->Surface(), x - sx, y - sy);
    cairo_paint(cr);
    cairo_restore(cr);
  }
  // A cel centred on a point, halves rounded toward zero as the game does.
  void Centred(const std::string& id, int col, int row, int cx, int cy) {
    const ImageEntry* e = nullptr;
    const Canvas* c = catalog_.Find(id, &e);
    Cel(id, col, row, cx - c->Width() / e->cols / 2, cy - c->Height() / e->rows / 2);
  }
  // The nine-piece frame: corners a third of each side, middles repeated.
  void Box(const std::string& id, double x, double y, double w, double h) {
    const Canvas* c = catalog_.Find(id);
    const double cw = c->Width() / 3, ch = c->Height() / 3, mw = c->Width() - 2 * cw, mh = c->Height() - 2 * ch;
    cairo_t* cr = canvas_.Cr();
    auto piece = [&](double sx, double sy, double sw, double sh, double dx, double dy, double dw, double dh) {
      cairo_save(cr);
      cairo_rectangle(cr, dx, dy, dw, dh);
      cairo_clip(cr);
      for (double ty = dy; ty < dy + dh; ty += sh) {
        for (double tx = dx; tx < dx + dw; tx += sw) {
          cairo_save(cr);
          cairo_rectangle(cr, tx, ty, sw, sh);
          cairo_clip(cr);
          cairo_set_source_surface(cr, c->Surface(), tx - sx, ty - sy);
          cairo_paint(cr);
          cairo_restore(cr);
        }
      }
      cairo_restore(cr);
    };
    const double xs[3] = {0, cw, cw + mw}, ys[3] = {0, ch, ch + mh}, sws[3] = {cw, mw, cw}, shs[3] = {ch, mh, ch};
    const double dxs[3] = {x, x + cw, x + w - cw}, dys[3] = {y, y + ch, y + h - ch};
    const double dws[3] = {cw, w - 2 * cw, cw}, dhs[3] = {ch, h - 2 * ch, ch};
    for (int r = 0; r < 3; ++r) {
      for (int k = 0; k < 3; ++k) piece(xs[k], ys[r], sws[k], shs[r], dxs[k], dys[r], dws[k], dhs[r]);
    }
  }
  void Text(const std::string& text, double x, double y, Face face, double size, Colour colour,
            Align align = Align::Left) {
    DrawLabel(canvas_, lettering_, face, size, text, x, y, colour, 0.7, align);
  }

 private:
  const Catalog& catalog_;
  const Lettering& lettering_;
  Canvas canvas_;
};

// A board of ten by ten with a few corners missing.
bool Present(int x, int y) { return !((x < 2 && y < 2) || (x > 7 && y > 8) || (x == 9 && y == 0)); }

void Panel(Screen& s, bool hint) {
  s.Cel("IMAGE_PANEL", 0, 0, 0, 0);
  s.Cel("IMAGE_PANEL_TEXT", 0, 0, 2, 11);
  s.Text("Level: 12", 61, 65 - kSmallFontRaise, Face::Bold, 11, theme::kText);
  s.Text("Score: 2772", 37, 82 - kSmallFontRaise, Face::Bold, 11, theme::kText);
  const char* labels[4] = {"New Game", "Options", "Hint (3 left)", "Exit Game"};
  const int ys[4] = {123, 171, 219, 430};
  for (int i = 0; i < 4; ++i) {
    s.Cel(i == 1 ? "IMAGE_BUTTON_OVER" : "IMAGE_BUTTON_NORMAL", 0, 0, 13, ys[i]);
    s.Text(labels[i], 13 + 72, ys[i] + 24, Face::Regular, 14, i == 1 ? theme::kHighlight : theme::kText, Align::Centre);
  }
  if (!hint) return;
  s.Centred("IMAGE_HINT_BKG", 0, 0, 86, 330);
  for (int pass = 0; pass < 2; ++pass) {
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 10; ++x) {
        if (!Present(x, y)) continue;
        const bool edge = x == 0 || y == 0 || x == 9 || y == 9 || !Present(x - 1, y) || !Present(x + 1, y) ||
                          !Present(x, y - 1) || !Present(x, y + 1);
        if (pass == 0 && edge) s.Centred("IMAGE_HINT_SHADOW", 0, 0, 32 + 12 * x, 276 + 12 * y);
        if (pass == 1) s.Centred("IMAGE_HINT_CELL", 0, 0, 32 + 12 * x, 276 + 12 * y);
      }
    }
  }
  const int path[][2] = {{2, 2}, {3, 2}, {4, 2}, {5, 2}, {5, 3}, {5, 4}, {6, 4}};
  for (int i = 0; i + 1 < 7; ++i) {
    const int ax = path[i][0], ay = path[i][1], bx = path[i + 1][0], by = path[i + 1][1];
    if (ay == by)
      s.Centred("IMAGE_HINT_STICKS", 3, 0, 12 * std::min(ax, bx) + 38, 12 * ay + 276);
    else
      s.Centred("IMAGE_HINT_STICKS", 3, 1, 12 * ax + 32, 12 * std::min(ay, by) + 282);
  }
  for (int i = 1; i < 6; ++i) s.Centred("IMAGE_HINT_LINKS", 3, 0, 32 + 12 * path[i][0], 276 + 12 * path[i][1]);
  s.Centred("IMAGE_HINT_NODES", 3, 0, 32 + 12 * 2, 276 + 12 * 2);
  s.Centred("IMAGE_HINT_NODES", 3, 0, 32 + 12 * 6, 276 + 12 * 4);
}

int CX(int x) { return 170 + 27 + 45 * x; }
int CY(int y) { return 37 + 45 * y; }

void Board(Screen& s) {
  s.Cel("IMAGE_GAME_BKG", 0, 0, 170, 0);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool edge = x == 0 || y == 0 || x == 9 || y == 9 || !Present(x - 1, y) || !Present(x + 1, y) ||
                        !Present(x, y - 1) || !Present(x, y + 1);
      if (Present(x, y) && edge) s.Centred("IMAGE_SHADOW_PIECE", 0, 0, CX(x), CY(y));
    }
  }
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      if (Present(x, y)) s.Cel("IMAGE_CELL", 0, 0, 170 + 5 + 45 * x, 15 + 45 * y);
    }
  }
}

void Piece(Screen& s, int link, int x, int y, int cel) {
  const std::string n = std::to_string(link);
  s.Centred("IMAGE_ROLLING_CUBE" + n, 0, 1, CX(x), CY(y));
  if (cel >= 0) s.Centred("IMAGE_LINK" + n, cel, 0, CX(x), CY(y));
}

Canvas PlayScreen(const Catalog& catalog, const Lettering& lettering) {
  Screen s(catalog, lettering, 640, 480);
  Panel(s, true);
  Board(s);
  // A finished red link across the top.
  for (int x = 2; x <= 7; ++x) Piece(s, 0, x, 1, 21);
  // Blue and mint: nodes only; lemon: a path turning finished.
  Piece(s, 4, 8, 3, 21);
  Piece(s, 4, 8, 8, 21);
  Piece(s, 6, 0, 9, 21);
  Piece(s, 6, 4, 9, 21);
  Piece(s, 2, 0, 2, 21);
  Piece(s, 2, 0, 6, 21);
  for (int y = 3; y <= 5; ++y) Piece(s, 2, 0, y, 12 + 3 * (y - 3));
  // Orange: an open path, one piece marked for removal.
  Piece(s, 1, 3, 6, 21);
  Piece(s, 1, 7, 6, 21);
  Piece(s, 1, 4, 6, 10);
  Piece(s, 1, 5, 6, 10);
  s.Centred("IMAGE_HIGHLIGHTS", 1, 0, CX(5), CY(6));
  s.Centred("IMAGE_MARK", 0, 0, CX(4), CY(6));
  // Orchid: a path being cut, with its vortex.
  Piece(s, 5, 6, 2, 21);
  Piece(s, 5, 9, 5, 21);
  Piece(s, 5, 7, 2, 10);
  s.Centred("IMAGE_VORTEX5", 6, 0, CX(8), CY(2));
  // Aqua: being drawn, the cube rolling down onto the next cell.
  Piece(s, 3, 2, 3, 21);
  Piece(s, 3, 5, 8, 21);
  Piece(s, 3, 2, 4, 10);
  Piece(s, 3, 2, 5, 6);
  Piece(s, 3, 2, 6, -1);
  {
    const ImageEntry* e = nullptr;
    const Canvas* cube = catalog.Find("IMAGE_ROLLING_CUBE3", &e);
    const int w = cube->Width() / e->cols, h = cube->Height() / e->rows, f = 8;
    s.Cel("IMAGE_ROLLING_CUBE3", f - 1, 1, CX(2) - w / 2, CY(6) - h / 2 + (45 * f - 45) / 14);
  }
  s.Centred("IMAGE_TARGET", 4, 0, CX(5), CY(8));
  s.Centred("IMAGE_HIGHLIGHTS", 0, 0, CX(8), CY(8));
  s.Centred("IMAGE_STAR_BIG", 2, 0, CX(3) + 12, CY(1) - 9);
  s.Centred("IMAGE_STAR_SMALL", 3, 0, CX(5) - 8, CY(1) + 11);
  s.Centred("IMAGE_STAR_BIG", 4, 0, CX(6) + 6, CY(1) + 4);
  const Canvas* bar = catalog.Find("IMAGE_VORTEX_LINE");
  s.Cel("IMAGE_VORTEX_LINE", 0, 0, 170 + 8, 466, bar->Width() * 7 / 10);
  return s.Take();
}

// The shutters closed over the board with the level's points.
Canvas ShutterScreen(const Catalog& catalog, const Lettering& lettering) {
  Screen s(catalog, lettering, 470, 480);
  s.Cel("IMAGE_GAME_BKG", 0, 0, 0, 0);
  const ImageEntry* e = nullptr;
  const Canvas* sh = catalog.Find("IMAGE_SHUTTERS", &e);
  const int sw = sh->Width(), shh = sh->Height() / 2, o = 225;
  cairo_save(s.Cr());
  cairo_rectangle(s.Cr(), 0, 15, 470, 450);
  cairo_clip(s.Cr());
  s.Cel("IMAGE_SHUTTERS", 0, 0, 3, o - shh + 15);
  s.Cel("IMAGE_SHUTTERS", 0, 1, 3, 465 - o);
  const Canvas* tx = catalog.Find("IMAGE_EFFECT_TEXTS_EN", &e);
  const int tw = tx->Width(), th = tx->Height() / 9;
  s.Cel("IMAGE_EFFECT_TEXTS_EN", 0, 6, 3 + sw / 2 - tw / 2, o - th + 3);
  const std::string points = "2772";
  const Canvas* digits = catalog.Find("IMAGE_DIGITS");
  const int dw = digits->Width() / 10, n = int(points.size());
  for (int i = 0; i < n; ++i)
    s.Cel("IMAGE_DIGITS", points[size_t(i)] - '0', 0, 3 + sw / 2 - (dw / 2) * n + dw * i, 477 - o);
  cairo_restore(s.Cr());
  s.Cel("IMAGE_VORTEX_LINE", 0, 1, 8, 466);
  return s.Take();
}

// The start screen with the options dialog over it.
Canvas StartScreen(const Catalog& catalog, const Lettering& lettering) {
  Screen s(catalog, lettering, 640, 480);
  Panel(s, false);
  s.Cel("IMAGE_MENU_BKG", 0, 0, 170, 0);
  s.Cel("IMAGE_MENU_TITLE_EN", 0, 0, 175, 15);
  s.Cel("IMAGE_NEW_HLT_EN", 0, 0, 175, 140);
  s.Cel("IMAGE_CONTINUE_EN", 0, 0, 175, 211);
  s.Cel("IMAGE_REPLAY_EN", 0, 0, 175, 282);
  cairo_rectangle(s.Cr(), 0, 0, 640, 480);
  cairo_set_source_rgba(s.Cr(), 0, 0, 0, 0.25);
  cairo_fill(s.Cr());
  const int x = 167, y = 49, w = 306, h = 382;
  s.Box("IMAGE_DIALOG_BOX", x, y, w, h);
  s.Text("OPTIONS", x + w / 2, y + 18 + 13, Face::Regular, 14, theme::kText, Align::Centre);
  s.Text("Music Volume", x + 20, y + 85, Face::Regular, 14, theme::kText);
  s.Text("Effects Volume", x + 20, y + 114, Face::Regular, 14, theme::kText);
  const Canvas* thumb = catalog.Find("IMAGE_SLIDER_THUMB");
  const Canvas* track = catalog.Find("IMAGE_SLIDER_TRACK");
  for (int i = 0; i < 2; ++i) {
    const int sy = y + 69 + 29 * i;
    s.Cel("IMAGE_SLIDER_TRACK", 0, 0, x + 140, sy + (thumb->Height() - track->Height()) / 2);
    s.Cel("IMAGE_SLIDER_THUMB", 0, 0, x + 140 + int((i ? 0.4 : 0.75) * (track->Width() - thumb->Width())), sy);
  }
  const Canvas* box = catalog.Find("IMAGE_CHECKBOX");
  const int bw = box->Width() / 2;
  const int boxes[3][3] = {{20, 140, 1}, {141, 140, 0}, {20, 170, 1}};
  for (const auto& b : boxes) s.Part("IMAGE_CHECKBOX", b[2] * bw, 0, bw, box->Height(), x + b[0], y + b[1]);
  s.Text("Full Screen", x + 48, y + 157, Face::Regular, 14, theme::kText);
  s.Text("Custom Cursors", x + 169, y + 157, Face::Regular, 14, theme::kText);
  s.Text("Hardware Acceleration", x + 48, y + 187, Face::Regular, 14, theme::kText);
  const int buttons[4][4] = {{155, 220, 132, 30}, {18, 220, 132, 30}, {18, 259, 269, 30}, {18, 337, 269, 30}};
  const char* labels[4] = {"High Scores", "Help", "Language", "DONE"};
  for (int i = 0; i < 4; ++i) {
    s.Box("IMAGE_DIALOG_BUTTON", x + buttons[i][0], y + buttons[i][1], buttons[i][2], buttons[i][3]);
    s.Text(labels[i], x + buttons[i][0] + buttons[i][2] / 2, y + buttons[i][1] + 20, Face::Regular, 14, theme::kText,
           Align::Centre);
  }
  s.Cel("IMAGE_CUSTOM_HAND", 0, 0, x + 200, y + 228);
  return s.Take();
}

Canvas SplashScreen(const Catalog& catalog, const Lettering& lettering) {
  Screen s(catalog, lettering, 640, 480);
  s.Cel("IMAGE_SPLASH_BKG", 0, 0, 0, 0);
  s.Cel("IMAGE_SPLASH_TEXT", 0, 0, 21, 74);
  const Canvas* bar = catalog.Find("IMAGE_LOADING_BAR");
  s.Cel("IMAGE_LOADING_BAR", 0, 0, 152, 342, bar->Width() * 6 / 10);
  s.Text("Loading...", 320, 404, Face::Regular, 14, theme::kText, Align::Centre);
  // As the game places it: 8 pixels from the right edge, since the line is
  // wider than the room right of x 552.
  s.Text("Tamo Games", 640 - 8, 474, Face::Regular, 14, theme::kMaker, Align::Right);
  return s.Take();
}

}  // namespace

std::vector<Canvas> MakeSamples(const Catalog& catalog, const Lettering& lettering) {
  std::vector<Canvas> samples;
  samples.push_back(PlayScreen(catalog, lettering));
  samples.push_back(ShutterScreen(catalog, lettering));
  samples.push_back(StartScreen(catalog, lettering));
  samples.push_back(SplashScreen(catalog, lettering));
  return samples;
}

}  // namespace artgen
