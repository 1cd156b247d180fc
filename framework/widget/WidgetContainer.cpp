#include "framework/widget/WidgetContainer.h"

#include <algorithm>
#include <vector>

#include "framework/widget/Widget.h"
#include "framework/widget/WidgetManager.h"

namespace Zing {

// ---------------------------------------------------------------------------
// Walk positions

ChildWalk::ChildWalk(WidgetContainer& container) : container_(container), index_(container.walks.size()) {
  container.walks.push_back(WalkPosition{container.widgets.begin(), false});
}

// Walks end in the reverse order of their start.
ChildWalk::~ChildWalk() { container_.walks.pop_back(); }

WalkPosition& ChildWalk::Position() const { return container_.walks[index_]; }

Widget* ChildWalk::Current() const {
  const WalkPosition& walk = Position();
  return walk.position == container_.widgets.end() ? nullptr : *walk.position;
}

void ChildWalk::Next() {
  WalkPosition& walk = Position();
  if (walk.moved) {
    walk.moved = false;
  } else if (walk.position != container_.widgets.end()) {
    ++walk.position;
  }
}

// ---------------------------------------------------------------------------
// Construction

WidgetContainer::WidgetContainer() = default;

WidgetContainer::~WidgetContainer() {
  // Children are not owned; they only forget that they had a parent.
  for (Widget* child : widgets) {
    if (child->parent == this) child->parent = nullptr;
  }
}

Rect WidgetContainer::GetRect() { return Rect(x, y, width, height); }

bool WidgetContainer::Intersects(WidgetContainer* other) {
  if (other == nullptr) return false;
  const Rect a = GetRect();
  const Rect b = other->GetRect();
  return !a.Intersection(b).IsEmpty();
}

// ---------------------------------------------------------------------------
// The child list

WidgetList::iterator WidgetContainer::Find(Widget* widget) { return std::find(widgets.begin(), widgets.end(), widget); }

bool WidgetContainer::HasWidget(Widget* widget) { return widget != nullptr && Find(widget) != widgets.end(); }

// Inserts before `position`, then moves the child forward past children of a
// lower zOrder or back past children of a higher one, so that the list stays
// sorted with the child as close as possible to the requested place.
void WidgetContainer::InsertSorted(WidgetList::iterator position, Widget* widget) {
  while (position != widgets.end() && (*position)->zOrder < widget->zOrder) ++position;
  while (position != widgets.begin() && (*std::prev(position))->zOrder > widget->zOrder) --position;
  widgets.insert(position, widget);
}

// Erases a child, first moving every running walk that stands on it to the
// child after it.
void WidgetContainer::EraseChild(WidgetList::iterator position) {
  for (WalkPosition& walk : walks) {
    if (walk.position == position) {
      ++walk.position;
      walk.moved = true;
    }
  }
  widgets.erase(position);
}

void WidgetContainer::AddWidget(Widget* widget) {
  if (widget == nullptr || HasWidget(widget)) return;
  // A widget cannot hold itself or one of its own ancestors.
  for (WidgetContainer* ancestor = this; ancestor != nullptr; ancestor = ancestor->parent) {
    if (ancestor == widget) return;
  }
  // A widget lives in one list only: it leaves its old container first.
  if (widget->parent != nullptr) widget->parent->RemoveWidget(widget);

  InsertSorted(widgets.end(), widget);
  widget->widgetManager = widgetManager;
  widget->parent = this;

  if (widgetManager != nullptr) {
    widget->AddedToManager(widgetManager);
    widget->MarkFullyDirty();
    widgetManager->RehupMouse();
  }
  MarkDirty();
}

void WidgetContainer::DetachFromManager(Widget* widget) {
  WidgetManager* manager = widget->widgetManager;
  manager->DisableWidget(widget);
  manager->ForgetRemovedWidget(widget);
  widget->RemovedFromManager(manager);
  widget->MarkFullyDirty();
  widget->widgetManager = nullptr;
}

void WidgetContainer::RemoveWidget(Widget* widget) {
  if (widget == nullptr) return;
  auto position = Find(widget);
  if (position == widgets.end()) return;

  WidgetManager* manager = widget->widgetManager;
  if (manager != nullptr) DetachFromManager(widget);

  // The handlers above may have moved the child; look it up again.
  position = Find(widget);
  widget->parent = nullptr;
  if (position != widgets.end()) EraseChild(position);
  if (manager != nullptr) manager->DropDetachedBaseModal();
}

void WidgetContainer::DisableWidget(Widget*) {}

void WidgetContainer::RemoveAllWidgets(bool deleteThem, bool recursive) {
  while (!widgets.empty()) {
    Widget* child = widgets.front();
    RemoveWidget(child);
    if (recursive) child->RemoveAllWidgets(deleteThem, recursive);
    if (deleteThem) delete child;
  }
}

void WidgetContainer::SetFocus(Widget*) {}

bool WidgetContainer::IsBelow(Widget* a, Widget* b) {
  if (a == nullptr || b == nullptr || a == b) return false;
  // The chains of containers from each widget up to this container.
  auto chain = [this](WidgetContainer* w) {
    std::vector<WidgetContainer*> path;
    for (; w != nullptr; w = w->parent) {
      path.push_back(w);
      if (w == this) return path;
    }
    path.clear();
    return path;
  };
  std::vector<WidgetContainer*> pathA = chain(a);
  std::vector<WidgetContainer*> pathB = chain(b);
  if (pathA.empty() || pathB.empty()) return false;

  // Walk down from the root while both chains agree.
  auto itA = pathA.rbegin();
  auto itB = pathB.rbegin();
  while (std::next(itA) != pathA.rend() && std::next(itB) != pathB.rend() && *std::next(itA) == *std::next(itB)) {
    ++itA;
    ++itB;
  }
  if (std::next(itA) == pathA.rend()) return true;   // a is an ancestor of b: drawn first
  if (std::next(itB) == pathB.rend()) return false;  // b is an ancestor of a
  WidgetContainer* common = *itA;
  const WidgetContainer* childA = *std::next(itA);
  const WidgetContainer* childB = *std::next(itB);
  for (Widget* child : common->widgets) {
    if (child == childA) return true;
    if (child == childB) return false;
  }
  return false;
}

void WidgetContainer::MarkAllDirty() {
  MarkDirty();
  for (Widget* child : widgets) {
    child->dirty = true;
    child->MarkAllDirty();
  }
}

// ---------------------------------------------------------------------------
// Reordering

void WidgetContainer::BringToFront(Widget* widget) { Reinsert(widget, nullptr, Placement::kFront); }

void WidgetContainer::BringToBack(Widget* widget) { Reinsert(widget, nullptr, Placement::kBack); }

void WidgetContainer::PutBehind(Widget* widget, Widget* reference) { Reinsert(widget, reference, Placement::kBehind); }

void WidgetContainer::PutInFront(Widget* widget, Widget* reference) {
  Reinsert(widget, reference, Placement::kInFront);
}

void WidgetContainer::Reinsert(Widget* widget, Widget* reference, Placement placement) {
  const auto position = Find(widget);
  if (position == widgets.end()) return;
  const bool relative = placement == Placement::kBehind || placement == Placement::kInFront;
  if (relative && (reference == widget || !HasWidget(reference))) return;

  EraseChild(position);
  WidgetList::iterator where = widgets.end();
  if (placement == Placement::kBack) where = widgets.begin();
  if (placement == Placement::kBehind) where = Find(reference);
  if (placement == Placement::kInFront) where = std::next(Find(reference));
  InsertSorted(where, widget);
  widget->SiblingOrderChanged();
}

Point WidgetContainer::GetAbsPos() {
  if (parent == nullptr) return Point{x, y};
  const Point origin = parent->GetAbsPos();
  return Point{origin.x + x, origin.y + y};
}

// ---------------------------------------------------------------------------
// Dirty marking. Only the root looks at siblings: below it, redrawing a
// top-level widget redraws all its descendants anyway.

void WidgetContainer::MarkDirty() {
  if (parent != nullptr) {
    parent->MarkDirty(this);
  } else {
    dirty = true;
  }
}

void WidgetContainer::MarkDirty(WidgetContainer* child) {
  if (child == nullptr || child->dirty) return;
  MarkDirty();
  child->dirty = true;
  if (parent != nullptr) return;

  // Children are always widgets; anything else is not in the list.
  Widget* widget = static_cast<Widget*>(child);
  if (!HasWidget(widget)) return;
  if (widget->hasAlpha) {
    MarkFullyDirty(widget);
  } else {
    MarkSiblingsInFront(widget);
  }
}

void WidgetContainer::MarkFullyDirty() {
  if (parent != nullptr) {
    parent->MarkFullyDirty(this);
  } else {
    dirty = true;
  }
}

void WidgetContainer::MarkFullyDirty(WidgetContainer* child) {
  if (child == nullptr) return;
  MarkFullyDirty();
  child->dirty = true;
  if (parent != nullptr) return;

  Widget* widget = static_cast<Widget*>(child);
  if (!HasWidget(widget)) return;
  MarkSiblingsBehind(widget);
  MarkSiblingsInFront(widget);
}

// The siblings are collected first: marking runs virtual code that may
// reorder the list.
void WidgetContainer::MarkSiblingsInFront(Widget* child) {
  auto position = Find(child);
  if (position == widgets.end()) return;
  const std::vector<Widget*> inFront(std::next(position), widgets.end());
  for (Widget* sibling : inFront) {
    if (sibling->visible && sibling->Intersects(child)) MarkDirty(sibling);
  }
}

// Siblings behind the child are redrawn from the nearest on, until one that is
// opaque and covers the whole visible part of the child hides the rest.
void WidgetContainer::MarkSiblingsBehind(Widget* child) {
  auto position = Find(child);
  if (position == widgets.end()) return;
  const Rect area = child->GetRect().Intersection(Rect(0, 0, width, height));
  const std::vector<Widget*> behind(std::make_reverse_iterator(position), widgets.rend());
  for (Widget* sibling : behind) {
    if (!sibling->visible) continue;
    const bool opaque = !sibling->hasAlpha && !sibling->hasTransparencies;
    if (opaque && !area.IsEmpty() && sibling->Contains(area.x, area.y) &&
        sibling->Contains(area.x + area.w - 1, area.y + area.h - 1)) {
      MarkDirty(sibling);
      return;
    }
    if (sibling->Intersects(child)) MarkDirty(sibling);
  }
}

// ---------------------------------------------------------------------------
// Attachment

void WidgetContainer::AddedToManager(WidgetManager* manager) {
  for (Widget* child : std::vector<Widget*>(widgets.begin(), widgets.end())) {
    child->widgetManager = manager;
    child->AddedToManager(manager);
  }
  MarkDirty();
}

void WidgetContainer::RemovedFromManager(WidgetManager* manager) {
  for (Widget* child : std::vector<Widget*>(widgets.begin(), widgets.end())) {
    if (child->widgetManager != manager) continue;
    manager->DisableWidget(child);
    manager->ForgetRemovedWidget(child);
    child->RemovedFromManager(manager);
    child->widgetManager = nullptr;
  }
  if (manager->popupCommandWidget == this) manager->popupCommandWidget = nullptr;
}

// ---------------------------------------------------------------------------
// Walks

void WidgetContainer::Update() { ++updateCount; }

void WidgetContainer::UpdateSmooth(float) {}

void WidgetContainer::UpdateAll(ModalFlags* flags) {
  WidgetManager* manager = widgetManager;
  if (manager == nullptr || flags == nullptr) return;
  FlagsModScope scope(*flags, widgetFlagsMod);

  if (flags->GetFlags() & WIDGETFLAGS_MARK_DIRTY) MarkDirty();
  if ((flags->GetFlags() & WIDGETFLAGS_UPDATE) && lastWMUpdateCount != manager->updateCount) {
    lastWMUpdateCount = manager->updateCount;
    Update();
  }
  WalkChildrenForUpdate(flags, false, 0.0f);
}

void WidgetContainer::UpdateSmoothAll(ModalFlags* flags, float fraction) {
  if (widgetManager == nullptr || flags == nullptr) return;
  FlagsModScope scope(*flags, widgetFlagsMod);

  if (flags->GetFlags() & WIDGETFLAGS_MARK_DIRTY) MarkDirty();
  if (flags->GetFlags() & WIDGETFLAGS_UPDATE) UpdateSmooth(fraction);
  WalkChildrenForUpdate(flags, true, fraction);
}

void WidgetContainer::WalkChildrenForUpdate(ModalFlags* flags, bool smooth, float fraction) {
  for (ChildWalk walk(*this); Widget* child = walk.Current(); walk.Next()) {
    // A handler took this container out of the tree: its children are no
    // longer part of this tick.
    if (widgetManager == nullptr) break;
    if (child == widgetManager->baseModalWidget) flags->isOver = true;
    if (smooth) {
      child->UpdateSmoothAll(flags, fraction);
    } else {
      child->UpdateAll(flags);
    }
  }
}

void WidgetContainer::Draw(Graphics*) {}

void WidgetContainer::SystemColorsChangedAll() {
  SystemColorsChanged();
  for (ChildWalk walk(*this); Widget* child = walk.Current(); walk.Next()) child->SystemColorsChangedAll();
}

void WidgetContainer::SystemColorsChanged() {}

}  // namespace Zing
