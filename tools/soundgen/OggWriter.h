#pragma once

// Encodes rendered samples as an Ogg Vorbis file in memory. The stream serial
// number is fixed, so the same samples always give the same bytes.

#include <string>
#include <vector>

#include "tools/soundgen/Dsp.h"

namespace SoundGen {

struct OggOptions {
  double quality = 0.4;  // Vorbis variable-bit-rate quality, -0.1 .. 1.0
  std::string title;     // written as the TITLE comment
};

// The encoded file, or an empty vector for anything but one or two channels
// or when the encoder refuses the settings.
std::vector<unsigned char> EncodeOggVorbis(const Pcm& pcm, const OggOptions& options);

}  // namespace SoundGen
