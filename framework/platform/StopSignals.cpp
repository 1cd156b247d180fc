#include "framework/platform/StopSignals.h"

#include <csignal>

namespace Zing::Platform {

namespace {

constexpr int kStopSignals[] = {SIGTERM, SIGINT};

volatile std::sig_atomic_t stopPending = 0;

extern "C" void OnStopSignal(int signalNumber) {
  if (stopPending != 0) {
    // The first request was never taken: the program is not reading its
    // messages any more, so this one ends it the ordinary way.
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
    return;
  }
  stopPending = 1;
}

}  // namespace

void InstallStopSignalHandlers() {
  static const bool installed = [] {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : kStopSignals) sigaction(signalNumber, &action, nullptr);
    return true;
  }();
  (void)installed;
}

bool TakeStopRequest() {
  if (stopPending == 0) return false;
  stopPending = 0;
  return true;
}

}  // namespace Zing::Platform
