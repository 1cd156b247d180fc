#pragma once

// What the players accept of an Ogg Vorbis stream: the audio library takes
// 16-bit mono or stereo buffers, so other channel counts would be played as
// noise, and a damaged header must not size any allocation.

#include <vorbis/vorbisfile.h>

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

}  // namespace Zing
