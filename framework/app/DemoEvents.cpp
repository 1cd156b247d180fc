// Packing and unpacking of demo events. The reader trusts nothing: a demo
// file comes from the disk and may be cut short or altered, so every field
// is checked against what the writer can produce before it is handed on.

#include "framework/app/DemoEvents.h"

#include <limits>
#include <utility>

namespace Zing {

namespace {

using Platform::SettingsType;
using Platform::SettingsValue;

// Kind codes on the wire.
constexpr int kShortPointerStep = 0;
constexpr int kShortButton = 1;
constexpr int kLongPointerTo = 0;
constexpr int kLongActivate = 1;
constexpr int kLongMinimize = 2;
constexpr int kLongKeyDown = 3;
constexpr int kLongKeyUp = 4;
constexpr int kLongChar = 5;
constexpr int kLongClose = 6;
constexpr int kLongMouseEnter = 7;
constexpr int kLongMouseLeave = 8;
constexpr int kLongLoadingCompleted = 9;
constexpr int kLongSettingsRead = 11;
constexpr int kLongSettingsWrite = 12;
constexpr int kLongWheel = 21;
constexpr int kLongDisplayMode = 23;
constexpr int kLongPadding = 31;

constexpr int kTimingBits = 4;
constexpr int kShortCodeBits = 1;
constexpr int kLongCodeBits = 5;
constexpr int kStepBits = 6;
constexpr int kClickBits = 3;
constexpr int kPositionBits = 12;
constexpr int kSettingTypeBits = 8;
constexpr int kSettingLengthBits = 32;

// Setting types on the wire.
constexpr int kWireString = 0;
constexpr int kWireDword = 1;
constexpr int kWireOther = 2;

// Long kinds without a payload.
constexpr std::pair<int, DemoEventKind> kBareKinds[] = {
    {kLongClose, DemoEventKind::Close},
    {kLongMouseEnter, DemoEventKind::MouseEnter},
    {kLongMouseLeave, DemoEventKind::MouseLeave},
    {kLongLoadingCompleted, DemoEventKind::LoadingCompleted},
};

bool IsClickCode(int code) { return code == 1 || code == 2 || code == -1 || code == -2 || code == 3; }

// An update count no run reaches (over 200 days at 100 updates a second).
constexpr std::int64_t kMaxUpdate = std::numeric_limits<int>::max() / 2;

}  // namespace

// ---------------------------------------------------------------- writing

void DemoEventWriter::WriteTiming(int gap) { buffer.WriteNumBits(gap, kTimingBits); }

void DemoEventWriter::WriteKind(bool isShort, int code) {
  buffer.WriteNumBits(isShort ? 1 : 0, 1);
  buffer.WriteNumBits(code, isShort ? kShortCodeBits : kLongCodeBits);
}

void DemoEventWriter::WriteSetting(const DemoEvent& event) {
  buffer.WriteNumBits(event.flag ? 1 : 0, 1);
  if (!event.flag) return;
  const SettingsValue& value = event.setting;
  std::string bytes;
  int type = kWireOther;
  if (value.type == SettingsType::Dword) {
    type = kWireDword;
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>((value.number >> shift) & 0xFF));
  } else {
    type = value.type == SettingsType::String ? kWireString : kWireOther;
    bytes = value.text.substr(0, kDemoMaxSettingBytes);
  }
  buffer.WriteNumBits(type, kSettingTypeBits);
  buffer.WriteNumBits(static_cast<std::int32_t>(bytes.size()), kSettingLengthBits);
  for (char c : bytes) buffer.WriteNumBits(static_cast<unsigned char>(c), 8);
}

void DemoEventWriter::Write(const DemoEvent& event) {
  int gap = event.update > lastUpdate ? event.update - lastUpdate : 0;
  while (gap > kDemoMaxTimingGap) {
    WriteTiming(kDemoMaxTimingGap);
    WriteKind(false, kLongPadding);
    gap -= kDemoMaxTimingGap;
  }
  WriteTiming(gap);
  if (event.update > lastUpdate) lastUpdate = event.update;
  ++eventCount;

  switch (event.kind) {
    case DemoEventKind::PointerStep:
      WriteKind(true, kShortPointerStep);
      buffer.WriteNumBits(event.x, kStepBits);
      buffer.WriteNumBits(event.y, kStepBits);
      break;
    case DemoEventKind::Button:
      WriteKind(true, kShortButton);
      buffer.WriteNumBits(event.flag ? 1 : 0, 1);
      buffer.WriteNumBits(event.value, kClickBits);
      break;
    case DemoEventKind::PointerTo:
      WriteKind(false, kLongPointerTo);
      buffer.WriteNumBits(event.x, kPositionBits);
      buffer.WriteNumBits(event.y, kPositionBits);
      break;
    case DemoEventKind::Activate:
    case DemoEventKind::Minimize:
      WriteKind(false, event.kind == DemoEventKind::Activate ? kLongActivate : kLongMinimize);
      buffer.WriteNumBits(event.flag ? 1 : 0, 1);
      break;
    case DemoEventKind::KeyDown:
    case DemoEventKind::KeyUp:
      WriteKind(false, event.kind == DemoEventKind::KeyDown ? kLongKeyDown : kLongKeyUp);
      buffer.WriteNumBits(event.value, 8);
      break;
    case DemoEventKind::Char: {
      const bool wide = event.value > 0xFF;
      WriteKind(false, kLongChar);
      buffer.WriteNumBits(wide ? 1 : 0, 1);
      buffer.WriteNumBits(event.value, wide ? 16 : 8);
      break;
    }
    case DemoEventKind::Close:
    case DemoEventKind::MouseEnter:
    case DemoEventKind::MouseLeave:
    case DemoEventKind::LoadingCompleted:
      for (const auto& [code, kind] : kBareKinds) {
        if (kind == event.kind) WriteKind(false, code);
      }
      break;
    case DemoEventKind::SettingsRead:
      WriteKind(false, kLongSettingsRead);
      WriteSetting(event);
      break;
    case DemoEventKind::SettingsWrite:
      WriteKind(false, kLongSettingsWrite);
      buffer.WriteNumBits(event.flag ? 1 : 0, 1);
      break;
    case DemoEventKind::Wheel:
      WriteKind(false, kLongWheel);
      buffer.WriteNumBits(event.value, 8);
      break;
    case DemoEventKind::DisplayMode:
      WriteKind(false, kLongDisplayMode);
      buffer.WriteNumBits(event.flag ? 1 : 0, 1);
      buffer.WriteNumBits(event.value, 8);
      break;
  }
}

// ---------------------------------------------------------------- reading

DemoEventReader::DemoEventReader(Buffer events) : buffer(std::move(events)) { buffer.SeekFront(); }

bool DemoEventReader::Have(int bits) const {
  return static_cast<std::int64_t>(buffer.GetReadBitPos()) + bits <= buffer.GetDataBitSize();
}

bool DemoEventReader::Read(int bits, bool isSigned, int& value) {
  if (!Have(bits)) {
    // The last byte of a file is filled up with zero bits: fewer than a
    // byte's worth left at the start of an event is the end, not damage.
    if (buffer.GetDataBitSize() - eventStart < 8) {
      status = Status::End;
      return false;
    }
    return Fail("the event stream ends inside an event");
  }
  value = buffer.ReadNumBits(bits, isSigned);
  return true;
}

bool DemoEventReader::Fail(const std::string& why) {
  status = Status::Damaged;
  problem = why + " (at bit " + std::to_string(eventStart) + ")";
  return false;
}

bool DemoEventReader::Next(DemoEvent& event) {
  while (status == Status::Reading) {
    eventStart = buffer.GetReadBitPos();
    if (!Have(1)) {
      status = Status::End;
      return false;
    }
    int gap = 0;
    int isShort = 0;
    int code = 0;
    if (!Read(kTimingBits, false, gap) || !Read(1, false, isShort)) return false;
    if (!Read(isShort ? kShortCodeBits : kLongCodeBits, false, code)) return false;
    update += gap;
    if (update > kMaxUpdate) return Fail("the event stream runs past any possible length");
    if (!isShort && code == kLongPadding) continue;

    event = DemoEvent();
    event.update = static_cast<int>(update);
    return ReadPayload(event, isShort != 0, code);
  }
  return false;
}

bool DemoEventReader::ReadSetting(DemoEvent& event) {
  int flag = 0;
  if (!Read(1, false, flag)) return false;
  event.flag = flag != 0;
  if (event.kind == DemoEventKind::SettingsWrite || !event.flag) return true;
  int type = 0;
  int length = 0;
  if (!Read(kSettingTypeBits, false, type) || !Read(kSettingLengthBits, false, length)) return false;
  if (type > kWireOther) return Fail("unknown settings type " + std::to_string(type));
  if (length < 0 || static_cast<std::uint32_t>(length) > kDemoMaxSettingBytes) {
    return Fail("a settings value of impossible length");
  }
  if (type == kWireDword && length != 4) return Fail("a 32-bit setting that is not 4 bytes long");
  if (!Have(length * 8)) return Fail("the event stream ends inside a settings value");
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(length));
  for (int i = 0; i < length; ++i) bytes.push_back(static_cast<char>(buffer.ReadNumBits(8, false)));
  if (type == kWireDword) {
    std::uint32_t number = 0;
    for (int i = 0; i < 4; ++i) number |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    event.setting = SettingsValue::Dword(number);
  } else if (type == kWireString) {
    event.setting = SettingsValue::String(bytes);
  } else {
    event.setting.type = SettingsType::Other;
    event.setting.text = bytes;
  }
  return true;
}

bool DemoEventReader::ReadPayload(DemoEvent& event, bool isShort, int code) {
  int a = 0;
  int b = 0;
  if (isShort) {
    if (code == kShortPointerStep) {
      event.kind = DemoEventKind::PointerStep;
      if (!Read(kStepBits, true, event.x) || !Read(kStepBits, true, event.y)) return false;
      return true;
    }
    event.kind = DemoEventKind::Button;
    if (!Read(1, false, a) || !Read(kClickBits, true, event.value)) return false;
    event.flag = a != 0;
    if (!IsClickCode(event.value) || (!event.flag && (event.value == 2 || event.value == -2))) {
      return Fail("an impossible click code " + std::to_string(event.value));
    }
    return true;
  }
  for (const auto& [bare, kind] : kBareKinds) {
    if (code == bare) {
      event.kind = kind;
      return true;
    }
  }
  switch (code) {
    case kLongPointerTo:
      event.kind = DemoEventKind::PointerTo;
      return Read(kPositionBits, true, event.x) && Read(kPositionBits, true, event.y);
    case kLongActivate:
    case kLongMinimize:
      event.kind = code == kLongActivate ? DemoEventKind::Activate : DemoEventKind::Minimize;
      if (!Read(1, false, a)) return false;
      event.flag = a != 0;
      return true;
    case kLongKeyDown:
    case kLongKeyUp:
      event.kind = code == kLongKeyDown ? DemoEventKind::KeyDown : DemoEventKind::KeyUp;
      return Read(8, false, event.value);
    case kLongChar:
      event.kind = DemoEventKind::Char;
      if (!Read(1, false, a) || !Read(a != 0 ? 16 : 8, false, event.value)) return false;
      return true;
    case kLongSettingsRead:
    case kLongSettingsWrite:
      event.kind = code == kLongSettingsRead ? DemoEventKind::SettingsRead : DemoEventKind::SettingsWrite;
      return ReadSetting(event);
    case kLongWheel:
      event.kind = DemoEventKind::Wheel;
      return Read(8, true, event.value);
    case kLongDisplayMode:
      event.kind = DemoEventKind::DisplayMode;
      if (!Read(1, false, a) || !Read(8, false, b)) return false;
      event.flag = a != 0;
      event.value = b;
      return true;
    default:
      return Fail("unknown event kind " + std::to_string(code));
  }
}

}  // namespace Zing
