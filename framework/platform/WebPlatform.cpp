// The browser platform: the page's canvas holds the 640 x 480 picture, which
// the page scales with crisp pixels; the page's input events become the
// framework's window messages, pointer positions mapped back to picture
// pixels from the canvas's CSS box. The loop gives the browser its turn
// whenever it sleeps and wakes in the browser's frame callback (Asyncify
// unwinds and rewinds the loop's stack), so nested waits work unchanged.
// There are no threads: loading runs in slices on the main loop.

#include <emscripten.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "framework/platform/Folders.h"
#include "framework/platform/Platform.h"
#include "framework/platform/WebInput.h"
#include "framework/platform/Windows1252.h"

// The page's side, in WebPage.js.
extern "C" {
void zing_web_init(int width, int height);
void zing_web_set_title(const char* title);
void zing_web_sleep(int milliseconds);
int zing_web_next_event(double* fields);
void zing_web_present(const std::uint8_t* rgba, int width, int height);
void zing_web_set_cursor(int shape);
int zing_web_set_image_cursor(const std::uint8_t* rgba, int width, int height, int hotX, int hotY);
void zing_web_set_full_screen(int on);
int zing_web_has_focus();
int zing_web_pointer(double* fields);
void zing_web_screen_size(int* fields);
int zing_web_message_box(const char* text, int yesNo);
}

namespace Zing::Platform {

namespace {

// Event kinds as WebPage.js queues them.
enum PageEvent {
  kPageMove = 1,
  kPageButtonDown = 2,
  kPageButtonUp = 3,
  kPageWheel = 4,
  kPageKeyDown = 5,
  kPageKeyUp = 6,
  kPageChar = 7,
  kPageLeave = 8,
  kPageFocus = 9,
  kPageFullScreenLeft = 10,
  kPagePaint = 11,
};
constexpr int kEventFields = 8;

// The loop never keeps the page from drawing and hearing input longer than this.
constexpr std::uint32_t kMaxBusyMilliseconds = 50;

// 0xAARRGGBB words to the page's R, G, B, A bytes, opaque or as they are.
void ToPageBytes(const std::uint32_t* pixels, std::size_t count, bool opaque, std::vector<std::uint8_t>& out) {
  out.resize(count * 4);
  std::uint8_t* to = out.data();
  for (std::size_t i = 0; i < count; ++i, to += 4) {
    const std::uint32_t p = pixels[i];
    to[0] = static_cast<std::uint8_t>(p >> 16);
    to[1] = static_cast<std::uint8_t>(p >> 8);
    to[2] = static_cast<std::uint8_t>(p);
    to[3] = opaque ? 0xFF : static_cast<std::uint8_t>(p >> 24);
  }
}

class WebServices;
WebServices* gPage = nullptr;  // the one page the program runs in

class WebServices final : public Services {
 public:
  WebServices() : start(emscripten_get_now()) { gPage = this; }
  ~WebServices() override {
    if (gPage == this) gPage = nullptr;
  }

  std::uint32_t Now() override { return static_cast<std::uint32_t>(emscripten_get_now() - start); }

  void Sleep(int milliseconds) override {
    zing_web_sleep(std::max(0, milliseconds));
    lastYield = Now();
  }

  bool CreateMainWindow(const WindowSpec& request) override {
    width = request.width;
    height = request.height;
    if (!pageReady) zing_web_init(width, height);
    pageReady = true;
    zing_web_set_title(Windows1252ToUtf8(request.title).c_str());
    fullScreen = !request.windowed;
    zing_web_set_full_screen(fullScreen ? 1 : 0);
    return true;
  }

  void DestroyMainWindow() override {}
  bool HasMainWindow() const override { return pageReady; }
  void ShowMainWindow() override {}
  void RestoreAndRaiseWindow() override {}
  void HideMainWindow() override {}
  bool IsMainWindowActive() override { return zing_web_has_focus() != 0; }
  bool IsMainWindowNormal() override { return !fullScreen; }

  bool GetWindowPosition(int& x, int& y) override {
    x = 0;
    y = 0;
    return true;
  }

  ScreenRect GetDesktopWorkArea() override { return GetDesktopSize(); }

  ScreenRect GetDesktopSize() override {
    int size[2] = {0, 0};
    zing_web_screen_size(size);
    return {0, 0, size[0], size[1]};
  }

  DisplayResult InitDisplay(bool /*accelerated*/, std::string& error) override {
    if (!pageReady) {
      error = "no canvas";
      return DisplayResult::Failed;
    }
    return DisplayResult::Ok;
  }

  // The picture is put on a 2D canvas; there is no accelerated display.
  bool TestAcceleration() override { return false; }

  bool Present(const std::uint32_t* pixels, int pictureWidth, int pictureHeight) override {
    if (!pageReady || pictureWidth != width || pictureHeight != height) return false;
    ToPageBytes(pixels, static_cast<std::size_t>(width) * static_cast<std::size_t>(height), true, pageBytes);
    zing_web_present(pageBytes.data(), width, height);
    return true;
  }

  bool PollMessage(WindowMessage& message) override {
    // A loop that has worked long without sleeping lets the page draw and
    // deliver its input first.
    if (Now() - lastYield >= kMaxBusyMilliseconds) Sleep(0);
    if (pending.empty()) Pump();
    if (pending.empty()) return false;
    message = pending.front();
    pending.pop_front();
    return true;
  }

  void CaptureMouse(bool /*on*/) override {}  // the page follows a held button itself

  bool GetPointerInWindow(int& x, int& y) override {
    double fields[4] = {0, 0, 0, 0};
    if (zing_web_pointer(fields) == 0) return false;
    const PicturePoint point = CanvasToPicture(fields[0], fields[1], fields[2], fields[3], width, height);
    x = point.x;
    y = point.y;
    return true;
  }

  void SetCursor(int shape) override { zing_web_set_cursor(shape); }

  bool SetImageCursor(const std::uint32_t* pixels, int cursorWidth, int cursorHeight, int hotX, int hotY) override {
    if (pixels == nullptr || cursorWidth <= 0 || cursorHeight <= 0) return false;
    std::vector<std::uint8_t> bytes;
    ToPageBytes(pixels, static_cast<std::size_t>(cursorWidth) * static_cast<std::size_t>(cursorHeight), false, bytes);
    return zing_web_set_image_cursor(bytes.data(), cursorWidth, cursorHeight, hotX, hotY) != 0;
  }

  int MessageBox(const std::string& text, const std::string& title, int kind) override {
    const std::string shown = Windows1252ToUtf8(title.empty() ? text : title + "\n\n" + text);
    const bool yesNo = kind == MessageBoxYesNo;
    const int answer = zing_web_message_box(shown.c_str(), yesNo ? 1 : 0);
    if (!yesNo) return AnswerOk;
    return answer != 0 ? AnswerYes : AnswerNo;
  }

  bool RunsCursorThread() const override { return false; }
  bool RunsThreads() const override { return false; }
  void SetLeaveHandler(std::function<void()> handler) override { leaveHandler = std::move(handler); }
  bool MayEndWithoutClose() const override { return true; }

  // The page's clipboard answers only asynchronously; the edit field's copy
  // and paste stay within the program.
  std::string GetClipboardText() override { return clipboard; }
  void SetClipboardText(const std::string& text) override { clipboard = text; }
  void AllowScreenSaver(bool) override {}

  // The run's figures are for desktop developers; the page's console stays quiet.
  void DebugOutput(const std::string&) override {}

  // Every page is an instance of its own.
  bool AcquireInstance(const std::string&) override { return true; }
  void NotifyRunningInstance(const std::string&) override {}

  std::string GetAppDataFolder(const std::string& company, const std::string& product) override {
    return UserDataFolder(company, product);
  }

  bool ChangeDirectory(const std::string& path) override { return ChangeWorkingFolder(path); }

  // Called by the page when it is being hidden or left.
  void Leave() {
    if (leaveHandler) leaveHandler();
  }

 private:
  void Pump() {
    double fields[kEventFields];
    while (pending.empty() && zing_web_next_event(fields) != 0) Translate(fields);
  }

  void PushPointer(MessageCode code, const double* fields) {
    const PicturePoint point = CanvasToPicture(fields[2], fields[3], fields[4], fields[5], width, height);
    WindowMessage m;
    m.code = code;
    m.x = point.x;
    m.y = point.y;
    pending.push_back(m);
  }

  void PushButton(const double* fields, bool down) {
    const int button = static_cast<int>(fields[1]);
    const int clicks = static_cast<int>(fields[6]);
    // An even click count is the second click of a double click.
    const bool dbl = down && clicks >= 2 && clicks % 2 == 0;
    MessageCode code;
    switch (button) {
      case 0:
        code = !down ? MessageCode::LButtonUp : dbl ? MessageCode::LButtonDblClk : MessageCode::LButtonDown;
        break;
      case 2:
        code = !down ? MessageCode::RButtonUp : dbl ? MessageCode::RButtonDblClk : MessageCode::RButtonDown;
        break;
      case 1:
        code = down ? MessageCode::MButtonDown : MessageCode::MButtonUp;
        break;
      default:
        return;
    }
    PushPointer(code, fields);
  }

  void PushKey(const double* fields, bool down) {
    const int key = VirtualKeyFromPage(static_cast<int>(fields[1]));
    if (key == 0) return;
    WindowMessage m;
    m.code = down ? MessageCode::KeyDown : MessageCode::KeyUp;
    m.param = key;
    m.altDown = fields[2] != 0;
    pending.push_back(m);
    if (!down || m.altDown) return;
    if (const int c = ControlCharacterOf(key, fields[3] != 0); c != 0) Push(MessageCode::Char, c);
  }

  // Characters the code page lacks are dropped, not replaced.
  void PushCharacter(char32_t codePoint) {
    const int code = static_cast<unsigned char>(CodePointToWindows1252(codePoint, '\0'));
    if (code >= 32) Push(MessageCode::Char, code);
  }

  void Push(MessageCode code, int param = 0) {
    WindowMessage m;
    m.code = code;
    m.param = param;
    pending.push_back(m);
  }

  void Translate(const double* fields) {
    switch (static_cast<int>(fields[0])) {
      case kPageMove:
        PushPointer(MessageCode::MouseMove, fields);
        break;
      case kPageButtonDown:
        PushButton(fields, true);
        break;
      case kPageButtonUp:
        PushButton(fields, false);
        break;
      case kPageWheel:
        if (const int delta = WheelDeltaFromPage(fields[1]); delta != 0) Push(MessageCode::MouseWheel, delta);
        break;
      case kPageKeyDown:
        PushKey(fields, true);
        break;
      case kPageKeyUp:
        PushKey(fields, false);
        break;
      case kPageChar:
        PushCharacter(static_cast<char32_t>(fields[1]));
        break;
      case kPageLeave:
        Push(MessageCode::MouseLeave);
        break;
      case kPageFocus:
        Push(MessageCode::ActivateApp, fields[1] != 0 ? 1 : 0);
        break;
      case kPageFullScreenLeft:
        // The browser left full screen (Escape, or it refused): the program
        // switches to its window as on Alt+Enter.
        if (fullScreen) {
          WindowMessage m;
          m.code = MessageCode::KeyDown;
          m.param = KEYCODE_RETURN;
          m.altDown = true;
          pending.push_back(m);
        }
        break;
      case kPagePaint:
        Push(MessageCode::Paint);
        break;
      default:
        break;
    }
  }

  double start;
  std::uint32_t lastYield = 0;
  bool pageReady = false;
  bool fullScreen = false;
  int width = 640;
  int height = 480;
  std::deque<WindowMessage> pending;
  std::vector<std::uint8_t> pageBytes;
  std::string clipboard;
  std::function<void()> leaveHandler;
};

}  // namespace

std::unique_ptr<Services> CreateWebServices() { return std::make_unique<WebServices>(); }

std::unique_ptr<Services> CreateDefaultServices() { return CreateWebServices(); }

}  // namespace Zing::Platform

// The page calls this when it is hidden or left (reload, closed tab): the
// program keeps its game and settings while the loop still sleeps.
extern "C" EMSCRIPTEN_KEEPALIVE void zing_web_leave() {
  if (Zing::Platform::gPage != nullptr) Zing::Platform::gPage->Leave();
}
