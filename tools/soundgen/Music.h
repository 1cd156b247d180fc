#pragma once

// The game's background music: a calm piece in D major for pad, bass, a bell
// arpeggio and a soft lead, rendered as a stereo loop whose end flows into its
// beginning (the tails of the last notes and the room sound over the first
// bars), so that the music player can repeat it without a seam.

#include "tools/soundgen/Dsp.h"

namespace SoundGen {

inline constexpr int kMusicBeatsPerMinute = 80;
inline constexpr int kMusicBars = 32;
inline constexpr int kMusicBeatsPerBar = 4;
// 80 beats a minute divide 44100 Hz into whole frames, so every beat and the
// loop itself fall on exact sample positions.
inline constexpr std::size_t kMusicFramesPerBeat = kSampleRate * 60 / kMusicBeatsPerMinute;
inline constexpr std::size_t kMusicFrames = kMusicFramesPerBeat * kMusicBeatsPerBar * kMusicBars;

Pcm RenderMusic();

}  // namespace SoundGen
