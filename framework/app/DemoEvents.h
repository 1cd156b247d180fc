#pragma once

// The event stream of a demo file: everything that reached the application
// from outside during one run (input, window events, settings accesses, the
// moment loading finished), each stamped with the update at which it
// happened, packed as runs of bits.
//
// Every event starts with a timing block of 4 bits, the number of updates
// since the previous event (0..15); longer gaps are bridged by padding events
// of 15 updates each. Then one bit tells a short kind (1 more bit) from a
// long kind (5 more bits), and the kind's payload follows.

#include <cstdint>
#include <string>

#include "framework/app/Buffer.h"
#include "framework/platform/SettingsFile.h"

namespace Zing {

enum class DemoEventKind {
  PointerStep,       // x, y: a small step of the pointer
  Button,            // flag: down; value: click code 1, 2, -1, -2 or 3
  PointerTo,         // x, y: the pointer's new position
  Activate,          // flag: the application became active
  Minimize,          // flag: minimised (else restored)
  KeyDown,           // value: virtual-key code
  KeyUp,             // value: virtual-key code
  Char,              // value: character code
  Close,             // the window was asked to close
  MouseEnter,        // the pointer entered the window
  MouseLeave,        // the pointer left the window
  LoadingCompleted,  // the loading thread had finished at this update
  SettingsRead,      // flag: success; setting: the value read
  SettingsWrite,     // flag: success
  Wheel,             // value: notches
  DisplayMode,       // flag: windowed; value: refresh rate
};

struct DemoEvent {
  DemoEventKind kind = DemoEventKind::Close;
  int update = 0;  // the update count at which it happened
  int x = 0;
  int y = 0;
  int value = 0;
  bool flag = false;
  Platform::SettingsValue setting;

  bool IsSettingsAccess() const { return kind == DemoEventKind::SettingsRead || kind == DemoEventKind::SettingsWrite; }
};

inline DemoEvent MakeDemoEvent(DemoEventKind kind, bool flag = false, int value = 0) {
  DemoEvent event;
  event.kind = kind;
  event.flag = flag;
  event.value = value;
  return event;
}

// Limits of the payload fields; the recorder keeps its values inside them.
inline constexpr int kDemoStepLimit = 31;       // |dx|, |dy| of a pointer step
inline constexpr int kDemoPositionMin = -2048;  // absolute positions: 12 bits, signed
inline constexpr int kDemoPositionMax = 2047;
inline constexpr int kDemoMaxTimingGap = 15;                     // updates one timing block holds
inline constexpr std::uint32_t kDemoMaxSettingBytes = 1u << 20;  // a settings value in an event

// Appends events to a bit buffer, bridging long gaps with padding.
class DemoEventWriter {
 public:
  // Events must come in update order; an earlier update counts as a gap of 0.
  void Write(const DemoEvent& event);
  const Buffer& GetBuffer() const { return buffer; }
  int GetEventCount() const { return eventCount; }

 private:
  void WriteTiming(int gap);
  void WriteKind(bool isShort, int code);
  void WriteSetting(const DemoEvent& event);

  Buffer buffer;
  int lastUpdate = 0;
  int eventCount = 0;
};

// Takes events off a bit buffer one at a time. A stream that stops inside an
// event, names an unknown kind or carries an impossible value is damaged:
// reading stops there and the reason is kept.
class DemoEventReader {
 public:
  enum class Status { Reading, End, Damaged };

  explicit DemoEventReader(Buffer events);
  // The next event (padding is absorbed into the update count); false at the
  // end of the stream or at damage.
  bool Next(DemoEvent& event);
  Status GetStatus() const { return status; }
  const std::string& GetProblem() const { return problem; }

 private:
  bool Have(int bits) const;
  bool Read(int bits, bool isSigned, int& value);
  bool ReadPayload(DemoEvent& event, bool isShort, int code);
  bool ReadSetting(DemoEvent& event);
  bool Fail(const std::string& why);

  Buffer buffer;
  std::int64_t update = 0;
  int eventStart = 0;  // bit position where the current event began
  Status status = Status::Reading;
  std::string problem;
};

}  // namespace Zing
