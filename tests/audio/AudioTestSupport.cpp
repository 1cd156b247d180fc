#include "tests/audio/AudioTestSupport.h"

#include <cmath>
#include <numbers>

#include "tools/soundgen/OggWriter.h"

namespace AudioTest {

std::vector<unsigned char> EncodeSweep(int channels, double seconds) {
  SoundGen::Pcm pcm;
  pcm.channels = channels;
  const auto frames = static_cast<std::size_t>(seconds * kRate);
  double phase = 0;
  for (std::size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / static_cast<double>(frames);
    phase += 2 * std::numbers::pi * (300.0 + 1500.0 * t) / kRate;
    for (int c = 0; c < channels; ++c) pcm.samples.push_back(static_cast<float>(0.5 * std::sin(phase)));
  }
  return SoundGen::EncodeOggVorbis(pcm, SoundGen::OggOptions{0.6, "test"});
}

}  // namespace AudioTest
