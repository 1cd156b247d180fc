// Whether hardware acceleration is offered, and the question at the end of a
// run that keeps or drops it for the next runs ("Is3D").

#include "framework/app/ZingAppBase.h"

namespace Zing {

namespace {

constexpr const char* kIs3DValue = "Is3D";

}  // namespace

bool ZingAppBase::Is3DSupported() {
  accelerationTestResult = services->TestAcceleration() ? 1 : 0;
  return accelerationTestResult == 1;
}

// The answer of the last test: at the end of a run the display is gone and
// must not be tested again.
bool ZingAppBase::Is3DRecommended() { return accelerationTestResult == 1; }

void ZingAppBase::ConfirmAccelerationOnExit() {
  if (registryKey.empty()) return;
  const std::string boxTitle = GetString("HARDWARE_ACCEL_CONFIRMATION", "Hardware Acceleration Confirmation");
  bool stored = false;
  if (accelerationSwitchedOn) {
    bool keep = accelerated;
    if (keep && !RegistryReadBoolean(kIs3DValue, stored) && !Is3DRecommended()) {
      const std::string text = GetString(
          "HARDWARE_ACCEL_SWITCHED_ON",
          "Hardware Acceleration was switched on during this session.\r\nIf this resulted in slower performance, it "
          "should be switched off.\r\nWould you like to keep Hardware Acceleration switched on?");
      keep = ZingAppBase::MsgBox(text, boxTitle, Platform::MessageBoxYesNo) == Platform::AnswerYes;
    }
    RegistryWriteBoolean(kIs3DValue, keep);
    return;
  }
  if (accelerationMisbehaved && !isScreenSaver) {
    const std::string text = GetString(
        "HARDWARE_ACCEL_NOT_WORKING",
        "Hardware Acceleration may not have been working correctly during this session.\r\nIf you noticed graphics "
        "problems, you may want to turn off Hardware Acceleration.\r\nWould you like to keep Hardware Acceleration "
        "switched on?");
    if (ZingAppBase::MsgBox(text, boxTitle, Platform::MessageBoxYesNo) != Platform::AnswerYes) {
      RegistryWriteBoolean(kIs3DValue, false);
    }
    return;
  }
  // Switching acceleration off in the options lasts beyond this run too.
  if (accelerationSwitchedOff && !accelerated) RegistryWriteBoolean(kIs3DValue, false);
}

}  // namespace Zing
