#pragma once

// The common base of `Widget` and `WidgetManager`: an ordered list of child
// widgets with their geometry, the dirty flag and its propagation, and the
// update and draw walks that the manager starts at the root every tick.

#include <cstddef>
#include <list>
#include <vector>

#include "framework/graphics/Rect.h"
#include "framework/widget/WidgetFlags.h"

namespace Zing {

class Graphics;
class Widget;
class WidgetManager;
class WidgetContainer;

using WidgetList = std::list<Widget*>;

struct Point {
  int x = 0;
  int y = 0;
  constexpr bool operator==(const Point&) const = default;
};

// A position in a container's child list held by a running walk. The container
// moves every such position past a child that leaves the list, so a walk whose
// handlers remove or reorder children neither skips nor repeats one. Walks may
// nest: a dialog that waits for its answer runs the whole loop again from
// inside a handler.
struct WalkPosition {
  WidgetList::iterator position;
  bool moved = false;
};

// One walk over a container's children in list order (back to front).
class ChildWalk {
 public:
  explicit ChildWalk(WidgetContainer& container);
  ~ChildWalk();
  ChildWalk(const ChildWalk&) = delete;
  ChildWalk& operator=(const ChildWalk&) = delete;

  // The child at the walk's position, none at the end.
  Widget* Current() const;
  // Moves on to the next child, unless a removal already moved the walk there.
  void Next();

 private:
  WalkPosition& Position() const;

  WidgetContainer& container_;
  std::size_t index_;
};

class WidgetContainer {
 public:
  WidgetContainer();
  virtual ~WidgetContainer();
  WidgetContainer(const WidgetContainer&) = delete;
  WidgetContainer& operator=(const WidgetContainer&) = delete;

  virtual Rect GetRect();
  // Whether the two rectangles overlap; touching edges do not count.
  virtual bool Intersects(WidgetContainer* other);

  virtual void AddWidget(Widget* widget);
  virtual void RemoveWidget(Widget* widget);
  virtual bool HasWidget(Widget* widget);
  virtual void DisableWidget(Widget* widget);
  virtual void RemoveAllWidgets(bool deleteThem = false, bool recursive = false);
  virtual void SetFocus(Widget* widget);
  // Whether `a` is drawn before (behind) `b`; false when either is not in the
  // tree below this container.
  virtual bool IsBelow(Widget* a, Widget* b);
  virtual void MarkAllDirty();

  virtual void BringToFront(Widget* widget);
  virtual void BringToBack(Widget* widget);
  virtual void PutBehind(Widget* widget, Widget* reference);
  virtual void PutInFront(Widget* widget, Widget* reference);

  virtual Point GetAbsPos();

  virtual void MarkDirty(WidgetContainer* child);
  virtual void MarkDirty();
  virtual void MarkFullyDirty(WidgetContainer* child);
  virtual void MarkFullyDirty();

  virtual void AddedToManager(WidgetManager* manager);
  virtual void RemovedFromManager(WidgetManager* manager);

  virtual void Update();
  virtual void UpdateAll(ModalFlags* flags);
  virtual void UpdateSmooth(float fraction);
  virtual void UpdateSmoothAll(ModalFlags* flags, float fraction);
  virtual void Draw(Graphics* g);
  virtual void DrawAll(ModalFlags* flags, Graphics* g);
  virtual void SystemColorsChangedAll();
  virtual void SystemColorsChanged();

  // Children back to front: the last child is drawn last and hit first. Kept
  // sorted by `zOrder`; children of equal `zOrder` keep their insertion order.
  WidgetList widgets;
  WidgetManager* widgetManager = nullptr;
  WidgetContainer* parent = nullptr;
  // The walks running over `widgets` right now, innermost last.
  std::vector<WalkPosition> walks;

  int lastWMUpdateCount = 0;
  int updateCount = 0;
  bool dirty = false;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool hasAlpha = false;
  bool clip = true;
  FlagsMod widgetFlagsMod;
  int priority = 0;
  int zOrder = 0;

 protected:
  // Detaches a child that is attached to a manager: the manager forgets it, it
  // hears RemovedFromManager, and the area it covered is redrawn.
  void DetachFromManager(Widget* widget);

 private:
  friend class ChildWalk;

  enum class Placement { kFront, kBack, kBehind, kInFront };

  void InsertSorted(WidgetList::iterator position, Widget* widget);
  // Takes a child out and puts it back at the place asked for, as close to it
  // as the zOrder sort allows.
  void Reinsert(Widget* widget, Widget* reference, Placement placement);
  void EraseChild(WidgetList::iterator position);
  WidgetList::iterator Find(Widget* widget);
  void MarkSiblingsInFront(Widget* child);
  void MarkSiblingsBehind(Widget* child);
  void WalkChildrenForUpdate(ModalFlags* flags, bool smooth, float fraction);
};

}  // namespace Zing
