// Resource names of the game's sound effects.

#include "game/puzzle/PuzzleHost.h"

namespace Lintwick {

const char* SoundName(Sound sound) {
  switch (sound) {
    case Sound::GuiClick:
      return "SOUND_GUI_CLICK";
    case Sound::CubeClick:
      return "SOUND_CUBE_CLICK";
    case Sound::CubeTap:
      return "SOUND_CUBE_TAP";
    case Sound::CubeBump:
      return "SOUND_CUBE_BUMP";
    case Sound::CubeDrop:
      return "SOUND_CUBE_DROP";
    case Sound::Vortex:
      return "SOUND_VORTEX";
    case Sound::StarSmall:
      return "SOUND_STAR_SMALL";
    case Sound::StarBig:
      return "SOUND_STAR_BIG";
    case Sound::ShuttersMove:
      return "SOUND_SHUTTERS_MOVE";
    case Sound::ShuttersBump:
      return "SOUND_SHUTTERS_BUMP";
    case Sound::ShuttersBlur:
      return "SOUND_SHUTTERS_BLUR";
  }
  return "";
}

}  // namespace Lintwick
