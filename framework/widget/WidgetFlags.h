#pragma once

// The flags that decide what the manager's walks do with a widget (update it,
// draw it, clip it, let it take the mouse or the focus), the per-widget
// modifiers of those flags, and the pair of flag words carried down a walk so
// that widgets behind the base modal widget get reduced flags.

#include <cstdint>

namespace Zing {

enum WidgetFlag : std::uint32_t {
  WIDGETFLAGS_UPDATE = 1,
  WIDGETFLAGS_MARK_DIRTY = 2,
  WIDGETFLAGS_DRAW = 4,
  WIDGETFLAGS_CLIP = 8,
  WIDGETFLAGS_ALLOW_MOUSE = 16,
  WIDGETFLAGS_ALLOW_FOCUS = 32,
};

// Update, draw, clip, mouse and focus; not "mark dirty every update".
inline constexpr std::uint32_t DEFAULT_WIDGET_FLAGS =
    WIDGETFLAGS_UPDATE | WIDGETFLAGS_DRAW | WIDGETFLAGS_CLIP | WIDGETFLAGS_ALLOW_MOUSE | WIDGETFLAGS_ALLOW_FOCUS;

// Flags added and flags removed for a widget and everything below it.
struct FlagsMod {
  std::uint32_t addFlags = 0;
  std::uint32_t removeFlags = 0;

  constexpr FlagsMod() = default;
  constexpr FlagsMod(std::uint32_t add, std::uint32_t remove) : addFlags(add), removeFlags(remove) {}

  constexpr std::uint32_t Apply(std::uint32_t flags) const { return (flags | addFlags) & ~removeFlags; }
  constexpr bool operator==(const FlagsMod&) const = default;
};

// The flags of a walk: `overFlags` hold for the base modal widget and what lies
// in front of it, `underFlags` for what lies behind it. `isOver` tells which
// word is in force at the current point of the walk.
struct ModalFlags {
  std::uint32_t overFlags = 0;
  std::uint32_t underFlags = 0;
  bool isOver = false;

  std::uint32_t GetFlags() const { return isOver ? overFlags : underFlags; }
};

// Applies a container's modifier to both words for as long as the walk is
// inside that container, and puts the words back when it leaves.
class FlagsModScope {
 public:
  FlagsModScope(ModalFlags& flags, const FlagsMod& mod)
      : flags_(flags), savedOver_(flags.overFlags), savedUnder_(flags.underFlags) {
    flags.overFlags = mod.Apply(flags.overFlags);
    flags.underFlags = mod.Apply(flags.underFlags);
  }
  ~FlagsModScope() {
    flags_.overFlags = savedOver_;
    flags_.underFlags = savedUnder_;
  }
  FlagsModScope(const FlagsModScope&) = delete;
  FlagsModScope& operator=(const FlagsModScope&) = delete;

 private:
  ModalFlags& flags_;
  std::uint32_t savedOver_;
  std::uint32_t savedUnder_;
};

}  // namespace Zing
