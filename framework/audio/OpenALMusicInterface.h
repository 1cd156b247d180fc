#pragma once

// Background music through the audio library. Each song's Ogg Vorbis file is
// held in memory and decoded a little at a time into a ring of eight buffers
// queued on the song's own source; Update (called on every application
// update) refills the played buffers and advances fades. A looping song goes
// on from its first sample right after its last, without a gap.
//
// Without audio output songs still load and keep their state (playing,
// volume, fades), but nothing is decoded while they "play".

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/audio/MusicInterface.h"
#include "framework/audio/OggSongStream.h"
#include "framework/audio/OpenALBinding.h"

namespace Zing {

class OpenALMusicInterface : public MusicInterface {
 public:
  static constexpr int kBufferCount = 8;
  static constexpr std::size_t kBufferBytes = 16384;

  OpenALMusicInterface();  // acquires the audio library
  ~OpenALMusicInterface() override;

  bool LoadMusic(int songId, const std::string& fileName) override;
  void PlayMusic(int songId, int offset = 0, bool noLoop = false) override;
  void StopMusic(int songId) override;
  void PauseMusic(int songId) override;
  void ResumeMusic(int songId) override;
  void StopAllMusic() override;
  void UnloadMusic(int songId) override;
  void UnloadAllMusic() override;
  void PauseAllMusic() override;
  void ResumeAllMusic() override;
  void FadeIn(int songId, int offset = -1, double speed = 0.002, bool noLoop = false) override;
  void FadeOut(int songId, bool stopSong = true, double speed = 0.004) override;
  void FadeOutAll(bool stopSong = true, double speed = 0.004) override;
  void SetSongVolume(int songId, double volume) override;
  void SetSongMaxVolume(int /*songId*/, double /*volume*/) override {}
  bool IsPlaying(int songId) override;
  void SetVolume(double value) override;
  void SetMusicAmplify(int /*songId*/, double /*amount*/) override {}
  void Update() override;

  bool IsAudible() const { return al != nullptr; }
  // The song's source of the audio library (0 for an unknown id or without
  // output), for looking at what the song does: gain, state, queued buffers.
  ALuint SourceOf(int songId) const {
    auto it = songs.find(songId);
    return it == songs.end() ? 0 : it->second->source;
  }

 private:
  struct Song {
    OggSongStream stream;
    ALuint source = 0;
    std::array<ALuint, kBufferCount> buffers{};
    bool playing = false;
    float volume = 0.0f;
    float fadeStep = 0.0f;
    float maxVolume = 1.0f;
    bool stopAtEnd = false;
    bool ended = false;  // not looping and the stream is spent: the tail plays out
  };

  Song* Find(int songId);
  bool MakeSourceAndBuffers(Song& song);
  void DeleteSourceAndBuffers(Song& song);
  bool FillBuffer(Song& song, ALuint buffer);
  bool Reset(Song& song);
  void Stream(Song& song);
  void Advance(Song& song);
  void Stop(Song& song);
  void ApplyGain(Song& song);
  void StartSource(Song& song);
  void PauseSource(Song& song);
  ALint SourceState(const Song& song) const;

  const OpenALFunctions* al;  // null: nothing can be heard
  std::map<int, std::unique_ptr<Song>> songs;
  float volume = 1.0f;
  std::vector<char> scratch;
};

}  // namespace Zing
