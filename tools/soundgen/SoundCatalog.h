#pragma once

// Every sound file the game ships, with the path below the data folder under
// which the resource manifest and the music player look for it.

#include <string>
#include <vector>

#include "tools/soundgen/Dsp.h"

namespace SoundGen {

struct SoundFile {
  std::string path;  // relative to the data folder, e.g. "sounds/cube_tap.ogg"
  Pcm (*render)();
  double quality;  // Vorbis quality of the encoding
};

// The eleven effects (named after their identifier without "SOUND_", in lower
// case) and, last, the music.
const std::vector<SoundFile>& SoundFiles();

// Renders and encodes one file; empty when the encoder fails.
std::vector<unsigned char> BuildSoundFile(const SoundFile& file);

}  // namespace SoundGen
