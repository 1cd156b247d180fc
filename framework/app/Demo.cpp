// Demo recording and playback. A recording writes every input that reaches
// the application from outside (the deferred window messages that matter,
// the pointer entering and leaving, the moment loading finished, every
// settings access and the display state at start) with the update at which it
// arrived; a playback feeds the same events into the same handlers at the
// same updates, with the same random seed, so that the run repeats exactly.
// Live input is ignored while a demo plays, except the close request and the
// playback keys.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>

#include "framework/app/ZingAppBase.h"

namespace Zing {

namespace {

using Platform::MessageCode;
using Platform::WindowMessage;

// How often the screen is shown while fast-forwarding.
constexpr std::uint32_t kFastForwardDrawMs = 1000;
constexpr int kMaxRecordedRefreshRate = 255;
constexpr int kJumpSeconds[] = {120, 90, 60, 30, 10, 5};  // keys "4" to "9"

struct ButtonCode {
  MessageCode code;
  bool down;
  int click;
};

constexpr ButtonCode kButtons[] = {
    {MessageCode::LButtonDown, true, 1},    {MessageCode::LButtonDblClk, true, 2}, {MessageCode::RButtonDown, true, -1},
    {MessageCode::RButtonDblClk, true, -2}, {MessageCode::MButtonDown, true, 3},   {MessageCode::LButtonUp, false, 1},
    {MessageCode::RButtonUp, false, -1},    {MessageCode::MButtonUp, false, 3},
};

const ButtonCode* FindButton(MessageCode code) {
  for (const ButtonCode& button : kButtons) {
    if (button.code == code) return &button;
  }
  return nullptr;
}

const ButtonCode* FindButton(bool down, int click) {
  for (const ButtonCode& button : kButtons) {
    if (button.down == down && button.click == click) return &button;
  }
  return nullptr;
}

// "h:m:s", "m:s" or "s" in updates of `frameTime` ms; -1 when unreadable.
int ParseDemoTime(const std::string& text, int frameTime) {
  long long seconds = 0;
  long long part = 0;
  bool digits = false;
  for (char c : text) {
    if (c == ':') {
      seconds = seconds * 60 + part;
      part = 0;
    } else if (std::isdigit(static_cast<unsigned char>(c)) && part < 1000000) {
      part = part * 10 + (c - '0');
      digits = true;
    } else {
      return -1;
    }
  }
  seconds = seconds * 60 + part;
  if (!digits || seconds > 100000000LL) return -1;
  // A far time in short updates lies past any recording: it is held at the
  // largest count rather than wrapped around to a wrong or negative one.
  const long long updates = seconds * 1000 / std::max(1, frameTime);
  return static_cast<int>(std::min<long long>(updates, std::numeric_limits<int>::max()));
}

}  // namespace

// ---------------------------------------------------------------- start and end

void ZingAppBase::StartDemo() {
  if (playingDemo) {
    DemoFileContents contents;
    const std::string error = LoadDemoFile(demoFileName, productVersion, contents);
    if (!error.empty()) {
      Popup(error);
      Exit(0);
      return;
    }
    randomSeed = contents.seed;
    SeedRandom(randomSeed);
    demoLength = contents.demoLength;
    demoMarkers = contents.markers;
    demoReader = std::make_unique<DemoEventReader>(std::move(contents.events));
    ReadAheadDemoEvent();
    showFPS = true;  // the time line tells where the playback stands
    settings.SetAccessHook(&demoSettingsHook);
  } else if (recordingDemo) {
    demoWriter = std::make_unique<DemoEventWriter>();
    settings.SetAccessHook(&demoSettingsHook);
  }
}

void ZingAppBase::WriteDemoFile() {
  if (!demoWriter) return;
  DemoFileContents contents;
  contents.seed = randomSeed;
  contents.versionText = productVersion;
  contents.markers = demoMarkers;
  contents.demoLength = updateCount;
  contents.events = demoWriter->GetBuffer();
  const Buffer file = FormatDemoFile(contents);
  if (!WriteBufferToFile(demoFileName, file)) services->DebugOutput("Could not write the demo file " + demoFileName);
  demoWriter.reset();
}

void ZingAppBase::AddDemoMarker(const std::string& name) {
  if (recordingDemo) demoMarkers.push_back(DemoMarker{name, updateCount});
}

// The recording's last event has been played (or the rest of the file is
// damaged): the run it recorded is over, and so is this one.
void ZingAppBase::CheckDemoEnd() {
  if (!playingDemo || demoNextEvent || shutdown) return;
  const bool damaged = demoReader && demoReader->GetStatus() == DemoEventReader::Status::Damaged;
  if (!damaged && updateCount < demoLength) return;
  if (damaged) {
    MsgBox("The demo file is damaged: " + demoReader->GetProblem() + ". Playback stops at " +
               FormatDemoTime(updateCount, frameTime) + ".",
           "Demo", Platform::MessageBoxOk);
  }
  services->DebugOutput("Demo playback finished\r\n");
  closeRequested = true;
  Shutdown();
}

// ---------------------------------------------------------------- recording

void ZingAppBase::RecordDemoEvent(DemoEvent event) {
  if (!demoWriter || !IsMainThread()) return;
  event.update = updateCount;
  demoWriter->Write(event);
  ++demoEventCount;
}

void ZingAppBase::RecordDemoPointer(int x, int y) {
  DemoEvent event;
  const int dx = x - demoPointerX;
  const int dy = y - demoPointerY;
  const bool small = std::abs(dx) <= kDemoStepLimit && std::abs(dy) <= kDemoStepLimit;
  event.kind = small ? DemoEventKind::PointerStep : DemoEventKind::PointerTo;
  event.x = small ? dx : x;
  event.y = small ? dy : y;
  RecordDemoEvent(event);
  demoPointerX = x;
  demoPointerY = y;
}

void ZingAppBase::RecordAndProcessPointer(WindowMessage m) {
  m.x = std::clamp(m.x, kDemoPositionMin, kDemoPositionMax);
  m.y = std::clamp(m.y, kDemoPositionMin, kDemoPositionMax);
  const bool moved = m.x != demoPointerX || m.y != demoPointerY;
  if (moved) RecordDemoPointer(m.x, m.y);
  const ButtonCode* button = FindButton(m.code);
  if (button == nullptr) {  // a plain move
    if (moved) ProcessDeferredMessage(m);
    return;
  }
  if (moved) {
    // A playback moves the pointer first, then presses: so does this run.
    WindowMessage move = m;
    move.code = MessageCode::MouseMove;
    ProcessDeferredMessage(move);
  }
  RecordDemoEvent(MakeDemoEvent(DemoEventKind::Button, button->down, button->click));
  ProcessDeferredMessage(m);
}

void ZingAppBase::RecordAndProcess(const WindowMessage& message) {
  if (message.code == MessageCode::MouseMove || FindButton(message.code) != nullptr) {
    RecordAndProcessPointer(message);
    return;
  }
  WindowMessage m = message;
  switch (m.code) {
    case MessageCode::KeyDown:
    case MessageCode::KeyUp:
      m.param &= 0xFF;
      RecordDemoEvent(MakeDemoEvent(m.code == MessageCode::KeyDown ? DemoEventKind::KeyDown : DemoEventKind::KeyUp,
                                    false, m.param));
      break;
    case MessageCode::Char:
      RecordDemoEvent(MakeDemoEvent(DemoEventKind::Char, false, m.param & 0xFF));
      break;
    case MessageCode::Size:
      RecordDemoEvent(MakeDemoEvent(DemoEventKind::Minimize, m.param == Platform::SizeMinimized));
      break;
    case MessageCode::ActivateApp:
      RecordDemoEvent(MakeDemoEvent(DemoEventKind::Activate, m.param != 0));
      break;
    case MessageCode::Close:
      RecordDemoEvent(MakeDemoEvent(DemoEventKind::Close));
      break;
    case MessageCode::MouseWheel: {
      const int notches = std::clamp(m.param / 120, -128, 127);
      m.param = notches * 120;
      RecordDemoEvent(MakeDemoEvent(DemoEventKind::Wheel, false, notches));
      break;
    }
    default:
      break;
  }
  ProcessDeferredMessage(m);
}

// ---------------------------------------------------------------- playback

void ZingAppBase::ReadAheadDemoEvent() {
  DemoEvent event;
  if (demoReader && demoReader->Next(event)) {
    demoNextEvent = event;
    nextDemoEventUpdate = event.update;
  } else {
    demoNextEvent.reset();
    nextDemoEventUpdate = -1;
  }
}

void ZingAppBase::ProcessDeferredMessageInPlayback(const WindowMessage& message) {
  if (message.code == MessageCode::Close) {
    closeRequested = true;
    Shutdown();
  } else if (message.code == MessageCode::Char) {
    HandleDemoPlaybackKey(static_cast<char>(message.param));
  }
}

bool ZingAppBase::TakeDemoEvent(DemoEventKind kind, DemoEvent& event) {
  while (demoNextEvent && demoNextEvent->IsSettingsAccess() && demoNextEvent->update < updateCount) {
    services->DebugOutput("Demo: skipping a settings access this playback did not make\r\n");
    ReadAheadDemoEvent();
  }
  if (!demoNextEvent || demoNextEvent->kind != kind || demoNextEvent->update > updateCount) return false;
  event = *demoNextEvent;
  ++demoEventCount;
  ReadAheadDemoEvent();
  return true;
}

bool ZingAppBase::DemoHoldsUpdates() const {
  return playingDemo && demoNextEvent && demoNextEvent->update <= updateCount && !demoNextEvent->IsSettingsAccess();
}

void ZingAppBase::ReplayDemoEvents() {
  if (!playingDemo) return;
  while (demoNextEvent && demoNextEvent->update <= updateCount && !shutdown) {
    if (demoNextEvent->IsSettingsAccess()) {
      // A settings access of this update is still to come; an older one was
      // never made by this playback and is dropped.
      if (demoNextEvent->update == updateCount) return;
      ReadAheadDemoEvent();
      continue;
    }
    if (demoNextEvent->kind == DemoEventKind::LoadingCompleted) {
      if (!loadingThreadCompleted) return;  // updates wait until loading is as far as it was
      ReadAheadDemoEvent();
      ++demoEventCount;
      CompleteLoading();
      continue;
    }
    const DemoEvent event = *demoNextEvent;
    ReadAheadDemoEvent();
    ++demoEventCount;
    ApplyDemoEvent(event);
  }
  CheckDemoEnd();
}

void ZingAppBase::ApplyDemoEvent(const DemoEvent& event) {
  WindowMessage m;
  switch (event.kind) {
    case DemoEventKind::PointerStep:
    case DemoEventKind::PointerTo:
      demoPointerX = event.kind == DemoEventKind::PointerTo ? event.x : demoPointerX + event.x;
      demoPointerY = event.kind == DemoEventKind::PointerTo ? event.y : demoPointerY + event.y;
      m.code = MessageCode::MouseMove;
      break;
    case DemoEventKind::Button:
      m.code = FindButton(event.flag, event.value)->code;  // the reader admits only valid codes
      break;
    case DemoEventKind::Wheel:
      m.code = MessageCode::MouseWheel;
      m.param = event.value * 120;
      break;
    case DemoEventKind::KeyDown:
    case DemoEventKind::KeyUp: {
      const bool down = event.kind == DemoEventKind::KeyDown;
      if (event.value == KEYCODE_CONTROL) ctrlDown = down;
      if (event.value == KEYCODE_MENU) altDown = down;
      m.code = down ? MessageCode::KeyDown : MessageCode::KeyUp;
      m.param = event.value;
      m.altDown = altDown;
      break;
    }
    case DemoEventKind::Char:
      if (event.value < 1 || event.value > 0xFF) return;  // not a character of ours
      m.code = MessageCode::Char;
      m.param = event.value;
      break;
    case DemoEventKind::Activate:
      active = event.flag;
      m.code = MessageCode::ActivateApp;
      m.param = event.flag ? 1 : 0;
      break;
    case DemoEventKind::Minimize:
      m.code = MessageCode::Size;
      m.param = event.flag ? Platform::SizeMinimized : Platform::SizeRestored;
      break;
    case DemoEventKind::Close:
      m.code = MessageCode::Close;
      break;
    case DemoEventKind::MouseEnter:
    case DemoEventKind::MouseLeave:
      SetMouseIn(event.kind == DemoEventKind::MouseEnter);
      return;
    default:
      return;  // the display mode belongs to the start; settings are answered where they are made
  }
  m.x = demoPointerX;
  m.y = demoPointerY;
  ProcessDeferredMessage(m);
}

bool ZingAppBase::DemoActivationAtDisplayStart(bool live) {
  if (playingDemo) {
    DemoEvent event;
    return TakeDemoEvent(DemoEventKind::Activate, event) ? event.flag : live;
  }
  RecordDemoEvent(MakeDemoEvent(DemoEventKind::Activate, live));
  return live;
}

void ZingAppBase::ExchangeDemoDisplayMode() {
  if (recordingDemo) {
    RecordDemoEvent(
        MakeDemoEvent(DemoEventKind::DisplayMode, windowed, std::clamp(refreshRate, 0, kMaxRecordedRefreshRate)));
    return;
  }
  DemoEvent event;
  if (!playingDemo || !TakeDemoEvent(DemoEventKind::DisplayMode, event)) return;
  windowed = event.flag;
  if (event.value > 0) refreshRate = event.value;
}

// ---------------------------------------------------------------- settings answered from the demo

std::optional<bool> DemoSettingsHook::AnswerWrite(const std::string&) {
  if (!app->playingDemo) return std::nullopt;
  DemoEvent event;
  if (app->IsMainThread() && app->TakeDemoEvent(DemoEventKind::SettingsWrite, event)) return event.flag;
  return true;  // a playback never changes the stored settings
}

std::optional<bool> DemoSettingsHook::AnswerRead(const std::string&, SettingsValue& value) {
  if (!app->playingDemo) return std::nullopt;
  DemoEvent event;
  if (!app->IsMainThread() || !app->TakeDemoEvent(DemoEventKind::SettingsRead, event)) return false;
  if (event.flag) value = event.setting;
  return event.flag;
}

void DemoSettingsHook::WriteDone(const std::string&, bool ok) {
  app->RecordDemoEvent(MakeDemoEvent(DemoEventKind::SettingsWrite, ok));
}

void DemoSettingsHook::ReadDone(const std::string&, bool ok, const SettingsValue& value) {
  DemoEvent event = MakeDemoEvent(DemoEventKind::SettingsRead, ok);
  if (ok) event.setting = value;
  app->RecordDemoEvent(event);
}

// ---------------------------------------------------------------- playback keys and fast-forward

void ZingAppBase::HandleDemoPlaybackKey(char key) {
  if (!playingDemo) return;
  if (demoTimeEntryOpen) {
    HandleDemoTimeEntry(key);
    return;
  }
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
  if (upper >= '4' && upper <= '9') {
    JumpDemoTo(demoLength - kJumpSeconds[upper - '4'] * 1000 / std::max(1, frameTime));
    return;
  }
  switch (upper) {
    case '+':
      updateMultiplier *= 1.5;
      break;
    case '-':
      updateMultiplier /= 1.5;
      break;
    case '=':
      updateMultiplier = 1.0;
      break;
    case '0':
      JumpDemoTo(demoLength);
      break;
    case 'M':
      fastForwardToEnd = true;
      break;
    case 'N':
      // A single step only means something in a pause; outside one it must
      // not stay pending for the next pause to take unasked.
      if (paused) stepOneUpdate = true;
      break;
    case 'P':
      paused = !paused;
      timeChecked = false;  // the pause owes no time
      break;
    case 'J':
      demoTimeEntryOpen = true;
      demoTimeEntry.clear();
      break;
    case 'L':
      ShowDemoMarkers();
      break;
    case 'S':
      ToggleDemoSound();
      break;
    default:
      break;
  }
}

// The "Jump To Time" box: digits and colons, Back to correct, Enter to jump,
// Escape to close it.
void ZingAppBase::HandleDemoTimeEntry(char key) {
  if (key == KEYCODE_RETURN) {
    demoTimeEntryOpen = false;
    const int target = ParseDemoTime(demoTimeEntry, frameTime);
    if (target >= 0) JumpDemoTo(target);
  } else if (key == KEYCODE_ESCAPE) {
    demoTimeEntryOpen = false;
  } else if (key == KEYCODE_BACK) {
    if (!demoTimeEntry.empty()) demoTimeEntry.pop_back();
  } else if ((std::isdigit(static_cast<unsigned char>(key)) || key == ':') && demoTimeEntry.size() < 12) {
    demoTimeEntry += key;
  }
}

// A playback cannot go back; a target behind the current update is ignored.
void ZingAppBase::JumpDemoTo(int update) {
  if (update > updateCount) demoJumpTarget = update;
}

void ZingAppBase::ShowDemoMarkers() {
  std::string text;
  for (const DemoMarker& marker : demoMarkers)
    text += FormatDemoTime(marker.update, frameTime) + "  " + marker.name + "\n";
  if (text.empty()) text = "This demo has no markers.";
  MsgBox(text, "Marker List", Platform::MessageBoxOk);
}

void ZingAppBase::ToggleDemoSound() {
  if (GetMusicVolume() == 0 && GetSfxVolume() == 0) {
    RestoreDemoVolumes();
    return;
  }
  demoSavedMusicVolume = GetMusicVolume();
  demoSavedSfxVolume = GetSfxVolume();
  demoVolumesSaved = true;
  SetMusicVolume(0);
  SetSfxVolume(0);
}

void ZingAppBase::RestoreDemoVolumes() {
  if (!demoVolumesSaved) return;
  demoVolumesSaved = false;
  SetMusicVolume(demoSavedMusicVolume);
  SetSfxVolume(demoSavedSfxVolume);
}

// Runs updates back to back towards the jump target: one update per loop
// step, without pacing, so that messages are still read and a nested wait
// (a dialog answered by the demo) ends exactly where it ended in the
// recording. The screen is shown once a second.
bool ZingAppBase::DemoFastForward(bool allowSleep) {
  if (!demoFastForwarding) {
    demoFastForwarding = true;
    Mute(true);
    demoLastFastDraw = services->Now();
  }
  const bool updated = DoUpdateFrames();
  ProcessSafeDeleteList();
  updateAppState = 3;
  if (!fastForwardToEnd && demoJumpTarget <= updateCount) {
    FinishDemoFastForward();
  } else if (services->Now() - demoLastFastDraw >= kFastForwardDrawMs) {
    forceRedraw = true;
    DrawDirtyWidgets();
    demoLastFastDraw = services->Now();
  } else if (!updated && allowSleep) {
    Rest(1);  // loading (on its thread or in slices here) has to catch up with the recording
  }
  return true;
}

void ZingAppBase::FinishDemoFastForward() {
  demoFastForwarding = false;
  demoJumpTarget = 0;
  if (soundManager) soundManager->StopAllSounds();
  Unmute(true);
  timeChecked = false;
  pendingTime = 0;
  widgetManager->MarkAllDirty();
  forceRedraw = true;
}

}  // namespace Zing
