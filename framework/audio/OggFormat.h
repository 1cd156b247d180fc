#pragma once

// What the players accept of an Ogg Vorbis stream: the audio library takes
// 16-bit mono or stereo buffers, so other channel counts would be played as
// noise, and a damaged header must not size any allocation.

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstddef>

namespace Zing {

inline constexpr int kBytesPerSample = 2;  // decoded as 16-bit signed little-endian
inline constexpr long kMaxSampleRate = 192000;

inline bool IsPlayableFormat(const vorbis_info* info) {
  return info && (info->channels == 1 || info->channels == 2) && info->rate > 0 && info->rate <= kMaxSampleRate;
}

// Every link of a chained stream must share the first one's format: the
// samples go into one buffer format.
inline bool IsPlayableStream(OggVorbis_File& file) {
  const vorbis_info* first = ov_info(&file, 0);
  if (!IsPlayableFormat(first)) return false;
  for (long link = 1; link < ov_streams(&file); ++link) {
    const vorbis_info* info = ov_info(&file, static_cast<int>(link));
    if (!info || info->channels != first->channels || info->rate != first->rate) return false;
  }
  return true;
}

// Decodes 16-bit signed little-endian samples into `out` until `capacity`
// bytes are filled or the stream ends (or holds a gap it cannot decode past);
// the number of bytes decoded. Whole frames only, as long as `capacity` is a
// whole number of frames.
inline std::size_t ReadPcm(OggVorbis_File& file, char* out, std::size_t capacity) {
  constexpr int kLittleEndian = 0;
  constexpr int kSigned = 1;
  constexpr std::size_t kLargestRead = std::size_t{1} << 30;  // ov_read counts in int
  std::size_t filled = 0;
  int section = 0;
  while (filled < capacity) {
    const int room = static_cast<int>(std::min(capacity - filled, kLargestRead));
    const long got = ov_read(&file, out + filled, room, kLittleEndian, kBytesPerSample, kSigned, &section);
    if (got <= 0) break;
    filled += static_cast<std::size_t>(got);
  }
  return filled;
}

}  // namespace Zing
