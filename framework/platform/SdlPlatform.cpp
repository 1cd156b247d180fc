// The desktop platform: one SDL window that shows the 640 x 480 screen image
// at a whole-number scale with nearest-neighbour pixels (a window of that
// scale, or the full screen with black bars), presented by SdlPresenter; SDL
// events become the framework's window messages, with pointer positions
// mapped back to the picture's pixels.

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <vector>

#include "framework/platform/Cursors.h"
#include "framework/platform/DisplayPresence.h"
#include "framework/platform/Folders.h"
#include "framework/platform/ImageCursor.h"
#include "framework/platform/Platform.h"
#include "framework/platform/Scaling.h"
#include "framework/platform/SdlControllers.h"
#include "framework/platform/SdlInput.h"
#include "framework/platform/SdlPresenter.h"
#include "framework/platform/SingleInstance.h"
#include "framework/platform/StopSignals.h"
#include "framework/platform/Windows1252.h"

namespace Zing::Platform {

namespace {

class SdlServices final : public Services {
 public:
  SdlServices() {
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // Stop requests are ours to answer, before the window exists and after
    // the display library has gone.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The window's own pixel memory stays plain memory: SDL would otherwise
    // back it with an accelerated renderer and load a graphics driver for it.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    InstallStopSignalHandlers();
    const char* debug = std::getenv("LINTWICK_DEBUG");
    if (debug != nullptr && std::string(debug) == "1") {
      SDL_LogSetPriority(SDL_LOG_CATEGORY_APPLICATION, SDL_LOG_PRIORITY_DEBUG);
    }
  }

  ~SdlServices() override {
    DestroyMainWindow();
    imageCursor.reset();  // cursors go before SDL does
    controllers.reset();
    for (SDL_Cursor*& cursor : cursors) {
      if (cursor != nullptr) SDL_FreeCursor(cursor);
    }
    if (videoReady) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  }

  std::string MissingDisplayReason() override {
    DisplayChoice choice;
    const bool ready = VideoReady();
    choice.chosenDriver = ready ? SDL_GetCurrentVideoDriver() : nullptr;
    choice.requestedDriver = std::getenv("SDL_VIDEODRIVER");
    choice.x11Display = std::getenv("DISPLAY");
    choice.waylandDisplay = std::getenv("WAYLAND_DISPLAY");
    if (!ready) choice.error = SDL_GetError();
    return UnseenDisplayReason(choice);
  }

  std::uint32_t Now() override { return static_cast<std::uint32_t>(SDL_GetTicks64()); }
  void Sleep(int milliseconds) override {
    if (milliseconds > 0) SDL_Delay(static_cast<Uint32>(milliseconds));
  }

  bool CreateMainWindow(const WindowSpec& request) override {
    DestroyMainWindow();
    if (!VideoReady()) return false;
    logicalWidth = request.width;
    logicalHeight = request.height;
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
    if (!request.windowed) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (request.windowed && request.allowMaximize) flags |= SDL_WINDOW_RESIZABLE;
    const int x = request.x < 0 ? static_cast<int>(SDL_WINDOWPOS_CENTERED) : request.x;
    const int y = request.y < 0 ? static_cast<int>(SDL_WINDOWPOS_CENTERED) : request.y;
    const int scale = std::max(1, request.scale);
    window = SDL_CreateWindow(Windows1252ToUtf8(request.title).c_str(), x, y, request.width * scale,
                              request.height * scale, flags);
    return window != nullptr;
  }

  void DestroyMainWindow() override {
    presenter.Release();
    if (window != nullptr) SDL_DestroyWindow(window);
    window = nullptr;
  }

  bool HasMainWindow() const override { return window != nullptr; }

  void ShowMainWindow() override {
    if (window == nullptr) return;
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
    SDL_StartTextInput();
  }

  void RestoreAndRaiseWindow() override {
    if (window == nullptr) return;
    SDL_RestoreWindow(window);
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
  }

  void HideMainWindow() override {
    if (window != nullptr) SDL_HideWindow(window);
  }

  bool IsMainWindowActive() override {
    return window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS) != 0;
  }

  bool IsMainWindowNormal() override {
    if (window == nullptr) return false;
    const Uint32 flags = SDL_GetWindowFlags(window);
    return (flags & SDL_WINDOW_SHOWN) && !(flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_MAXIMIZED)) &&
           !(flags & SDL_WINDOW_FULLSCREEN);
  }

  bool GetWindowPosition(int& x, int& y) override {
    if (window == nullptr) return false;
    SDL_GetWindowPosition(window, &x, &y);
    return true;
  }

  ScreenRect GetDesktopWorkArea() override {
    SDL_Rect area{0, 0, 0, 0};
    if (VideoReady() && SDL_GetDisplayUsableBounds(DisplayIndex(), &area) != 0) SDL_GetDisplayBounds(0, &area);
    return {area.x, area.y, area.w, area.h};
  }

  ScreenRect GetDesktopSize() override {
    SDL_DisplayMode mode{};
    if (!VideoReady() || SDL_GetDesktopDisplayMode(DisplayIndex(), &mode) != 0) return {};
    return {0, 0, mode.w, mode.h};
  }

  DisplayResult InitDisplay(bool accelerated, std::string& error) override {
    return presenter.Init(window, logicalWidth, logicalHeight, accelerated, error);
  }

  bool TestAcceleration() override { return VideoReady() && presenter.TestAcceleration(); }

  bool Present(const std::uint32_t* pixels, int width, int height) override {
    return presenter.Present(pixels, width, height);
  }

  bool PollMessage(WindowMessage& message) override {
    if (pending.empty()) Pump();
    if (pending.empty()) return false;
    message = pending.front();
    pending.pop_front();
    return true;
  }

  void CaptureMouse(bool on) override {
    if (VideoReady()) SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE);
  }

  bool GetPointerInWindow(int& x, int& y) override {
    if (window == nullptr || SDL_GetMouseFocus() != window) return false;
    int wx = 0;
    int wy = 0;
    SDL_GetMouseState(&wx, &wy);
    presenter.Layout().WindowToPicture(wx, wy, x, y);
    return true;
  }

  void SetCursor(int shape) override {
    if (!VideoReady()) return;
    if (shape == CursorNone || shape < 0 || shape >= static_cast<int>(cursors.size())) {
      SDL_ShowCursor(SDL_DISABLE);
      return;
    }
    auto& cursor = cursors[static_cast<std::size_t>(shape)];
    if (cursor == nullptr) cursor = CreateCursorShape(shape);
    if (cursor != nullptr) SDL_SetCursor(cursor);
    SDL_ShowCursor(SDL_ENABLE);
  }

  bool SetImageCursor(const std::uint32_t* pixels, int width, int height, int hotX, int hotY) override {
    if (!VideoReady()) return false;
    if (!imageCursor) imageCursor = std::make_unique<ImageCursor>();
    return imageCursor->Show(pixels, width, height, hotX, hotY);
  }

  int MessageBox(const std::string& text, const std::string& title, int kind) override {
    const int fallback = kind == MessageBoxYesNo ? AnswerYes : AnswerOk;
    const std::string utf8Text = Windows1252ToUtf8(text);
    const std::string utf8Title = Windows1252ToUtf8(title);
    std::vector<SDL_MessageBoxButtonData> buttons;
    if (kind == MessageBoxYesNo) {
      buttons.push_back({SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, AnswerYes, "Yes"});
      buttons.push_back({SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, AnswerNo, "No"});
    } else {
      buttons.push_back(
          {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, AnswerOk, "OK"});
    }
    const SDL_MessageBoxData data{SDL_MESSAGEBOX_INFORMATION,
                                  window,
                                  utf8Title.c_str(),
                                  utf8Text.c_str(),
                                  static_cast<int>(buttons.size()),
                                  buttons.data(),
                                  nullptr};
    int answer = 0;
    if (!VideoReady() || SDL_ShowMessageBox(&data, &answer) != 0 || answer <= 0) {
      std::fprintf(stderr, "%s: %s\n", utf8Title.c_str(), utf8Text.c_str());
      return fallback;
    }
    return answer;
  }

  std::string GetClipboardText() override {
    if (!VideoReady()) return {};
    char* text = SDL_GetClipboardText();
    std::string result = text != nullptr ? Utf8ToWindows1252(text) : std::string();
    SDL_free(text);
    return result;
  }

  void SetClipboardText(const std::string& text) override {
    if (VideoReady()) SDL_SetClipboardText(Windows1252ToUtf8(text).c_str());
  }

  void AllowScreenSaver(bool allow) override {
    if (!VideoReady()) return;
    if (allow) {
      SDL_EnableScreenSaver();
    } else {
      SDL_DisableScreenSaver();
    }
  }

  void DebugOutput(const std::string& text) override { SDL_LogDebug(SDL_LOG_CATEGORY_APPLICATION, "%s", text.c_str()); }

  bool AcquireInstance(const std::string& name) override { return instance.Acquire(name); }
  void NotifyRunningInstance(const std::string& name) override { SingleInstance::Notify(name); }

  std::string GetAppDataFolder(const std::string& company, const std::string& product) override {
    return UserDataFolder(company, product);
  }

  bool ChangeDirectory(const std::string& path) override { return ChangeWorkingFolder(path); }

 private:
  // The display is opened on first need, not when the services are made: a
  // run that only answers --help or --version touches no display at all (and
  // the display library prints nothing about a missing session).
  bool VideoReady() {
    if (!videoTried) {
      videoTried = true;
      videoReady = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
      // Game controllers come with the window's events.
      if (videoReady) controllers = std::make_unique<SdlControllers>();
    }
    return videoReady;
  }

  int DisplayIndex() const {
    const int index = window != nullptr ? SDL_GetWindowDisplayIndex(window) : 0;
    return index < 0 ? 0 : index;
  }

  // Pointer messages carry window positions; the program wants picture pixels.
  void MapPointer(WindowMessage& message) const {
    if (IsPointerMessage(message.code)) presenter.Layout().WindowToPicture(message.x, message.y, message.x, message.y);
  }

  // A window that was covered or resized shows what it held no longer.
  void NoticeLostPicture(const SDL_Event& event) {
    if (event.type != SDL_WINDOWEVENT) return;
    const Uint8 what = event.window.event;
    if (what == SDL_WINDOWEVENT_EXPOSED || what == SDL_WINDOWEVENT_SIZE_CHANGED) presenter.Invalidate();
  }

  void Pump() {
    if (instance.TakeNotification()) {
      WindowMessage notify;
      notify.code = MessageCode::Notify;
      pending.push_back(notify);
    }
    if (TakeStopRequest()) {
      WindowMessage close;
      close.code = MessageCode::Close;
      pending.push_back(close);
    }
    if (!VideoReady()) return;
    SDL_Event event;
    std::vector<WindowMessage> translated;
    while (pending.empty() && SDL_PollEvent(&event)) {
      translated.clear();
      NoticeLostPicture(event);
      if (!controllers || !controllers->Translate(event, translated)) TranslateSdlEvent(event, translated);
      for (WindowMessage& message : translated) MapPointer(message);
      pending.insert(pending.end(), translated.begin(), translated.end());
    }
  }

  bool videoTried = false;
  bool videoReady = false;
  SDL_Window* window = nullptr;
  int logicalWidth = 640;
  int logicalHeight = 480;
  SdlPresenter presenter;
  std::deque<WindowMessage> pending;
  std::array<SDL_Cursor*, CursorNone> cursors{};
  std::unique_ptr<ImageCursor> imageCursor;
  std::unique_ptr<SdlControllers> controllers;
  SingleInstance instance;
};

}  // namespace

std::unique_ptr<Services> CreateSdlServices() { return std::make_unique<SdlServices>(); }

std::unique_ptr<Services> CreateDefaultServices() { return CreateSdlServices(); }

}  // namespace Zing::Platform
