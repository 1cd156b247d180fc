#pragma once

// What a text list tells its owner, and what a scroll bar tells the list it
// scrolls.

namespace Zing {

class ListListener {
 public:
  virtual ~ListListener() = default;

  virtual void ListClicked(int /*id*/, int /*index*/, int /*clickCount*/) {}
  virtual void ListClosed(int /*id*/) {}
  virtual void ListHiliteChanged(int /*id*/, int /*oldIndex*/, int /*newIndex*/) {}
};

class ScrollListener {
 public:
  virtual ~ScrollListener() = default;

  virtual void ScrollPosition(int /*id*/, double /*position*/) {}
};

// What the list asks of a scroll bar beside it.
class ListScrollbar {
 public:
  virtual ~ListScrollbar() = default;

  virtual void SetMaxValue(double maxValue) = 0;
  virtual void SetPageSize(double pageSize) = 0;
  virtual void SetValue(double value) = 0;
  virtual double GetValue() const = 0;
};

}  // namespace Zing
