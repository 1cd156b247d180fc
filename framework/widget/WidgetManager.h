#pragma once

// The root of the widget tree. It turns the application's ticks, draw requests
// and input messages into calls on widgets: the update walk, drawing the dirty
// top-level widgets into the screen image, the widget under the pointer, the
// widget holding a pressed button, the keyboard focus, and modality through a
// stack of base modal widgets behind which widgets lose mouse and focus.

#include <climits>
#include <cstdint>
#include <vector>

#include "framework/graphics/Rect.h"
#include "framework/widget/WidgetContainer.h"
#include "framework/widget/WidgetFlags.h"

namespace Zing {

class Image;
class WidgetManagerHost;

// What a base modal widget replaced, so that removing it restores it.
struct PreModalInfo {
  Widget* baseModalWidget = nullptr;
  Widget* prevBaseModalWidget = nullptr;
  Widget* prevFocusWidget = nullptr;
  FlagsMod prevBelowModalFlagsMod;
};

struct DeferredOverlay {
  Widget* widget = nullptr;
  int priority = 0;
};

// Mouse button bits of `downButtons` and `actualDownButtons`.
enum MouseButtonBit : int {
  MOUSE_BUTTON_LEFT = 1,
  MOUSE_BUTTON_RIGHT = 2,
  MOUSE_BUTTON_MIDDLE = 4,
};

class WidgetManager : public WidgetContainer {
 public:
  explicit WidgetManager(WidgetManagerHost* host);
  // Widgets still attached are let go without callbacks: the application is
  // being torn down and they may already be half destroyed.
  ~WidgetManager() override;

  // One tick of the update walk; returns the manager's own dirty flag.
  bool UpdateFrame();
  bool UpdateFrameSmooth(float fraction);
  // Draws the dirty top-level widgets into `image`; true when anything was drawn.
  bool DrawScreen();

  void SetMouseRects(const Rect& destRect, const Rect& sourceRect);
  // Maps a pointer position of the platform into the manager's coordinates.
  void RemapMouse(int& mouseX, int& mouseY) const;

  bool MouseMove(int mouseX, int mouseY);
  bool MouseDown(int mouseX, int mouseY, int clickCode);
  bool MouseUp(int mouseX, int mouseY, int clickCode);
  bool MouseWheel(int delta);
  bool MouseExit();
  bool KeyDown(int key);
  bool KeyUp(int key);
  bool KeyChar(char character);

  void AppGotFocus();
  void AppLostFocus();

  void AddBaseModal(Widget* widget);
  void AddBaseModal(Widget* widget, const FlagsMod& belowFlagsMod);
  void RemoveBaseModal(Widget* widget);

  // Re-evaluates the widget under the pointer after the tree changed.
  void RehupMouse();

  // The enabled widget that takes the mouse at (px, py), with the point in its
  // own coordinates; none when nothing (or a disabled widget) is hit.
  Widget* GetWidgetAt(int px, int py, int* localX = nullptr, int* localY = nullptr);

  void DisableWidget(Widget* widget) override;
  void SetFocus(Widget* widget) override;

  // Takes `popupCommandWidget` (a widget that goes away when the player
  // clicks outside it) out of the tree.
  void RemovePopupCommandWidget();

  // Asks for the widget's `DrawOverlay` (graphics, priority) once the rest of
  // this draw pass reaches that priority (or at its end). Only meaningful
  // during `DrawScreen`; requests outside a pass, and requests made while
  // overlays of the same or a higher priority are being drawn, are dropped.
  void DeferOverlay(Widget* widget, int overlayPriority);
  // Draws the pending overlays whose priority is below `maxPriority`, lowest
  // first; INT_MAX draws them all.
  void FlushDeferredOverlayWidgets(int maxPriority);

  bool IsKeyDown(int key) const;

  // Called for every widget of a subtree leaving the tree: drops the
  // references that the manager keeps beyond over/down/focus.
  void ForgetRemovedWidget(Widget* widget);
  // Called once a subtree has left the tree: a base modal widget inside it
  // stops being modal.
  void DropDetachedBaseModal();

  WidgetManagerHost* app;
  Image* image = nullptr;
  Graphics* currentGraphics = nullptr;
  std::uint32_t widgetFlags = DEFAULT_WIDGET_FLAGS;
  bool hasFocus = true;
  FlagsMod lostFocusFlagsMod;

  Widget* focusWidget = nullptr;
  Widget* lastDownWidget = nullptr;
  Widget* overWidget = nullptr;
  Widget* baseModalWidget = nullptr;
  Widget* popupCommandWidget = nullptr;
  Widget* defaultTab = nullptr;

  FlagsMod belowModalFlagsMod;
  FlagsMod defaultBelowModalFlagsMod{0, WIDGETFLAGS_ALLOW_MOUSE | WIDGETFLAGS_ALLOW_FOCUS};
  std::vector<PreModalInfo> preModalInfoList;

  std::vector<DeferredOverlay> deferredOverlayWidgets;
  int minDeferredOverlayPriority = INT_MAX;

  Rect mouseDestRect;
  Rect mouseSourceRect;
  bool mouseIn = false;
  int lastMouseX = 0;
  int lastMouseY = 0;
  int downButtons = 0;
  int actualDownButtons = 0;
  int lastDownButtonId = 0;
  int lastInputUpdateCount = 0;

  static constexpr int kTrackedKeys = 255;
  bool keyDown[kTrackedKeys] = {};

 private:
  void InitModalFlags(ModalFlags& flags) const;
  std::uint32_t RootFlags() const;

  Widget* HitTest(WidgetContainer* container, std::uint32_t flags, bool& behindModal, int px, int py, int& localX,
                  int& localY);

  void MousePosition(int mouseX, int mouseY);
  void Drag(int mouseX, int mouseY);
  void Enter(Widget* widget);
  void Leave(Widget* widget);
  void ClearOverWidget();
  void ReleaseButtons(Widget* widget);

  void ApplyBaseModal(Widget* widget, const FlagsMod& belowFlagsMod);
  void PopBaseModalEntries();

  void DrawOverlaysAt(int overlayPriority);

  bool baseModalRemoved_ = false;
  // The priority whose overlays are being drawn (INT_MIN outside), so that an
  // overlay cannot ask to be drawn again in the same round.
  int overlayPriorityInDraw_ = INT_MIN;
};

}  // namespace Zing
