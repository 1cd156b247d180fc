#pragma once

// The sound effects of the application: files decoded once into numbered
// slots (sound ids 0..kMaxSounds-1) and played as instances on a fixed number
// of channels. The resource manager loads the manifest's sounds through it;
// the game plays them through the application.

#include <string>

#include "framework/audio/SoundInstance.h"

namespace Zing {

inline constexpr int kMaxSounds = 256;
inline constexpr int kMaxChannels = 32;

class SoundManager {
 public:
  SoundManager() = default;
  SoundManager(const SoundManager&) = delete;
  SoundManager& operator=(const SoundManager&) = delete;
  virtual ~SoundManager() = default;

  virtual bool Initialized() = 0;
  // Loads `filename` (without extension) into a free id; -1 on failure.
  virtual int LoadSound(const std::string& filename) = 0;
  virtual bool LoadSound(unsigned int id, const std::string& filename) = 0;
  virtual void ReleaseSound(unsigned int id) = 0;
  virtual void SetVolume(double volume) = 0;
  virtual bool SetBaseVolume(unsigned int id, double volume) = 0;
  virtual bool SetBasePan(unsigned int id, int pan) = 0;
  // A new instance on a free channel, or null. The caller releases it.
  virtual SoundInstance* GetSoundInstance(unsigned int id) = 0;
  virtual void ReleaseSounds() = 0;
  virtual void ReleaseChannels() = 0;
  virtual double GetMasterVolume() = 0;
  virtual void SetMasterVolume(double volume) = 0;
  virtual void Flush() = 0;
  virtual void SetCooperativeWindow(void* window, bool windowed) = 0;
  virtual void StopAllSounds() = 0;
  virtual int GetFreeSoundId() = 0;
  virtual int GetNumSounds() = 0;
};

}  // namespace Zing
