// Game controllers as keys. Only the buttons and the left stick that the
// game's keys stand for are read; the rest of a controller is ignored.

#include "framework/platform/SdlControllers.h"

#include <cstdlib>

namespace Zing::Platform {

namespace {

// A stick counts as pushed past half its travel and as let go below a
// quarter, so that a stick resting near a threshold does not chatter.
constexpr int kStickPressed = 16384;
constexpr int kStickReleased = 8192;

WindowMessage Key(MessageCode code, int key) {
  WindowMessage m;
  m.code = code;
  m.param = key;
  return m;
}

// Enter and Escape type their control characters too, as on the keyboard.
void KeyDown(int key, std::vector<WindowMessage>& out) {
  out.push_back(Key(MessageCode::KeyDown, key));
  if (key == KEYCODE_RETURN || key == KEYCODE_ESCAPE) out.push_back(Key(MessageCode::Char, key));
}

// The held direction of one axis after a move to `value`.
int Direction(int held, int value) {
  if (std::abs(value) >= kStickPressed) return value < 0 ? -1 : 1;
  if (std::abs(value) < kStickReleased) return 0;
  return held;
}

void ChangeDirection(int& held, int now, int lowerKey, int higherKey, std::vector<WindowMessage>& out) {
  if (now == held) return;
  if (held != 0) out.push_back(Key(MessageCode::KeyUp, held < 0 ? lowerKey : higherKey));
  if (now != 0) KeyDown(now < 0 ? lowerKey : higherKey, out);
  held = now;
}

}  // namespace

int ControllerKeys::KeyOfButton(int button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return KEYCODE_UP;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return KEYCODE_DOWN;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return KEYCODE_LEFT;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return KEYCODE_RIGHT;
    case SDL_CONTROLLER_BUTTON_A:
      return KEYCODE_RETURN;
    case SDL_CONTROLLER_BUTTON_B:
      return KEYCODE_ESCAPE;
    case SDL_CONTROLLER_BUTTON_START:
      return KEYCODE_START;
    default:
      return 0;
  }
}

void ControllerKeys::Button(int button, bool down, std::vector<WindowMessage>& out) const {
  const int key = KeyOfButton(button);
  if (key == 0) return;
  if (down) {
    KeyDown(key, out);
  } else {
    out.push_back(Key(MessageCode::KeyUp, key));
  }
}

void ControllerKeys::Axis(SDL_JoystickID controller, int axis, int value, std::vector<WindowMessage>& out) {
  Stick& stick = sticks_[controller];
  if (axis == SDL_CONTROLLER_AXIS_LEFTX) {
    ChangeDirection(stick.x, Direction(stick.x, value), KEYCODE_LEFT, KEYCODE_RIGHT, out);
  } else if (axis == SDL_CONTROLLER_AXIS_LEFTY) {
    ChangeDirection(stick.y, Direction(stick.y, value), KEYCODE_UP, KEYCODE_DOWN, out);
  }
}

void ControllerKeys::Release(SDL_JoystickID controller, std::vector<WindowMessage>& out) {
  const auto found = sticks_.find(controller);
  if (found == sticks_.end()) return;
  ChangeDirection(found->second.x, 0, KEYCODE_LEFT, KEYCODE_RIGHT, out);
  ChangeDirection(found->second.y, 0, KEYCODE_UP, KEYCODE_DOWN, out);
  sticks_.erase(found);
}

SdlControllers::SdlControllers() {
  // Without the subsystem the game simply has no controllers. SDL reports
  // the controllers already plugged in as arrivals once it is up.
  ready_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

SdlControllers::~SdlControllers() {
  for (auto& [id, controller] : open_) SDL_GameControllerClose(controller);
  open_.clear();
  if (ready_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void SdlControllers::Open(int deviceIndex) {
  if (!ready_ || !SDL_IsGameController(deviceIndex)) return;
  const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
  if (open_.count(id) != 0) return;
  if (SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex)) open_[id] = controller;
}

void SdlControllers::Close(SDL_JoystickID controller, std::vector<WindowMessage>& out) {
  keys_.Release(controller, out);
  const auto found = open_.find(controller);
  if (found == open_.end()) return;
  SDL_GameControllerClose(found->second);
  open_.erase(found);
}

bool SdlControllers::Translate(const SDL_Event& event, std::vector<WindowMessage>& out) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      Open(event.cdevice.which);
      return true;
    case SDL_CONTROLLERDEVICEREMOVED:
      Close(event.cdevice.which, out);
      return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      keys_.Button(event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN, out);
      return true;
    case SDL_CONTROLLERAXISMOTION:
      keys_.Axis(event.caxis.which, event.caxis.axis, event.caxis.value, out);
      return true;
    default:
      return false;
  }
}

}  // namespace Zing::Platform
