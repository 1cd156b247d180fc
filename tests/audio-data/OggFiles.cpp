#include "OggFiles.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <sstream>

#include "tools/soundgen/OggWriter.h"

namespace AudioTest {

std::vector<float> Decoded::Channel(int channel) const {
  std::vector<float> out;
  for (std::size_t i = static_cast<std::size_t>(channel); i < samples.size(); i += static_cast<std::size_t>(channels))
    out.push_back(samples[i]);
  return out;
}

Decoded DecodeOgg(const std::string& path) {
  Decoded result;
  OggVorbis_File file;
  if (ov_fopen(path.c_str(), &file) != 0) return result;
  const vorbis_info* info = ov_info(&file, -1);
  result.channels = info->channels;
  result.rate = info->rate;
  const ogg_int64_t total = ov_pcm_total(&file, -1);
  std::vector<std::int16_t> block(2048);
  int section = 0;
  for (long got; (got = ov_read(&file, reinterpret_cast<char*>(block.data()), 4096, 0, 2, 1, &section)) > 0;) {
    result.pcm.insert(result.pcm.end(), reinterpret_cast<char*>(block.data()),
                      reinterpret_cast<char*>(block.data()) + got);
    for (long i = 0; i < got / 2; ++i) result.samples.push_back(static_cast<float>(block[std::size_t(i)]) / 32768.0f);
  }
  ov_clear(&file);
  result.ok = total > 0 && static_cast<ogg_int64_t>(result.Frames()) == total;
  return result;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string DataFile(const std::string& path) {
  const char* dir = std::getenv("LINTWICK_DATA_DIR");
  return (dir != nullptr && *dir != '\0' ? dir : LINTWICK_BUILD_DATA_DIR) + std::string("/") + path;
}

float Peak(const std::vector<float>& samples, std::size_t begin, std::size_t end) {
  float peak = 0;
  for (std::size_t i = begin; i < std::min(end, samples.size()); ++i) peak = std::max(peak, std::fabs(samples[i]));
  return peak;
}

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
