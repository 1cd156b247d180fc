// The application object and its main loop, run on the window-less platform with a simulated clock:
// pacing, catch-up, drawing on demand, loading, deferred messages, start-up outcomes and shutdown;
// and dialogs in the running application: answers by simulated mouse input, the nested wait, the
// dialog table, modality, dragging, preferred height, deletion from inside a handler, and image cursors.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
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
template <typename Base = Zing::Widget>
struct Doomed : Base {
  using Base::Base;
  ~Doomed() override { *deleted = true; }
  bool* deleted = nullptr;
};

class TestApp : public ZingTest::NullApp<> {
 public:
  explicit TestApp(NullServices* nullServices) : NullApp(nullServices) { registryKey = "ZingTest\\App"; }
  int loadingCompletedCalls = 0, loadingSteps = 0;
  std::atomic<bool>* holdLoading = nullptr;  // the loading thread waits while it is set (and the run goes on)
  std::vector<std::string> debugKeys;        // "key ctrl alt" of every key offered to the debug hook
  Strings heard;                             // the dialogs' buttons
  bool killOnAnswer = false;
  int modalOpens = 0, modalCloses = 0, leaves = 0;
  void SaveForLeaving() override { ++leaves; }
  bool ChangeDirHook(const std::string& folder) override { return folder == "/handled"; }
  void LoadingThreadCompleted() override { ++loadingCompletedCalls; }
  std::function<bool()> slice;  // one step of loading on the main loop, where there are no threads
  bool LoadingSlice() override { return slice ? slice() : NullApp::LoadingSlice(); }
  bool DebugKeyDownAsync(int key, bool ctrl, bool alt) override {
    debugKeys.push_back(std::to_string(key) + " " + std::to_string(ctrl) + " " + std::to_string(alt));
    return false;
  }
  void LoadingThreadProc() override {
    loadingTotal = 10;
    for (int i = 0; i < loadingSteps; ++i) {
      ++loadingDone;
      while (i == 0 && holdLoading != nullptr && *holdLoading && !shutdown) std::this_thread::yield();
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
  using ZingAppBase::Exit, ZingAppBase::InitDisplay, ZingAppBase::ProcessSafeDeleteList, ZingAppBase::RecoverDisplay;
  using ZingAppBase::fpsStart, ZingAppBase::WatchScreenSaver;
  using ZingAppBase::Rest, ZingAppBase::RunLoadingSlices, ZingAppBase::StatisticsLines, ZingAppBase::UpdateStatistics;
  void UseBlockFont() { statisticsFont = std::make_unique<WidgetTest::BlockFont>(); }
};

struct AppFixture : ZingTest::NullAppFixture<TestApp> {
  void SetUp() override { MakeApp(); }
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

// FNV-1a over a line of text, to pin a long trace in one number.
std::uint64_t Fnv(const std::string& text, std::uint64_t hash = 0xcbf29ce484222325ull) {
  for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
  return (hash ^ '\n') * 0x100000001b3ull;
}

// The loop's rules against a scripted clock. Each phase sets its conditions and runs for a while; its updates, frames,
// time slept and the longest run of updates between two frames are counted. Every loop step of the whole script (state,
// counters, owed and held time, the display-pacing check, the next frame's earliest time, the timer's last tick: one
// every frame time, to the millisecond) also goes into a trace pinned by one digest: LINTWICK_TRACE=1 prints it, to see
// what changed.
TEST_F(AppFixture, TheLoopsRulesAgainstAScriptedClock) {
  Start();
  bool dirty = false;
  int work = 0;  // what each update costs, in ms
  Probe(0, 0, 640, 480)->onUpdate = [&] {
    if (dirty) probe->MarkDirty(), services->Advance(static_cast<std::uint32_t>(work));
  };
  NullServices& s = *services;
  TestApp& a = *app;
  a.GetWidgetManager()->SetFocus(probe.get());
  const auto stall = [&](std::uint32_t ms) {  // the step cycle ends, then nothing runs for a while
    bool updated = false;
    while (a.updateAppState == 2) a.UpdateAppStep(&updated);
    s.Advance(ms);
  };
  const auto paced = [&](int rate, bool wait) {
    std::tie(a.vsyncUpdates, a.waitForVSync, a.refreshRate, a.vsyncBroken, a.vsyncBrokenCount) =
        std::tuple(true, wait, rate, false, 0);
  };
  struct Phase {
    const char* rule;
    std::function<void()> set;
    std::uint32_t ms;
    int updates, frames, slept, longestRun;
    bool broken = false;  // display pacing given up
  };
  const Phase phases[] = {
      {"nothing dirty: 100 updates a second, a frame once a second", [] {}, 3000, 299, 3, 3000, 100},
      {"dirty: a frame after every update", [&] { dirty = true; }, 1000, 100, 100, 1000, 1},
      {"loading: a 5 s stall owes 200 ms, caught up in one go", [&] { stall(5000); }, 100, 29, 10, 100, 20},
      {"loaded: the tenth update without a draw decision draws", [&] { a.loaded = true, stall(200); }, 100, 29, 12, 100,
       9},
      {"double speed: 200 updates a second, twice as many between draws", [&] { a.updateMultiplier = 2.0, stall(200); },
       1000, 239, 202, 1000, 19},
      {"half speed: 50 a second", [&] { a.updateMultiplier = 0.5; }, 1000, 50, 50, 1015, 1},
      {"speed 0: no updates, the loop sleeps and still reads keys",
       [&] { a.updateMultiplier = 0, s.Inject(MessageCode::KeyDown, 'P'); }, 500, 0, 0, 500, 0},
      {"paused: the same", [&] { a.updateMultiplier = 1, a.paused = true, s.Inject(MessageCode::KeyDown, 'P'); }, 500,
       0, 0, 500, 0},
      {"the time stopped is not owed", [&] { a.paused = false; }, 100, 9, 9, 100, 1},
      {"held: a stall is not owed, even with 1 ms of the hold left", [&] { a.holdTime = 311, stall(300); }, 700, 70, 70,
       700, 1},
      {"a present of 5 ms is owed like any other time", [&] { s.presentMs = 5; }, 1000, 100, 100, 500, 1},
      {"paced by a 50 Hz display in a window: two updates a frame", [&] { paced(50, true), s.presentMs = 3; }, 1000,
       102, 51, 860, 2},
      {"paced at 125 Hz", [&] { paced(125, true), s.presentMs = 0; }, 1000, 126, 126, 1005, 1},
      {"paced at 200 Hz: faster than it can be, so broken", [&] { paced(200, true); }, 2000, 439, 400, 2000, 9, true},
      {"paced at 125 Hz without waiting: 100 updates in 800 ms, three times, is broken", [&] { paced(125, false); },
       4000, 500, 500, 4003, 1, true},
      {"while loading, an update of 60 ms rests 120, frames every 50 ms",
       [&] {
         std::tie(a.vsyncUpdates, a.vsyncBroken, a.loaded, a.throttleMainThread, work) =
             std::tuple(false, false, false, true, 60);
       },
       1000, 6, 0, 722, 6},
      {"while loading, an update of 200 ms rests 250", [&] { work = 200; }, 1000, 3, 0, 750, 3},
      {"while loading, frames owed from before come at once", [&] { work = 0; }, 1000, 118, 69, 1000, 19},
      {"while loading, frames come every 50 ms however dirty", [] {}, 1000, 100, 20, 1000, 5},
      {"loading done: the throttle ends, every update draws", [&] { a.loadingThreadCompleted = true; }, 1000, 100, 99,
       1000, 2},
      {"screen saver: watched from 3 s before its time-out",
       [&] { dirty = false, s.screenSaverTimeout = 5000, s.lastInput = s.clock; }, 6000, 600, 6, 6000, 100},
      {"input while the screen saver runs changes nothing", [&] { s.screenSaverRunning = true, s.lastInput = s.clock; },
       500, 50, 0, 500, 50},
      {"after it, the whole window is drawn again; input stamped ahead of the clock counts as now",
       [&] { s.screenSaverRunning = false, s.lastInput = s.clock + 11; }, 100, 10, 1, 100, 9},
      {"no screen saver on the desktop: no watch",
       [&] { s.screenSaverTimeout = 0, a.screenSaverQueried = false, s.lastInput = s.clock; }, 7000, 700, 7, 7000, 100},
      {"in full screen: no watch", [&] { s.screenSaverTimeout = 5000, a.physWindowed = false; }, 7000, 700, 7, 7000,
       100},
      {"running as the screen saver: no watch", [&] { a.physWindowed = true, a.isScreenSaver = true; }, 7000, 700, 7,
       7000, 100},
      {"a mode switch owes no stall before it", [&] { stall(150), a.SwitchScreenMode(); }, 100, 9, 1, 100, 8},
  };
  std::uint64_t digest = Fnv("");
  for (const Phase& p : phases) {
    p.set();
    const int updates = a.updateCount;
    const int frames = s.presents;
    const std::uint32_t slept = s.totalSlept;
    const std::uint32_t end = s.clock + p.ms;
    int run = 0;
    int longest = 0;
    for (int step = 0; step < 100000 && s.clock < end; ++step) {
      const int before[] = {a.updateCount, s.presents};
      bool updated = false;
      a.UpdateAppStep(&updated);
      run = s.presents != before[1] ? 0 : run + (a.updateCount - before[0]);
      longest = std::max(longest, run);
      char line[200];
      std::snprintf(line, sizeof line, "%u s%d u%d d%d z%u/%d p%.3f f%.3f h%d n%d v%d/%d%d next%u t%u%s%s%s", s.clock,
                    a.updateAppState, a.updateCount, s.presents, s.totalSlept, a.sleepCount, a.pendingTime,
                    a.updateFraction, a.holdTime, a.nonDrawCount, a.vsyncCheckCount, a.vsyncBrokenCount, a.vsyncBroken,
                    a.nextDrawTick, a.lastTimerTick, a.hasPendingDraw ? " pending" : "",
                    a.lastDrawWasEmpty ? " empty" : "", a.screenSaverWatchMark ? " watch" : "");
      digest = Fnv(line, digest);
      if (std::getenv("LINTWICK_TRACE") != nullptr) std::printf("%s\n", line);
    }
    EXPECT_EQ(std::tuple(a.updateCount - updates, s.presents - frames, static_cast<int>(s.totalSlept - slept), longest,
                         a.vsyncBroken),
              std::tuple(p.updates, p.frames, p.slept, p.longestRun, p.broken))
        << p.rule;
  }
  EXPECT_EQ(std::pair(Count("keydown 80"), digest), std::pair(std::size_t{2}, std::uint64_t{8793368497413909260u}));
  // The watch at its edges: the desktop is asked again after 10 s; marked once idle for longer than the time-out
  // less 2 s (at least 1 s), repainted on input within that; a time-out of 0 is none.
  const std::tuple<int, std::uint32_t, bool, std::uint32_t, bool> edges[] = {
      {5000, 10000, false, 3000, false}, {5000, 0, false, 3001, true},     {5000, 0, true, 3000, true},
      {5000, 0, true, 2999, false},      {2500, 9999, false, 1001, false}, {2500, 10000, false, 1000, false},
      {2500, 0, false, 1001, true},      {0, 10000, true, 5000, false},    {1, 10000, true, 5000, true}};
  a.isScreenSaver = false;
  for (const auto& [timeout, sinceQuery, marked, idle, after] : edges) {
    std::tie(s.screenSaverTimeout, a.lastScreenSaverQuery, a.screenSaverWatchMark, s.lastInput) =
        std::tuple(timeout, s.clock - sinceQuery, marked, s.clock - idle);
    a.WatchScreenSaver(s.clock);
    EXPECT_EQ(a.screenSaverWatchMark, after) << timeout << " " << sinceQuery << " " << idle;
  }
}

TEST_F(AppFixture, RunWithLoadingThreadEndsCleanly) {
  app->autoStartLoadingThread = true;
  app->loadingSteps = 14;  // more than the announced total
  std::atomic<bool> hold{true};
  app->holdLoading = &hold;
  services->presentMs = 3;
  app->Init();
  EXPECT_EQ(app->GetLoadingThreadProgress(), 0.0);
  bool screenSaverAllowedWhileLoading = false, throttledWhileLoading = false;
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
  // The screen saver waits for the loading, which throttles the main thread; the widgets drew in no time.
  EXPECT_EQ(std::tuple(app->shutdown.load(), app->running, app->loadingCompletedCalls, app->drawTime),
            std::tuple(true, false, 1, 0));
  EXPECT_EQ(std::tuple(screenSaverAllowedWhileLoading, throttledWhileLoading, services->screenSaverAllowed,
                       progressWhileLoading, app->updateCount >= 199, app->presentTime - 3 * app->drawCount),
            std::tuple(false, true, true, 1 / 10.0, true, 0));  // each present took 3 ms
  // The statistics went to the debug output.
  const auto& lines = services->debugLines;
  const std::pair<std::string, int> counts[] = {
      {"Sleep Count   = ", app->sleepCount},
      {"Update Count  = ", app->updateCount},
      {"Draw Count    = ", app->drawCount},
      {"Draw Time     = ", app->drawTime},
      {"Screen Blt    = ", app->presentTime},
      {"Avg FPS       = ", app->drawCount * 1000 / (app->drawTime + app->presentTime)}};
  for (const auto& [name, count] : counts)
    EXPECT_EQ(std::ranges::count(lines, name + std::to_string(count) + "\r\n"), 1) << name;
  EXPECT_EQ(std::ranges::count_if(lines, [](const std::string& l) { return l.starts_with("Resource Loading Time: "); }),
            1);
  app->loaded = false;  // the steps beyond the total never show as more than all
  EXPECT_EQ(app->GetLoadingThreadProgress(), 1.0);
  // Without threads, a rest loads in 1-ms slices for as long as it lasts (at least 12 ms) until all is loaded,
  // then sleeps; loading past the rest is not owed to updates. Per rest: time passed, time forgiven, time slept.
  app->slice = [&] { return services->Advance(1), ++app->loadingDone < 54; };
  const int oneSlice = app->RunLoadingSlices(1);  // asked for less than a slice: one all the same
  app->loadingInSlices = true;
  std::vector<std::array<std::uint32_t, 3>> rests;
  for (int ms : {12, 1, 99, 7}) {
    const std::array<std::uint32_t, 3> before{services->clock, app->lastTimeCheck, services->totalSlept};
    app->Rest(ms);
    rests.push_back({services->clock - before[0], app->lastTimeCheck - before[1], services->totalSlept - before[2]});
  }
  EXPECT_EQ(
      std::tuple(oneSlice, rests, app->loadingDone.load()),
      std::tuple(1, std::vector<std::array<std::uint32_t, 3>>{{12, 0, 0}, {12, 11, 0}, {15, 0, 0}, {7, 0, 7}}, 54));
}

TEST_F(AppFixture, ShutdownEndsNestedStepsAndOnlyOnceAndTheSessionsEndSavesOnlyInBetween) {
  const auto leave = [this] { return static_cast<ZingTest::GuardedServices*>(services)->leave(), app->leaves; };
  EXPECT_EQ(leave(), 0);  // not started yet
  Start();
  EXPECT_EQ(leave(), 1);
  bool updated = true;
  EXPECT_TRUE(app->UpdateAppStep(&updated));
  std::thread([&] { app->Shutdown(); }).join();
  EXPECT_TRUE(app->shutdownRequested && !app->shutdown);  // only the main thread carries it out
  RunFor(20);
  EXPECT_EQ((std::tuple{app->shutdown.load(), app->UpdateAppStep(&updated), updated, leave()}),
            std::tuple(true, false, false, 1));
  EXPECT_TRUE((app->Shutdown(), app->exits.empty()));  // a second call does nothing
}

// The desktop's messages against the application's state: each message of the script goes through
// the window procedure and the deferred queue, and the application's answer (screen mode, window
// place, focus, sound, capture, pointer, debug keys, what the probe and the debug hook heard) goes
// into a trace pinned by one digest (LINTWICK_TRACE=1 prints it). The readable checks name the rules the trace holds.
TEST_F(AppFixture, DesktopMessagesAgainstTheApplicationsState) {
  using M = MessageCode;
  Start();
  // Repeated timers and display changes collapse; nothing follows a close. A playback hears
  // only characters (its keys) and the close request of live input (true: played).
  const std::tuple<M, std::size_t, bool> steps[] = {
      {M::MouseMove, 0, true},      {M::KeyDown, 0, true},        {M::ActivateApp, 0, true}, {M::Char, 1, true},
      {M::Timer, 2, false},         {M::Timer, 2, false},         {M::MouseMove, 3, false},  {M::Timer, 4, false},
      {M::DisplayChange, 5, false}, {M::DisplayChange, 5, false}, {M::Close, 6, true},       {M::MouseMove, 6, false},
      {M::Timer, 6, false}};
  TestApp& a = *app;
  for (const auto& [code, queued, playing] : steps) {
    Zing::Platform::WindowMessage message;
    message.code = code;
    a.playingDemo = playing;
    a.WindowProc(message);
    EXPECT_EQ(a.deferredMessages.size(), queued);
  }
  EXPECT_EQ(a.deferredMessages.back().code, M::Close);
  a.deferredMessages.clear();
  Probe(100, 100, 200, 200)->wantsFocus = true;
  NullServices& s = *services;
  const int alt = Zing::KEYCODE_MENU, ctrl = Zing::KEYCODE_CONTROL;
  struct Step {
    M code;
    int param = 0, x = 0, y = 0;
    bool alt = false;
    std::function<void()> before = nullptr;
  };
  // The desktop must be larger than the game both ways for a window.
  const std::pair<Zing::Platform::ScreenRect, bool> desktops[] = {
      {{0, 0, 641, 481}, true}, {{0, 0, 640, 1000}, false}, {{0, 0, 1000, 480}, false}, {{0, 0, 0, 0}, true}};
  for (const auto& [desktop, windowed] : desktops) {
    a.windowed = true;
    s.desktop = desktop;
    a.RecoverDisplay();
    EXPECT_EQ(a.windowed, windowed) << desktop.w << "x" << desktop.h;
  }
  std::tie(a.windowed, s.desktop) = std::tuple(true, Zing::Platform::ScreenRect{0, 0, 1920, 1080});
  a.SwitchScreenMode();
  // clang-format off
  const Step script[] = {
      // Clicks of each button capture the pointer until released; a double
      // click is count 2, the right button negative, the middle 3.
      {M::LButtonDown, 0, 110, 120}, {M::LButtonUp, 0, 110, 120}, {M::LButtonDblClk, 0, 110, 120},
      {M::LButtonUp, 0, 110, 120}, {M::RButtonDown, 0, 110, 120}, {M::RButtonDblClk, 0, 110, 120},
      {M::RButtonUp, 0, 110, 120}, {M::MButtonDown, 0, 110, 120}, {M::LButtonDown, 0, 110, 120},
      {M::MButtonUp, 0, 110, 120}, {M::LButtonUp, 0, 110, 120},
      // The wheel in notches of 120; keys and characters (Windows-1252) to
      // the focus; Alt with the letter r is the application's.
      {M::MouseWheel, 240}, {M::MouseWheel, -120}, {M::KeyDown, 'A'}, {M::Char, 0xE9}, {M::KeyDown, alt},
      {M::Char, 'r'}, {M::Char, 'R'}, {M::Char, 's'}, {M::KeyUp, alt}, {M::Char, 'r'}, {M::KeyDown, ctrl},
      {M::KeyDown, 'B'}, {M::KeyUp, ctrl}, {M::KeyDown, 'C'},
      // Alt+Enter switches the screen mode, unless full screen failed.
      {M::KeyDown, Zing::KEYCODE_RETURN, 0, 0, true}, {M::KeyDown, Zing::KEYCODE_RETURN, 0, 0, true},
      {M::KeyDown, Zing::KEYCODE_RETURN, 0, 0, true, [&] { a.fullscreenFailed = true; }},
      // A normal window's move is where the next one opens; a hidden one's is not.
      {M::Move, 0, 30, 40, false, [&] { a.fullscreenFailed = false, s.windowShown = true; }},
      {M::Move, 0, 50, 60, false, [&] { s.windowShown = false; }},
      // Losing the focus or minimizing mutes and lets go of the mouse, until back.
      {M::LButtonDown, 0, 5, 5}, {M::ActivateApp, 0}, {M::ActivateApp, 1}, {M::Size, Zing::Platform::SizeMinimized},
      {M::Size, Zing::Platform::SizeMinimized}, {M::Size, 0},
      // A repaint presents at once; a second copy's notice raises the window.
      {M::Paint}, {M::Notify, 0, 0, 0, false, [&] { s.windowShown = false; }},
      // The pointer (in the window or not, at x, y) is in where the platform says so, on the picture.
      {M::Timer, 1, 0, 0}, {M::Timer, 1, 640, 5}, {M::Timer, 1, 639, 479}, {M::Timer, 1, 5, 480}, {M::Timer, 1, 5, 5},
      {M::Timer, 1, -1, 5}, {M::Timer, 1, 5, 5}, {M::Timer, 1, 5, -1}, {M::Timer, 0, 5, 5},
      // Maximising means full screen; Ctrl+Alt+D switches the debug keys on; Alt+F4 closes.
      {M::Size, Zing::Platform::SizeMaximized}, {M::KeyDown, ctrl}, {M::KeyDown, alt}, {M::KeyDown, 'D'},
      {M::KeyDown, Zing::KEYCODE_F4, 0, 0, true},
  };
  // clang-format on

  std::uint64_t digest = Fnv("");
  for (const Step& step : script) {
    if (step.before) step.before();
    if (step.code == M::Timer)
      std::tie(s.pointerInWindow, s.pointerX, s.pointerY) = std::tuple(step.param, step.x, step.y);
    log.Clear();
    a.debugKeys.clear();
    Send(step.code, step.param, step.x, step.y, step.alt);
    std::string line = std::to_string(static_cast<int>(step.code)) + " " + std::to_string(step.param) + ":";
    for (const std::string& heard : log.lines)
      if (!heard.starts_with("p:update") && !heard.starts_with("p:draw")) line += " " + heard;
    for (const std::string& key : a.debugKeys) line += " debug " + key;
    char state[160];
    std::snprintf(state, sizeof state,
                  " | w%d%d at %d,%d a%d f%d m%d mute%d/%d cap%d in%d dbg%d close%d shown%d p%d win%d", a.windowed,
                  s.lastWindow.windowed, a.preferredX, a.preferredY, a.active, a.hasFocus, a.minimized, a.muteCount,
                  a.autoMuteCount, s.capture, a.mouseIn, a.debugKeysEnabled, a.closeRequested, s.windowShown,
                  s.presents, s.windowsCreated);
    line += state;
    digest = Fnv(line, digest);
    if (std::getenv("LINTWICK_TRACE") != nullptr) std::printf("%s\n", line.c_str());
  }
  EXPECT_EQ(std::tuple(a.windowed, a.preferredX, a.preferredY, a.debugKeysEnabled, a.closeRequested, a.shutdown.load()),
            std::tuple(false, 30, 40, true, true, true));
  EXPECT_EQ(digest, 2048565139273987429u);
}

// Every answer of the display at start-up has its way out: acceleration off, the other screen mode, or a fatal message
// and exit 1; a second copy notifies the first and exits with 0 before it opens a window.
TEST_F(AppFixture, DisplayFailuresFallBackOrEndTheProgram) {
  using R = DisplayResult;
  const std::string failed = "FATAL ERROR: Failed to initialize DirectDraw: display test failure";
  const std::string depth = "FATAL ERROR: Please set your desktop color depth to 16 bit.";
  struct Case {
    bool windowed, accelerated, fullscreenFailed;
    std::deque<R> results;    // of the display's tries, in turn
    std::vector<bool> inits;  // acceleration asked for, per try
    std::vector<int> exits;
    bool windowedAfter;
    std::string box;
  };
  const Case cases[] = {
      {false, true, false, {R::ColorDepthUnsupported}, {true, false}, {}, false, ""},
      {true, false, false, {R::ColorDepthUnsupported}, {false, false}, {}, false, ""},
      {true, false, true, {R::ColorDepthUnsupported}, {false}, {1}, true, depth},
      {true, false, false, {R::FullScreenUnavailable}, {false}, {1}, true, failed},
      {false, false, false, {R::FullScreenUnavailable2}, {false, false}, {}, true, ""},
      {false, false, false, {R::FullScreenUnavailable, R::ColorDepthUnsupported}, {false, false}, {1}, true, depth},
      {true, false, false, {R::HardwareAccelerationFailed}, {false}, {1}, true, failed},
      {true, true, false, {R::HardwareAccelerationFailed}, {true, false}, {}, true, ""},
      {true, true, false, {R::Failed}, {true, false}, {}, true, ""},
      {true, false, false, {R::Failed}, {false}, {1}, true, failed},
  };
  for (const Case& c : cases) {
    auto* display = new NullServices;
    TestApp tried(display);
    tried.windowed = c.windowed;
    tried.Init();
    std::tie(tried.accelerated, tried.fullscreenFailed, display->displayInits, display->displayResults) =
        std::tuple(c.accelerated, c.fullscreenFailed, std::vector<bool>{}, c.results);
    const bool opened = tried.InitDisplay();  // in this call only by trying again without acceleration
    EXPECT_EQ(std::tuple(display->displayInits, tried.exits, tried.windowed, tried.accelerated, tried.forceFullscreen,
                         opened),
              std::tuple(c.inits, c.exits, c.windowedAfter, false, c.windowed && !c.windowedAfter,
                         c.exits.empty() && c.inits == std::vector<bool>{true, false}))
        << static_cast<int>(c.results.front()) << " " << c.windowed;
    EXPECT_EQ(display->messageBoxes.empty() ? "" : display->messageBoxes.back(), c.box);
  }
  // Acceleration that may switch itself on but fails is switched off again.
  std::tie(services->accelerationWorks, app->autoEnable3D, services->displayResults) =
      std::tuple(true, true, std::deque{R::HardwareAccelerationFailed});
  app->Init();
  EXPECT_EQ(std::tuple(services->displayInits, app->accelerated, app->exits.empty()),
            std::tuple(std::vector<bool>{true, false}, false, true));
  // A window nobody could see: one line on standard error, exit 1, before the settings are read.
  struct Unseen : NullServices {
    std::string MissingDisplayReason() override { return "no X"; }
  };
  TestApp unseen(new Unseen);
  testing::internal::CaptureStderr();
  unseen.Init();
  EXPECT_EQ(std::tuple(testing::internal::GetCapturedStderr(), unseen.exits, unseen.readFromRegistry),
            std::tuple("Product needs a graphical desktop: no X.\n", std::vector<int>{1}, false));
  // A refused full-screen window falls back to a window once; a refused window ends the program.
  struct NoWindow : NullServices {
    std::size_t refusals = 0;  // of the first tries
    std::vector<bool> asked;   // windowed, per try
    bool CreateMainWindow(const Zing::Platform::WindowSpec& request) override {
      asked.push_back(request.windowed);
      return asked.size() > refusals && NullServices::CreateMainWindow(request);
    }
  };
  const std::tuple<bool, std::size_t, std::vector<bool>, std::vector<int>> starts[] = {
      {false, 1, {false, true}, {}}, {false, 2, {false, true}, {1}}, {true, 1, {true}, {1}}};
  for (const auto& [startWindowed, refusals, asked, exits] : starts) {
    auto* refusing = new NoWindow;
    TestApp start(refusing);
    std::tie(refusing->refusals, start.windowed) = std::tuple(refusals, startWindowed);
    start.Init();
    EXPECT_EQ(std::tuple(refusing->asked, start.exits, refusing->messageBoxes.size()),
              std::tuple(asked, exits, exits.size()));
  }
  for (const bool second : {false, true}) {
    auto* other = new NullServices;
    other->displayResults = {R::Failed};
    other->instanceTaken = second;
    TestApp copy(other);
    copy.Init();
    EXPECT_EQ(std::tuple(copy.exits, other->notificationsSent, other->windowExists, other->messageBoxes),
              std::tuple(std::vector<int>{!second}, int{second}, !second, Strings(!second, failed)));
  }
  EXPECT_EQ(Zing::DialogListener::GetDefault(), nullptr);  // a destroyed application leaves no listener behind
}

// A present that fails marks the display lost; it is brought back at once in an active window, else in a window at most
// once a second, never in an inactive full screen or while minimised; a good present ends the loss. A desktop no larger
// than the game either way rules windows out for the run (a width of 0: not known).
TEST_F(AppFixture, ALostDisplayComesBackWhenItMayAndTheDesktopDecidesTheMode) {
  Start();
  Tracer();
  services->presentFails = true;
  const std::tuple<bool, bool, bool, unsigned> losses[] = {
      {true, true, false, 300u}, {false, true, false, 3u}, {false, false, false, 0u}, {true, true, true, 0u}};
  for (const auto& [active, window, minimized, inits] : losses) {
    std::tie(services->windowActive, app->active, app->physWindowed, app->minimized) =
        std::tuple(active, active, window, minimized);
    const std::size_t before = services->displayInits.size();
    RunFor(3000);
    EXPECT_EQ(services->displayInits.size() - before, inits) << active << window << minimized;
  }
  std::tie(services->presentFails, app->minimized) = std::tuple(false, false);
  EXPECT_FALSE((RunFor(100), app->displayLost));
  for (const auto& [w, h, windowed] :
       {std::tuple{0, 0, true}, {1, 1, false}, {641, 481, true}, {640, 1000, false}, {1000, 480, false}}) {
    auto* display = new NullServices;
    display->desktop = {0, 0, w, h};
    TestApp started(display);
    started.Init();
    EXPECT_EQ(started.forceFullscreen, !windowed) << w;
  }
}

TEST_F(AppFixture, WindowPlaceSettingsStringsAndRandomNumbers) {
  std::tie(app->windowed, app->preferredX, app->preferredY) = std::tuple(true, -500, 5000);
  // A command line parsed ahead of Init is not parsed again.
  app->ParseCommandLine("-changedir=\"/tmp/a folder\"");
  app->commandLine = "-changedir=/tmp";
  app->Init();
  EXPECT_EQ(services->workingFolder, "/tmp/a folder");
  for (const char* line : {"", "-changedir=/handled"}) {  // none asked for, or one the program's hook took
    auto* other = new NullServices;
    other->workingFolder = "kept";
    TestApp second(other);
    second.commandLine = line, second.Init();
    EXPECT_EQ(other->workingFolder, "kept") << line;
  }
  // A 1920 x 1040 work area holds the picture twice over, frame included.
  const auto& window = services->lastWindow;
  EXPECT_EQ(std::tuple(window.scale, window.width, window.x, window.y), std::tuple(2, 640, 4, 1040 - 960 - 4));
  // A fixed scale from the settings file, read for the next window.
  ASSERT_TRUE(app->RegistryWriteInteger("WindowScale", 1));
  app->SwitchScreenMode();
  EXPECT_EQ(std::tuple(window.scale, window.y), std::tuple(1, 1040 - 480 - 4));  // limits: the scaling test's
  // Centred without a stored place; a stored one is kept 4 pixels inside the work area.
  services->workArea = {100, 50, 1280, 1000};
  const std::tuple<int, int, int, int> places[] = {
      {-1, -1, -1, -1}, {-1, 300, 104, 300}, {100, 2000, 104, 566}, {5000, 60, 736, 60}, {200, 54, 200, 54}};
  for (const auto& [px, py, x, y] : places) {
    std::tie(app->preferredX, app->preferredY) = std::tuple(px, py);
    app->SwitchScreenMode();
    EXPECT_EQ(std::pair(window.x, window.y), std::pair(x, y)) << px << "," << py;
  }
  // The settings: a run is in progress until they are written back; a mute of
  // the player's own is remembered, one for a lost focus is not.
  EXPECT_EQ(std::tuple(app->readFromRegistry, Stored("InProgress")), std::tuple(true, 1));
  app->SetMusicVolume(0.857);
  app->Mute(true);
  app->WriteToRegistry();
  EXPECT_EQ(std::tuple(Stored("MusicVolume"), Stored("Muted"), Stored("InProgress"), app->appliedMusicVolume,
                       Stored("CustomCursors"), app->appliedSfxVolume),
            std::tuple(85, 0, 0, 0.0, 0, 0.0));
  EXPECT_EQ((app->Mute(false), app->WriteToRegistry(), Stored("Muted")), 1);
  for (bool autoMute : {true, true, false}) app->Unmute(autoMute);  // at 0 the volumes are only re-applied
  EXPECT_EQ(std::tuple(app->muteCount, app->autoMuteCount, app->appliedMusicVolume), std::tuple(0, 0, 0.857));
  app->RegistryWriteInteger("ScreenMode", 0);
  auto second = std::make_unique<TestApp>(new NullServices);
  second->windowed = false;
  second->ReadFromRegistry();
  EXPECT_EQ(std::tuple(second->windowed, second->musicVolume), std::tuple(true, 0.85));
  // Strings with their defaults, popups under the fatal-error title, and the
  // standard generator with seed 0 standing for its classic seed.
  EXPECT_EQ(std::pair(app->GetString("DIALOG_BUTTON_OK", "x"), app->GetString("MISSING", "fallback")),
            std::pair(std::string("OK"), std::string("fallback")));
  EXPECT_EQ((app->SetString("FATAL_ERROR", "OOPS"), app->Popup("text"), services->messageBoxes.back()), "OOPS: text");
  const auto first = [&](std::uint32_t seed) { return app->SeedRandom(seed), app->Rand(); };
  EXPECT_EQ(std::pair(first(5489), first(0)), std::pair(3499211612u, first(4357)));
}

TEST_F(AppFixture, SafeDeletionWaitsForNestedLoopsToUnwind) {
  Start();
  bool deleted = false;
  auto* widget = new Doomed;
  widget->deleted = &deleted;
  app->updateAppDepth = 2;
  app->SafeDeleteWidget(widget);
  app->SafeDeleteWidget(widget);  // queued once
  // Deeper than where it was queued: kept; back at its own depth: deleted.
  // Once gone, it is not deleted again (the sanitizers would say so).
  for (const auto& [depth, gone] : {std::pair(3, false), {2, true}, {0, true}}) {
    app->updateAppDepth = depth;
    app->ProcessSafeDeleteList();
    EXPECT_EQ(deleted, gone) << depth;
  }
  // Queued by a handler inside a dialog's nested loop, the widget outlives
  // that loop's steps and goes once the outer step has unwound.
  deleted = false;
  auto* nested = new Doomed;
  nested->deleted = &deleted;
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
  EXPECT_EQ(std::pair(depthSeen, deleted), std::pair(1, true));
  // What is still queued goes with the application.
  auto* left = new Doomed;
  left->deleted = &deleted;
  deleted = false;
  app->SafeDeleteWidget(left);
  app.reset();
  EXPECT_TRUE(deleted);
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
};

TEST_F(Dialogs, AYesNoDialogAnsweredWithTheMouseReachesTheApplicationAndEndsTheWait) {
  Dialog* dialog = Confirm(3);
  // No size given: half the screen wide, centred, at a fifth of its height.
  EXPECT_EQ(std::tuple(dialog->x, dialog->y, dialog->width), std::tuple(160, 96, 320));
  EXPECT_EQ(std::tuple(dialog->height, app->GetDialog(3), app->modalOpens, dialog->yesButton->label),
            std::tuple(dialog->GetPreferredHeight(320), dialog, 1, "YES"));
  QueueClickOn(dialog->yesButton.get());
  EXPECT_EQ((std::tuple{dialog->WaitForResult(false), app->heard}),
            std::tuple(Dialog::ID_YES, Strings{"press 2003", "depress 2003"}));
  // The no button answers 3000 + id; the wait kills the dialog on its way out.
  bool deleted = false;
  auto* doomed = new Doomed<Dialog>(nullptr, nullptr, 9, false, "", "", "", Dialog::BUTTONS_NONE);
  doomed->deleted = &deleted;
  app->AddDialog(doomed);
  EXPECT_TRUE(app->KillDialog(9) && app->KillDialog(3));
  app->ProcessSafeDeleteList();
  // Not open any more: nothing changes.
  EXPECT_EQ(std::tuple(deleted, app->KillDialog(3), app->GetDialogCount()), std::tuple(true, false, 0));
  app->heard.clear();
  dialog = Confirm(4);
  QueueClickOn(dialog->noButton.get());
  EXPECT_EQ(dialog->WaitForResult(true), Dialog::ID_NO);
  EXPECT_EQ(std::tuple(app->heard, app->GetDialog(4), app->modalCloses),
            std::tuple(Strings{"press 3004", "depress 3004"}, nullptr, 2));
  Pump();  // the killed dialog is deleted once the loop is back at its level
}

TEST_F(Dialogs, DraggingStopsEightPixelsOffTheScreen) {
  Dialog* dialog = app->DoDialog(5, false, "EXIT GAME", "", "", Dialog::BUTTONS_YES_NO);
  dialog->Resize(100, 100, 300, 200);
  Zing::WidgetManager* manager = app->GetWidgetManager();
  services->Inject(MessageCode::MouseMove, 0, 110, 110);
  Pump();
  EXPECT_EQ((manager->MouseDown(110, 110, 1), services->cursor), 2);
  manager->MouseMove(-500, -500);
  // The grab point stays 8 pixels inside the dialog, on every side.
  EXPECT_EQ(std::tuple(dialog->x, dialog->y, dialog->dragMouseX, dialog->dragMouseY), std::tuple(-8, -8, 8, 8));
  EXPECT_EQ((manager->MouseMove(100, 100), dialog->x), 92);
  manager->MouseMove(5000, 5000);
  EXPECT_EQ(std::tuple(dialog->x, dialog->y, dialog->dragMouseX, dialog->dragMouseY),
            std::tuple(640 + 8 - 300, 480 + 8 - 200, 300 - 8 - 1, 200 - 8 - 1));
  // The buttons travel with the dialog.
  manager->MouseUp(5000, 5000, 1);
  EXPECT_EQ(std::tuple(dialog->yesButton->x - dialog->x, dialog->dragging, services->cursor), std::tuple(24, false, 0));
  // A double click does not start a drag.
  EXPECT_FALSE((manager->MouseDown(dialog->x + 10, dialog->y + 10, 2), dialog->dragging));
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
  // Killed and deleted by its own answer.
  EXPECT_EQ((std::tuple{over->WaitForResult(false), app->GetDialog(5)}), std::tuple(Dialog::ID_NO, nullptr));
  Pump();
  QueueClickOn(under->yesButton.get());
  Pump();
  EXPECT_EQ(std::tuple(app->heard, app->GetDialogCount(), app->modalCloses),
            std::tuple(Strings{"press 3005", "depress 3005", "press 2002", "depress 2002"}, 0, 2));
  // Leaving the program ends a wait at once: no loop step runs any more.
  Dialog* last = Confirm(6);
  app->Exit(7);
  ASSERT_FALSE(app->UpdateAppStep(nullptr));  // else the wait below would never end
  EXPECT_EQ(std::tuple(last->WaitForResult(true), app->exits), std::tuple(Dialog::kNoResult, std::vector<int>{7}));
}

TEST_F(Dialogs, TheWaitEndsWhenTheApplicationShutsDown) {
  Dialog* dialog = Confirm(2);
  app->Shutdown();
  EXPECT_EQ((std::pair{dialog->WaitForResult(true), app->GetDialogCount()}), std::pair(Dialog::kNoResult, 0));
  // A result left at -1 by the game reads 0 once the dialog is killed.
  Dialog* other = app->DoDialog(3, false, "", "x", "", Dialog::BUTTONS_NONE);
  other->result = -1;
  EXPECT_EQ((app->KillDialog(3, true, false), other->result), 0);
  // Killed without removing, the dialog stays on the screen; removed, it leaves the screen but is not deleted.
  for (const bool remove : {false, true}) {
    app->AddDialog(other);
    app->KillDialog(3, remove, false);
    EXPECT_EQ(app->GetWidgetManager()->HasWidget(other), !remove);
  }
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
  EXPECT_EQ(std::pair(services->imageCursorShown || app->imageCursorShown, services->cursor), std::pair(false, 1));
  app->EnableCustomCursors(true);
  EXPECT_TRUE(services->imageCursorShown && app->imageCursorShown && !app->systemCursorShown);
  EXPECT_EQ(std::tuple(services->imageCursorWidth, services->imageCursorHotX, services->imageCursorHotY,
                       services->imageCursorPixels[0]),
            std::tuple(32, 11, 2, 0xFF123456u));
  app->SetCursorImage(0, &hand), app->SetCursor(0);  // the first number may have an image too
  EXPECT_TRUE(services->imageCursorShown && app->imageCursorShown);
  app->SetCursorImage(0, nullptr);
  // A cursor number without an image keeps the platform's shape.
  app->SetCursor(3);
  EXPECT_EQ(std::pair(services->imageCursorShown || app->imageCursorShown, services->cursor), std::pair(false, 3));
  // Without an image, the platform's shape: the arrow outside the window, after a crash or for
  // numbers it lacks; none for 11 and 12; an override before the number's own.
  app->SetCursorImage(1, nullptr);
  const std::tuple<int, bool, int, bool, int> shapes[] = {
      {1, true, -1, false, 1},  {10, true, -1, false, 10}, {11, true, -1, false, 11}, {12, true, -1, false, 11},
      {13, true, -1, false, 0}, {-1, true, -1, false, 0},  {3, false, -1, false, 0},  {3, true, 5, false, 5},
      {3, true, 0, false, 0},   {3, true, -1, true, 0}};
  for (const auto& [number, in, override, crashed, shape] : shapes) {
    std::tie(app->mouseIn, app->overrideCursor, app->crashed) = std::tuple(in, override, crashed);
    app->SetCursor(number);
    EXPECT_EQ(std::pair(services->cursor, app->systemCursorShown), std::pair(shape, shape != 11)) << number;
  }
  std::tie(app->mouseIn, app->overrideCursor, app->crashed) = std::tuple(true, -1, false);
  // Cursor 12 shows its image whatever the setting; one pixel is an image.
  app->EnableCustomCursors(false);
  Zing::MemoryImage dot;
  dot.Create(1, 1);
  app->SetCursorImage(12, &dot, 0, 0);
  EXPECT_TRUE((app->SetCursor(12), services->imageCursorShown && app->imageCursorShown));
  app->SetCursorImage(12, nullptr);
  app->SetCursorImage(13, &dot, 0, 0);  // there is no cursor 13: nothing is written
  EXPECT_EQ(std::pair(app->cursorHotSpots[0].x, app->cursorHotSpots[0].y), std::pair(0, 0));
}

// Keeps the last picture presented.
struct Camera : NullServices {
  std::vector<std::uint32_t> shown;
  bool Present(const std::uint32_t* pixels, int w, int h) override {
    shown.assign(pixels, pixels + static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    return NullServices::Present(pixels, w, h);
  }
};

// The statistics in the corner, drawn in block letters over a patterned screen into the presented
// frame only: a box of black at 160 with a 2-pixel margin, the first line's baseline 10 pixels
// above the bottom and its end 10 from the right, the demo's line 15 higher, running over the top
// and left of a screen too small for it; each frame pinned by its digest.
TEST_F(AppFixture, StatisticsShowInTheCornerOfThePresentedFrameOnly) {
  app.reset();
  auto* camera = static_cast<Camera*>(services = new Camera);
  MakeApp();
  std::tie(app->width, app->height, app->showFPS) = std::tuple(100, 30, true);
  Start();
  app->UseBlockFont();
  Tracer();
  RunFor(1500);
  app->UpdateStatistics(app->fpsStart + 999);  // the count waits for the second to be full
  EXPECT_EQ(app->StatisticsLines(), Strings{"FPS: 100"});
  Zing::MemoryImage* screen = app->GetScreenImage();
  std::uint32_t* bits = screen->GetBits();
  for (int i = 0; i < 100 * 30; ++i)
    bits[i] = 0xFF404040u + ((static_cast<std::uint32_t>(i) * 2654435761u >> 8) & 0x3F3F3Fu);
  screen->BitsChanged();
  const std::vector<std::uint32_t> before(bits, bits + 100 * 30);
  for (const auto& [demo, lines, digest] :
       {std::tuple{false, 1u, 788750250322921015ull}, std::tuple{true, 2u, 10209156338866735639ull}}) {
    std::tie(app->playingDemo, app->demoLength, app->forceRedraw) = std::tuple(demo, 360000, true);
    ASSERT_EQ(app->StatisticsLines().size(), lines);
    ASSERT_TRUE(app->DrawDirtyWidgets());
    std::uint64_t shown = Fnv("");
    for (std::uint32_t pixel : camera->shown) shown = (shown ^ pixel) * 0x100000001b3ull;
    EXPECT_EQ(shown, digest) << demo;
    EXPECT_TRUE(std::equal(before.begin(), before.end(), screen->GetBits())) << demo;  // as the widgets left it
  }
  // The other mode shows where the pointer is.
  std::tie(app->fpsMode, app->playingDemo) = std::tuple(1, false);
  Send(MessageCode::MouseMove, 0, 123, 45);
  EXPECT_EQ(app->StatisticsLines(), Strings{"123, 45"});
}

// At the end of a run, acceleration switched on is kept or dropped for the
// next runs, asking the player where the display could not vouch for it;
// acceleration that misbehaved is offered to be switched off.
TEST_F(AppFixture, TheEndOfARunKeepsOrDropsAcceleration) {
  using Zing::Platform::AnswerNo;
  using Zing::Platform::AnswerYes;
  // Switched on, accelerated, stored before, the display's test passed,
  // misbehaved, switched off, screen saver, the player's answer; then the
  // stored "Is3D" (-1: none) and whether the player was asked.
  const std::tuple<bool, bool, bool, bool, bool, bool, bool, int, int, bool> cases[] = {
      {true, true, false, false, false, false, false, AnswerYes, 1, true},
      {true, true, false, false, false, false, false, AnswerNo, 0, true},
      {true, true, true, false, false, false, false, AnswerNo, 1, false},
      {true, true, false, true, false, false, false, AnswerNo, 1, false},
      {true, false, false, false, false, false, false, AnswerYes, 0, false},
      {false, true, false, false, true, false, false, AnswerNo, 0, true},
      {false, true, false, false, true, false, false, AnswerYes, -1, true},
      {false, false, false, false, true, true, true, AnswerNo, 0, false},
      {false, false, false, false, false, true, false, AnswerNo, 0, false},
      {false, true, false, false, false, true, false, AnswerNo, -1, false},
      {false, false, false, false, false, false, false, AnswerNo, -1, false}};
  int row = 0;
  for (const auto& [on, accelerated, stored, passed, misbehaved, off, saver, answer, is3D, asked] : cases) {
    app->RegistryEraseValue("Is3D");
    if (stored) app->RegistryWriteBoolean("Is3D", false);
    std::tie(app->accelerationSwitchedOn, app->accelerated, app->accelerationMisbehaved, app->accelerationSwitchedOff,
             app->isScreenSaver, app->accelerationTestResult) =
        std::tuple(on, accelerated, misbehaved, off, saver, passed);
    services->messageBoxAnswer = answer;
    const std::size_t boxes = services->messageBoxes.size();
    app->ConfirmAccelerationOnExit();
    EXPECT_EQ(std::pair(Stored("Is3D"), services->messageBoxes.size() - boxes), std::pair(is3D, std::size_t{asked}))
        << "row " << row++;
  }
  app->accelerationSwitchedOn = app->accelerationMisbehaved = false;
  // At the start, a stored choice is tested again before it is used, and a failed test forgets it;
  // without one, acceleration that may switch itself on does so when the test passes. Stored (-1:
  // none), may switch on, the test passes; then accelerated, switched on, stored after, the test's
  // result (-1: not run).
  const std::tuple<int, bool, bool, bool, bool, int, int> starts[] = {
      {-1, false, true, false, false, -1, -1}, {-1, true, true, true, true, -1, 1},
      {-1, true, false, false, false, -1, 0},  {1, false, true, true, false, 1, 1},
      {1, false, false, false, false, -1, 0},  {0, true, true, false, false, 0, 1},
      {0, false, true, false, false, 0, -1}};
  row = 0;
  for (const auto& [stored, autoOn, works, accelerated, switchedOn, after, result] : starts) {
    app->RegistryEraseValue("Is3D");
    if (stored >= 0) app->RegistryWriteBoolean("Is3D", stored == 1);
    std::tie(app->autoEnable3D, app->test3D, app->accelerated, app->accelerationSwitchedOn, app->accelerationTestResult,
             services->accelerationWorks) = std::tuple(autoOn, false, false, false, -1, works);
    app->MakeWindow();
    EXPECT_EQ(std::tuple(app->accelerated, app->accelerationSwitchedOn, Stored("Is3D"), app->accelerationTestResult,
                         services->displayInits.back()),
              std::tuple(accelerated, switchedOn, after, result, accelerated))
        << "start " << row++;
  }
  // Switching it in the options raises the flag of its way; staying as it is raises none.
  for (const auto& [from, to] : {std::pair(false, true), {true, false}, {true, true}}) {
    std::tie(app->accelerated, app->accelerationSwitchedOn, app->accelerationSwitchedOff) =
        std::tuple(from, false, false);
    app->SwitchScreenMode(app->windowed, to);
    EXPECT_EQ(std::tuple(app->accelerated, app->accelerationSwitchedOn, app->accelerationSwitchedOff),
              std::tuple(to, to && !from, from && !to));
  }
}

}  // namespace
