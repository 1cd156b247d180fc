#pragma once

// Platform services without a window: a clock that only moves when the
// program sleeps or the caller advances it, messages the caller injects, and
// a record of what the program asked for. Tests run the whole framework on it.

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "framework/platform/Platform.h"

namespace Zing::Platform {

class NullServices : public Services {
 public:
  // What the program did, and knobs that shape what it sees.
  std::uint32_t clock = 1000;
  std::uint32_t totalSlept = 0;
  std::deque<WindowMessage> messages;
  std::deque<DisplayResult> displayResults;  // next InitDisplay results; Ok when empty
  bool accelerationWorks = false;
  bool presentFails = false;
  bool windowActive = true;
  bool pointerInWindow = false;
  int pointerX = 0;
  int pointerY = 0;
  bool instanceTaken = false;
  int notificationsSent = 0;
  ScreenRect desktop{0, 0, 1920, 1080};
  ScreenRect workArea{0, 0, 1920, 1040};
  std::string appDataFolder;
  int messageBoxAnswer = 0;  // 0: the box's default
  int presentMs = 0;         // how long a present takes
  bool screenSaverAllowed = true;
  int screenSaverTimeout = 0;
  bool screenSaverRunning = false;
  std::uint32_t lastInput = 0;  // 0: unknown
  bool threads = true;          // false: a platform without threads (the browser)

  bool windowExists = false;
  bool windowShown = false;
  WindowSpec lastWindow;
  int windowsCreated = 0;
  std::vector<bool> displayInits;  // acceleration asked for, per InitDisplay
  int presents = 0;
  bool capture = false;
  int cursor = CursorArrow;
  // The image cursor last asked for, and whether it is the one shown.
  bool imageCursorShown = false;
  int imageCursorWidth = 0;
  int imageCursorHeight = 0;
  int imageCursorHotX = 0;
  int imageCursorHotY = 0;
  std::vector<std::uint32_t> imageCursorPixels;
  std::vector<std::string> messageBoxes;
  std::vector<std::string> debugLines;
  std::string clipboard;
  std::string workingFolder;

  std::uint32_t Now() override { return clock; }
  void Sleep(int milliseconds) override;

  bool CreateMainWindow(const WindowSpec& request) override;
  void DestroyMainWindow() override { windowExists = windowShown = false; }
  bool HasMainWindow() const override { return windowExists; }
  void ShowMainWindow() override { windowShown = windowExists; }
  void RestoreAndRaiseWindow() override { windowShown = windowExists; }
  void HideMainWindow() override { windowShown = false; }
  bool IsMainWindowActive() override { return windowExists && windowActive; }
  bool IsMainWindowNormal() override { return windowShown && lastWindow.windowed; }
  bool GetWindowPosition(int& x, int& y) override;
  ScreenRect GetDesktopWorkArea() override { return workArea; }
  ScreenRect GetDesktopSize() override { return desktop; }
  DisplayResult InitDisplay(bool accelerated, std::string& error) override;
  bool TestAcceleration() override { return accelerationWorks; }
  bool Present(const std::uint32_t* pixels, int width, int height) override;

  bool PollMessage(WindowMessage& message) override;

  void CaptureMouse(bool on) override { capture = on; }
  bool GetPointerInWindow(int& x, int& y) override;
  void SetCursor(int shape) override {
    cursor = shape;
    imageCursorShown = false;
  }
  bool SetImageCursor(const std::uint32_t* pixels, int width, int height, int hotX, int hotY) override;
  int MessageBox(const std::string& text, const std::string& title, int kind) override;
  bool RunsCursorThread() const override { return false; }
  bool RunsThreads() const override { return threads; }
  std::string GetClipboardText() override { return clipboard; }
  void SetClipboardText(const std::string& text) override { clipboard = text; }
  void AllowScreenSaver(bool allow) override { screenSaverAllowed = allow; }
  int ScreenSaverTimeout() override { return screenSaverTimeout; }
  bool IsScreenSaverRunning() override { return screenSaverRunning; }
  bool GetLastInputTick(std::uint32_t& tick) override {
    tick = lastInput;
    return lastInput != 0;
  }
  void DebugOutput(const std::string& text) override { debugLines.push_back(text); }

  bool AcquireInstance(const std::string&) override { return !instanceTaken; }
  void NotifyRunningInstance(const std::string&) override { ++notificationsSent; }
  std::string GetAppDataFolder(const std::string&, const std::string&) override { return appDataFolder; }
  bool ChangeDirectory(const std::string& path) override;

  // Helpers for tests.
  void Advance(std::uint32_t milliseconds) { clock += milliseconds; }
  void Inject(MessageCode code, int param = 0, int x = 0, int y = 0);
};

}  // namespace Zing::Platform
