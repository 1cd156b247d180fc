#pragma once

// One copy of a loaded effect on one of the sound manager's channels: its own
// source of the audio library playing the effect's buffer. The manager owns
// it; its holder only releases it, and the manager destroys it when it reuses
// the channel.

#include "framework/audio/OpenALBinding.h"
#include "framework/audio/SoundInstance.h"

namespace Zing {

class OpenALSoundManager;

class OpenALSoundInstance : public SoundInstance {
 public:
  OpenALSoundInstance(const OpenALSoundManager& owner, const OpenALFunctions& functions, ALuint source,
                      ALuint playedBuffer);
  ~OpenALSoundInstance() override;

  void Release() override;
  void SetBaseVolume(double value) override;
  void SetBasePan(int /*pan*/) override {}
  void AdjustPitch(double /*steps*/) override {}
  void SetVolume(double value) override;
  void SetPan(int /*pan*/) override {}
  bool Play(bool looping, bool autoRelease) override;
  void Stop() override;
  bool IsPlaying() override;
  bool IsReleased() override;
  double GetVolume() override { return volume; }

  // Gain = volume x base volume x the manager's volume.
  void ApplyGain();
  ALuint Buffer() const { return buffer; }
  ALuint Source() const { return source; }
  bool AutoRelease() const { return autoRelease; }
  void SetAutoRelease(bool value) { autoRelease = value; }

 private:
  const OpenALSoundManager& manager;
  const OpenALFunctions& al;
  ALuint source;
  ALuint buffer;
  bool autoRelease = false;
  bool hasPlayed = false;
  bool released = false;
  float baseVolume = 1.0f;
  float volume = 1.0f;
};

}  // namespace Zing
