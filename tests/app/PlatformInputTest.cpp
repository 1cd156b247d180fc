// Translation of desktop input into the framework's messages, and the
// Windows-1252 text it carries.

#include <gtest/gtest.h>

#include <vector>

#include "framework/platform/SdlInput.h"
#include "framework/platform/Windows1252.h"

namespace {

using Zing::Platform::MessageCode;
using Zing::Platform::WindowMessage;

std::vector<WindowMessage> Translate(const SDL_Event& event) {
  std::vector<WindowMessage> out;
  Zing::Platform::TranslateSdlEvent(event, out);
  return out;
}

SDL_Event Button(Uint32 type, Uint8 button, Uint8 clicks) {
  SDL_Event e{};
  e.type = type;
  e.button.button = button;
  e.button.clicks = clicks;
  e.button.x = 12;
  e.button.y = 34;
  return e;
}

SDL_Event Key(Uint32 type, SDL_Keycode key, Uint16 mod = KMOD_NONE) {
  SDL_Event e{};
  e.type = type;
  e.key.keysym.sym = key;
  e.key.keysym.mod = mod;
  return e;
}

TEST(PlatformInput, ClicksBecomeButtonMessages) {
  EXPECT_EQ(Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1))[0].code, MessageCode::LButtonDown);
  EXPECT_EQ(Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2))[0].code, MessageCode::LButtonDblClk);
  EXPECT_EQ(Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 3))[0].code, MessageCode::LButtonDown);
  EXPECT_EQ(Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 2))[0].code, MessageCode::RButtonDblClk);
  EXPECT_EQ(Translate(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 2))[0].code, MessageCode::RButtonUp);
  EXPECT_EQ(Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 2))[0].code, MessageCode::MButtonDown);
  EXPECT_TRUE(Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 1)).empty());
  const auto down = Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1))[0];
  EXPECT_EQ(down.x, 12);
  EXPECT_EQ(down.y, 34);

  SDL_Event wheel{};
  wheel.type = SDL_MOUSEWHEEL;
  wheel.wheel.y = -2;
  EXPECT_EQ(Translate(wheel)[0].param, -240);
  wheel.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
  EXPECT_EQ(Translate(wheel)[0].param, 240);
}

TEST(PlatformInput, KeysBecomeVirtualKeysAndControlCharacters) {
  auto enter = Translate(Key(SDL_KEYDOWN, SDLK_RETURN));
  ASSERT_EQ(enter.size(), 2u);
  EXPECT_EQ(enter[0].param, 13);
  EXPECT_EQ(enter[1].code, MessageCode::Char);
  EXPECT_EQ(enter[1].param, 13);

  auto altEnter = Translate(Key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT));
  ASSERT_EQ(altEnter.size(), 1u);  // no character with Alt
  EXPECT_TRUE(altEnter[0].altDown);

  auto paste = Translate(Key(SDL_KEYDOWN, SDLK_v, KMOD_LCTRL));
  ASSERT_EQ(paste.size(), 2u);
  EXPECT_EQ(paste[0].param, 'V');
  EXPECT_EQ(paste[1].param, 22);
  EXPECT_EQ(Translate(Key(SDL_KEYDOWN, SDLK_q, KMOD_LCTRL)).size(), 1u);
  EXPECT_EQ(Translate(Key(SDL_KEYDOWN, SDLK_a)).size(), 1u);  // letters arrive as text

  EXPECT_EQ(Translate(Key(SDL_KEYUP, SDLK_F12))[0].param, 123);
  EXPECT_EQ(Translate(Key(SDL_KEYUP, SDLK_PAGEDOWN))[0].param, 34);
  EXPECT_EQ(Translate(Key(SDL_KEYUP, SDLK_RSHIFT))[0].param, 16);
  EXPECT_EQ(Translate(Key(SDL_KEYUP, SDLK_7))[0].param, '7');
  EXPECT_TRUE(Translate(Key(SDL_KEYDOWN, SDLK_CAPSLOCK)).empty());
}

TEST(PlatformInput, TypedTextArrivesAsWindows1252) {
  SDL_Event text{};
  text.type = SDL_TEXTINPUT;
  // e-acute, euro sign, sharp s, a character outside the code page, 'x'
  std::snprintf(text.text.text, sizeof text.text.text, "%s", "\xC3\xA9\xE2\x82\xAC\xC3\x9F\xE4\xB8\xAD" "x");
  const auto chars = Translate(text);
  std::vector<int> codes;
  for (const auto& m : chars) codes.push_back(m.param);
  EXPECT_EQ(codes, (std::vector<int>{0xE9, 0x80, 0xDF, 'x'}));
}

TEST(PlatformInput, WindowEvents) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = SDL_WINDOWEVENT_MINIMIZED;
  EXPECT_EQ(Translate(e)[0].param, Zing::Platform::SizeMinimized);
  e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  EXPECT_EQ(Translate(e)[0].code, MessageCode::ActivateApp);
  EXPECT_EQ(Translate(e)[0].param, 0);
  e.window.event = SDL_WINDOWEVENT_MOVED;
  e.window.data1 = 70;
  e.window.data2 = 80;
  EXPECT_EQ(Translate(e)[0].x, 70);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  EXPECT_EQ(Translate(quit)[0].code, MessageCode::Close);
}

}  // namespace
