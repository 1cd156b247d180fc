// The application object and its main loop, run on the window-less platform
// with a simulated clock: pacing, catch-up, drawing on demand, loading,
// deferred messages, start-up outcomes and shutdown.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "framework/widget/Widget.h"
#include "tests/support/NullApp.h"

namespace {

using Zing::Platform::DisplayResult;
using Zing::Platform::MessageCode;
using Zing::Platform::NullServices;

// Records what reaches it; `onUpdate` stands for the work of an update.
class ProbeWidget : public Zing::Widget {
 public:
  std::vector<std::string> events;
  int updates = 0;
  int draws = 0;
  std::string* trace = nullptr;  // 'u' for an update, 'd' for a draw
  std::function<void()> onUpdate;
  bool* deleted = nullptr;
  ProbeWidget() = default;
  ProbeWidget(const ProbeWidget&) = delete;
  ProbeWidget& operator=(const ProbeWidget&) = delete;
  ~ProbeWidget() override {
    if (deleted != nullptr) *deleted = true;
  }
  using Widget::MouseDown;
  using Widget::MouseUp;
  void Update() override {
    Widget::Update();
    ++updates;
    if (trace != nullptr) *trace += 'u';
    if (onUpdate) onUpdate();
  }
  void Draw(Zing::Graphics*) override {
    ++draws;
    if (trace != nullptr) *trace += 'd';
  }
  void MouseDown(int px, int py, int clickCount) override {
    events.push_back("down " + std::to_string(clickCount) + " " + std::to_string(px) + "," + std::to_string(py));
    Widget::MouseDown(px, py, clickCount);
  }
  void MouseUp(int px, int py, int clickCount) override {
    events.push_back("up " + std::to_string(clickCount));
    Widget::MouseUp(px, py, clickCount);
  }
  void MouseWheel(int delta) override { events.push_back("wheel " + std::to_string(delta)); }
  void KeyChar(char c) override { events.push_back("char " + std::to_string(static_cast<unsigned char>(c))); }
  void KeyDown(int key) override { events.push_back("key " + std::to_string(key)); }
};

class TestApp : public ZingTest::NullApp<> {
 public:
  explicit TestApp(NullServices* nullServices) : NullApp(nullServices) { registryKey = "ZingTest\\App"; }
  int loadingCompletedCalls = 0;
  int loadingSteps = 0;
  std::atomic<bool>* holdLoading = nullptr;  // the loading thread waits while it is set
  std::vector<std::string> debugKeys;        // "key ctrl alt" of every key offered to the debug hook

  void LoadingThreadCompleted() override { ++loadingCompletedCalls; }
  bool DebugKeyDownAsync(int key, bool ctrl, bool alt) override {
    debugKeys.push_back(std::to_string(key) + " " + std::to_string(ctrl) + " " + std::to_string(alt));
    return false;
  }
  void LoadingThreadProc() override {
    loadingTotal = 10;
    for (int i = 0; i < loadingSteps; ++i) {
      ++loadingDone;
      while (i == 0 && holdLoading != nullptr && *holdLoading) std::this_thread::yield();
    }
  }
  using ZingAppBase::ProcessSafeDeleteList;
  using ZingAppBase::RecoverDisplay;
};

// The longest run of updates without a draw between them.
int LongestRunWithoutDraw(const std::string& trace) {
  int longest = 0;
  int run = 0;
  for (char c : trace) {
    run = c == 'u' ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  return longest;
}

struct AppFixture : ZingTest::NullAppFixture<TestApp> {
  void SetUp() override { MakeApp(); }

  // Finishes the step cycle, stalls for `ms`, and counts the updates that
  // follow until the loop first sleeps.
  int UpdatesAfterStall(std::uint32_t ms) {
    bool updated = false;
    while (app->updateAppState == 2) app->UpdateAppStep(&updated);
    services->Advance(ms);
    const int sleeps = app->sleepCount;
    const int updates = app->updateCount;
    while (app->sleepCount == sleeps) app->UpdateAppStep(&updated);
    return app->updateCount - updates;
  }

  // A widget that marks itself dirty in every update and traces its updates and draws.
  void AddTracer(ProbeWidget& tracer, std::string& trace) {
    tracer.Resize(0, 0, 10, 10);
    tracer.trace = &trace;
    tracer.onUpdate = [&tracer] { tracer.MarkDirty(); };
    app->GetWidgetManager()->AddWidget(&tracer);
  }
};

TEST_F(AppFixture, HundredUpdatesPerSecondAndBoundedCatchUp) {
  Start();
  const int before = app->updateCount;
  RunFor(5000);
  EXPECT_NEAR(app->updateCount - before, 500, 2);

  // A five-second stall is caught up by 200 ms of updates only.
  EXPECT_EQ(UpdatesAfterStall(5000), 20);

  // Nothing is dirty, yet a frame is presented at least once a second.
  const int presents = services->presents;
  RunFor(3100);
  EXPECT_GE(services->presents - presents, 3);
  EXPECT_LE(services->presents - presents, 5);
}

TEST_F(AppFixture, DirtyWidgetsAreDrawnAndUpdatedEveryTick) {
  Start();
  ProbeWidget probe;
  probe.Resize(10, 10, 50, 50);
  app->GetWidgetManager()->AddWidget(&probe);
  RunFor(1000);
  EXPECT_NEAR(probe.updates, 100, 2);
  const int presents = services->presents;
  probe.MarkDirty();
  RunFor(20);
  EXPECT_GT(services->presents, presents);
  app->GetWidgetManager()->RemoveWidget(&probe);
}

TEST_F(AppFixture, LoadingThreadProgressAndCompletion) {
  app->autoStartLoadingThread = true;
  app->loadingSteps = 14;  // more than the announced total
  app->Init();
  EXPECT_EQ(app->GetLoadingThreadProgress(), 0.0);
  app->loadingThreadStarted = true;
  app->LoadingThreadProc();
  EXPECT_LE(app->GetLoadingThreadProgress(), 1.0);
  app->loadingThreadCompleted = true;
  app->running = true;
  RunFor(100);
  EXPECT_EQ(app->loadingCompletedCalls, 1);
  EXPECT_EQ(app->GetLoadingThreadProgress(), 1.0);
}

TEST_F(AppFixture, RunWithLoadingThreadEndsCleanly) {
  app->autoStartLoadingThread = true;
  app->loadingSteps = 10;
  std::atomic<bool> hold{true};
  app->holdLoading = &hold;
  app->Init();
  // Shuts the application down after two simulated seconds.
  struct Closer : Zing::Widget {
    TestApp* app;
    NullServices* services;
    std::uint32_t start;
    bool screenSaverAllowedWhileLoading = false;
    bool throttledWhileLoading = false;
    double progressWhileLoading = 0;
    std::atomic<bool>* hold = nullptr;
    void Update() override {
      Widget::Update();
      if (*hold) {  // the loading thread stands after its first step
        while (app->loadingDone == 0) std::this_thread::yield();
        throttledWhileLoading = app->throttleMainThread;
        progressWhileLoading = app->GetLoadingThreadProgress();
        *hold = false;
      }
      if (!app->loaded && services->screenSaverAllowed) screenSaverAllowedWhileLoading = true;
      if (app->loaded && services->clock - start >= 2000) app->Shutdown();
    }
  } stopper;
  stopper.app = app.get();
  stopper.services = services;
  stopper.start = services->clock;
  stopper.hold = &hold;
  app->GetWidgetManager()->AddWidget(&stopper);
  app->Run();
  EXPECT_TRUE(app->shutdown);
  EXPECT_EQ(app->loadingCompletedCalls, 1);
  EXPECT_FALSE(stopper.screenSaverAllowedWhileLoading);
  EXPECT_TRUE(stopper.throttledWhileLoading);
  EXPECT_DOUBLE_EQ(stopper.progressWhileLoading, 0.1);
  EXPECT_TRUE(services->screenSaverAllowed);
  EXPECT_GE(app->updateCount, 199);
  EXPECT_FALSE(app->running);
  app->GetWidgetManager()->RemoveWidget(&stopper);
  // The statistics went to the debug output.
  const auto& lines = services->debugLines;
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Update Count  = " + std::to_string(app->updateCount) + "\r\n"),
            lines.end());
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& line) { return line.rfind("Resource Loading Time: ", 0) == 0; }),
            1);
}

TEST_F(AppFixture, ShutdownEndsNestedStepsAndOnlyOnce) {
  Start();
  bool updated = true;
  EXPECT_TRUE(app->UpdateAppStep(&updated));
  std::thread worker([&] { app->Shutdown(); });
  worker.join();
  EXPECT_TRUE(app->shutdownRequested);
  EXPECT_FALSE(app->shutdown);  // only the main thread carries it out
  RunFor(20);
  EXPECT_TRUE(app->shutdown);
  EXPECT_FALSE(app->UpdateAppStep(&updated));
  EXPECT_FALSE(updated);
  app->Shutdown();  // a second call does nothing
  EXPECT_TRUE(app->exits.empty());
}

TEST_F(AppFixture, DeferredMessageQueueRules) {
  Start();
  Zing::Platform::WindowMessage timer;
  timer.code = MessageCode::Timer;
  app->WindowProc(timer);
  app->WindowProc(timer);
  EXPECT_EQ(app->deferredMessages.size(), 1u);
  Zing::Platform::WindowMessage move;
  move.code = MessageCode::MouseMove;
  app->WindowProc(move);
  app->WindowProc(timer);
  EXPECT_EQ(app->deferredMessages.size(), 3u);
  Zing::Platform::WindowMessage change;
  change.code = MessageCode::DisplayChange;
  app->WindowProc(change);
  app->WindowProc(change);
  EXPECT_EQ(app->deferredMessages.size(), 4u);
  Zing::Platform::WindowMessage close;
  close.code = MessageCode::Close;
  app->WindowProc(close);
  app->WindowProc(move);
  app->WindowProc(timer);
  EXPECT_EQ(app->deferredMessages.size(), 5u);
  EXPECT_EQ(app->deferredMessages.back().code, MessageCode::Close);
}

TEST_F(AppFixture, MouseAndKeyboardReachTheWidgets) {
  Start();
  ProbeWidget probe;
  probe.Resize(100, 100, 200, 200);
  probe.wantsFocus = true;
  app->GetWidgetManager()->AddWidget(&probe);
  Send(MessageCode::LButtonDown, 0, 110, 120);
  Send(MessageCode::LButtonUp, 0, 110, 120);
  Send(MessageCode::LButtonDblClk, 0, 110, 120);
  Send(MessageCode::LButtonUp, 0, 110, 120);
  Send(MessageCode::RButtonDown, 0, 110, 120);
  Send(MessageCode::RButtonUp, 0, 110, 120);
  Send(MessageCode::RButtonDblClk, 0, 110, 120);
  Send(MessageCode::RButtonUp, 0, 110, 120);
  Send(MessageCode::MButtonDown, 0, 110, 120);
  EXPECT_TRUE(services->capture);
  Send(MessageCode::MButtonUp, 0, 110, 120);
  EXPECT_FALSE(services->capture);
  Send(MessageCode::MouseWheel, 240);
  Send(MessageCode::MouseWheel, -120);
  Send(MessageCode::KeyDown, 'A');
  Send(MessageCode::Char, 0xE9);
  // Alt with the letter r, as typed or shifted, is the application's.
  Send(MessageCode::KeyDown, Zing::KEYCODE_MENU);
  Send(MessageCode::Char, 'r');
  Send(MessageCode::Char, 'R');
  Send(MessageCode::Char, 's');
  Send(MessageCode::KeyUp, Zing::KEYCODE_MENU);
  Send(MessageCode::Char, 'r');
  Send(MessageCode::KeyDown, Zing::KEYCODE_CONTROL);
  Send(MessageCode::KeyDown, 'B');
  Send(MessageCode::KeyUp, Zing::KEYCODE_CONTROL);
  Send(MessageCode::KeyDown, 'C');
  EXPECT_EQ(app->debugKeys, (std::vector<std::string>{"65 0 0", "18 0 1", "17 1 0", "66 1 0", "67 0 0"}));
  const std::vector<std::string> expected = {
      "down 1 10,20", "up 1",         "down 2 10,20", "up 1",    "down -1 10,20", "up -1",  "down -2 10,20",
      "up -1",        "down 3 10,20", "up 3",         "wheel 2", "wheel -1",      "key 65", "char 233",
      "key 18",       "char 115",     "char 114",     "key 17",  "key 66",        "key 67"};
  EXPECT_EQ(probe.events, expected);
  app->GetWidgetManager()->RemoveWidget(&probe);
}

TEST_F(AppFixture, AltEnterSwitchesScreenModeUnlessWindowedIsImpossible) {
  app->windowed = true;
  Start();
  const int windows = services->windowsCreated;
  Send(MessageCode::KeyDown, Zing::KEYCODE_RETURN, 0, 0, true);
  EXPECT_FALSE(app->windowed);
  EXPECT_FALSE(services->lastWindow.windowed);
  EXPECT_EQ(services->windowsCreated, windows + 1);
  Send(MessageCode::KeyDown, Zing::KEYCODE_RETURN, 0, 0, true);
  EXPECT_TRUE(app->windowed);

  app->fullscreenFailed = true;
  Send(MessageCode::KeyDown, Zing::KEYCODE_RETURN, 0, 0, true);
  EXPECT_TRUE(app->windowed);
  EXPECT_EQ(services->windowsCreated, windows + 2);
}

TEST_F(AppFixture, MinimizingMutesUntilRestoredAndATooSmallDesktopRecoversInFullScreen) {
  app->windowed = true;
  Start();
  Send(MessageCode::Size, Zing::Platform::SizeMinimized);
  Send(MessageCode::Size, Zing::Platform::SizeMinimized);
  EXPECT_TRUE(app->minimized);
  EXPECT_GT(app->muteCount, 0);
  app->WriteToRegistry();
  int muted = -1;
  EXPECT_TRUE(app->RegistryReadInteger("Muted", muted));
  EXPECT_EQ(muted, 0);  // not the player's own mute
  Send(MessageCode::Size, 0);
  EXPECT_FALSE(app->minimized);
  EXPECT_EQ(app->muteCount, 0);

  services->desktop = {0, 0, 641, 481};  // a window fits
  app->RecoverDisplay();
  EXPECT_TRUE(app->windowed);
  services->desktop = {0, 0, 640, 1000};  // only as wide as the game: no room for a window
  app->RecoverDisplay();
  EXPECT_FALSE(app->windowed);
  app->windowed = true;
  services->desktop = {0, 0, 1000, 480};  // only as high
  app->RecoverDisplay();
  EXPECT_FALSE(app->windowed);
}

TEST_F(AppFixture, SecondInstanceNotifiesTheFirstAndExitsWithZero) {
  services->instanceTaken = true;
  app->Init();
  EXPECT_EQ(services->notificationsSent, 1);
  EXPECT_EQ(app->exits, std::vector<int>{0});
  EXPECT_FALSE(services->windowExists);
}

TEST_F(AppFixture, DisplayFailuresFallBackOrEndTheProgram) {
  // Acceleration that fails is switched off and the display retried.
  services->accelerationWorks = true;
  app->autoEnable3D = true;
  services->displayResults = {DisplayResult::HardwareAccelerationFailed};
  app->Init();
  EXPECT_EQ(services->displayInits, (std::vector<bool>{true, false}));
  EXPECT_FALSE(app->accelerated);
  EXPECT_TRUE(app->exits.empty());

  // Full screen unavailable: the game goes on in a window.
  app->windowed = false;
  services->displayResults = {DisplayResult::FullScreenUnavailable};
  app->SwitchScreenMode();
  EXPECT_TRUE(app->fullscreenFailed);
  EXPECT_TRUE(app->windowed);

  // A colour depth a window cannot show, with full screen already failed: fatal.
  services->displayResults = {DisplayResult::ColorDepthUnsupported};
  app->SwitchScreenMode();
  EXPECT_EQ(app->exits, std::vector<int>{1});
  ASSERT_FALSE(services->messageBoxes.empty());
  EXPECT_EQ(services->messageBoxes.back(), "FATAL ERROR: Please set your desktop color depth to 16 bit.");
}

TEST_F(AppFixture, PlainDisplayFailureShowsTheError) {
  services->displayResults = {DisplayResult::Failed};
  app->Init();
  EXPECT_EQ(app->exits, std::vector<int>{1});
  EXPECT_EQ(services->messageBoxes.back(), "FATAL ERROR: Failed to initialize DirectDraw: display test failure");
}

TEST_F(AppFixture, StoredWindowPositionAndScaleKeepTheWindowOnTheDesktop) {
  app->windowed = true;
  app->preferredX = -500;
  app->preferredY = 5000;
  app->Init();
  // A 1920 x 1040 work area holds the picture twice over, frame included.
  EXPECT_EQ(services->lastWindow.scale, 2);
  EXPECT_EQ(services->lastWindow.width, 640);
  EXPECT_EQ(services->lastWindow.x, 4);
  EXPECT_EQ(services->lastWindow.y, 1040 - 960 - 4);

  // A fixed scale from the settings file, read for the next window.
  ASSERT_TRUE(app->RegistryWriteInteger("WindowScale", 1));
  app->SwitchScreenMode();
  EXPECT_EQ(services->lastWindow.scale, 1);
  EXPECT_EQ(services->lastWindow.y, 1040 - 480 - 4);
  // More than fits is cut to what fits; nonsense is automatic.
  ASSERT_TRUE(app->RegistryWriteInteger("WindowScale", 4));
  app->SwitchScreenMode();
  EXPECT_EQ(services->lastWindow.scale, 2);
  ASSERT_TRUE(app->RegistryWriteInteger("WindowScale", -7));
  services->workArea = {0, 0, 2560, 1600};
  app->SwitchScreenMode();
  EXPECT_EQ(services->lastWindow.scale, 3);
}

TEST_F(AppFixture, SettingsRoundTripAndMutePersistence) {
  app->Init();
  EXPECT_TRUE(app->readFromRegistry);
  int inProgress = -1;
  EXPECT_TRUE(app->RegistryReadInteger("InProgress", inProgress));
  EXPECT_EQ(inProgress, 1);

  app->SetMusicVolume(0.857);
  app->Mute(true);  // lost focus: not remembered
  app->WriteToRegistry();
  int music = 0;
  int muted = -1;
  EXPECT_TRUE(app->RegistryReadInteger("MusicVolume", music));
  EXPECT_TRUE(app->RegistryReadInteger("Muted", muted));
  EXPECT_EQ(music, 85);
  EXPECT_EQ(muted, 0);
  EXPECT_TRUE(app->RegistryReadInteger("InProgress", inProgress));
  EXPECT_EQ(inProgress, 0);
  EXPECT_EQ(app->appliedMusicVolume, 0.0);

  app->Mute(false);  // the player's own mute is remembered
  app->WriteToRegistry();
  EXPECT_TRUE(app->RegistryReadInteger("Muted", muted));
  EXPECT_EQ(muted, 1);

  app->Unmute(false);
  app->Unmute(true);
  app->Unmute(true);  // at 0 nothing changes but the volumes are re-applied
  EXPECT_EQ(app->muteCount, 0);
  EXPECT_DOUBLE_EQ(app->appliedMusicVolume, 0.857);

  app->RegistryWriteInteger("ScreenMode", 0);
  app->RegistryWriteInteger("MusicVolume", 85);
  auto second = std::make_unique<TestApp>(new NullServices);
  second->windowed = false;
  second->ReadFromRegistry();
  EXPECT_TRUE(second->windowed);
  EXPECT_DOUBLE_EQ(second->musicVolume, 0.85);
}

TEST_F(AppFixture, SafeDeletionWaitsForNestedLoopsToUnwind) {
  Start();
  bool deleted = false;
  auto* widget = new ProbeWidget;
  widget->deleted = &deleted;
  app->updateAppDepth = 2;
  app->SafeDeleteWidget(widget);
  app->SafeDeleteWidget(widget);  // queued once
  app->updateAppDepth = 3;
  app->ProcessSafeDeleteList();  // deeper than where it was queued: kept
  EXPECT_FALSE(deleted);
  app->updateAppDepth = 2;
  app->ProcessSafeDeleteList();  // back at its own depth: deleted
  EXPECT_TRUE(deleted);
  app->updateAppDepth = 0;
  app->ProcessSafeDeleteList();  // sanitizers catch a second delete

  // Queued by a handler inside a dialog's nested loop, the widget outlives
  // that loop's steps and goes once the outer step has unwound.
  deleted = false;
  auto* nested = new ProbeWidget;
  nested->deleted = &deleted;
  ProbeWidget outer;
  outer.Resize(0, 0, 10, 10);
  int depthSeen = 0;
  outer.onUpdate = [&] {
    if (outer.updates != 1) return;
    bool updated = false;
    app->SafeDeleteWidget(nested);
    depthSeen = app->updateAppDepth;
    for (int i = 0; i < 50; ++i) app->UpdateAppStep(&updated);  // the nested loop
    EXPECT_FALSE(deleted);
  };
  app->GetWidgetManager()->AddWidget(&outer);
  RunFor(50);
  EXPECT_EQ(depthSeen, 1);
  EXPECT_TRUE(deleted);
  app->GetWidgetManager()->RemoveWidget(&outer);
}

TEST_F(AppFixture, AtMostTenUpdatesPerDrawDecisionOnceLoaded) {
  Start();
  ProbeWidget tracer;
  std::string trace;
  AddTracer(tracer, trace);
  RunFor(100);
  // While loading, owed time is caught up in one go.
  trace.clear();
  UpdatesAfterStall(200);
  EXPECT_EQ(LongestRunWithoutDraw(trace), 20);
  // Once loaded, the tenth step without a draw decision draws; at double
  // speed the twentieth.
  app->loaded = true;
  trace.clear();
  UpdatesAfterStall(200);
  EXPECT_EQ(LongestRunWithoutDraw(trace), 9);
  app->updateMultiplier = 2.0;
  trace.clear();
  UpdatesAfterStall(200);
  EXPECT_EQ(LongestRunWithoutDraw(trace), 19);
  app->GetWidgetManager()->RemoveWidget(&tracer);
}

TEST_F(AppFixture, ThreeFastUpdateWindowsInARowMeanBrokenVSync) {
  // Display-paced at 125 Hz in a window without waiting: 100 updates take
  // exactly 800 ms, which counts as too fast for a display refresh.
  app->vsyncUpdates = true;
  app->refreshRate = 125;
  app->vsyncBrokenCount = 2;  // a slow window starts the count again
  Start();
  std::vector<int> brokenCounts;
  while (!app->vsyncBroken && app->updateCount < 1000) {
    app->UpdateApp();
    if (app->vsyncCheckCount == 0) brokenCounts.push_back(app->vsyncBrokenCount);
  }
  EXPECT_TRUE(app->vsyncBroken);
  EXPECT_EQ(app->updateCount, 400);  // the first window counts from the start of the run
  brokenCounts.erase(std::unique(brokenCounts.begin(), brokenCounts.end()), brokenCounts.end());
  EXPECT_EQ(brokenCounts, (std::vector<int>{0, 1, 2, 3}));

  // At the display's own pace (100 Hz: 1000 ms per window) nothing is broken,
  // and at another speed nothing is checked.
  auto steady = std::make_unique<TestApp>(new NullServices);
  steady->vsyncUpdates = true;
  steady->Init();
  steady->running = true;
  while (steady->updateCount < 1000) steady->UpdateApp();
  EXPECT_FALSE(steady->vsyncBroken);
  EXPECT_EQ(steady->vsyncBrokenCount, 0);
  app->vsyncBroken = false;
  app->vsyncCheckCount = 0;
  app->updateMultiplier = 2.0;
  RunFor(100);
  EXPECT_EQ(app->vsyncCheckCount, 0);
}

TEST_F(AppFixture, WhileLoadingTheMainThreadRestsTwiceWhatItWorked) {
  Start();
  app->throttleMainThread = true;
  ProbeWidget worker;
  worker.Resize(0, 0, 10, 10);
  int work = 0;
  worker.onUpdate = [&] {
    services->Advance(static_cast<std::uint32_t>(work));
    worker.MarkDirty();
  };
  app->GetWidgetManager()->AddWidget(&worker);

  // One update that works 60 ms rests 120; one of 200 ms rests at most 250.
  bool updated = false;
  for (const auto& [worked, rest] : {std::pair{60, 120}, std::pair{200, 250}}) {
    while (app->updateAppState != 1) app->UpdateAppStep(&updated);
    work = worked;
    app->pendingTime = 10;
    app->lastTimeCheck = services->clock;
    const std::uint32_t slept = services->totalSlept;
    EXPECT_TRUE(app->Process(true));
    EXPECT_EQ(services->totalSlept - slept, static_cast<std::uint32_t>(rest)) << worked;
    EXPECT_EQ(app->updateAppState, 2);
  }

  // Frames while loading come no more often than every 50 ms, however dirty
  // (once the allowed times have caught up with the clock).
  work = 0;
  RunFor(1000);
  int presents = services->presents;
  RunFor(1000);
  EXPECT_NEAR(services->presents - presents, 20, 1);
  // Loading done: the throttle ends and every update may draw.
  app->loadingThreadCompleted = true;
  RunFor(20);
  presents = services->presents;
  RunFor(1000);
  EXPECT_NEAR(services->presents - presents, 100, 2);
  EXPECT_FALSE(app->throttleMainThread);
  app->GetWidgetManager()->RemoveWidget(&worker);
}

TEST_F(AppFixture, PausedOrStoppedTheLoopStillPumpsWithoutSpinning) {
  Start();
  ProbeWidget probe;
  probe.Resize(0, 0, 50, 50);
  probe.wantsFocus = true;
  app->GetWidgetManager()->AddWidget(&probe);
  app->GetWidgetManager()->SetFocus(&probe);
  RunFor(100);
  const int updates = app->updateCount;
  for (double multiplier : {1.0, 0.0}) {
    app->paused = multiplier != 0.0;
    app->updateMultiplier = multiplier;
    services->Inject(MessageCode::KeyDown, 'P');
    const std::uint32_t start = services->clock;
    bool updated = false;
    for (int i = 0; i < 100; ++i) app->UpdateAppStep(&updated);
    EXPECT_EQ(app->updateCount, updates);
    EXPECT_GE(services->clock - start, 400u);  // it slept rather than spun
    EXPECT_EQ(probe.events, std::vector<std::string>{"key 80"});
    probe.events.clear();
  }
  // The time spent stopped is not owed afterwards.
  app->paused = false;
  app->updateMultiplier = 1.0;
  RunFor(100);
  EXPECT_NEAR(app->updateCount - updates, 10, 1);
  // The speed factor scales the update rate.
  for (const auto& [multiplier, perSecond] : {std::pair{2.0, 200}, std::pair{0.5, 50}}) {
    app->updateMultiplier = multiplier;
    const int before = app->updateCount;
    RunFor(1000);
    EXPECT_NEAR(app->updateCount - before, perSecond, 2) << multiplier;
  }
  app->GetWidgetManager()->RemoveWidget(&probe);
}

TEST_F(AppFixture, HoldTimeDiscardsOwedTimeAndRunsOutWithPresentsToo) {
  Start();
  ProbeWidget tracer;
  std::string trace;
  AddTracer(tracer, trace);
  RunFor(100);
  // While held, a stall is not caught up.
  app->holdTime = 1000;
  EXPECT_EQ(UpdatesAfterStall(300), 1);
  EXPECT_EQ(app->holdTime, 700);
  // Presents that take 5 ms of every 10 use up the hold like any other time.
  services->presentMs = 5;
  const std::uint32_t start = services->clock;
  for (int i = 0; i < 1000 && app->holdTime > 0; ++i) app->UpdateApp();
  EXPECT_NEAR(services->clock - start, 700, 10);
  EXPECT_EQ(UpdatesAfterStall(300), 20);
  app->GetWidgetManager()->RemoveWidget(&tracer);
}

TEST_F(AppFixture, PresentTimeIsOwedOnlyWhenNotPacedByTheDisplay) {
  Start();
  for (bool paced : {true, false}) {
    app->vsyncUpdates = paced;
    app->waitForVSync = true;
    app->lastDrawWasEmpty = false;
    app->forceRedraw = true;
    app->pendingTime = 0;
    app->holdTime = 100;
    app->lastDrawTick = services->clock - 20;
    app->lastTimeCheck = services->clock - 50;
    EXPECT_TRUE(app->DrawDirtyWidgets());
    EXPECT_EQ(app->pendingTime, paced ? 0.0 : 50.0);
    EXPECT_EQ(app->holdTime, paced ? 100 : 50);
  }
}

TEST_F(AppFixture, ScreenSaverIsBlockedUntilLoadedAndTheWindowRepaintedAfterIt) {
  Start();
  ProbeWidget probe;
  probe.Resize(0, 0, 10, 10);
  app->GetWidgetManager()->AddWidget(&probe);
  services->screenSaverTimeout = 5000;  // the watch starts 3 s before it
  services->lastInput = services->clock;
  RunFor(2000);
  const int draws = probe.draws;
  RunFor(4000);
  EXPECT_TRUE(app->screenSaverWatchMark);
  // Input while the screen saver still runs changes nothing; after it, the
  // whole window is drawn again.
  services->screenSaverRunning = true;
  services->lastInput = services->clock;
  RunFor(500);
  EXPECT_EQ(probe.draws, draws);
  services->screenSaverRunning = false;
  RunFor(100);
  EXPECT_EQ(probe.draws, draws + 1);
  EXPECT_FALSE(app->screenSaverWatchMark);
  // No screen saver on the desktop: no watch.
  services->screenSaverTimeout = 0;
  RunFor(20000);
  EXPECT_FALSE(app->screenSaverWatchMark);
  app->GetWidgetManager()->RemoveWidget(&probe);
}

TEST_F(AppFixture, CommandLineAndStrings) {
  app->ParseCommandLine("-changedir=\"/tmp/a folder\" -screensaver");
  EXPECT_EQ(app->changeDirTarget, "/tmp/a folder");
  EXPECT_TRUE(app->isScreenSaver);
  EXPECT_TRUE(app->exits.empty());
  app->isScreenSaver = false;
  app->ParseCommandLine("-bogus=1");
  EXPECT_EQ(app->exits, std::vector<int>{0});
  EXPECT_EQ(services->messageBoxes.back(), "FATAL ERROR: Invalid command line parameter: -bogus");

  EXPECT_EQ(app->GetString("DIALOG_BUTTON_OK", "x"), "OK");
  EXPECT_EQ(app->GetString("MISSING", "fallback"), "fallback");
  app->SetString("FATAL_ERROR", "OOPS");
  app->Popup("text");
  EXPECT_EQ(services->messageBoxes.back(), "OOPS: text");
}

TEST_F(AppFixture, RandomGeneratorIsTheStandardOne) {
  app->SeedRandom(5489);
  EXPECT_EQ(app->Rand(), 3499211612u);  // the first output of MT19937 with its default seed
  app->SeedRandom(0);
  const std::uint32_t fromZero = app->Rand();
  app->SeedRandom(4357);
  EXPECT_EQ(app->Rand(), fromZero);
}

}  // namespace
