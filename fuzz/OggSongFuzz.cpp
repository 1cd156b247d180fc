// Song files as the music player streams them from memory: opening, decoding
// buffer by buffer and rewinding must survive any bytes.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/audio/OggSongStream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Zing::OggSongStream song;
  if (!song.Open(std::vector<char>(data, data + size))) return 0;
  std::vector<char> buffer(16384);
  for (int pass = 0; pass < 2; ++pass) {
    while (song.Fill(buffer.data(), buffer.size()) > 0) {
    }
    song.Rewind();
  }
  return 0;
}
