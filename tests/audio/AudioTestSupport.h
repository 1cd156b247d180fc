#pragma once

// Test songs for the audio tests, encoded on the spot by the game's own writer.

#include <vector>

namespace AudioTest {

inline constexpr int kRate = 44100;

// A rising sweep, so that every stretch of it is found at one place only.
std::vector<unsigned char> EncodeSweep(int channels, double seconds);

}  // namespace AudioTest
