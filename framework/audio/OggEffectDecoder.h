#pragma once

// Sound effects are decoded whole when they load, so that playing one costs
// only a source of the audio library.

#include <string>
#include <vector>

namespace Zing {

struct DecodedSound {
  int channels = 0;           // 1 or 2
  long rate = 0;              // samples per second
  std::vector<char> samples;  // 16-bit signed little-endian, interleaved
};

// The longest effect accepted; anything longer belongs to the music. Guards
// against a damaged file whose announced length would size a huge block.
inline constexpr double kMaxEffectSeconds = 60.0;

// Decodes the Ogg Vorbis file `fileName` (opened through the archive-aware
// file functions). False, with `sound` emptied, for a missing or damaged file,
// an unplayable format, an announced length beyond the limit, or fewer
// samples than the stream announces.
bool DecodeOggEffect(const std::string& fileName, DecodedSound& sound);

}  // namespace Zing
