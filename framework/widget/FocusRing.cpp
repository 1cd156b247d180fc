// The keyboard focus ring, its arrow and press keys, and the focus frame.

#include "framework/widget/FocusRing.h"

#include <algorithm>
#include <iterator>

#include "framework/graphics/Graphics.h"
#include "framework/platform/KeyCodes.h"
#include "framework/widget/Widget.h"
#include "framework/widget/WidgetManager.h"

namespace Zing {

namespace {

// A light, half-transparent frame reads on dark and bright artwork alike.
constexpr Color kFocusFrameColor{255, 255, 200, 200};

}  // namespace

void LinkFocusRing(const std::vector<Widget*>& widgets) {
  std::vector<Widget*> ring;
  std::copy_if(widgets.begin(), widgets.end(), std::back_inserter(ring), [](Widget* w) { return w != nullptr; });
  for (std::size_t i = 0; i < ring.size(); ++i) {
    ring[i]->tabNext = ring[(i + 1) % ring.size()];
    ring[i]->tabPrev = ring[(i + ring.size() - 1) % ring.size()];
  }
}

bool MoveFocusByArrow(Widget& widget, int key) {
  Widget* target = nullptr;
  if (key == KEYCODE_UP || key == KEYCODE_LEFT) {
    target = widget.tabPrev;
  } else if (key == KEYCODE_DOWN || key == KEYCODE_RIGHT) {
    target = widget.tabNext;
  } else {
    return false;
  }
  if (target != nullptr && widget.widgetManager != nullptr) widget.widgetManager->SetFocus(target);
  return true;
}

bool IsPressKey(int key) { return key == KEYCODE_RETURN || key == KEYCODE_SPACE; }

void DrawFocusFrame(Graphics* g, int w, int h) {
  if (w < 2 || h < 2) return;
  g->SetColor(kFocusFrameColor);
  g->DrawRect(0, 0, w - 1, h - 1);
}

}  // namespace Zing
