#pragma once

// What the puzzle asks of the application: popups and file reads, sounds, the
// restart question, the hand-over of the final score, the help flag of a fresh
// game, the sizes of the images a rule places things by, and the file and
// settings writes of saving the game. The game's
// application object implements it; tests replace it with a recording fake.

#include <string>

#include "framework/app/Buffer.h"

namespace Lintwick {

// The game's sound effects. The application maps each to the resource of the
// same name ("SOUND_CUBE_TAP" and so on).
enum class Sound {
  GuiClick,
  CubeClick,
  CubeTap,
  CubeBump,
  CubeDrop,
  Vortex,
  StarSmall,
  StarBig,
  ShuttersMove,
  ShuttersBump,
  ShuttersBlur,
};
inline constexpr int kSoundCount = 11;

// The resource name of a sound, e.g. "SOUND_CUBE_TAP".
const char* SoundName(Sound sound);

// Width and height of one cel of an image.
struct CelSize {
  int width = 0;
  int height = 0;
};

class PuzzleHost {
 public:
  virtual ~PuzzleHost() = default;

  virtual void Popup(const std::string& text) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool ReadBufferFromFile(const std::string& path, Zing::Buffer& buffer) = 0;

  // The requests of play. A host that only serves level files (a tool, a
  // benchmark) may leave them as they are: they then do nothing.

  // Starts one sound effect.
  virtual void PlaySound(Sound /*sound*/) {}
  // The vortex allowance of a level ran out: darken the window (which pauses
  // the puzzle) and ask the restart question; the answer goes to the shell.
  virtual void AskRestartLevel() {}
  // The hundredth level is done: the final score goes to the high-score table.
  virtual void ShowHighScores(int /*score*/) {}
  // A fresh game began: the shell shows the help when the game screen opens.
  virtual void FreshGameStarted() {}
  // The shutters have opened on the next level, which is now at rest.
  virtual void NextLevelShown() {}
  // Cel size of the vortex image of a link colour, to centre vortices on cells.
  virtual CelSize VortexCelSize(int /*link*/) { return {}; }

  // Saving the game. The player's own folder (ending in a separator), a
  // whole-file write that makes missing folders, and the integer values of
  // the game's settings key. A host without them saves nothing.
  virtual std::string GetUserDataFolder() { return {}; }
  virtual bool WriteBufferToFile(const std::string& /*path*/, const Zing::Buffer& /*buffer*/) { return false; }
  virtual bool RegistryReadInteger(const std::string& /*name*/, int& /*value*/) { return false; }
  virtual bool RegistryWriteInteger(const std::string& /*name*/, int /*value*/) { return false; }
};

}  // namespace Lintwick
