#include "tests/audio/AudioTestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <numbers>

#include "tests/audio-data/OggDecode.h"
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

namespace {

std::uint32_t OggCrc(const unsigned char* data, std::size_t size) {
  std::uint32_t crc = 0;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= static_cast<std::uint32_t>(data[i]) << 24;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
  }
  return crc;
}

}  // namespace

std::size_t FindBytes(const std::vector<unsigned char>& file, const std::string& pattern) {
  auto it = std::search(file.begin(), file.end(), pattern.begin(), pattern.end());
  return it == file.end() ? std::string::npos : static_cast<std::size_t>(it - file.begin());
}

std::size_t LastPage(const std::vector<unsigned char>& file) {
  const std::string capture = "OggS";
  auto it = std::find_end(file.begin(), file.end(), capture.begin(), capture.end());
  return static_cast<std::size_t>(it - file.begin());
}

void FixPageChecksum(std::vector<unsigned char>& file, std::size_t offset) {
  std::size_t page = offset;
  while (page > 0 && std::memcmp(&file[page], "OggS", 4) != 0) --page;
  const std::size_t segments = file[page + 26];
  std::size_t size = 27 + segments;
  for (std::size_t i = 0; i < segments; ++i) size += file[page + 27 + i];
  std::memset(&file[page + 22], 0, 4);
  const std::uint32_t crc = OggCrc(&file[page], size);
  for (int i = 0; i < 4; ++i)
    file[page + 22 + static_cast<std::size_t>(i)] = static_cast<unsigned char>(crc >> (8 * i));
}

Wave ReadWave(const std::string& path) {
  Wave wave;
  const std::string bytes = ReadWholeFile(path);
  auto u16 = [&](std::size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1])
                                                                             << 8);
  };
  auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0) return wave;
  int bits = 0, channels = 0;
  for (std::size_t at = 12; at + 8 <= bytes.size();) {
    const std::string id = bytes.substr(at, 4);
    std::size_t size = u32(at + 4);
    if (id == "fmt ") {
      channels = static_cast<int>(u16(at + 10));
      wave.rate = static_cast<int>(u32(at + 12));
      bits = static_cast<int>(u16(at + 22));
    } else if (id == "data") {
      size = std::min(size, bytes.size() - at - 8);  // a file still being written
      const std::size_t frameBytes = static_cast<std::size_t>(channels * bits / 8);
      for (std::size_t f = at + 8; frameBytes > 0 && f + frameBytes <= at + 8 + size; f += frameBytes) {
        if (bits == 16) wave.left.push_back(static_cast<float>(static_cast<std::int16_t>(u16(f))) / 32768.0f);
      }
      wave.channels = channels;
      return wave;
    }
    at += 8 + size + (size & 1);
  }
  return wave;
}

std::vector<float> DecodeFirstChannel(const std::string& bytes) { return DecodeOgg(bytes).Channel(0); }

double Correlation(const std::vector<float>& a, std::size_t offset, const std::vector<float>& b) {
  if (offset + b.size() > a.size() || b.empty()) return 0;
  double ab = 0, aa = 0, bb = 0;
  for (std::size_t i = 0; i < b.size(); ++i) {
    ab += static_cast<double>(a[offset + i]) * b[i];
    aa += static_cast<double>(a[offset + i]) * a[offset + i];
    bb += static_cast<double>(b[i]) * b[i];
  }
  return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}

std::vector<std::size_t> FindOccurrences(const std::vector<float>& signal, const std::vector<float>& pattern) {
  std::vector<std::size_t> found;
  const std::vector<float> prefix(pattern.begin(),
                                  pattern.begin() + static_cast<long>(std::min<std::size_t>(pattern.size(), 128)));
  for (std::size_t at = 0; at + pattern.size() <= signal.size(); ++at) {
    if (Peak(signal, at, at + 64) < 1e-3f) continue;      // silence cannot match a sounding pattern
    if (Correlation(signal, at, prefix) < 0.9) continue;  // cheap test before the whole pattern
    const double here = Correlation(signal, at, pattern);
    if (here < 0.98) continue;
    // Keep the best offset of this match.
    std::size_t best = at;
    double bestValue = here;
    for (std::size_t next = at + 1; next < at + 64 && next + pattern.size() <= signal.size(); ++next) {
      const double value = Correlation(signal, next, pattern);
      if (value > bestValue) bestValue = value, best = next;
    }
    found.push_back(best);
    at = best + pattern.size();
  }
  return found;
}

float Peak(const std::vector<float>& signal, std::size_t begin, std::size_t end) {
  float peak = 0;
  for (std::size_t i = begin; i < std::min(end, signal.size()); ++i) peak = std::max(peak, std::fabs(signal[i]));
  return peak;
}

}  // namespace AudioTest
