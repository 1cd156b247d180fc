#include "framework/widget/Widget.h"

#include "framework/widget/WidgetManager.h"
#include "framework/widget/WidgetManagerHost.h"

namespace Zing {

Widget::Widget() = default;

Widget::~Widget() {
  if (parent != nullptr) parent->RemoveWidget(this);
}

void Widget::SiblingOrderChanged() {}

void Widget::SetVisible(bool isVisible) {
  if (visible == isVisible) return;
  visible = isVisible;
  if (isVisible) {
    // A hidden widget may have been marked dirty meanwhile (its update still
    // runs); without this the marking below would stop at once and the widget
    // would not reappear on the screen.
    dirty = false;
    MarkDirty();
  } else {
    MarkFullyDirty();
  }
  if (widgetManager != nullptr) widgetManager->RehupMouse();
}

void Widget::SetColors(const int table[][4], int count) {
  colors.clear();
  for (int i = 0; i < count; ++i) SetColor(i, Color(table[i][0], table[i][1], table[i][2], table[i][3]));
  MarkDirty();
}

void Widget::SetColors(const int table[][3], int count) {
  colors.clear();
  for (int i = 0; i < count; ++i) SetColor(i, Color(table[i][0], table[i][1], table[i][2]));
  MarkDirty();
}

void Widget::SetColor(int index, const Color& color) {
  if (index < 0) return;
  if (static_cast<std::size_t>(index) >= colors.size()) colors.resize(static_cast<std::size_t>(index) + 1);
  colors[static_cast<std::size_t>(index)] = color;
  MarkDirty();
}

Color Widget::GetColor(int index, const Color& fallback) {
  if (index < 0 || static_cast<std::size_t>(index) >= colors.size()) return fallback;
  return colors[static_cast<std::size_t>(index)];
}

Color Widget::GetColor(int index) { return GetColor(index, Color::Black); }

void Widget::SetDisabled(bool isDisabled) {
  if (disabled == isDisabled) return;
  disabled = isDisabled;
  if (isDisabled && widgetManager != nullptr) widgetManager->DisableWidget(this);
  MarkDirty();
  if (!isDisabled && widgetManager != nullptr) {
    const Point origin = parent != nullptr ? parent->GetAbsPos() : Point{};
    if (Contains(widgetManager->lastMouseX - origin.x, widgetManager->lastMouseY - origin.y)) {
      widgetManager->RehupMouse();
    }
  }
}

void Widget::ShowHandCursor(bool show) { SetAppCursor(show ? 1 : 0); }

void Widget::SetAppCursor(int cursorNum) {
  if (widgetManager != nullptr && widgetManager->app != nullptr) widgetManager->app->SetCursor(cursorNum);
}

void Widget::Resize(const Rect& rect) { Resize(rect.x, rect.y, rect.w, rect.h); }

void Widget::Resize(int newX, int newY, int newWidth, int newHeight) {
  if (x == newX && y == newY && width == newWidth && height == newHeight) return;
  MarkFullyDirty();
  x = newX;
  y = newY;
  width = newWidth;
  height = newHeight;
  MarkDirty();
  if (widgetManager != nullptr) widgetManager->RehupMouse();
}

void Widget::Move(int newX, int newY) { Resize(newX, newY, width, height); }

bool Widget::AcceptsFocus() { return wantsFocus; }

void Widget::DrawOverlay(Graphics* g, int) { DrawOverlay(g); }

void Widget::DrawOverlay(Graphics*) {}

void Widget::GotFocus() { hasFocus = true; }

void Widget::LostFocus() { hasFocus = false; }

void Widget::KeyChar(char) {}

void Widget::KeyDown(int key) {
  if (key != KEYCODE_TAB || widgetManager == nullptr) return;
  Widget* target = widgetManager->IsKeyDown(KEYCODE_SHIFT) ? tabPrev : tabNext;
  if (target != nullptr) widgetManager->SetFocus(target);
}

void Widget::KeyUp(int) {}

void Widget::MouseEnter() {}

void Widget::MouseLeave() {}

void Widget::MouseMove(int, int) {}

void Widget::MouseDown(int, int, int, int) {}

// Click codes to button and count: 3 is the middle button, negative codes the
// right button, anything else the left.
static void SplitClickCode(int clickCode, int& button, int& count) {
  if (clickCode == 3) {
    button = 2;
    count = 1;
  } else if (clickCode < 0) {
    button = 1;
    count = -clickCode;
  } else {
    button = 0;
    count = clickCode;
  }
}

void Widget::MouseDown(int px, int py, int clickCode) {
  int button = 0;
  int count = 0;
  SplitClickCode(clickCode, button, count);
  MouseDown(px, py, button, count);
}

void Widget::MouseUp(int, int, int, int) {}

void Widget::MouseUp(int px, int py, int clickCode) {
  MouseUp(px, py);
  int button = 0;
  int count = 0;
  SplitClickCode(clickCode, button, count);
  MouseUp(px, py, button, count);
}

void Widget::MouseUp(int, int) {}

void Widget::MouseDrag(int, int) {}

void Widget::MouseWheel(int) {}

bool Widget::AcceptsPoint(int, int) { return true; }

int Widget::GetDigitCount(int number) {
  int count = 1;
  while (number >= 10) {
    number /= 10;
    ++count;
  }
  return count;
}

bool Widget::Contains(int px, int py) { return px >= x && px < x + width && py >= y && py < y + height; }

Rect Widget::GetInsetRect() {
  return Rect(x + mouseInsets.left, y + mouseInsets.top, width - mouseInsets.left - mouseInsets.right,
              height - mouseInsets.top - mouseInsets.bottom);
}

}  // namespace Zing
