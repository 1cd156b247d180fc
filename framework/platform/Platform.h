#pragma once

// The services the framework asks of the operating system, in the framework's
// own vocabulary: window messages with virtual-key numbers and click codes,
// 8-bit Windows-1252 text, millisecond ticks. The SDL services provide them on
// a desktop; NullServices runs the whole framework without a window, on a clock
// the caller advances, for tests.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "framework/platform/KeyCodes.h"

namespace Zing::Platform {

// Window messages as the platform delivers them to the application's window
// procedure. Mouse positions are in logical screen pixels.
enum class MessageCode {
  Move,            // x, y: new position of the window
  Size,            // param: SizeRestored, SizeMinimized or SizeMaximized
  Close,
  ActivateApp,     // param: 1 activated, 0 deactivated
  SysColorChange,
  DisplayChange,
  KeyDown,         // param: virtual-key code
  KeyUp,           // param: virtual-key code
  Char,            // param: Windows-1252 character (1..255)
  Timer,
  MouseMove,       // x, y
  LButtonDown,
  LButtonUp,
  LButtonDblClk,
  RButtonDown,
  RButtonUp,
  RButtonDblClk,
  MButtonDown,
  MButtonUp,
  MouseWheel,      // param: wheel delta, 120 per notch
  Paint,
  Notify,          // a second instance asked this one to come to the front
  MouseLeave,      // the pointer left the window
};

// Moves and button messages of the pointer: the messages that carry its
// position in x and y (the wheel's carries none).
constexpr bool IsPointerMessage(MessageCode code) {
  return code >= MessageCode::MouseMove && code <= MessageCode::MButtonUp;
}

enum SizeKind { SizeRestored = 0, SizeMinimized = 1, SizeMaximized = 2 };

struct WindowMessage {
  MessageCode code = MessageCode::Timer;
  int param = 0;
  int x = 0;
  int y = 0;
  bool altDown = false;  // Alt was held when a key message arrived
};

// What initialising the display reports.
enum class DisplayResult {
  Ok,
  FullScreenUnavailable,
  FullScreenUnavailable2,
  ColorDepthUnsupported,
  HardwareAccelerationFailed,
  Failed,
};

// Cursor shapes by the framework's cursor numbers; CursorNone hides it.
enum CursorShape {
  CursorArrow = 0, CursorHand = 1, CursorDragging = 2, CursorText = 3, CursorNo = 4, CursorMove = 5,
  CursorSizeNESW = 6, CursorSizeNS = 7, CursorSizeNWSE = 8, CursorSizeWE = 9, CursorWait = 10, CursorNone = 11,
};

// Message box flags and answers.
enum MessageBoxKind { MessageBoxOk = 0, MessageBoxYesNo = 4 };
enum MessageBoxAnswer { AnswerOk = 1, AnswerYes = 6, AnswerNo = 7 };

struct WindowSpec {
  std::string title;
  bool windowed = true;
  int width = 640;  // the picture the program draws
  int height = 480;
  int scale = 1;    // a window shows the picture at this whole-number scale
  int x = -1;       // -1: centred in the work area
  int y = -1;
  bool allowMaximize = false;
};

struct ScreenRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
};

class Services {
 public:
  virtual ~Services() = default;

  // Why the player could not see a window opened here ("" when a window can
  // be seen): a desktop library that found no screen and fell back to drawing
  // into memory, although nobody asked it to, would let the program run
  // unseen.
  virtual std::string MissingDisplayReason() { return {}; }

  // Clock.
  virtual std::uint32_t Now() = 0;  // milliseconds, monotonic
  virtual void Sleep(int milliseconds) = 0;

  // The main window and the display that presents the screen image in it.
  virtual bool CreateMainWindow(const WindowSpec& request) = 0;
  virtual void DestroyMainWindow() = 0;
  virtual bool HasMainWindow() const = 0;
  virtual void ShowMainWindow() = 0;        // show, raise and focus
  virtual void RestoreAndRaiseWindow() = 0; // un-minimise and bring to the front
  virtual void HideMainWindow() = 0;
  virtual bool IsMainWindowActive() = 0;
  virtual bool IsMainWindowNormal() = 0;    // shown, neither minimised nor maximised
  virtual bool GetWindowPosition(int& x, int& y) = 0;
  virtual ScreenRect GetDesktopWorkArea() = 0;
  virtual ScreenRect GetDesktopSize() = 0;
  virtual DisplayResult InitDisplay(bool accelerated, std::string& error) = 0;
  virtual bool TestAcceleration() = 0;  // true when an accelerated display works here
  virtual bool Present(const std::uint32_t* pixels, int width, int height) = 0;

  // Messages for the window procedure, one at a time; false when none is waiting.
  virtual bool PollMessage(WindowMessage& message) = 0;

  // Pointer and cursor.
  virtual void CaptureMouse(bool on) = 0;
  virtual bool GetPointerInWindow(int& x, int& y) = 0;  // false when outside the window
  virtual void SetCursor(int shape) = 0;
  // Shows `width` x `height` 0xAARRGGBB pixels as the pointer, with the
  // pointer's position at (hotX, hotY) of the image; the desktop moves it by
  // itself. False when the platform cannot show such a cursor.
  virtual bool SetImageCursor(const std::uint32_t* /*pixels*/, int /*width*/, int /*height*/, int /*hotX*/,
                              int /*hotY*/) {
    return false;
  }

  // Message boxes answer their default when no display can be opened.
  virtual int MessageBox(const std::string& text, const std::string& title, int kind) = 0;

  // Whether a thread may poll the pointer while the main thread works.
  virtual bool RunsCursorThread() const { return true; }
  // Whether the program may start threads at all. Without them the loading
  // that would run on its own thread runs in slices on the main loop.
  virtual bool RunsThreads() const { return true; }
  // Where the program may go away without a close request and without time
  // to run its loop again (a browser tab reloaded or closed), the handler
  // runs at that moment to keep what must survive. Desktops always send a
  // close request, so they ignore it.
  virtual void SetLeaveHandler(std::function<void()> /*handler*/) {}
  // Whether the program may end that way, so that progress is better kept
  // as it is made.
  virtual bool MayEndWithoutClose() const { return false; }

  virtual std::string GetClipboardText() = 0;
  virtual void SetClipboardText(const std::string& text) = 0;
  virtual void AllowScreenSaver(bool allow) = 0;
  // The desktop's screen saver, so that the window is painted again after it:
  // its time-out in milliseconds (0 when none is enabled or the desktop does
  // not tell), whether it is running now, and the time of the user's last
  // input on this clock (false when the desktop does not tell). SDL tells none
  // of these; there a window the screen saver covered gets a Paint message.
  virtual int ScreenSaverTimeout() { return 0; }
  virtual bool IsScreenSaverRunning() { return false; }
  virtual bool GetLastInputTick(std::uint32_t& /*tick*/) { return false; }
  virtual void DebugOutput(const std::string& text) = 0;

  // Single instance: true when this is the first instance of `name`; a
  // second instance tells the first with NotifyRunningInstance.
  virtual bool AcquireInstance(const std::string& name) = 0;
  virtual void NotifyRunningInstance(const std::string& name) = 0;

  // Folders.
  virtual std::string GetAppDataFolder(const std::string& company, const std::string& product) = 0;
  virtual bool ChangeDirectory(const std::string& path) = 0;
};

// The desktop platform (SDL2 and POSIX).
std::unique_ptr<Services> CreateSdlServices();

// The browser platform (Emscripten): one canvas of the page, its storage and
// its audio. Exists only in the web build.
std::unique_ptr<Services> CreateWebServices();

// The platform of this build: the browser's in the web build, else SDL's.
std::unique_ptr<Services> CreateDefaultServices();

}  // namespace Zing::Platform
