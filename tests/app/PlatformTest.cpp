// The desktop under the framework: input translated into the framework's messages (Windows-1252
// text, controllers; the browser's input is the browser tests'), the display a window needs, and
// the 640 x 480 picture at whole-number scales: the window's scale, the letterbox, the pointer's
// way back to picture pixels, and presenting with only the changed rows written.

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "framework/platform/AccelerationProbe.h"
#include "framework/platform/DisplayPresence.h"
#include "framework/platform/Platform.h"
#include "framework/platform/Scaling.h"
#include "framework/platform/SdlControllers.h"
#include "framework/platform/SdlInput.h"
#include "framework/platform/SurfacePicture.h"

namespace {

using namespace Zing::Platform;
using Messages = std::vector<std::pair<MessageCode, int>>;

Messages Codes(const std::vector<WindowMessage>& out) {
  Messages codes;
  for (const auto& m : out) codes.emplace_back(m.code, m.param);
  return codes;
}

// An SDL event of `type`; `set` fills in its fields.
template <typename Set>
SDL_Event Event(Uint32 type, Set set) {
  SDL_Event e{};
  e.type = type;
  set(e);
  return e;
}
SDL_Event Button(Uint32 type, Uint8 button, Uint8 clicks) {
  return Event(type, [&](SDL_Event& e) { std::tie(e.button.button, e.button.clicks) = std::tuple(button, clicks); });
}
SDL_Event Key(Uint32 type, SDL_Keycode key, Uint16 mod = KMOD_NONE) {
  return Event(type, [&](SDL_Event& e) { std::tie(e.key.keysym.sym, e.key.keysym.mod) = std::tuple(key, mod); });
}
SDL_Event Window(Uint8 event) {
  return Event(SDL_WINDOWEVENT, [&](SDL_Event& e) { e.window.event = event; });
}

TEST(PlatformInput, EventsBecomeTheFrameworksMessages) {
  using M = MessageCode;
  const auto wheel = [](Uint32 direction) {
    return Event(SDL_MOUSEWHEEL,
                 [&](SDL_Event& e) { std::tie(e.wheel.y, e.wheel.direction) = std::tuple(-2, direction); });
  };
  // e-acute, euro sign, sharp s, a character outside the code page, 'x'
  const SDL_Event text = Event(SDL_TEXTINPUT, [](SDL_Event& e) {
    std::snprintf(e.text.text, sizeof e.text.text, "%s", "\xC3\xA9\xE2\x82\xAC\xC3\x9F\xE4\xB8\xADx");
  });
  const std::pair<SDL_Event, Messages> cases[] = {
      // An even click count is a double click; the middle button has none.
      {Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1), {{M::LButtonDown, 0}}},
      {Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 3), {{M::LButtonDown, 0}}},
      {Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 2), {{M::RButtonDblClk, 0}}},
      {Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 2), {{M::MButtonDown, 0}}},
      {Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 1), {}},
      {wheel(SDL_MOUSEWHEEL_NORMAL), {{M::MouseWheel, -240}}},
      {wheel(SDL_MOUSEWHEEL_FLIPPED), {{M::MouseWheel, 240}}},
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
      {Window(SDL_WINDOWEVENT_MINIMIZED), {{M::Size, SizeMinimized}}},
      {Window(SDL_WINDOWEVENT_FOCUS_LOST), {{M::ActivateApp, 0}}},
      {Event(SDL_QUIT, [](SDL_Event&) {}), {{M::Close, 0}}},
      // Typed text arrives in Windows-1252; what the code page lacks is dropped.
      {text, {{M::Char, 0xE9}, {M::Char, 0x80}, {M::Char, 0xDF}, {M::Char, 'x'}}},
  };
  for (const auto& [event, expected] : cases) {
    std::vector<WindowMessage> out;
    TranslateSdlEvent(event, out);
    EXPECT_EQ(Codes(out), expected) << event.type;
  }
  // Positions and modifiers travel with the message.
  SDL_Event down = Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1);
  std::tie(down.button.x, down.button.y) = std::tuple(12, 34);
  SDL_Event moved = Window(SDL_WINDOWEVENT_MOVED);
  moved.window.data1 = 70;
  std::vector<WindowMessage> out;
  for (const SDL_Event& e : {down, moved, Key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT)}) TranslateSdlEvent(e, out);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(std::tuple(out[0].x, out[0].y, out[1].x, out[2].altDown), std::tuple(12, 34, 70, true));
}

// A controller's buttons and left stick arrive as the keys they stand for;
// the stick holds a direction past half way and lets go below a quarter, and
// a controller pulled out lets go of what it held.
TEST(PlatformInput, ControllersArriveAsKeys) {
  using M = MessageCode;
  ControllerKeys keys;
  std::vector<WindowMessage> out;
  const int x = SDL_CONTROLLER_AXIS_LEFTX, y = SDL_CONTROLLER_AXIS_LEFTY, button = -1, pulled = -2;
  // A button (pressed or not) of controller 1, an axis of a controller at a value, or a controller pulled out.
  const std::tuple<int, int, int, Messages> steps[] = {
      {button, SDL_CONTROLLER_BUTTON_DPAD_UP, 1, {{M::KeyDown, Zing::KEYCODE_UP}}},
      {button, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0, {{M::KeyUp, Zing::KEYCODE_RIGHT}}},
      {button, SDL_CONTROLLER_BUTTON_A, 1, {{M::KeyDown, 13}, {M::Char, 13}}},
      {button, SDL_CONTROLLER_BUTTON_B, 1, {{M::KeyDown, 27}, {M::Char, 27}}},
      {button, SDL_CONTROLLER_BUTTON_START, 1, {{M::KeyDown, Zing::KEYCODE_START}}},
      {button, SDL_CONTROLLER_BUTTON_X, 1, {}},
      {x, 1, 12000, {}},
      {x, 1, 20000, {{M::KeyDown, Zing::KEYCODE_RIGHT}}},
      {x, 1, 12000, {}},
      {x, 1, -32768, {{M::KeyUp, Zing::KEYCODE_RIGHT}, {M::KeyDown, Zing::KEYCODE_LEFT}}},
      {x, 1, 100, {{M::KeyUp, Zing::KEYCODE_LEFT}}},
      {y, 1, 30000, {{M::KeyDown, Zing::KEYCODE_DOWN}}},
      {y, 2, -30000, {{M::KeyDown, Zing::KEYCODE_UP}}},
      {SDL_CONTROLLER_AXIS_RIGHTX, 1, 30000, {}},
      {pulled, 1, 0, {{M::KeyUp, Zing::KEYCODE_DOWN}}}};
  for (const auto& [axis, which, value, expected] : steps) {
    out.clear();
    axis == pulled   ? keys.Release(which, out)
    : axis == button ? keys.Button(which, value != 0, out)
                     : keys.Axis(which, axis, value, out);
    EXPECT_EQ(Codes(out), expected) << axis << " " << which << " " << value;
  }
}

std::array<int, 2> Map(const PictureLayout& layout, int wx, int wy) {
  std::array<int, 2> p{};
  layout.WindowToPicture(wx, wy, p[0], p[1]);
  return p;
}

TEST(Scaling, WindowScaleLetterboxAndThePointerOnDenseScreens) {
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
  // Full screen is letterboxed at a whole-number scale, shrunk with its shape
  // kept where the screen is smaller than the picture.
  for (const auto& [w, h, box] : {std::tuple{1920, 1080, std::array{320, 60, 1280, 960}},
                                  {640, 480, std::array{0, 0, 640, 480}},
                                  {320, 480, std::array{0, 120, 320, 240}}}) {
    const ScreenRect r = FitPicture(w, h, 640, 480);
    EXPECT_EQ((std::array{r.x, r.y, r.w, r.h}), box) << w << "x" << h;
  }
  PictureLayout layout;
  layout.Update(640, 480, 1920, 1080, 1920, 1080);  // scale 2 at (320, 60)
  EXPECT_EQ(std::tuple(Map(layout, 319, 59), Map(layout, 1599, 1019), Map(layout, 1600, 1020)),
            std::tuple(std::array{-1, -1}, std::array{639, 479}, std::array{640, 480}));
  // A window of 1280 x 960 points drawn with 2560 x 1920 pixels: scale 4 in pixels, still 2 in pointer positions.
  layout.Update(640, 480, 2560, 1920, 1280, 960);
  for (int wx = 0; wx < 1280; ++wx) ASSERT_EQ(Map(layout, wx, 0)[0], wx / 2);
  EXPECT_EQ(std::pair(layout.Picture().w, Map(layout, 1279, 959)[1]), std::pair(2560, 479));
}

// Drivers that draw into memory are refused only when nobody asked for them; the reason names what
// the program looked for. Software rasterisers are known by name.
TEST(PlatformInput, AWindowNobodyCanSeeIsRefusedWithItsReason) {
  const std::string none = "no display was found (DISPLAY and WAYLAND_DISPLAY are not set)";
  const struct {
    const char *chosen, *requested, *x11, *wayland;
    std::string reason;
  } cases[] = {
      {"x11", nullptr, ":0", nullptr, ""},
      {"offscreen", "", "", "", none},
      {"dummy", nullptr, nullptr, nullptr, none},
      {"offscreen", nullptr, ":7", nullptr, "no display could be opened (DISPLAY=:7)"},
      {"offscreen", nullptr, ":7", "w-1", "no display could be opened (DISPLAY=:7, WAYLAND_DISPLAY=w-1)"},
      {"offscreen", "offscreen", nullptr, nullptr, ""},
      {nullptr, nullptr, nullptr, nullptr, none},
      {nullptr, "x11", ":3", nullptr, "the display driver \"x11\" could not start (no X)"},
  };
  for (const auto& c : cases) {
    DisplayChoice choice{c.chosen, c.requested, c.x11, c.wayland, "no X"};
    EXPECT_EQ(UnseenDisplayReason(choice), c.reason) << (c.chosen ? c.chosen : "none");
  }
  for (const char* name : {"llvmpipe (256 bits)", "softpipe", "Software Rasterizer", "SWRAST"})
    EXPECT_TRUE(IsSoftwareRasteriser(name)) << name;
  for (const char* name : {"", "Example GPU 6600 (DRM 3.49)", "Some Vendor Graphics 620"})
    EXPECT_FALSE(IsSoftwareRasteriser(name)) << name;
}

constexpr int kW = 640;
constexpr int kH = 480;

// Whether the memory shows `picture` at `scale` from (left, top), black around it.
testing::AssertionResult ShowsPicture(const PixelTarget& memory, const std::vector<std::uint32_t>& picture, int left,
                                      int top, int scale) {
  for (int y = 0; y < memory.height; ++y) {
    for (int x = 0; x < memory.width; ++x) {
      const int px = x - left, py = y - top;
      const bool inside = px >= 0 && py >= 0 && px < kW * scale && py < kH * scale;
      const std::uint32_t want = inside ? picture[(py / scale) * kW + px / scale] : 0xFF000000u;
      const std::uint32_t shown = memory.pixels[static_cast<std::ptrdiff_t>(y) * memory.pitch + x] | 0xFF000000u;
      if (shown != want)
        return testing::AssertionFailure()
               << "pixel " << x << "," << y << " shows " << std::hex << shown << " not " << want;
    }
  }
  return testing::AssertionSuccess();
}

bool MapsGraphicsDriver() {
  std::ifstream maps("/proc/self/maps");
  for (std::string line; std::getline(maps, line);)
    for (const char* name : {"libGL", "libEGL", "libLLVM", "_dri.so", "libvulkan"})
      if (line.find(name) != std::string::npos) return true;
  return false;
}

// The picture (every pixel unlike its neighbours) put into memory at whole scales with black bars;
// then rows of the picture that did not change are not written again: marks put into the memory
// there survive, the changed rows show their new pixels and are the one band reported. Windows
// present this way (the pictures of the end-to-end runs show it) without loading any graphics driver.
TEST(WindowPresent, WholeScalesBarsAndOnlyChangedRows) {
  std::vector<std::uint32_t> picture(kW * kH);
  for (int i = 0; i < kW * kH; ++i) picture[i] = 0xFF000000u | ((static_cast<std::uint32_t>(i) * 2654435761u) >> 8);
  for (const auto& layout : {std::tuple{1, 192, 144}, {2, 3, 2}, {3, 0, 0}}) {
    // Plain copies: a lambda may not take a structured binding.
    const int scale = std::get<0>(layout), left = std::get<1>(layout), top = std::get<2>(layout);
    const int w = kW * scale + 2 * left, h = kH * scale + 2 * top;
    std::vector<std::uint32_t> memory(static_cast<std::size_t>(w + 5) * h, 0x00ABCDEF);
    const PixelTarget target{memory.data(), w + 5, w, h};
    std::vector<std::pair<int, int>> bands;
    const auto put = [&](bool everything) {
      std::vector<RowBand> written;
      PutPicture(picture.data(), kW, kH, target, {left, top, kW * scale, kH * scale}, everything, written);
      bands.clear();
      for (const RowBand& band : written) bands.emplace_back(band.y, band.h);
    };
    put(true);
    EXPECT_TRUE(ShowsPicture(target, picture, left, top, scale)) << scale;
    EXPECT_EQ(bands, (std::vector<std::pair<int, int>>{{0, h}})) << scale;
    put(false);
    EXPECT_TRUE(bands.empty()) << scale;
    // A mark where the first row of a picture row is not read back (none at scale 1).
    constexpr std::uint32_t kMark = 0x00123456;
    const auto mark = [&](int y) -> std::uint32_t& { return memory[static_cast<std::size_t>(y) * (w + 5) + left + 5]; };
    for (int y = 0; y < h && scale > 1; ++y) mark(y) = kMark;
    for (int y = 100; y <= 102; ++y) picture[y * kW + 320] ^= 0x00FFFFFF;
    put(false);
    EXPECT_EQ(bands, (std::vector<std::pair<int, int>>{{top + 100 * scale, 3 * scale}})) << scale;
    for (int y = 0; y < h && scale > 1; ++y) {
      const int row = (y - top) / scale;
      ASSERT_EQ(mark(y) == kMark, !(row >= 100 && row <= 102 && y >= top)) << scale << " row " << y;
    }
    EXPECT_EQ(memory[static_cast<std::size_t>(top + 101 * scale) * (w + 5) + left + 320 * scale],
              picture[101 * kW + 320]);
  }
  auto services = CreateSdlServices();
  std::string error;
  for (const bool windowed : {true, false}) {
    WindowSpec window;
    std::tie(window.scale, window.windowed) = std::tuple(2, windowed);
    ASSERT_TRUE(services->CreateMainWindow(window));
    ASSERT_EQ(services->InitDisplay(false, error), DisplayResult::Ok) << error;
    ASSERT_TRUE(services->Present(picture.data(), kW, kH));
  }
  services->DestroyMainWindow();
  EXPECT_FALSE(MapsGraphicsDriver());
}

}  // namespace
