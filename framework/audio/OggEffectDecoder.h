#pragma once

// Sound effects are decoded whole when they load, so that playing one costs
// only a source of the audio library.

#include <cstddef>
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
// The largest effect file accepted: a minute of stereo at Vorbis's highest
// quality is about 4 MB. The decoder's search for the stream's last page costs
// time that grows with the square of what follows it, so a file padded far
// beyond its stream would hold up loading (and with it closing the program)
// for a long while.
inline constexpr std::size_t kMaxEffectFileBytes = std::size_t{8} << 20;

// Decodes the Ogg Vorbis file `fileName` (opened through the archive-aware
// file functions). False, with `sound` emptied, for a missing or damaged file,
// a file beyond `kMaxEffectFileBytes`, an unplayable format, an announced length beyond the limit, or fewer
// samples than the stream announces.
bool DecodeOggEffect(const std::string& fileName, DecodedSound& sound);

}  // namespace Zing
