#include "framework/widget/Widget.h"
#include "framework/widget/WidgetManager.h"
namespace Zing {
void WidgetContainer::DrawAll(ModalFlags*, Graphics*) {}
bool WidgetManager::DrawScreen() { return false; }
void WidgetManager::FlushDeferredOverlayWidgets(int) {}
void WidgetManager::DrawOverlaysAt(int) {}
Rect Widget::DrawCenteredLineShadowed(Graphics*, int, const std::string&, const Color&, const Color&, const Point&) {
  return {};
}
Rect Widget::DrawCenteredLine(Graphics*, int, const std::string&) { return {}; }
void Widget::DrawColoredString(Graphics*, const std::string&, int, int) {}
int Widget::DrawWordWrapped(Graphics*, const Rect&, const std::string&, int, int) { return 0; }
int Widget::GetWordWrappedHeight(Font*, int, const std::string&, int) { return 0; }
void Widget::DrawNumberFromStrip(Graphics*, int, int, int, Image*, int) {}
}  // namespace Zing
