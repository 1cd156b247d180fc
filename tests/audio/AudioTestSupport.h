#pragma once

// Helpers for the audio tests: test songs encoded on the spot, Ogg pages
// patched with a correct checksum (to build damaged files that pass the
// container's checks), wave files read back, and comparisons of samples.

#include <cstddef>
#include <string>
#include <vector>

namespace AudioTest {

inline constexpr int kRate = 44100;

// A rising sweep, so that every stretch of it is found at one place only.
std::vector<unsigned char> EncodeSweep(int channels, double seconds);

// Ogg pages: rewrites the page holding byte `offset` after `patch` changed it.
void FixPageChecksum(std::vector<unsigned char>& file, std::size_t offset);
// Offset of the first occurrence of `pattern`, or npos.
std::size_t FindBytes(const std::vector<unsigned char>& file, const std::string& pattern);
// Offset of the last page header ("OggS").
std::size_t LastPage(const std::vector<unsigned char>& file);

struct Wave {
  int channels = 0;
  int rate = 0;
  std::vector<float> left;  // the first channel, -1..1
};
// Reads a 16-bit PCM wave file; channels 0 when unreadable.
Wave ReadWave(const std::string& path);

// Samples of a decoded file (its first channel), -1..1.
std::vector<float> DecodeFirstChannel(const std::string& bytes);

// Normalised correlation of `a` at `offset` with all of `b` (1: same shape).
double Correlation(const std::vector<float>& a, std::size_t offset, const std::vector<float>& b);
// Every offset of `signal` where `pattern` appears (correlation >= 0.98,
// local maxima at least `pattern.size()` apart).
std::vector<std::size_t> FindOccurrences(const std::vector<float>& signal, const std::vector<float>& pattern);
// Largest absolute sample in [begin, end).
float Peak(const std::vector<float>& signal, std::size_t begin, std::size_t end);

}  // namespace AudioTest
