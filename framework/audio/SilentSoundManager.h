#pragma once

// A sound manager that hands out ids and instances but plays nothing: the
// application's effects where no audio output is available, and in tests.

#include <array>
#include <string>

#include "framework/audio/SoundManager.h"

namespace Zing {

class SilentSoundManager : public SoundManager {
 public:
  bool Initialized() override { return true; }
  int LoadSound(const std::string& filename) override;
  bool LoadSound(unsigned int id, const std::string& filename) override;
  void ReleaseSound(unsigned int id) override;
  void SetVolume(double value) override { volume = value; }
  bool SetBaseVolume(unsigned int id, double /*value*/) override { return id < kMaxSounds; }
  bool SetBasePan(unsigned int id, int /*pan*/) override { return id < kMaxSounds; }
  SoundInstance* GetSoundInstance(unsigned int id) override;
  void ReleaseSounds() override { names.fill(std::string()); }
  void ReleaseChannels() override {}
  double GetMasterVolume() override { return masterVolume; }
  void SetMasterVolume(double value) override { masterVolume = value; }
  void Flush() override {}
  void SetCooperativeWindow(void* /*window*/, bool /*windowed*/) override {}
  void StopAllSounds() override {}
  int GetFreeSoundId() override;
  int GetNumSounds() override;

  double volume = 1.0;
  double masterVolume = 1.0;

 private:
  std::array<std::string, kMaxSounds> names{};  // empty: the id is free
};

}  // namespace Zing
