// The framework controls in the game's look: the dialog frame and button
// (nine-piece images: corners are a third of each side, the middle pieces
// repeat, so they stay uniform along their direction), the check box, the
// sliders, the level chooser's scroll bar and the four custom cursors.
#include <cmath>

#include "tools/artgen/Art.h"

namespace artgen {

namespace {

void MakeDialogParts(Catalog& catalog) {
  // 60 x 60: 20-pixel corners hold the rounded frame; the centre is plain.
  Canvas box(60, 60);
  cairo_t* cr = box.Cr();
  RoundedRect(cr, 0.5, 0.5, 59, 59, 12);
  SetColour(cr, theme::kPanelDeep);
  cairo_fill(cr);
  RoundedRect(cr, 2, 2, 56, 56, 10.5);
  SetColour(cr, theme::kPanel);
  cairo_fill(cr);
  RoundedRect(cr, 2.5, 2.5, 55, 55, 10);
  SetColour(cr, theme::kMaker.Lighter(0.25), 0.8);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  RoundedRect(cr, 5.5, 5.5, 49, 49, 7);
  SetColour(cr, theme::kPanelDark, 0.9);
  cairo_stroke(cr);
  catalog.AddImage({"Init", "DIALOG_BOX", "dialog_box"}, std::move(box));

  // 36 x 30: 12 x 10 corners; the height is the dialogs' button height.
  Canvas button(36, 30);
  cr = button.Cr();
  RoundedRect(cr, 0.5, 0.5, 35, 29, 9);
  SetColour(cr, theme::kPanelDeep);
  cairo_fill(cr);
  RoundedRect(cr, 1.5, 1.5, 33, 27, 8);
  FillVertical(cr, 1.5, 28.5, theme::kMaker.Lighter(0.12), theme::kMaker.Darker(0.25));
  cairo_new_path(cr);
  RoundedRect(cr, 2, 2, 32, 26, 7.5);
  SetColour(cr, theme::kHighlight, 0.3);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_rectangle(cr, 1, 26.5, 34, 1);
  SetColour(cr, theme::kAccent, 0.55);
  cairo_fill(cr);
  catalog.AddImage({"Init", "DIALOG_BUTTON", "dialog_button"}, std::move(button));
}

void MakeCheckbox(Catalog& catalog) {
  // Left half unchecked, right half checked.
  catalog.AddImage({"Game", "CHECKBOX", "checkbox"}, CelGrid(2, 1, 22, 22, [](Canvas& cel, int checked, int) {
                     cairo_t* cr = cel.Cr();
                     RoundedRect(cr, 1.5, 1.5, 19, 19, 5);
                     SetColour(cr, theme::kPanelDeep.Darker(0.3));
                     cairo_fill_preserve(cr);
                     cairo_pattern_t* rim = cairo_pattern_create_linear(0, 0, 22, 22);
                     cairo_pattern_add_color_stop_rgba(rim, 0, 0, 0, 0, 0.6);
                     cairo_pattern_add_color_stop_rgba(rim, 1, 0.86, 0.97, 1, 0.5);
                     cairo_set_source(cr, rim);
                     cairo_set_line_width(cr, 1.5);
                     cairo_stroke(cr);
                     cairo_pattern_destroy(rim);
                     if (!checked) return;
                     cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
                     cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
                     cairo_move_to(cr, 5.5, 11.5);
                     cairo_line_to(cr, 9.5, 15.5);
                     cairo_line_to(cr, 17, 5.5);
                     SetColour(cr, theme::kShadow, 0.6);
                     cairo_set_line_width(cr, 4.5);
                     cairo_stroke_preserve(cr);
                     SetColour(cr, theme::kAccent.Lighter(0.2));
                     cairo_set_line_width(cr, 2.8);
                     cairo_stroke(cr);
                   }));
}

// A groove across the whole width: its three equal cells are the two rounded
// ends and a middle that repeats.
Canvas Groove(int width, int height) {
  Canvas c(width, height);
  RoundedRect(c.Cr(), 0.5, 0.5, width - 1, height - 1, (height - 1) / 2.0);
  SetColour(c.Cr(), theme::kPanelDeep.Darker(0.35));
  cairo_fill_preserve(c.Cr());
  cairo_pattern_t* rim = cairo_pattern_create_linear(0, 0, 0, height);
  cairo_pattern_add_color_stop_rgba(rim, 0, 0, 0, 0, 0.7);
  cairo_pattern_add_color_stop_rgba(rim, 1, 0.86, 0.97, 1, 0.35);
  cairo_set_source(c.Cr(), rim);
  cairo_set_line_width(c.Cr(), 1);
  cairo_stroke(c.Cr());
  cairo_pattern_destroy(rim);
  return c;
}

Canvas Knob(int width, int height) {
  Canvas c(width, height);
  auto shape = [&](cairo_t* cr) { RoundedRect(cr, 1, 1, width - 3, height - 3, 4); };
  SoftShadow(c, shape, 1, 1, 1, theme::kShadow, 0.7);
  BevelTile(c.Cr(), 1, 1, width - 3, height - 3, 4, theme::kAccent, 1.0);
  for (int i = -1; i <= 1; ++i) {
    const double x = (width - 1) / 2.0 + i * 3;
    cairo_rectangle(c.Cr(), x - 0.5, height * 0.3, 1, height * 0.4 - 1);
    SetColour(c.Cr(), theme::kShadow, 0.45);
    cairo_fill(c.Cr());
  }
  return c;
}

void MakeSliders(Catalog& catalog) {
  catalog.AddImage({"Game", "SLIDER_THUMB", "slider_thumb"}, Knob(16, 22));
  catalog.AddImage({"Game", "SLIDER_TRACK", "slider_track"}, Groove(147, 10));
}

Canvas ArrowButton(bool right) {
  Canvas c(18, 18);
  cairo_t* cr = c.Cr();
  BevelTile(cr, 0.5, 0.5, 17, 17, 4, theme::kMaker, 1.0);
  const double d = right ? 1 : -1;
  cairo_move_to(cr, 9 - 3 * d, 4.5);
  cairo_line_to(cr, 9 + 3.5 * d, 9);
  cairo_line_to(cr, 9 - 3 * d, 13.5);
  cairo_close_path(cr);
  SetColour(cr, theme::kText);
  cairo_fill(cr);
  return c;
}

void MakeScrollBar(Catalog& catalog) {
  catalog.AddImage({"Game", "SCROLLBAR_BUTTON_LEFT", "scroll_left"}, ArrowButton(false));
  catalog.AddImage({"Game", "SCROLLBAR_BUTTON_RIGHT", "scroll_right"}, ArrowButton(true));
  catalog.AddImage({"Game", "SCROLLBAR_THUMB", "scroll_thumb"}, Knob(24, 18));
  catalog.AddImage({"Game", "SCROLLBAR_TRACK", "scroll_track"}, Groove(165, 12));
}

// Cursors are 32 x 32 with a soft shadow. Their hot spots: the pointer's tip
// at (1, 1), the hand's fingertip at (11, 2), the dragging hand's palm at
// (15, 12), the text beam's centre at (15, 15).
void CursorInk(Canvas& c, const std::function<void(cairo_t*)>& shape) {
  SoftShadow(c, shape, 1.5, 2, 1, theme::kShadow, 0.7);
  cairo_t* cr = c.Cr();
  // The outline first and the body over it: the body hides the inner edges
  // of overlapping parts, so only the outer outline stays.
  shape(cr);
  SetColour(cr, theme::kPanelDeep);
  cairo_set_line_width(cr, 2.6);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
  shape(cr);
  SetColour(cr, theme::kHighlight);
  cairo_fill(cr);
}

void Finger(cairo_t* cr, double x, double top, double bottom, double w) {
  RoundedRect(cr, x, top, w, bottom - top, w / 2);
}

void MakeCursors(Catalog& catalog) {
  Canvas pointer(32, 32);
  CursorInk(pointer, [](cairo_t* cr) {
    cairo_move_to(cr, 1.5, 1.5);
    cairo_line_to(cr, 1.5, 20);
    cairo_line_to(cr, 6, 15.5);
    cairo_line_to(cr, 9.5, 23);
    cairo_line_to(cr, 12.5, 21.5);
    cairo_line_to(cr, 9, 14.5);
    cairo_line_to(cr, 15, 14.5);
    cairo_close_path(cr);
  });
  catalog.AddImage({"Init", "CUSTOM_POINTER", "cursor_pointer", Format::Tga}, std::move(pointer));

  Canvas hand(32, 32);
  CursorInk(hand, [](cairo_t* cr) {
    Finger(cr, 8.5, 1.5, 16, 5);  // the pointing finger
    Finger(cr, 13, 9, 17, 4.5);
    Finger(cr, 17, 10, 18, 4.5);
    Finger(cr, 21, 11.5, 19, 4);
    RoundedRect(cr, 8.5, 13, 16.5, 13, 5);  // the palm
    cairo_move_to(cr, 9, 20);
    cairo_line_to(cr, 4, 14.5);
    cairo_line_to(cr, 6.5, 13);
    cairo_line_to(cr, 10, 16);
    cairo_close_path(cr);
  });
  catalog.AddImage({"Init", "CUSTOM_HAND", "cursor_hand", Format::Tga}, std::move(hand));

  Canvas dragging(32, 32);
  CursorInk(dragging, [](cairo_t* cr) {
    for (int i = 0; i < 4; ++i) Finger(cr, 8 + i * 4.2, 6 + (i % 3 == 0 ? 1 : 0), 13, 4.2);
    RoundedRect(cr, 7.5, 9.5, 17.5, 14, 5.5);
    cairo_move_to(cr, 8, 17);
    cairo_line_to(cr, 4, 13);
    cairo_line_to(cr, 6.5, 11);
    cairo_line_to(cr, 10, 13.5);
    cairo_close_path(cr);
  });
  catalog.AddImage({"Init", "CUSTOM_DRAGGING", "cursor_dragging", Format::Tga}, std::move(dragging));

  Canvas beam(32, 32);
  CursorInk(beam, [](cairo_t* cr) {
    cairo_rectangle(cr, 14.5, 6, 2.2, 19);
    cairo_rectangle(cr, 10.5, 4.5, 10, 2.2);
    cairo_rectangle(cr, 10.5, 24, 10, 2.2);
  });
  catalog.AddImage({"Init", "CUSTOM_TEXT", "cursor_text", Format::Tga}, std::move(beam));
}

}  // namespace

void MakeWidgetArt(Catalog& catalog, const Lettering& lettering) {
  (void)lettering;
  MakeCursors(catalog);
  MakeDialogParts(catalog);
  MakeCheckbox(catalog);
  MakeSliders(catalog);
  MakeScrollBar(catalog);
}

}  // namespace artgen
