#pragma once

// An application on the window-less platform for the tests, and a fixture that drives its main
// loop: exits are recorded instead of ending the process, the loading thread is left to the test,
// the settings and saved files go to a fresh folder, and time is the platform's simulated clock.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "framework/app/ZingAppBase.h"
#include "framework/platform/NullPlatform.h"
#include "tests/support/TempFolder.h"

namespace ZingTest {

// The window-less platform for loops that must end: half a minute of polling without
// the clock moving fails the test and shuts the application down, rather than hang.
struct GuardedServices : Zing::Platform::NullServices {
  std::uint32_t lastClock = ~0u;  // none seen yet
  std::chrono::steady_clock::time_point still = std::chrono::steady_clock::now();
  bool PollMessage(Zing::Platform::WindowMessage& message) override {
    if (clock != lastClock) lastClock = clock, still = std::chrono::steady_clock::now();
    if (std::chrono::steady_clock::now() - still > std::chrono::seconds(30))
      ADD_FAILURE() << "the loop runs on without time", Zing::GetApp()->Shutdown(), lastClock = ~clock;
    return NullServices::PollMessage(message);
  }
  std::function<void()> leave;  // what the desktop calls when the session ends
  void SetLeaveHandler(std::function<void()> handler) override { leave = std::move(handler); }
};

template <typename Base = Zing::ZingAppBase>
class NullApp : public Base {
 public:
  explicit NullApp(Zing::Platform::NullServices* nullServices)
      : Base(std::unique_ptr<Zing::Platform::NullServices>(nullServices)) {
    this->autoStartLoadingThread = false;
  }
  void ExitProcess(int code) override { exits.push_back(code); }
  std::vector<int> exits;
  using Zing::ZingAppBase::deferredMessages, Zing::ZingAppBase::WindowProc;
};

template <typename App>
struct NullAppFixture : ::testing::Test {
  TempFolder home;
  Zing::Platform::NullServices* services = new GuardedServices;  // owned by the application
  std::unique_ptr<App> app;

  // The application, with its settings and data below `home`.
  void MakeApp() {
    setenv("XDG_CONFIG_HOME", home.Path().c_str(), 1);
    services->appDataFolder = home.Path() + "/data/";
    app = std::make_unique<App>(services);
  }

  // Initialised and running, the clock checked from now.
  void Start() {
    app->Init();
    app->running = true;
    app->lastTimeCheck = services->clock;
    app->timeChecked = true;
  }

  // Loop steps until the simulated clock has moved `ms` further (a loop that
  // stops the clock gives up after a million steps instead of running on).
  void RunFor(std::uint32_t ms) {
    const std::uint32_t end = services->clock + ms;
    for (int steps = 0; services->clock < end && !app->shutdown && steps < 1000000; ++steps) app->UpdateApp();
  }

  // One window message, handled with everything it defers.
  void Send(const Zing::Platform::WindowMessage& m) {
    app->WindowProc(m);
    while (!app->deferredMessages.empty() && !app->shutdown) {
      bool updated = false;
      app->updateAppState = 0;
      app->UpdateAppStep(&updated);
    }
  }
  void Send(Zing::Platform::MessageCode code, int param = 0, int x = 0, int y = 0, bool alt = false) {
    Zing::Platform::WindowMessage m;
    m.code = code;
    m.param = param;
    m.x = x;
    m.y = y;
    m.altDown = alt;
    Send(m);
  }
};

}  // namespace ZingTest
