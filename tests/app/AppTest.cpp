// The application object and its main loop, run on the window-less platform
// with a simulated clock: pacing, catch-up, drawing on demand, loading,
// deferred messages, start-up outcomes and shutdown; and dialogs in the
// running application: answers by simulated mouse input, the nested wait, the
// dialog table, modality, dragging, preferred height, deletion from inside a
// handler, and image cursors.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "framework/graphics/MemoryImage.h"
#include "framework/widget/Dialog.h"
#include "framework/widget/Widget.h"
#include "tests/support/NullApp.h"
#include "tests/widget/ProbeWidget.h"

namespace {

using Zing::Dialog;
using Zing::Platform::DisplayResult;
using Zing::Platform::MessageCode;
using Zing::Platform::NullServices;

using WidgetTest::ProbeWidget;
using Strings = std::vector<std::string>;

// Notes its own deletion, for the deferred deletes.
struct Doomed : Zing::Widget {
  explicit Doomed(bool* flag) : deleted(flag) {}
  ~Doomed() override { *deleted = true; }
  bool* deleted;
};

class TestApp : public ZingTest::NullApp<> {
 public:
  explicit TestApp(NullServices* nullServices) : NullApp(nullServices) { registryKey = "ZingTest\\App"; }
  int loadingCompletedCalls = 0;
  int loadingSteps = 0;
  std::atomic<bool>* holdLoading = nullptr;  // the loading thread waits while it is set
  std::vector<std::string> debugKeys;        // "key ctrl alt" of every key offered to the debug hook

  Strings heard;  // the dialogs' buttons
  bool killOnAnswer = false;
  int modalOpens = 0;
  int modalCloses = 0;

  void LoadingThreadCompleted() override { ++loadingCompletedCalls; }
  bool DebugKeyDownAsync(int key, bool ctrl, bool alt) override {
    debugKeys.push_back(std::to_string(key) + " " + std::to_string(ctrl) + " " + std::to_string(alt));
    return false;
  }
  // Without threads: each slice is one step of loading that takes 5 ms, and
  // notes how many frames were presented before it.
  std::vector<int> presentsBeforeSlice;
  bool LoadingSlice() override {
    loadingTotal = 40;
    auto* null = static_cast<NullServices*>(services.get());
    presentsBeforeSlice.push_back(null->presents);
    null->Advance(5);
    return ++loadingDone < loadingTotal;
  }
  void LoadingThreadProc() override {
    loadingTotal = 10;
    for (int i = 0; i < loadingSteps; ++i) {
      ++loadingDone;
      while (i == 0 && holdLoading != nullptr && *holdLoading) std::this_thread::yield();
    }
  }
  using ButtonListener::ButtonPress;
  void ButtonPress(int id) override { heard.push_back("press " + std::to_string(id)); }
  void ButtonDepress(int id) override {
    heard.push_back("depress " + std::to_string(id));
    // The game closes a dialog from inside its answer.
    if (killOnAnswer) KillDialog(id % 1000);
  }
  void ModalOpen() override { ++modalOpens; }
  void ModalClose() override { ++modalCloses; }
  using ZingAppBase::ProcessSafeDeleteList;
  using ZingAppBase::RecoverDisplay;
};

// The longest run of updates without a draw between them.
int LongestRunWithoutDraw(const std::vector<std::string>& lines) {
  int longest = 0;
  int run = 0;
  for (const std::string& line : lines) {
    run = line.ends_with(":update") ? run + 1 : 0;
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

  // A probe on the screen of the application; it goes before the application.
  ProbeWidget* Probe(int px = 0, int py = 0, int w = 10, int h = 10) {
    probe = std::make_unique<ProbeWidget>("p", &log, px, py, w, h);
    app->GetWidgetManager()->AddWidget(probe.get());
    return probe.get();
  }
  // A probe that marks itself dirty in every update.
  ProbeWidget* Tracer() {
    Probe()->onUpdate = [this] { probe->MarkDirty(); };
    return probe.get();
  }
  std::size_t Count(const std::string& event) const { return log.With("p:" + event).size(); }
  int Stored(const char* name) {
    int value = -1;
    app->RegistryReadInteger(name, value);
    return value;
  }

  WidgetTest::EventLog log;
  std::unique_ptr<ProbeWidget> probe;
};

TEST_F(AppFixture, HundredUpdatesPerSecondBoundedCatchUpAndDrawingOnDemand) {
  Start();
  Probe(10, 10, 50, 50);
  RunFor(5000);
  EXPECT_NEAR(Count("update"), 500, 2);
  // A five-second stall is caught up by 200 ms of updates only.
  EXPECT_EQ(UpdatesAfterStall(5000), 20);

  // Nothing is dirty, yet a frame is presented at least once a second.
  int presents = services->presents;
  RunFor(3100);
  EXPECT_NEAR(services->presents - presents, 4, 1);
  // Exactly a second apart.
  std::uint32_t at[2] = {};
  for (std::uint32_t& time : at) {
    for (presents = services->presents; services->presents == presents;) app->UpdateApp();
    time = services->clock;
  }
  EXPECT_EQ(at[1] - at[0], 1000u);
  presents = services->presents;
  probe->MarkDirty();
  RunFor(20);
  EXPECT_GT(services->presents, presents);
}

TEST_F(AppFixture, RunWithLoadingThreadEndsCleanly) {
  app->autoStartLoadingThread = true;
  app->loadingSteps = 14;  // more than the announced total
  std::atomic<bool> hold{true};
  app->holdLoading = &hold;
  app->Init();
  EXPECT_EQ(app->GetLoadingThreadProgress(), 0.0);
  bool screenSaverAllowedWhileLoading = false;
  bool throttledWhileLoading = false;
  double progressWhileLoading = 0;
  const std::uint32_t start = services->clock;
  // Looks at the loading once it stands after its first step, and shuts the
  // application down two simulated seconds after it has loaded.
  Probe()->onUpdate = [&] {
    if (hold) {
      while (app->loadingDone == 0) std::this_thread::yield();
      throttledWhileLoading = app->throttleMainThread;
      progressWhileLoading = app->GetLoadingThreadProgress();
      hold = false;
    }
    if (!app->loaded && services->screenSaverAllowed) screenSaverAllowedWhileLoading = true;
    if (app->loaded && services->clock - start >= 2000) app->Shutdown();
  };
  app->Run();
  EXPECT_EQ(std::tuple(app->shutdown.load(), app->running, app->loadingCompletedCalls), std::tuple(true, false, 1));
  // The screen saver waits for the loading, which throttles the main thread.
  EXPECT_EQ(std::tuple(screenSaverAllowedWhileLoading, throttledWhileLoading, services->screenSaverAllowed),
            std::tuple(false, true, true));
  EXPECT_DOUBLE_EQ(progressWhileLoading, 0.1);
  EXPECT_GE(app->updateCount, 199);
  // The statistics went to the debug output.
  const auto& lines = services->debugLines;
  EXPECT_EQ(std::ranges::count(lines, "Update Count  = " + std::to_string(app->updateCount) + "\r\n"), 1);
  EXPECT_EQ(std::ranges::count_if(lines, [](const std::string& l) { return l.starts_with("Resource Loading Time: "); }),
            1);
  app->loaded = false;  // the steps beyond the total never show as more than all
  EXPECT_EQ(app->GetLoadingThreadProgress(), 1.0);
}

// A platform without threads (the browser) loads in slices on the main loop:
// frames keep coming while it loads (the splash's bar fills), and the end of
// loading is taken up as with the thread.
TEST_F(AppFixture, WithoutThreadsLoadingRunsInSlicesBetweenFrames) {
  services->threads = false;
  app->autoStartLoadingThread = true;
  app->Init();
  Tracer();
  const std::uint32_t start = services->clock;
  std::vector<double> progress;
  probe->onUpdate = [&] {
    probe->MarkDirty();
    if (!app->loaded) progress.push_back(app->GetLoadingThreadProgress());
    if (app->loaded && services->clock - start >= 1000) app->Shutdown();
  };
  app->Run();
  EXPECT_EQ(std::tuple(app->loadingCompletedCalls, app->loadingDone.load(), app->loadingThreadCompleted.load()),
            std::tuple(1, 40, true));
  const auto& before = app->presentsBeforeSlice;
  ASSERT_EQ(before.size(), 40u);
  // 200 ms of loading: a frame at least every 100 ms, never one per slice.
  int frames = 0;
  for (std::size_t i = 1; i < before.size(); ++i) frames += before[i] != before[i - 1];
  EXPECT_GE(frames, 2);
  EXPECT_LE(frames, 20);
  EXPECT_TRUE(std::ranges::is_sorted(progress));
  EXPECT_TRUE(std::ranges::any_of(progress, [](double p) { return p > 0.2 && p < 0.8; }));
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
  // Repeated timers and display changes collapse; nothing follows a close.
  const std::pair<MessageCode, std::size_t> steps[] = {
      {MessageCode::Timer, 1}, {MessageCode::Timer, 1},         {MessageCode::MouseMove, 2},
      {MessageCode::Timer, 3}, {MessageCode::DisplayChange, 4}, {MessageCode::DisplayChange, 4},
      {MessageCode::Close, 5}, {MessageCode::MouseMove, 5},     {MessageCode::Timer, 5}};
  for (const auto& [code, queued] : steps) {
    Zing::Platform::WindowMessage message;
    message.code = code;
    app->WindowProc(message);
    EXPECT_EQ(app->deferredMessages.size(), queued);
  }
  EXPECT_EQ(app->deferredMessages.back().code, MessageCode::Close);
}

TEST_F(AppFixture, MouseAndKeyboardReachTheWidgets) {
  Start();
  Probe(100, 100, 200, 200)->wantsFocus = true;
  for (auto [down, up] : {std::pair{MessageCode::LButtonDown, MessageCode::LButtonUp},
                          {MessageCode::LButtonDblClk, MessageCode::LButtonUp},
                          {MessageCode::RButtonDown, MessageCode::RButtonUp},
                          {MessageCode::RButtonDblClk, MessageCode::RButtonUp},
                          {MessageCode::MButtonDown, MessageCode::MButtonUp}}) {
    Send(down, 0, 110, 120);
    EXPECT_TRUE(services->capture);
    Send(up, 0, 110, 120);
    EXPECT_FALSE(services->capture);
  }
  // Alt with the letter r, as typed or shifted, is the application's.
  using M = MessageCode;
  const int alt = Zing::KEYCODE_MENU;
  const int ctrl = Zing::KEYCODE_CONTROL;
  const std::pair<MessageCode, int> input[] = {
      {M::MouseWheel, 240}, {M::MouseWheel, -120}, {M::KeyDown, 'A'}, {M::Char, 0xE9},  {M::KeyDown, alt},
      {M::Char, 'r'},       {M::Char, 'R'},        {M::Char, 's'},    {M::KeyUp, alt},  {M::Char, 'r'},
      {M::KeyDown, ctrl},   {M::KeyDown, 'B'},     {M::KeyUp, ctrl},  {M::KeyDown, 'C'}};
  for (const auto& [code, param] : input) Send(code, param);
  EXPECT_EQ(app->debugKeys, (Strings{"65 0 0", "18 0 1", "17 1 0", "66 1 0", "67 0 0"}));
  // Buttons, wheel, keys and characters, without the ticks and the pointer's moves.
  std::erase_if(log.lines, [](const std::string& line) {
    for (const char* kind : {"p:down", "p:up ", "p:wheel", "p:key", "p:char"}) {
      if (line.starts_with(kind)) return false;
    }
    return true;
  });
  EXPECT_EQ(log.lines, (Strings{"p:down 10,20 b0 c1", "p:up 10,20 b0 c1", "p:down 10,20 b0 c2", "p:up 10,20 b0 c1",
                                "p:down 10,20 b1 c1", "p:up 10,20 b1 c1", "p:down 10,20 b1 c2", "p:up 10,20 b1 c1",
                                "p:down 10,20 b2 c1", "p:up 10,20 b2 c1", "p:wheel 2",          "p:wheel -1",
                                "p:keydown 65",       "p:char -23",       "p:keydown 18",       "p:char 115",
                                "p:keyup 18",         "p:char 114",       "p:keydown 17",       "p:keydown 66",
                                "p:keyup 17",         "p:keydown 67"}));
}

TEST_F(AppFixture, AltEnterMinimizingAndATooSmallDesktopChangeTheWindow) {
  app->windowed = true;
  Start();
  // Alt+Enter switches the screen mode unless a window is all there can be.
  const int windows = services->windowsCreated;
  Send(MessageCode::KeyDown, Zing::KEYCODE_RETURN, 0, 0, true);
  EXPECT_EQ(std::tuple(app->windowed, services->lastWindow.windowed, services->windowsCreated),
            std::tuple(false, false, windows + 1));
  Send(MessageCode::KeyDown, Zing::KEYCODE_RETURN, 0, 0, true);
  EXPECT_TRUE(app->windowed);
  app->fullscreenFailed = true;
  Send(MessageCode::KeyDown, Zing::KEYCODE_RETURN, 0, 0, true);
  EXPECT_TRUE(app->windowed);
  EXPECT_EQ(services->windowsCreated, windows + 2);
  app->fullscreenFailed = false;

  // Minimizing mutes until the window is restored.
  Send(MessageCode::Size, Zing::Platform::SizeMinimized);
  Send(MessageCode::Size, Zing::Platform::SizeMinimized);
  EXPECT_TRUE(app->minimized);
  EXPECT_GT(app->muteCount, 0);
  Send(MessageCode::Size, 0);
  EXPECT_FALSE(app->minimized);
  EXPECT_EQ(app->muteCount, 0);

  // The desktop must be larger than the game both ways for a window.
  const std::pair<Zing::Platform::ScreenRect, bool> desktops[] = {
      {{0, 0, 641, 481}, true}, {{0, 0, 640, 1000}, false}, {{0, 0, 1000, 480}, false}};
  for (const auto& [desktop, windowed] : desktops) {
    app->windowed = true;
    services->desktop = desktop;
    app->RecoverDisplay();
    EXPECT_EQ(app->windowed, windowed) << desktop.w << "x" << desktop.h;
  }
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

  // A plain display failure shows the error; a second instance notifies the
  // first and exits with 0.
  for (const bool second : {false, true}) {
    auto* other = new NullServices;
    other->displayResults = {DisplayResult::Failed};
    other->instanceTaken = second;
    TestApp failed(other);
    failed.Init();
    EXPECT_EQ(failed.exits, std::vector<int>{second ? 0 : 1});
    EXPECT_EQ(other->notificationsSent, second ? 1 : 0);
    EXPECT_NE(other->windowExists, second);
    if (!second) {
      EXPECT_EQ(other->messageBoxes.back(), "FATAL ERROR: Failed to initialize DirectDraw: display test failure");
    }
  }
}

TEST_F(AppFixture, StoredWindowPositionAndScaleKeepTheWindowOnTheDesktop) {
  app->windowed = true;
  app->preferredX = -500;
  app->preferredY = 5000;
  app->Init();
  // A 1920 x 1040 work area holds the picture twice over, frame included.
  const auto& window = services->lastWindow;
  EXPECT_EQ(std::tuple(window.scale, window.width, window.x, window.y), std::tuple(2, 640, 4, 1040 - 960 - 4));

  // A fixed scale from the settings file, read for the next window.
  ASSERT_TRUE(app->RegistryWriteInteger("WindowScale", 1));
  app->SwitchScreenMode();
  EXPECT_EQ(std::tuple(window.scale, window.y), std::tuple(1, 1040 - 480 - 4));  // limits: the scaling test's
}

TEST_F(AppFixture, SettingsRoundTripAndMutePersistence) {
  app->Init();
  EXPECT_TRUE(app->readFromRegistry);
  EXPECT_EQ(Stored("InProgress"), 1);
  app->SetMusicVolume(0.857);
  app->Mute(true);  // lost focus: not remembered
  app->WriteToRegistry();
  EXPECT_EQ(std::tuple(Stored("MusicVolume"), Stored("Muted"), Stored("InProgress")), std::tuple(85, 0, 0));
  EXPECT_EQ(app->appliedMusicVolume, 0.0);
  app->Mute(false);  // the player's own mute is remembered
  app->WriteToRegistry();
  EXPECT_EQ(Stored("Muted"), 1);

  app->Unmute(false);
  app->Unmute(true);
  app->Unmute(true);  // at 0 nothing changes but the volumes are re-applied
  EXPECT_EQ(app->muteCount, 0);
  EXPECT_DOUBLE_EQ(app->appliedMusicVolume, 0.857);

  app->RegistryWriteInteger("ScreenMode", 0);
  auto second = std::make_unique<TestApp>(new NullServices);
  second->windowed = false;
  second->ReadFromRegistry();
  EXPECT_TRUE(second->windowed);
  EXPECT_DOUBLE_EQ(second->musicVolume, 0.85);
}

TEST_F(AppFixture, SafeDeletionWaitsForNestedLoopsToUnwind) {
  Start();
  bool deleted = false;
  auto* widget = new Doomed(&deleted);
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
  auto* nested = new Doomed(&deleted);
  int depthSeen = 0;
  Probe()->onUpdate = [&] {
    if (Count("update") != 1) return;
    bool updated = false;
    app->SafeDeleteWidget(nested);
    depthSeen = app->updateAppDepth;
    for (int i = 0; i < 50; ++i) app->UpdateAppStep(&updated);  // the nested loop
    EXPECT_FALSE(deleted);
  };
  RunFor(50);
  EXPECT_EQ(depthSeen, 1);
  EXPECT_TRUE(deleted);
}

TEST_F(AppFixture, AtMostTenUpdatesPerDrawDecisionOnceLoaded) {
  Start();
  Tracer();
  RunFor(100);
  // While loading, owed time is caught up in one go.
  log.Clear();
  UpdatesAfterStall(200);
  EXPECT_EQ(LongestRunWithoutDraw(log.lines), 20);
  // Once loaded, the tenth step without a draw decision draws; at double
  // speed the twentieth.
  app->loaded = true;
  for (const auto& [multiplier, longest] : {std::pair{1.0, 9}, {2.0, 19}}) {
    app->updateMultiplier = multiplier;
    log.Clear();
    UpdatesAfterStall(200);
    EXPECT_EQ(LongestRunWithoutDraw(log.lines), longest) << multiplier;
  }
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

  // At another speed nothing is checked.
  app->vsyncBroken = false;
  app->vsyncCheckCount = 0;
  app->updateMultiplier = 2.0;
  RunFor(100);
  EXPECT_EQ(app->vsyncCheckCount, 0);
}

TEST_F(AppFixture, WhileLoadingTheMainThreadRestsTwiceWhatItWorked) {
  Start();
  app->throttleMainThread = true;
  int work = 0;
  Tracer()->onUpdate = [&] {
    services->Advance(static_cast<std::uint32_t>(work));
    probe->MarkDirty();
  };

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
}

TEST_F(AppFixture, PausedOrStoppedTheLoopStillPumpsWithoutSpinning) {
  Start();
  app->GetWidgetManager()->SetFocus(Probe(0, 0, 50, 50));
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
    EXPECT_EQ(Count("keydown 80"), multiplier == 0.0 ? 2u : 1u);
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
}

TEST_F(AppFixture, HoldTimeDiscardsOwedTimeAndRunsOutWithPresentsToo) {
  Start();
  Tracer();
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
  Probe();
  services->screenSaverTimeout = 5000;  // the watch starts 3 s before it
  services->lastInput = services->clock;
  RunFor(2000);
  const std::size_t draws = Count("draw");
  RunFor(4000);
  EXPECT_TRUE(app->screenSaverWatchMark);
  // Input while the screen saver still runs changes nothing; after it, the
  // whole window is drawn again.
  services->screenSaverRunning = true;
  services->lastInput = services->clock;
  RunFor(500);
  EXPECT_EQ(Count("draw"), draws);
  services->screenSaverRunning = false;
  RunFor(100);
  EXPECT_EQ(Count("draw"), draws + 1);
  EXPECT_FALSE(app->screenSaverWatchMark);
  // No screen saver on the desktop: no watch.
  services->screenSaverTimeout = 0;
  RunFor(20000);
  EXPECT_FALSE(app->screenSaverWatchMark);
}

TEST_F(AppFixture, StringsPopupsAndRandomNumbers) {
  EXPECT_EQ(app->GetString("DIALOG_BUTTON_OK", "x"), "OK");
  EXPECT_EQ(app->GetString("MISSING", "fallback"), "fallback");
  app->SetString("FATAL_ERROR", "OOPS");
  app->Popup("text");
  EXPECT_EQ(services->messageBoxes.back(), "OOPS: text");

  // The standard generator, with seed 0 standing for its classic seed.
  app->SeedRandom(5489);
  EXPECT_EQ(app->Rand(), 3499211612u);
  app->SeedRandom(0);
  const std::uint32_t fromZero = app->Rand();
  app->SeedRandom(4357);
  EXPECT_EQ(app->Rand(), fromZero);
}

// A running application and the player's clicks on its dialogs; answers
// reach the application as 2000 + id (yes) or 3000 + id (no).
struct Dialogs : AppFixture {
  void SetUp() override {
    MakeApp();
    Start();
  }
  // The player clicks on a widget: the messages wait in the platform's queue.
  void QueueClickOn(const Zing::Widget* widget) {
    for (MessageCode code : {MessageCode::MouseMove, MessageCode::LButtonDown, MessageCode::LButtonUp})
      services->Inject(code, 0, widget->x + widget->width / 2, widget->y + 4);
  }
  // Runs loop steps until the queued input is handled.
  void Pump() {
    for (int i = 0; i < 100 && (!services->messages.empty() || app->updateAppState != 3); ++i) {
      bool updated = false;
      app->UpdateAppStep(&updated);
    }
  }
  Dialog* Confirm(int id) { return app->DoDialog(id, true, "NEW GAME", "Are you sure?", "", Dialog::BUTTONS_YES_NO); }

  WidgetTest::BlockFont font;
};

TEST_F(Dialogs, AYesNoDialogAnsweredWithTheMouseReachesTheApplicationAndEndsTheWait) {
  Dialog* dialog = Confirm(3);
  // No size given: half the screen wide, centred, at a fifth of its height.
  EXPECT_EQ(std::tuple(dialog->x, dialog->y, dialog->width), std::tuple(160, 96, 320));
  EXPECT_EQ(dialog->height, dialog->GetPreferredHeight(320));
  EXPECT_EQ(app->GetDialog(3), dialog);
  EXPECT_EQ(app->modalOpens, 1);
  ASSERT_NE(dialog->noButton, nullptr);
  EXPECT_EQ(dialog->yesButton->label, "YES");
  // The two buttons share the width side by side, inside the dialog.
  EXPECT_LT(dialog->yesButton->x + dialog->yesButton->width, dialog->noButton->x);
  EXPECT_LE(dialog->noButton->x + dialog->noButton->width, dialog->x + dialog->width);

  QueueClickOn(dialog->yesButton.get());
  EXPECT_EQ(dialog->WaitForResult(false), Dialog::ID_YES);
  EXPECT_EQ(app->heard, (Strings{"press 2003", "depress 2003"}));

  // The no button answers 3000 + id; the wait kills the dialog on its way out.
  EXPECT_TRUE(app->KillDialog(3));
  EXPECT_FALSE(app->KillDialog(3));  // not open any more: nothing changes
  EXPECT_EQ(app->GetDialogCount(), 0);
  app->heard.clear();
  dialog = Confirm(4);
  QueueClickOn(dialog->noButton.get());
  EXPECT_EQ(dialog->WaitForResult(true), Dialog::ID_NO);
  EXPECT_EQ(app->heard, (Strings{"press 3004", "depress 3004"}));
  EXPECT_EQ(app->GetDialog(4), nullptr);
  EXPECT_EQ(app->modalCloses, 2);
  Pump();  // the killed dialog is deleted once the loop is back at its level
}

TEST_F(Dialogs, AFooterButtonDialogShowsTheFooterOnItsOneButtonOnly) {
  auto* footer = new Dialog(nullptr, nullptr, 1, false, "T", "abc", "CLOSE", Dialog::BUTTONS_FOOTER);
  auto* plain = new Dialog(nullptr, nullptr, 2, false, "T", "abc", "CLOSE", Dialog::BUTTONS_NONE);
  for (Dialog* d : {footer, plain}) {
    d->SetHeaderFont(&font);
    d->SetLinesFont(&font);
  }
  EXPECT_EQ(footer->yesButton->label, "CLOSE");
  EXPECT_EQ(footer->noButton, nullptr);
  EXPECT_EQ(plain->yesButton, nullptr);
  // Insets 48, header 10, gap 10, one wrapped line 10; then either the button
  // (8 + 8 + 24) or the footer line (8 + 10).
  EXPECT_EQ(footer->GetPreferredHeight(300), 48 + 10 + 10 + 10 + 8 + 8 + 24);
  EXPECT_EQ(plain->GetPreferredHeight(300), 48 + 10 + 10 + 10 + 8 + 10);

  footer->Resize(100, 100, 300, 200);
  app->AddDialog(footer);
  app->AddDialog(plain);
  // The one button spans the inner width along the bottom.
  EXPECT_EQ(std::tuple(footer->yesButton->x, footer->yesButton->y, footer->yesButton->width),
            std::tuple(124, 100 + 200 - 24 - 24, 252));
  QueueClickOn(footer->yesButton.get());
  EXPECT_EQ(footer->WaitForResult(true), Dialog::ID_FOOTER);
  EXPECT_EQ(app->heard, (Strings{"press 2001", "depress 2001"}));
  EXPECT_EQ(app->GetDialogCount(), 1);
}

TEST_F(Dialogs, DraggingStopsEightPixelsOffTheScreen) {
  Dialog* dialog = app->DoDialog(5, false, "EXIT GAME", "", "", Dialog::BUTTONS_YES_NO);
  dialog->Resize(100, 100, 300, 200);
  Zing::WidgetManager* manager = app->GetWidgetManager();
  services->Inject(MessageCode::MouseMove, 0, 110, 110);
  Pump();
  manager->MouseDown(110, 110, 1);
  EXPECT_EQ(services->cursor, 2);
  manager->MouseMove(-500, -500);
  EXPECT_EQ(dialog->x, -8);
  EXPECT_EQ(dialog->y, -8);
  // The grab point stays 8 pixels inside the dialog, on every side.
  EXPECT_EQ(std::pair(dialog->dragMouseX, dialog->dragMouseY), std::pair(8, 8));
  manager->MouseMove(100, 100);
  EXPECT_EQ(dialog->x, 92);
  manager->MouseMove(5000, 5000);
  EXPECT_EQ(dialog->x, 640 + 8 - 300);
  EXPECT_EQ(dialog->y, 480 + 8 - 200);
  EXPECT_EQ(std::pair(dialog->dragMouseX, dialog->dragMouseY), std::pair(300 - 8 - 1, 200 - 8 - 1));
  // The buttons travel with the dialog.
  EXPECT_EQ(dialog->yesButton->x, dialog->x + 24);
  manager->MouseUp(5000, 5000, 1);
  EXPECT_FALSE(dialog->dragging);
  EXPECT_EQ(services->cursor, 0);
  // A double click does not start a drag.
  manager->MouseDown(dialog->x + 10, dialog->y + 10, 2);
  EXPECT_FALSE(dialog->dragging);
  manager->MouseUp(dialog->x + 10, dialog->y + 10, 1);
}

TEST_F(Dialogs, ADialogOverADialogTakesTheMouseUntilItIsClosedFromItsOwnHandler) {
  app->killOnAnswer = true;
  Dialog* under = Confirm(2);
  under->Resize(20, 20, 300, 200);
  Dialog* over = Confirm(5);
  over->Resize(320, 20, 300, 200);
  // Only the dialog in front takes clicks.
  QueueClickOn(under->yesButton.get());
  Pump();
  EXPECT_TRUE(app->heard.empty());
  QueueClickOn(over->noButton.get());
  EXPECT_EQ(over->WaitForResult(false), Dialog::ID_NO);  // killed and deleted by its own answer
  EXPECT_EQ(app->GetDialog(5), nullptr);
  Pump();
  QueueClickOn(under->yesButton.get());
  Pump();
  EXPECT_EQ(app->heard, (Strings{"press 3005", "depress 3005", "press 2002", "depress 2002"}));
  EXPECT_EQ(app->GetDialogCount(), 0);
  EXPECT_EQ(app->modalCloses, 2);
}

TEST_F(Dialogs, TheWaitEndsWhenTheApplicationShutsDown) {
  Dialog* dialog = Confirm(2);
  app->Shutdown();
  EXPECT_EQ(dialog->WaitForResult(true), Dialog::kNoResult);
  EXPECT_EQ(app->GetDialogCount(), 0);
  // A result left at -1 by the game reads 0 once the dialog is killed.
  Dialog* other = app->DoDialog(3, false, "", "x", "", Dialog::BUTTONS_NONE);
  other->result = -1;
  app->KillDialog(3, true, false);
  EXPECT_EQ(other->result, 0);
  delete other;
}

TEST_F(Dialogs, CursorImagesShowWithTheirHotSpotsWhenCustomCursorsAreOn) {
  Zing::MemoryImage hand;
  hand.Create(32, 32);
  hand.GetBits()[0] = 0xFF123456;
  app->SetCursorImage(1, &hand, 11, 2);
  services->Inject(MessageCode::MouseMove, 0, 50, 50);
  Pump();
  app->EnableCustomCursors(false);
  app->SetCursor(1);
  EXPECT_FALSE(services->imageCursorShown);
  EXPECT_EQ(services->cursor, 1);
  app->EnableCustomCursors(true);
  EXPECT_TRUE(services->imageCursorShown);
  EXPECT_EQ(std::tuple(services->imageCursorWidth, services->imageCursorHotX, services->imageCursorHotY,
                       services->imageCursorPixels[0]),
            std::tuple(32, 11, 2, 0xFF123456u));
  // A cursor number without an image keeps the platform's shape.
  app->SetCursor(3);
  EXPECT_FALSE(services->imageCursorShown);
  EXPECT_EQ(services->cursor, 3);
  // Cursor 12 shows its image whatever the setting.
  app->EnableCustomCursors(false);
  app->SetCursorImage(12, &hand, 0, 0);
  app->SetCursor(12);
  EXPECT_TRUE(services->imageCursorShown);
  app->SetCursorImage(12, nullptr);
}

}  // namespace
