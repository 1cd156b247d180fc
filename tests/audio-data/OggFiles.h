#pragma once

// Ogg Vorbis files for the audio tests: decoded whole with bare vorbisfile, encoded on the spot by
// the game's own writer; and the helpers the audio tests share to find, measure and wait for sound.

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace AudioTest {

struct Decoded {
  bool ok = false;
  int channels = 0;
  long rate = 0;
  std::vector<float> samples;  // interleaved, -1..1
  std::vector<char> pcm;       // the same as decoded: 16-bit signed little-endian
  std::size_t Frames() const { return channels > 0 ? samples.size() / static_cast<std::size_t>(channels) : 0; }
  double Seconds() const { return rate > 0 ? static_cast<double>(Frames()) / static_cast<double>(rate) : 0; }
  // The samples of one channel.
  std::vector<float> Channel(int channel) const;
};

// `ok` is false when vorbisfile refuses the file or delivers fewer samples than the stream announces.
Decoded DecodeOgg(const std::string& path);

std::string ReadWholeFile(const std::string& path);
// A file of the data folder: the environment's LINTWICK_DATA_DIR, else the build's.
std::string DataFile(const std::string& path);

// Largest absolute sample in [begin, end).
float Peak(const std::vector<float>& samples, std::size_t begin = 0, std::size_t end = SIZE_MAX);

// Calls `step` every 10 ms (the application's pace) until `done` or 10 s.
template <typename Step, typename Done>
bool RunUntil(Step step, Done done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    step();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

inline constexpr int kRate = 44100;

// A rising sweep, so that every stretch of it is found at one place only.
std::vector<unsigned char> EncodeSweep(int channels, double seconds);

}  // namespace AudioTest
