// Translation of desktop input into the framework's messages, and the
// Windows-1252 text it carries.

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <utility>
#include <vector>

#include "framework/platform/Platform.h"
#include "framework/platform/SdlInput.h"
#include "framework/platform/StopSignals.h"
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
