// Translation of desktop input into the framework's messages, and the
// Windows-1252 text it carries; whole-number scaling of the 640 x 480 picture:
// the window's scale, the letterbox in full screen, and the pointer's exact
// way back to picture pixels.

#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <tuple>
#include <utility>
#include <vector>

#include "framework/platform/DisplayPresence.h"
#include "framework/platform/Platform.h"
#include "framework/platform/Scaling.h"
#include "framework/platform/SdlControllers.h"
#include "framework/platform/SdlInput.h"
#include "framework/platform/StopSignals.h"
#include "framework/platform/WebInput.h"
#include "framework/platform/Windows1252.h"

namespace {

using Zing::Platform::MessageCode;
using Messages = std::vector<std::pair<MessageCode, int>>;

// The code and parameter of every message an event becomes.
Messages Translate(const SDL_Event& event) {
  std::vector<Zing::Platform::WindowMessage> out;
  Zing::Platform::TranslateSdlEvent(event, out);
  Messages codes;
  for (const auto& m : out) codes.emplace_back(m.code, m.param);
  return codes;
}

SDL_Event Button(Uint32 type, Uint8 button, Uint8 clicks) {
  SDL_Event e{};
  e.type = type;
  e.button.button = button;
  e.button.clicks = clicks;
  return e;
}

SDL_Event Key(Uint32 type, SDL_Keycode key, Uint16 mod = KMOD_NONE) {
  SDL_Event e{};
  e.type = type;
  e.key.keysym.sym = key;
  e.key.keysym.mod = mod;
  return e;
}

SDL_Event Window(Uint8 event) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = event;
  return e;
}

TEST(PlatformInput, EventsBecomeTheFrameworksMessages) {
  using M = MessageCode;
  SDL_Event wheel{};
  wheel.type = SDL_MOUSEWHEEL;
  wheel.wheel.y = -2;
  SDL_Event flipped = wheel;
  flipped.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  const std::pair<SDL_Event, Messages> cases[] = {
      // An even click count is a double click; the middle button has none.
      {Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1), {{M::LButtonDown, 0}}},
      {Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 3), {{M::LButtonDown, 0}}},
      {Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 2), {{M::RButtonDblClk, 0}}},
      {Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 2), {{M::MButtonDown, 0}}},
      {Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 1), {}},
      {wheel, {{M::MouseWheel, -240}}},
      {flipped, {{M::MouseWheel, 240}}},
      // Keys that type a control character bring it along, but not with Alt;
      // letters arrive as text, Control with a letter only for the edit field.
      {Key(SDL_KEYDOWN, SDLK_RETURN), {{M::KeyDown, 13}, {M::Char, 13}}},
      {Key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT), {{M::KeyDown, 13}}},
      {Key(SDL_KEYDOWN, SDLK_v, KMOD_LCTRL), {{M::KeyDown, 'V'}, {M::Char, 22}}},
      {Key(SDL_KEYDOWN, SDLK_q, KMOD_LCTRL), {{M::KeyDown, 'Q'}}},
      {Key(SDL_KEYDOWN, SDLK_a), {{M::KeyDown, 'A'}}},
      {Key(SDL_KEYUP, SDLK_PAGEDOWN), {{M::KeyUp, 34}}},
      {Key(SDL_KEYUP, SDLK_RSHIFT), {{M::KeyUp, 16}}},
      {Key(SDL_KEYDOWN, SDLK_CAPSLOCK), {}},
      {Window(SDL_WINDOWEVENT_MINIMIZED), {{M::Size, Zing::Platform::SizeMinimized}}},
      {Window(SDL_WINDOWEVENT_FOCUS_LOST), {{M::ActivateApp, 0}}},
      {quit, {{M::Close, 0}}},
  };
  for (const auto& [event, expected] : cases) EXPECT_EQ(Translate(event), expected) << event.type;
  // Positions and modifiers travel with the message.
  SDL_Event down = Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1);
  down.button.x = 12;
  down.button.y = 34;
  std::vector<Zing::Platform::WindowMessage> out;
  Zing::Platform::TranslateSdlEvent(down, out);
  SDL_Event moved = Window(SDL_WINDOWEVENT_MOVED);
  moved.window.data1 = 70;
  Zing::Platform::TranslateSdlEvent(moved, out);
  Zing::Platform::TranslateSdlEvent(Key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT), out);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(std::pair(out[0].x, out[0].y), std::pair(12, 34));
  EXPECT_EQ(out[1].x, 70);
  EXPECT_TRUE(out[2].altDown);
}

// A controller's buttons and left stick arrive as the keys they stand for;
// the stick holds a direction past half way and lets go below a quarter, and
// a controller pulled out lets go of what it held. The SDL services handle
// the device events themselves, opening controllers as they come.
TEST(PlatformInput, ControllersArriveAsKeys) {
  using Zing::Platform::ControllerKeys;
  const auto codes = [](const std::vector<Zing::Platform::WindowMessage>& out) {
    Messages m;
    for (const auto& message : out) m.emplace_back(message.code, message.param);
    return m;
  };
  ControllerKeys keys;
  std::vector<Zing::Platform::WindowMessage> out;
  const std::tuple<int, bool, Messages> buttons[] = {
      {SDL_CONTROLLER_BUTTON_DPAD_UP, true, {{MessageCode::KeyDown, Zing::KEYCODE_UP}}},
      {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false, {{MessageCode::KeyUp, Zing::KEYCODE_RIGHT}}},
      {SDL_CONTROLLER_BUTTON_A, true, {{MessageCode::KeyDown, 13}, {MessageCode::Char, 13}}},
      {SDL_CONTROLLER_BUTTON_B, true, {{MessageCode::KeyDown, 27}, {MessageCode::Char, 27}}},
      {SDL_CONTROLLER_BUTTON_START, true, {{MessageCode::KeyDown, Zing::KEYCODE_START}}},
      {SDL_CONTROLLER_BUTTON_X, true, {}},
  };
  for (const auto& [button, down, expected] : buttons) {
    out.clear();
    keys.Button(button, down, out);
    EXPECT_EQ(codes(out), expected) << button;
  }
  const std::tuple<int, int, int, Messages> moves[] = {
      {1, SDL_CONTROLLER_AXIS_LEFTX, 12000, {}},
      {1, SDL_CONTROLLER_AXIS_LEFTX, 20000, {{MessageCode::KeyDown, Zing::KEYCODE_RIGHT}}},
      {1, SDL_CONTROLLER_AXIS_LEFTX, 12000, {}},
      {1,
       SDL_CONTROLLER_AXIS_LEFTX,
       -32768,
       {{MessageCode::KeyUp, Zing::KEYCODE_RIGHT}, {MessageCode::KeyDown, Zing::KEYCODE_LEFT}}},
      {1, SDL_CONTROLLER_AXIS_LEFTX, 100, {{MessageCode::KeyUp, Zing::KEYCODE_LEFT}}},
      {1, SDL_CONTROLLER_AXIS_LEFTY, 30000, {{MessageCode::KeyDown, Zing::KEYCODE_DOWN}}},
      {2, SDL_CONTROLLER_AXIS_LEFTY, -30000, {{MessageCode::KeyDown, Zing::KEYCODE_UP}}},
      {1, SDL_CONTROLLER_AXIS_RIGHTX, 30000, {}},
  };
  for (const auto& [controller, axis, value, expected] : moves) {
    out.clear();
    keys.Axis(controller, axis, value, out);
    EXPECT_EQ(codes(out), expected) << axis << " " << value;
  }
  out.clear();
  keys.Release(1, out);
  EXPECT_EQ(codes(out), (Messages{{MessageCode::KeyUp, Zing::KEYCODE_DOWN}}));
}

TEST(PlatformInput, TypedTextArrivesAsWindows1252) {
  SDL_Event text{};
  text.type = SDL_TEXTINPUT;
  // e-acute, euro sign, sharp s, a character outside the code page, 'x'
  std::snprintf(text.text.text, sizeof text.text.text, "%s",
                "\xC3\xA9\xE2\x82\xAC\xC3\x9F\xE4\xB8\xAD"
                "x");
  EXPECT_EQ(
      Translate(text),
      (Messages{
          {MessageCode::Char, 0xE9}, {MessageCode::Char, 0x80}, {MessageCode::Char, 0xDF}, {MessageCode::Char, 'x'}}));
}

using Zing::Platform::ChooseWindowScale;
using Zing::Platform::PictureLayout;
using Zing::Platform::ScreenRect;

std::array<int, 4> Fields(const ScreenRect& r) { return {r.x, r.y, r.w, r.h}; }

std::array<int, 2> Map(const PictureLayout& layout, int wx, int wy) {
  std::array<int, 2> p{};
  layout.WindowToPicture(wx, wy, p[0], p[1]);
  return p;
}

TEST(Scaling, WindowScaleIsTheLargestThatFitsOrTheFixedOne) {
  // Work area width and height, fixed scale (0: automatic), scale.
  for (const auto& [w, h, fixed, scale] : {std::tuple{1920, 1050, 0, 2},
                                           {5120, 2880, 0, 5},  // automatic is not held to 4
                                           {1280, 992, 0, 2},
                                           {1280, 991, 0, 1},   // no room for the title bar
                                           {0, 0, 0, 1},        // smaller desktops still get a window
                                           {1920, 1050, 3, 2},  // never larger than the desktop
                                           {3840, 2120, 3, 3},
                                           {1920, 1050, -1, 2}}) {  // out of range: automatic
    EXPECT_EQ(ChooseWindowScale({0, 0, w, h}, 640, 480, fixed), scale) << w << "x" << h << " " << fixed;
  }
}

// Full screen is letterboxed at a whole-number scale, and the pointer maps
// back exactly (the window tests check scales 1 to 3 and the bars through
// the display itself): here the screens the dummy display cannot be.
TEST(Scaling, LetterboxAndThePointerOnDenseScreens) {
  using Zing::Platform::FitPicture;
  EXPECT_EQ(Fields(FitPicture(1920, 1080, 640, 480)), (std::array{320, 60, 1280, 960}));
  EXPECT_EQ(Fields(FitPicture(640, 480, 640, 480)), (std::array{0, 0, 640, 480}));
  EXPECT_EQ(Fields(FitPicture(320, 480, 640, 480)), (std::array{0, 120, 320, 240}));  // shrunk, shape kept
  PictureLayout layout;
  layout.Update(640, 480, 1920, 1080, 1920, 1080);  // scale 2 at (320, 60)
  EXPECT_EQ(std::tuple(Map(layout, 319, 59), Map(layout, 1599, 1019), Map(layout, 1600, 1020)),
            std::tuple(std::array{-1, -1}, std::array{639, 479}, std::array{640, 480}));
  // A window of 1280 x 960 points drawn with 2560 x 1920 pixels: scale 4 in
  // pixels, still 2 in pointer positions.
  layout.Update(640, 480, 2560, 1920, 1280, 960);
  EXPECT_EQ(layout.Picture().w, 2560);
  for (int wx = 0; wx < 1280; ++wx) ASSERT_EQ(Map(layout, wx, 0)[0], wx / 2);
  EXPECT_EQ(Map(layout, 1279, 959)[1], 479);
}

}  // namespace

// SIGTERM and SIGINT close the program the way its close button does, also
// while it is closing; only a second request the program never took ends it.
TEST(PlatformInput, StopSignalsAskTheProgramToClose) {
  const auto drain = [](Zing::Platform::Services& services) {
    std::vector<MessageCode> codes;
    Zing::Platform::WindowMessage message;
    while (services.PollMessage(message)) codes.push_back(message.code);
    return codes;
  };
  {
    auto services = Zing::Platform::CreateSdlServices();
    drain(*services);
    std::raise(SIGTERM);
    EXPECT_EQ(drain(*services), std::vector<MessageCode>{MessageCode::Close});
    std::raise(SIGINT);
    EXPECT_EQ(drain(*services), std::vector<MessageCode>{MessageCode::Close});
    EXPECT_TRUE(drain(*services).empty());
  }
  std::raise(SIGTERM);  // the display library has gone; the request waits
  EXPECT_EXIT(std::raise(SIGTERM), testing::KilledBySignal(SIGTERM), "");
  EXPECT_TRUE(Zing::Platform::TakeStopRequest());
}

// The browser: the canvas's CSS box may have any size, fractional ones
// included (a device-pixel scale of 1.25 or 1.5); every point maps to the
// picture pixel under it, points beside the box outside 0..639 / 0..479.
TEST(WebInput, CanvasPointsMapToPicturePixelsAtAnyScale) {
  using Zing::Platform::CanvasToPicture;
  struct Case {
    double x, y, boxW, boxH;
    int px, py;
  };
  const Case cases[] = {
      {0, 0, 640, 480, 0, 0},
      {639.9, 479.9, 640, 480, 639, 479},
      {640, 480, 640, 480, 640, 480},
      {-0.5, -3, 640, 480, -1, -3},
      {1279.5, 959.5, 1280, 960, 639, 479},
      {2, 1.99, 1280, 960, 1, 0},
      {512, 384, 512, 384, 640, 480},
      {1.25, 1.25, 800, 600, 1, 1},
      {1.2, 1.2, 800, 600, 0, 0},
      {998.75, 748.75, 800, 600, 799, 599},
      {479.9, 359.9, 480, 360, 639, 479},
      {10, 10, 0, 0, 10, 10},  // no box yet: the picture's own size
  };
  for (const Case& c : cases) {
    const auto p = CanvasToPicture(c.x, c.y, c.boxW, c.boxH, 640, 480);
    EXPECT_EQ(std::pair(p.x, p.y), std::pair(c.px, c.py)) << c.x << "," << c.y << " in " << c.boxW << "x" << c.boxH;
  }
  // Every CSS pixel edge of a 1.5-times box lands on the pixel it starts.
  for (int x = 0; x < 640; ++x) EXPECT_EQ(CanvasToPicture(x * 1.5, 0, 960, 720, 640, 480).x, x);
}

TEST(WebInput, PageKeysAndWheel) {
  using Zing::Platform::VirtualKeyFromPage;
  using Zing::Platform::WheelDeltaFromPage;
  const std::pair<int, int> keys[] = {{65, 65}, {90, 90}, {48, 48}, {57, 57}, {112, 112}, {123, 123},
                                      {13, 13}, {8, 8},   {9, 9},   {27, 27}, {18, 18},   {46, 46},
                                      {37, 37}, {124, 0}, {91, 0},  {186, 0}, {0, 0}};
  for (const auto& [page, key] : keys) EXPECT_EQ(VirtualKeyFromPage(page), key) << page;
  EXPECT_EQ(std::tuple(WheelDeltaFromPage(-3), WheelDeltaFromPage(100), WheelDeltaFromPage(0)),
            std::tuple(120, -120, 0));
}

// Drivers that draw into memory are refused only when nobody asked for them;
// the reason names what the program looked for.
TEST(PlatformInput, AWindowNobodyCanSeeIsRefusedWithItsReason) {
  using Zing::Platform::DisplayChoice;
  const std::string none = "no display was found (DISPLAY and WAYLAND_DISPLAY are not set)";
  const struct {
    const char *chosen, *requested, *x11, *wayland;
    std::string reason;
  } cases[] = {
      {"x11", nullptr, ":0", nullptr, ""},
      {"wayland", nullptr, nullptr, "wayland-0", ""},
      {"KMSDRM", nullptr, nullptr, nullptr, ""},
      {"offscreen", nullptr, nullptr, nullptr, none},
      {"offscreen", "", "", "", none},
      {"dummy", nullptr, nullptr, nullptr, none},
      {"offscreen", nullptr, ":7", nullptr, "no display could be opened (DISPLAY=:7)"},
      {"offscreen", nullptr, ":7", "w-1", "no display could be opened (DISPLAY=:7, WAYLAND_DISPLAY=w-1)"},
      {"dummy", "dummy", nullptr, nullptr, ""},
      {"offscreen", "offscreen", nullptr, nullptr, ""},
      {nullptr, nullptr, nullptr, nullptr, none},
      {nullptr, "x11", ":3", nullptr, "the display driver \"x11\" could not start (no X)"},
  };
  for (const auto& c : cases) {
    DisplayChoice choice{c.chosen, c.requested, c.x11, c.wayland, "no X"};
    EXPECT_EQ(Zing::Platform::UnseenDisplayReason(choice), c.reason) << (c.chosen ? c.chosen : "none");
  }
}
