#pragma once

// Game controllers through SDL's game-controller API, played as the keyboard:
// the d-pad and the left stick are the arrow keys, A is Enter, B is Escape and
// Start is the Start key. Controllers plugged in while the program runs are
// opened as they arrive and closed when they go, and a stick let go of, or a
// controller pulled out, releases the keys it held.

#include <SDL.h>

#include <map>
#include <vector>

#include "framework/platform/Platform.h"

namespace Zing::Platform {

// The key messages of controller buttons and sticks, without any device:
// what the desktop delivers is handed in as plain values.
class ControllerKeys {
 public:
  // The virtual key of a controller button, 0 for buttons without one.
  static int KeyOfButton(int button);
  // A button went down or up.
  void Button(int button, bool down, std::vector<WindowMessage>& out) const;
  // A stick axis of a controller moved; a direction is held once the stick
  // is pushed past half way and let go below a quarter.
  void Axis(SDL_JoystickID controller, int axis, int value, std::vector<WindowMessage>& out);
  // The controller went away: every direction its stick held comes up.
  void Release(SDL_JoystickID controller, std::vector<WindowMessage>& out);

 private:
  struct Stick {
    int x = 0;  // -1 left, 1 right
    int y = 0;  // -1 up, 1 down
  };
  std::map<SDL_JoystickID, Stick> sticks_;
};

// The open controllers of the SDL services.
class SdlControllers {
 public:
  SdlControllers();
  ~SdlControllers();
  SdlControllers(const SdlControllers&) = delete;
  SdlControllers& operator=(const SdlControllers&) = delete;

  // Handles a controller event (opening and closing devices) and appends the
  // messages it stands for; false for events of other kinds.
  bool Translate(const SDL_Event& event, std::vector<WindowMessage>& out);

 private:
  void Open(int deviceIndex);
  void Close(SDL_JoystickID controller, std::vector<WindowMessage>& out);

  bool ready_ = false;
  std::map<SDL_JoystickID, SDL_GameController*> open_;
  ControllerKeys keys_;
};

}  // namespace Zing::Platform
