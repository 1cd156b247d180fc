#pragma once

// Playing the interface from the keyboard: the controls of a screen or dialog
// form a ring that Tab (and, on buttons, check boxes and sliders, the arrows)
// walks, Enter and Space press the control with the focus, and the focus is
// drawn so that the player always sees where it stands.

#include <vector>

namespace Zing {

class Graphics;
class Widget;

// Links the widgets, in order, into a ring of tabNext / tabPrev; null entries
// are left out.
void LinkFocusRing(const std::vector<Widget*>& widgets);

// Moves the focus from `widget` to the previous control of its ring for Up and
// Left, to the next one for Down and Right; false for other keys.
bool MoveFocusByArrow(Widget& widget, int key);

// Enter and Space press the control with the focus.
bool IsPressKey(int key);

// The frame around a control with the focus, inside its w x h rectangle.
void DrawFocusFrame(Graphics* g, int w, int h);

}  // namespace Zing
