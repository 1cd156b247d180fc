// The running half of the application: the main loop with its fixed-length
// updates and bounded catch-up, drawing on demand, the window procedure with
// its queue of deferred messages, and the loading and cursor threads (or, on
// a platform without threads, the loading in slices between frames).

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <string>

#include "framework/app/ZingAppBase.h"
#include "framework/graphics/MemoryImage.h"

namespace Zing {

namespace {

using Platform::MessageCode;

constexpr double kMaxPendingTime = 200.0;
// Without a loading thread, every rest of the main loop loads for at least
// this long before the platform gets its turn (most of a 60 Hz frame).
constexpr int kMinLoadingSlice = 12;

[[gnu::format(printf, 1, 2)]] std::string Format(const char* format, ...) {
  char text[128];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

}  // namespace

// ---------------------------------------------------------------- threads

void ZingAppBase::StartCursorThread() {
  if (!services->RunsCursorThread() || cursorThread.joinable()) return;
  stopCursorThread = false;
  cursorThreadRunning = true;
  cursorThread = std::thread([this] {
    // Follows the pointer between frames; image cursors are drawn by the
    // desktop itself, so the position is only tracked here.
    while (!stopCursorThread) {
      int x = 0;
      int y = 0;
      bool inWindow;
      {
        // The pointer is read through the window and its renderer, which a
        // screen-mode switch on the main thread destroys and re-creates.
        std::lock_guard<std::recursive_mutex> lock(displayLock);
        inWindow = services->GetPointerInWindow(x, y);
      }
      if (inWindow) {
        cursorX = x;
        cursorY = y;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    cursorThreadRunning = false;
  });
}

void ZingAppBase::StopCursorThread() {
  stopCursorThread = true;
  if (cursorThread.joinable()) cursorThread.join();
}

// ---------------------------------------------------------------- the loop

void ZingAppBase::Run() {
  if (!shutdown) {
    StartCursorThread();
    if (autoStartLoadingThread) {
      loadingThreadStarted = true;
      throttleMainThread = true;
      if (services->RunsThreads()) {
        loadingThread = std::thread([this] {
          LoadingThreadProc();
          FinishLoading();
        });
      } else {
        loadingInSlices = true;
      }
    }
  }

  services->ShowMainWindow();
  // The screen saver and the display's power saving wait until loading is done.
  services->AllowScreenSaver(loaded);
  running = true;
  const std::uint32_t start = services->Now();
  lastTimeCheck = start;
  timeChecked = true;
  lastTimerTick = start;
  lastInputTick = start;

  MainLoop();

  updateAppDepth = 0;
  ProcessSafeDeleteList();
  running = false;
  if (loadingThread.joinable()) loadingThread.join();

  const double seconds = (services->Now() - start) / 1000.0;
  services->DebugOutput(Format("Seconds       = %g\r\n", seconds));
  services->DebugOutput(Format("Sleep Count   = %d\r\n", sleepCount));
  services->DebugOutput(Format("Update Count  = %d\r\n", updateCount));
  services->DebugOutput(Format("Draw Count    = %d\r\n", drawCount));
  services->DebugOutput(Format("Draw Time     = %d\r\n", drawTime));
  services->DebugOutput(Format("Screen Blt    = %d\r\n", presentTime));
  if (drawTime + presentTime > 0) {
    services->DebugOutput(Format("Avg FPS       = %d\r\n", drawCount * 1000 / (drawTime + presentTime)));
  }

  PreTerminate();
  WriteToRegistry();
}

void ZingAppBase::MainLoop() {
  while (!shutdown) {
    exitToTop = false;
    UpdateApp();
  }
}

bool ZingAppBase::UpdateApp() {
  for (;;) {
    bool updated = false;
    if (!UpdateAppStep(&updated)) return false;
    if (updated) return true;
  }
}

bool ZingAppBase::UpdateAppStep(bool* updated) {
  if (updated != nullptr) *updated = false;
  if (exitToTop) return false;
  if (updateAppState == 3) updateAppState = 0;
  ++updateAppDepth;

  if (updateAppState == 0) {
    PumpMessages();
    ReplayDemoEvents();
    if (!ProcessDeferredMessages()) updateAppState = 1;
  } else {
    const int before = updateCount;
    Process(true);
    if (updated != nullptr && updateCount != before) *updated = true;
  }

  --updateAppDepth;
  return true;
}

bool ZingAppBase::Process(bool allowSleep) {
  if (shutdownRequested) {
    shutdownRequested = false;
    Shutdown();
  }

  const bool vsyncPaced = IsVSyncPaced();
  const double period = vsyncUpdates ? (1000.0 / refreshRate) / updateMultiplier : frameTime / updateMultiplier;
  const double fraction = vsyncUpdates ? 1000.0 / (frameTime * refreshRate) : 1.0;

  if (playingDemo && (fastForwardToEnd || demoJumpTarget > updateCount)) return DemoFastForward(allowSleep);

  // While updates are suspended the loop still pumps messages (the key that
  // ends the pause must get through) but sleeps instead of spinning. A
  // paused playback may be stepped one update at a time.
  if (paused || updateMultiplier <= 0) {
    updateAppState = 3;
    if (stepOneUpdate) {
      stepOneUpdate = false;
      DoUpdateFrames();
      forceRedraw = true;
      DrawDirtyWidgets();
    }
    if (allowSleep) Rest(frameTime);
    timeChecked = false;
    return true;
  }

  const std::uint32_t now = services->Now();
  if (!vsyncPaced) AccountElapsedTime(now);

  int slept = 0;
  bool drawBranch = updateAppState != 1 && updateAppState != 2;
  if (updateAppState == 1) {
    ++nonDrawCount;
    bool due;
    if (nonDrawCount >= static_cast<int>(std::ceil(10 * updateMultiplier)) && loaded) {
      due = false;
    } else if (vsyncPaced) {
      due = !hasPendingDraw || static_cast<int>(period * 0.75) <= pendingTime;
    } else {
      due = period <= pendingTime;
    }
    if (!due) {
      drawBranch = true;
    } else {
      if (updateMultiplier == 1.0 && !playingDemo) {
        if (++vsyncCheckCount >= (frameTime + 999) / frameTime) {
          if (now - lastVSyncCheckTick <= 800) {
            if (++vsyncBrokenCount >= 3) vsyncBroken = true;
          } else {
            vsyncBrokenCount = 0;
          }
          lastVSyncCheckTick = now;
          vsyncCheckCount = 0;
        }
      }
      if (DoUpdateFrames()) {
        updateAppState = 2;
      } else if (playingDemo) {
        updateAppState = 3;  // held for loading: keep reading messages meanwhile
      }
      hasPendingDraw = true;
    }
  } else if (updateAppState == 2) {
    updateAppState = 3;
    updateFraction += fraction - 1.0;
    ProcessSafeDeleteList();
    while (updateFraction >= 1.0) {
      ++nonDrawCount;
      if (!DoUpdateFrames()) break;
      ProcessSafeDeleteList();
      updateFraction -= 1.0;
    }
    UpdateFramesSmooth(fraction);
    ProcessSafeDeleteList();
    pendingTime -= period;
    if (vsyncPaced) pendingTime = std::max(0.0, pendingTime - 0.2);
    if (holdTime > 0) pendingTime = 0;
  }

  if (drawBranch) {
    updateAppState = 3;
    nonDrawCount = 0;
    if (hasPendingDraw) {
      DrawDirtyWidgets();
    } else {
      const int wait = static_cast<int>(period - pendingTime);
      if (wait > 0) {
        if (!allowSleep) return false;
        ++sleepCount;
        Rest(wait);
        slept = wait;
      }
    }
  }

  // While resources load, the main thread sleeps twice as long as it worked.
  if (throttleMainThread) {
    const int worked = static_cast<int>(services->Now() - now) - slept;
    const int rest = std::min(250, 2 * worked - slept);
    if (rest >= 0) {
      if (!allowSleep) return false;
      Rest(rest);
    }
  }

  ProcessSafeDeleteList();
  return true;
}

// A rest of the loop: a sleep, or, while loading runs in slices on this
// thread, loading for that long (at least one slice) and then a sleep of
// nothing, which still gives the platform its turn. Loading beyond the rest
// asked for is not owed to updates, so that frames still come between the
// slices, as they do beside a loading thread.
void ZingAppBase::Rest(int milliseconds) {
  if (loadingInSlices) {
    const int spent = RunLoadingSlices(std::max(milliseconds, kMinLoadingSlice));
    if (spent > milliseconds) lastTimeCheck += static_cast<std::uint32_t>(spent - milliseconds);
    milliseconds = 0;
  }
  services->Sleep(milliseconds);
}

// Loads for at least `milliseconds`; answers how long it took.
int ZingAppBase::RunLoadingSlices(int milliseconds) {
  const std::uint32_t start = services->Now();
  do {
    if (!LoadingSlice()) {
      loadingInSlices = false;
      FinishLoading();
      break;
    }
  } while (static_cast<int>(services->Now() - start) < milliseconds);
  return static_cast<int>(services->Now() - start);
}

bool ZingAppBase::LoadingSlice() {
  LoadingThreadProc();
  return false;
}

void ZingAppBase::FinishLoading() {
  loadingTime = static_cast<int>(services->Now() - constructionTick);
  loadingThreadCompleted = true;
}

bool ZingAppBase::IsVSyncPaced() const {
  return !playingDemo && vsyncUpdates && !lastDrawWasEmpty && !vsyncBroken && (!physWindowed || waitForVSync);
}

// Wall time since the last check is owed to updates (at most 200 ms) and
// counts off the hold; the first check after a pause only records the time.
void ZingAppBase::AccountElapsedTime(std::uint32_t now) {
  if (timeChecked) {
    const double elapsed = static_cast<double>(now - lastTimeCheck);
    pendingTime = std::min(kMaxPendingTime, pendingTime + elapsed);
    holdTime = std::max(0, holdTime - static_cast<int>(elapsed));
  }
  lastTimeCheck = now;
  timeChecked = true;
}

bool ZingAppBase::DoUpdateFrames() {
  if (crashed) return false;
  if (playingDemo) {
    // Loading completes when the recording says so, and no update runs
    // before everything due at the current one has been played.
    ReplayDemoEvents();
    if (DemoHoldsUpdates() || shutdown) return false;
  } else if (loadingThreadCompleted && !loaded) {
    RecordDemoEvent(MakeDemoEvent(DemoEventKind::LoadingCompleted));
    CompleteLoading();
  }
  UpdateFrames();
  return true;
}

void ZingAppBase::CompleteLoading() {
  loaded = true;
  throttleMainThread = false;
  services->AllowScreenSaver(true);
  services->DebugOutput(Format("Resource Loading Time: %d\r\n", loadingTime.load()));
  LoadingThreadCompleted();
}

void ZingAppBase::UpdateFrames() {
  ++updateCount;
  if (!minimized) widgetManager->UpdateFrame();
  if (musicInterface) musicInterface->Update();
  CleanupSharedImages();
}

void ZingAppBase::UpdateFramesSmooth(double fraction) {
  if (vsyncUpdates && !minimized) widgetManager->UpdateFrameSmooth(static_cast<float>(fraction));
}

double ZingAppBase::GetLoadingThreadProgress() {
  if (loaded) return 1.0;
  const int total = loadingTotal;
  if (!loadingThreadStarted || total <= 0) return 0.0;
  return std::min(1.0, static_cast<double>(loadingDone) / total);
}

// ---------------------------------------------------------------- drawing

bool ZingAppBase::DrawDirtyWidgets() {
  if (displayLost) {
    Redraw();
    hasPendingDraw = false;
    lastDrawWasEmpty = true;
    return false;
  }

  const bool vsyncPaced = IsVSyncPaced();  // as the timing step saw it
  WatchScreenSaver(services->Now());
  const std::uint32_t start = services->Now();
  if (showFPS) UpdateStatistics(start);
  const bool drew = widgetManager->DrawScreen();  // locks the screen image itself
  const std::uint32_t now = services->Now();
  if (!(drew || now - lastDrawTick >= 1000 || forceRedraw) || static_cast<std::int32_t>(now - nextDrawTick) < 0) {
    hasPendingDraw = false;
    lastDrawWasEmpty = true;
    return false;
  }

  ++drawCount;
  lastDrawWasEmpty = false;
  const int widgetTime = static_cast<int>(now - start);
  drawTime += widgetTime;
  if (waitForVSync && physWindowed) {
    const int refresh = 1000 / std::max(1, refreshRate);
    const int since = static_cast<int>(services->Now() - lastDrawTick);
    if (since < refresh) services->Sleep(refresh - since);
  }
  const std::uint32_t presentStart = services->Now();
  lastDrawTick = presentStart;
  if (showFPS) DrawStatistics();
  Redraw();
  RestoreUnderStatistics();
  const std::uint32_t presentEnd = services->Now();
  presentTime += static_cast<int>(presentEnd - presentStart);
  if (!vsyncPaced) AccountElapsedTime(presentEnd);

  // While loading, frames are spaced out so that loading gets the processor.
  if (throttleMainThread) {
    nextDrawTick += static_cast<std::uint32_t>(std::max(widgetTime, 15) + 35);
  } else {
    nextDrawTick = presentEnd;
  }
  hasPendingDraw = false;
  forceRedraw = false;
  return true;
}

// A screen saver may paint over a window without telling it: once the user
// has been idle for nearly the screen saver's time-out, the next input after
// the screen saver has ended repaints everything.
void ZingAppBase::WatchScreenSaver(std::uint32_t now) {
  constexpr std::uint32_t kQueryInterval = 10000;
  constexpr int kThresholdMargin = 2000;
  constexpr int kMinThreshold = 1000;
  if (!physWindowed || isScreenSaver) return;
  if (!screenSaverQueried || now - lastScreenSaverQuery >= kQueryInterval) {
    screenSaverQueried = true;
    lastScreenSaverQuery = now;
    const int timeout = services->ScreenSaverTimeout();
    screenSaverEnabled = timeout > 0;
    screenSaverThreshold = std::max(kMinThreshold, timeout - kThresholdMargin);
    if (!screenSaverEnabled) screenSaverWatchMark = false;
  }
  std::uint32_t input = 0;
  if (services->GetLastInputTick(input)) lastInputTick = static_cast<std::int32_t>(input - now) > 0 ? now : input;
  if (!screenSaverEnabled) return;
  const auto idle = static_cast<std::int64_t>(now - lastInputTick);
  if (screenSaverWatchMark) {
    if (services->IsScreenSaverRunning()) return;
    if (idle < screenSaverThreshold) {
      screenSaverWatchMark = false;
      widgetManager->MarkAllDirty();
    }
  } else if (idle > screenSaverThreshold) {
    screenSaverWatchMark = true;
  }
}

void ZingAppBase::Redraw() {
  if (shutdown || crashed || !screenImage) return;
  bool presented;
  {
    std::lock_guard<std::recursive_mutex> lock(displayLock);
    presented = services->Present(screenImage->GetBits(), width, height);
  }
  if (presented) {
    displayLost = false;
    ++presentCount;
    return;
  }
  displayLost = true;
  if (accelerated) accelerationMisbehaved = true;
  const std::uint32_t now = services->Now();
  if (minimized) return;
  if (active || (physWindowed && now - lastRecoveryTick >= 1000)) RecoverDisplay();
}

void ZingAppBase::RecoverDisplay() {
  lastRecoveryTick = services->Now();
  const Platform::ScreenRect desktop = services->GetDesktopSize();
  if (desktop.w > 0 && (desktop.w <= width || desktop.h <= height) && windowed) {
    if (fullscreenFailed) {
      Popup(GetString("PLEASE_SET_COLOR_DEPTH", "Please set your desktop color depth to 16 bit."));
      Shutdown();
      return;
    }
    SwitchScreenMode(false);
    return;
  }
  InitDisplay();
}

// ---------------------------------------------------------------- window messages

void ZingAppBase::PumpMessages() {
  Platform::WindowMessage message;
  while (!shutdown && services->PollMessage(message)) WindowProc(message);
  // The loop makes its own timer message every frameTime.
  const std::uint32_t now = services->Now();
  if (running && now - lastTimerTick >= static_cast<std::uint32_t>(frameTime)) {
    lastTimerTick = now;
    Platform::WindowMessage timer;
    timer.code = MessageCode::Timer;
    WindowProc(timer);
  }
}

void ZingAppBase::WindowProc(const Platform::WindowMessage& message) {
  // A playback hears only the close request and the playback keys.
  if (playingDemo && message.code != MessageCode::Paint && message.code != MessageCode::Notify &&
      message.code != MessageCode::Close && message.code != MessageCode::Char) {
    return;
  }
  switch (message.code) {
    case MessageCode::Paint:
      if (initialized) Redraw();
      return;
    case MessageCode::Notify:
      HandleNotifyMessage();
      return;
    case MessageCode::MouseLeave:
      return;  // the timer's pointer check notices it
    case MessageCode::ActivateApp:
      active = message.param != 0;
      break;
    case MessageCode::KeyDown:
    case MessageCode::KeyUp: {
      const bool down = message.code == MessageCode::KeyDown;
      if (message.param == KEYCODE_CONTROL) ctrlDown = down;
      if (message.param == KEYCODE_MENU) altDown = down;
      if (down && DebugKeyDownAsync(message.param, ctrlDown, altDown)) return;
      if (down && message.altDown && message.param == KEYCODE_F4) {
        Platform::WindowMessage close;
        close.code = MessageCode::Close;
        WindowProc(close);
        return;
      }
      break;
    }
    case MessageCode::Char:
      if (altDown && HandlesAltKey(message.param)) return;
      break;
    default:
      break;
  }

  // Queue rules: one timer message at a time, nothing after a close, a colour
  // or display change only once.
  if (!deferredMessages.empty() && deferredMessages.back().code == MessageCode::Close) return;
  if (message.code == MessageCode::Timer && !deferredMessages.empty() &&
      deferredMessages.back().code == MessageCode::Timer) {
    return;
  }
  if (message.code == MessageCode::SysColorChange || message.code == MessageCode::DisplayChange) {
    for (const auto& queued : deferredMessages) {
      if (queued.code == message.code) return;
    }
  }
  deferredMessages.push_back(message);
}

bool ZingAppBase::ProcessDeferredMessages() {
  if (deferredMessages.empty()) return false;
  const Platform::WindowMessage message = deferredMessages.front();
  deferredMessages.pop_front();
  if (playingDemo) {
    ProcessDeferredMessageInPlayback(message);
  } else if (demoWriter) {
    RecordAndProcess(message);
  } else {
    ProcessDeferredMessage(message);
  }
  return !deferredMessages.empty();
}

void ZingAppBase::ProcessKeyDown(const Platform::WindowMessage& message) {
  const int key = message.param;
  if (key == KEYCODE_RETURN && (message.altDown || altDown)) {
    if (!forceFullscreen && !fullscreenFailed) SwitchScreenMode(!windowed);
    return;
  }
  if (key == 'D' && widgetManager->IsKeyDown(KEYCODE_CONTROL) && widgetManager->IsKeyDown(KEYCODE_MENU)) {
    debugKeysEnabled = !debugKeysEnabled;
  }
  if (debugKeysEnabled && DebugKeyDown(key)) return;
  if (CommandKeyDown(key)) return;
  widgetManager->KeyDown(key);
}

void ZingAppBase::ProcessMouseMessage(const Platform::WindowMessage& message) {
  if (crashed) return;
  const int x = message.x;
  const int y = message.y;
  if (message.code == MessageCode::MouseWheel) {
    widgetManager->MouseWheel(message.param / 120);
    return;
  }
  widgetManager->MouseMove(x, y);
  if (!mouseIn) {
    mouseIn = true;
    EnforceCursor();
  }

  int downCode = 0;
  int upCode = 0;
  int bit = 0;
  switch (message.code) {
    case MessageCode::LButtonDown:
      downCode = 1;
      bit = 1;
      break;
    case MessageCode::LButtonDblClk:
      downCode = 2;
      bit = 1;
      break;
    case MessageCode::RButtonDown:
      downCode = -1;
      bit = 2;
      break;
    case MessageCode::RButtonDblClk:
      downCode = -2;
      bit = 2;
      break;
    case MessageCode::MButtonDown:
      downCode = 3;
      bit = 4;
      break;
    case MessageCode::LButtonUp:
      upCode = 1;
      bit = 1;
      break;
    case MessageCode::RButtonUp:
      upCode = -1;
      bit = 2;
      break;
    case MessageCode::MButtonUp:
      upCode = 3;
      bit = 4;
      break;
    default:
      return;
  }
  if (downCode != 0) {
    heldButtons |= bit;
    services->CaptureMouse(true);
    widgetManager->MouseDown(x, y, downCode);
  } else {
    heldButtons &= ~bit;
    widgetManager->MouseUp(x, y, upCode);
    if (heldButtons == 0) services->CaptureMouse(false);
  }
}

void ZingAppBase::CheckPointerInWindow() {
  if (playingDemo) return;  // the demo says where the pointer is
  int x = 0;
  int y = 0;
  const bool inside = services->GetPointerInWindow(x, y) && x >= 0 && y >= 0 && x < width && y < height;
  if (inside == mouseIn) return;
  RecordDemoEvent(MakeDemoEvent(inside ? DemoEventKind::MouseEnter : DemoEventKind::MouseLeave));
  SetMouseIn(inside);
}

void ZingAppBase::SetMouseIn(bool inside) {
  if (inside == mouseIn) return;
  mouseIn = inside;
  if (!inside) widgetManager->MouseExit();
  EnforceCursor();
}

void ZingAppBase::ProcessDeferredMessage(const Platform::WindowMessage& message) {
  switch (message.code) {
    case MessageCode::KeyDown:
      ProcessKeyDown(message);
      break;
    case MessageCode::KeyUp:
      widgetManager->KeyUp(message.param);
      break;
    case MessageCode::Char:
      widgetManager->KeyChar(static_cast<char>(message.param));
      break;
    case MessageCode::Move:
      if (windowed && services->IsMainWindowNormal()) {
        preferredX = message.x;
        preferredY = message.y;
      }
      break;
    case MessageCode::Size:
      if (message.param == Platform::SizeMinimized) {
        if (!minimized && muteOnLostFocus) Mute(true);
        minimized = true;
      } else if (minimized) {
        minimized = false;
        if (muteOnLostFocus) Unmute(true);
        widgetManager->MarkAllDirty();
      }
      RehupFocus();
      if (message.param == Platform::SizeMaximized && windowed) SwitchScreenMode(false);
      break;
    case MessageCode::SysColorChange:
    case MessageCode::DisplayChange:
      widgetManager->SystemColorsChangedAll();
      widgetManager->MarkAllDirty();
      break;
    case MessageCode::ActivateApp:
      RehupFocus();
      if (!windowed && active) widgetManager->MarkAllDirty();
      break;
    case MessageCode::Timer:
      if (running) CheckPointerInWindow();
      break;
    case MessageCode::Close:
      closeRequested = true;
      Shutdown();
      break;
    default:
      if (Platform::IsPointerMessage(message.code) || message.code == MessageCode::MouseWheel)
        ProcessMouseMessage(message);
      break;
  }
}

}  // namespace Zing
