#pragma once

// Background music: songs loaded under ids chosen by the caller, played,
// faded and paused; the application calls Update regularly. The base class
// is silent: it is what the application uses where no audio output exists.

#include <string>

namespace Zing {

class MusicInterface {
 public:
  MusicInterface() = default;
  MusicInterface(const MusicInterface&) = delete;
  MusicInterface& operator=(const MusicInterface&) = delete;
  virtual ~MusicInterface() = default;

  virtual bool LoadMusic(int /*songId*/, const std::string& /*fileName*/) { return false; }
  virtual void PlayMusic(int /*songId*/, int /*offset*/ = 0, bool /*noLoop*/ = false) {}
  virtual void StopMusic(int /*songId*/) {}
  virtual void PauseMusic(int /*songId*/) {}
  virtual void ResumeMusic(int /*songId*/) {}
  virtual void StopAllMusic() {}
  virtual void UnloadMusic(int /*songId*/) {}
  virtual void UnloadAllMusic() {}
  virtual void PauseAllMusic() {}
  virtual void ResumeAllMusic() {}
  virtual void FadeIn(int /*songId*/, int /*offset*/ = -1, double /*speed*/ = 0.002, bool /*noLoop*/ = false) {}
  virtual void FadeOut(int /*songId*/, bool /*stopSong*/ = true, double /*speed*/ = 0.004) {}
  virtual void FadeOutAll(bool /*stopSong*/ = true, double /*speed*/ = 0.004) {}
  virtual void SetSongVolume(int /*songId*/, double /*volume*/) {}
  virtual void SetSongMaxVolume(int /*songId*/, double /*volume*/) {}
  virtual bool IsPlaying(int /*songId*/) { return false; }
  virtual void SetVolume(double /*volume*/) {}
  virtual void SetMusicAmplify(int /*songId*/, double /*amount*/) {}
  virtual void Update() {}
};

}  // namespace Zing
